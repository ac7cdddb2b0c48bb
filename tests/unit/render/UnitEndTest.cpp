// The units' ends when the log can no longer be written: a normal exit still
// runs every end, and a fatal stop still ends the process through its box.
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
void DeleteTheLog() { std::remove(test::ToNative(LogFileName).c_str()); }

const TEngineUnit kUnits[] = {VK9_SystemUnit, VK9_RenderUnit, {"Game", nullptr, EndGame}};

using UnitEndTest = test::EngineTest;

TEST_F(UnitEndTest, ANormalExitRunsEveryEndWithTheLogGone) {
  g_ends.clear();
  EXPECT_EQ(RunProgram(kUnits, 3, DeleteTheLog), 0);
  EXPECT_EQ(g_ends, std::vector<std::string>{"Game"});
  // VK9_System's end ran after the renderer's: its locks are gone.
  EXPECT_EQ(vk9_system::LogLock, nullptr);
  EXPECT_EQ(vk9_system::ClockLock, nullptr);
  EXPECT_TRUE(boxes_.empty());
}

void StopWithTheLogGone() {
  StartUnits(kUnits, 2);
  DeleteTheLog();
  try {
    FatalStop("DirectSoundCreate: No sound driver is available for use. -> DIRECTSOUND INTERNAL ERROR");
  } catch (...) {
    std::fputs("the caller's handler saw the stop\n", stderr);
    std::_Exit(3);
  }
  std::_Exit(4);
}

TEST_F(UnitEndTest, AFatalStopWithTheLogGoneEndsThroughItsBox) {
  platform::ScopedOverrides box({.messageBox = [](const std::string& text, const std::string&, std::uint32_t) {
    std::fprintf(stderr, "%s\n", text.c_str());
  }});
  EXPECT_EXIT(StopWithTheLogGone(), ::testing::ExitedWithCode(0),
              "^ERRORS:\n\rDirectSoundCreate: No sound driver is available for use\\. -> DIRECTSOUND INTERNAL ERROR\n$");
}

}  // namespace
