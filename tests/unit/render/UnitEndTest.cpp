// The units' ends when the log can no longer be written (its file gone, or
// the clock past the signed range after 24.8 days of uptime): a normal exit
// still runs every end, and a fatal stop still ends the process through its
// box.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "SystemInternal.h"
#include "VK9_Render.h"

namespace {

std::vector<std::string> g_ends;
void EndGame() { g_ends.push_back("Game"); }

// The fixture's clock, for the main routines below.
std::uint32_t* g_clock = nullptr;
void DeleteTheLog() { std::remove(test::ToNative(LogFileName).c_str()); }
void TurnTheClockPastItsRange() { *g_clock = 0x80000000u; }

const TEngineUnit kUnits[] = {VK9_SystemUnit, VK9_RenderUnit, {"Game", nullptr, EndGame}};

struct DeadLog {
  const char* what;
  void (*kill)();
};
const DeadLog kDeadLogs[] = {{"the log file gone", DeleteTheLog},
                             {"the clock past its range", TurnTheClockPastItsRange}};

class UnitEndTest : public test::EngineTest {
 protected:
  UnitEndTest() { g_clock = &clock_; }
};

TEST_F(UnitEndTest, ANormalExitRunsEveryEndWithTheLogDead) {
  for (const DeadLog& dead : kDeadLogs) {
    SCOPED_TRACE(dead.what);
    SetClock(1000);
    g_ends.clear();
    EXPECT_EQ(RunProgram(kUnits, 3, dead.kill), 0);
    EXPECT_EQ(g_ends, std::vector<std::string>{"Game"});
    // VK9_System's end ran after the renderer's: its locks are gone.
    EXPECT_EQ(vk9_system::LogLock, nullptr);
    EXPECT_EQ(vk9_system::ClockLock, nullptr);
    EXPECT_TRUE(boxes_.empty());
  }
}

void StopWithTheLogDead(void (*kill)()) {
  StartUnits(kUnits, 2);
  kill();
  try {
    FatalStop("DirectSoundCreate: No sound driver is available for use. -> DIRECTSOUND INTERNAL ERROR");
  } catch (...) {
    std::fputs("the caller's handler saw the stop\n", stderr);
    std::_Exit(3);
  }
  std::_Exit(4);
}

TEST_F(UnitEndTest, AFatalStopWithTheLogDeadEndsThroughItsBox) {
  platform::ScopedOverrides box({.messageBox = [](const std::string& text, const std::string&, std::uint32_t) {
    std::fprintf(stderr, "%s\n", text.c_str());
  }});
  for (const DeadLog& dead : kDeadLogs) {
    SCOPED_TRACE(dead.what);
    SetClock(1000);
    EXPECT_EXIT(
        StopWithTheLogDead(dead.kill), ::testing::ExitedWithCode(0),
        "^ERRORS:\n\rDirectSoundCreate: No sound driver is available for use\\. -> DIRECTSOUND INTERNAL ERROR\n$");
  }
}

}  // namespace
