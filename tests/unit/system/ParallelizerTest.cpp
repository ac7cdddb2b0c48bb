// The worker table.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "VK9_System.h"

namespace {

class ParallelizerTest : public ::testing::Test {
 protected:
  ~ParallelizerTest() override { SystemInfo = platform::SystemInfoRecord{}; }
};

TEST_F(ParallelizerTest, TakesAtLeastOneWorkerPerProcessor) {
  const struct {
    std::uint32_t processors;
    std::int32_t requested;
    std::int32_t workers;
  } cases[] = {{8, 2, 8}, {1, 2, 2}, {4, -1, 4}, {2, 3, 3}, {0, 2, 2}};
  for (const auto& c : cases) {
    SystemInfo.dwNumberOfProcessors = c.processors;
    TParallelizer table;
    table.Setup(c.requested);
    EXPECT_EQ(table.WorkerCount, c.workers) << c.processors << " processors, " << c.requested << " requested";
    EXPECT_EQ(table.Flags.size(), static_cast<std::size_t>(c.workers));
    EXPECT_EQ(table.Jobs.size(), static_cast<std::size_t>(c.workers));
  }
}

// A worker reaches its flag and its two events through its job: they are its
// own, not shared with another worker.
TEST_F(ParallelizerTest, GivesEveryWorkerItsFlagAndTwoEventsOfItsOwn) {
  SystemInfo.dwNumberOfProcessors = 8;
  TParallelizer table;
  table.Setup(2);
  EXPECT_EQ(table.Flags, std::vector<std::uint32_t>(8, 0u));
  std::set<platform::EventHandle> events;
  for (std::uint32_t i = 0; i < 8; ++i) {
    const TParallelJob& job = table.Jobs[i];
    *job.Flag = i + 1;
    ASSERT_NE(*job.FirstEvent, nullptr);
    ASSERT_NE(*job.SecondEvent, nullptr);
    events.insert(*job.FirstEvent);
    events.insert(*job.SecondEvent);
    EXPECT_EQ(job.Proc, nullptr);
    EXPECT_EQ(job.Data, nullptr);
  }
  EXPECT_EQ(table.Flags, (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(events.size(), 16u);
}

}  // namespace
