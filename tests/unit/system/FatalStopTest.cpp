// FatalStop and the unit table: the process ends with exit code 0 through
// every started unit's end, last started first. Checked in child processes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "EngineFixture.h"
#include "SystemInternal.h"

namespace {

// The message box as the POSIX backend shows it, so the child's standard
// error holds it for the death-test pattern.
void BoxToStandardError(const std::string& text, const std::string& caption, std::uint32_t) {
  std::fprintf(stderr, "[%s]\n%s\n", caption.c_str(), text.c_str());
}

std::string EscapeRegex(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (std::string(".[]{}()\\*+?^$|").find(c) != std::string::npos) escaped += '\\';
    escaped += c;
  }
  return escaped;
}

void EndA() { std::fputs("end A\n", stderr); }
void EndB() { std::fputs("end B\n", stderr); }
void EndWithFatalStop() {
  std::fputs("end F\n", stderr);
  FatalStop("in end");
}

class FatalStopTest : public test::EngineTest {
 protected:
  FatalStopTest() : stderrBox_({.messageBox = BoxToStandardError}) {}

  platform::ScopedOverrides stderrBox_;
};

TEST_F(FatalStopTest, EndsTheStartedUnitsInReverseAndExitsWithZero) {
  const TEngineUnit units[] = {VK9_SystemUnit, {"A", nullptr, EndA}, {"B", nullptr, EndB}};
  const std::string exeName = vk9_system::ExeNameFromModulePath(platform::ModuleFileName());
  EXPECT_EXIT(
      {
        SetClock(1000);
        StartUnits(units, 3);
        SetClock(1500);
        FatalStop("boom");
      },
      ::testing::ExitedWithCode(0), "end B\nend A\n\\[" + EscapeRegex(exeName) + "\\]\nERRORS:\n\rboom\n");
  const std::string log = ChildLog();
  EXPECT_NE(log.find(" 0: 0:  500   0.500  VK9_System.Finalization \r\n"
                     " 0: 0:  500\t     ERRORS: \n\rboom\r\n"
                     " 0: 0:  500\t     End logging \r\n"),
            std::string::npos)
      << log;
}

TEST_F(FatalStopTest, IsNotSeenByTheCallersHandlers) {
  EXPECT_EXIT(
      {
        try {
          FatalStop("unseen");
        } catch (...) {
          std::_Exit(3);
        }
        std::_Exit(4);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(FatalStopTest, CollectsEveryMessageIntoOneBox) {
  const TEngineUnit units[] = {VK9_SystemUnit, {"F", nullptr, EndWithFatalStop}, {"B", nullptr, EndB}};
  EXPECT_EXIT(
      {
        StartUnits(units, 3);
        EngineErrors += "\n\rfirst";
        FatalStop("second");
      },
      ::testing::ExitedWithCode(0), "end B\nend F\n\\[.*\\]\nERRORS:\n\rfirst\n\rsecond\n\rin end\n$");
}

TEST_F(FatalStopTest, AnIniFileThatCannotBeOpenedStopsTheProgram) {
  const std::string path = appData_.EnginePath() + "missing\\Texts.Ini";
  EXPECT_EXIT(
      {
        StartUnits(&VK9_SystemUnit, 1);
        TIniFile ini;
        ini.Load(path);
        std::_Exit(5);
      },
      ::testing::ExitedWithCode(0), "ERRORS:\n\rTIniFile.Load\\(" + EscapeRegex(path) + "\\) -> FILE NOT FOUND!\n");
  EXPECT_NE(ChildLog().find("ERRORS: \n\rTIniFile.Load(" + path + ") -> FILE NOT FOUND!\r\n"), std::string::npos);
}

std::vector<std::string> g_calls;
void StartX() { g_calls.push_back("start X"); }
void EndX() { g_calls.push_back("end X"); }
void StartY() { g_calls.push_back("start Y"); }
void EndY() { g_calls.push_back("end Y"); }
void Main() { g_calls.push_back("main"); }
void ThrowingMain() { throw ERangeError("Range check error"); }

void ThrowingEnd() {
  std::fputs("end T\n", stderr);
  throw ERangeError("Range check error in an end");
}

// An end that raises does not keep the units started before it from ending.
TEST_F(FatalStopTest, AnEndThatRaisesLeavesTheOtherEndsToRun) {
  const TEngineUnit units[] = {VK9_SystemUnit, {"A", nullptr, EndA}, {"T", nullptr, ThrowingEnd}, {"B", nullptr, EndB}};
  EXPECT_EXIT(
      {
        StartUnits(units, 4);
        try {
          FatalStop("boom");
        } catch (...) {
          std::_Exit(3);
        }
      },
      ::testing::ExitedWithCode(0), "^end B\nend T\nend A\n\\[.*\\]\nERRORS:\n\rboom\n$");

  // A normal exit reports the end's error, once every end has run.
  const TEngineUnit plain[] = {{"X", StartX, EndX}, {"T", nullptr, ThrowingEnd}, {"Y", StartY, EndY}};
  std::vector<std::string> boxes;
  platform::ScopedOverrides record({.messageBox = [&](const std::string& text, const std::string&, std::uint32_t) {
    boxes.push_back(text);
  }});
  g_calls.clear();
  EXPECT_EQ(RunProgram(plain, 3, Main), 1);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"start X", "start Y", "main", "end Y", "end X"}));
  EXPECT_EQ(boxes, std::vector<std::string>{"Range check error in an end"});
}

void EndRaisingT() {
  g_calls.push_back("end T");
  throw ERangeError("the error of T's end");
}
void EndRaisingU() {
  g_calls.push_back("end U");
  throw EInOutError("the error of U's end");
}

// Of several errors the first one raised wins the box: the main routine's
// before any end's, and of two ends the one that ended first. Every end runs.
TEST_F(FatalStopTest, TheFirstOfSeveralErrorsIsTheOneShown) {
  const TEngineUnit units[] = {
      {"X", StartX, EndX}, {"T", nullptr, EndRaisingT}, {"Y", StartY, EndY}, {"U", nullptr, EndRaisingU}};
  struct Case {
    void (*mainRoutine)();
    std::vector<std::string> calls;
    std::string box;
  };
  const Case cases[] = {
      {Main, {"start X", "start Y", "main", "end U", "end Y", "end T", "end X"}, "the error of U's end"},
      {ThrowingMain, {"start X", "start Y", "end U", "end Y", "end T", "end X"}, "Range check error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    std::vector<std::string> boxes;
    platform::ScopedOverrides record({.messageBox = [&](const std::string& text, const std::string&, std::uint32_t) {
      boxes.push_back(text);
    }});
    g_calls.clear();
    EXPECT_EQ(RunProgram(units, 4, c.mainRoutine), 1);
    EXPECT_EQ(g_calls, c.calls);
    EXPECT_EQ(boxes, std::vector<std::string>{c.box});
  }
}

void EndOutOfMemory() {
  std::fputs("end M\n", stderr);
  throw std::bad_alloc();
}

// An end that raises an error of another kind than the engine's does not
// keep a fatal stop from its box and its end either.
TEST_F(FatalStopTest, AnEndThatRaisesAnyErrorLeavesTheStopItsBox) {
  const TEngineUnit units[] = {
      VK9_SystemUnit, {"A", nullptr, EndA}, {"M", nullptr, EndOutOfMemory}, {"B", nullptr, EndB}};
  EXPECT_EXIT(
      {
        StartUnits(units, 4);
        FatalStop("boom");
      },
      ::testing::ExitedWithCode(0), "^end B\nend M\nend A\n\\[.*\\]\nERRORS:\n\rboom\n$");
}

TEST_F(FatalStopTest, RunProgramStartsRunsAndEndsInOrder) {
  const TEngineUnit units[] = {{"X", StartX, EndX}, {"Y", StartY, EndY}};
  g_calls.clear();
  EXPECT_EQ(RunProgram(units, 2, Main), 0);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"start X", "start Y", "main", "end Y", "end X"}));

  std::vector<test::ShownMessageBox> boxes;
  platform::ScopedOverrides record({.messageBox = [&](const std::string& text, const std::string& caption, std::uint32_t style) {
                                      boxes.push_back({text, caption, style});
                                    }});
  g_calls.clear();
  EXPECT_EQ(RunProgram(units, 2, ThrowingMain), 1);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"start X", "start Y", "end Y", "end X"}));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Range check error");
}

}  // namespace
