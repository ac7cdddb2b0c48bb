// The worker table.
#include <gtest/gtest.h>

#include <set>

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

TEST_F(ParallelizerTest, GivesEveryWorkerItsFlagAndTwoEventsOfItsOwn) {
  SystemInfo.dwNumberOfProcessors = 8;
  TParallelizer table;
  table.Setup(2);
  std::set<platform::EventHandle> events;
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(table.Flags[i], 0u);
    EXPECT_EQ(table.Jobs[i].Flag, &table.Flags[i]);
    EXPECT_EQ(table.Jobs[i].FirstEvent, &table.FirstEvents[i]);
    EXPECT_EQ(table.Jobs[i].SecondEvent, &table.SecondEvents[i]);
    EXPECT_EQ(table.Jobs[i].Proc, nullptr);
    EXPECT_EQ(table.Jobs[i].Data, nullptr);
    EXPECT_NE(table.FirstEvents[i], nullptr);
    EXPECT_NE(table.SecondEvents[i], nullptr);
    events.insert(table.FirstEvents[i]);
    events.insert(table.SecondEvents[i]);
  }
  EXPECT_EQ(events.size(), 16u);
}

}  // namespace
