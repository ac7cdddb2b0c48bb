// The engine clock and the timer resolution.
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "SystemInternal.h"

namespace {

using ClockTest = test::EngineTest;

TEST_F(ClockTest, ReadTimerTakesTheCountAsSigned32Bits) {
  SetClock(0x7FFFFFFF);
  EXPECT_EQ(ReadTimer(), 0x7FFFFFFF);
  SetClock(0x80000000u);  // up for 2^31 ms: about 24.86 days
  EXPECT_THROW(ReadTimer(), ERangeError);
  SetClock(0xFFFFFFFFu);
  EXPECT_THROW(EngineTime(true), ERangeError);
}

TEST_F(ClockTest, EngineTimeKeepsTheLastUpdate) {
  StartEngine(500);
  EXPECT_EQ(EngineTime(false), 500);  // start-up's first reading
  SetClock(1234);
  EXPECT_EQ(EngineTime(false), 500);
  EXPECT_EQ(EngineTime(true), 1234);
  SetClock(0x80000000u);
  EXPECT_THROW(EngineTime(true), ERangeError);
  EXPECT_EQ(EngineTime(false), 1234);  // a failed update keeps the old value
  SetClock(2000);
  EXPECT_EQ(ReadTimer(), 2000);  // the lock was left despite the error
}

std::uint32_t g_minimumPeriod = 0;
std::uint32_t g_calls = 0;
std::uint32_t FakeBeginPeriod(std::uint32_t period) {
  ++g_calls;
  return period < g_minimumPeriod ? platform::kTimerNoCanDo : platform::kTimerNoError;
}
std::uint32_t OtherError(std::uint32_t) { return 5; }

TEST(TimerPeriod, IsTheFirstPeriodTheTimerAccepts) {
  g_minimumPeriod = 1, g_calls = 0;
  EXPECT_EQ(vk9_system::AcquireTimerPeriod(FakeBeginPeriod), 1u);
  g_minimumPeriod = 4, g_calls = 0;
  EXPECT_EQ(vk9_system::AcquireTimerPeriod(FakeBeginPeriod), 4u);
  EXPECT_EQ(g_calls, 4u);
  // Another error ends the loop at the period tried.
  EXPECT_EQ(vk9_system::AcquireTimerPeriod(OtherError), 1u);
  // A timer that accepts nothing does not keep start-up looping.
  g_minimumPeriod = 0xFFFFFFFFu, g_calls = 0;
  EXPECT_EQ(vk9_system::AcquireTimerPeriod(FakeBeginPeriod), 1000u);
  EXPECT_EQ(g_calls, 1000u);
}

}  // namespace
