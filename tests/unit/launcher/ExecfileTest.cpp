// TExecFile on the POSIX backend, with a real child that echoes its arguments.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "Execfile.h"
#include "Overrides.h"
#include "TempDir.h"

namespace {

class ExecfileTest : public ::testing::Test {
 protected:
  ExecfileTest() {
    std::filesystem::copy_file(ECHO_CHILD, dir_.NativePath() + "/echo child");
    ::unsetenv("ECHO_CHILD_SLEEP_MS");
  }
  ~ExecfileTest() override { ::unsetenv("ECHO_CHILD_SLEEP_MS"); }
  std::string Child() const { return "\"" + dir_.EnginePath() + "echo child\""; }
  std::string Report() const { return test::ReadNativeFile(dir_.NativePath() + "/echo_report.txt"); }

  test::TempDir dir_;
};

TEST_F(ExecfileTest, StartsWithItsParametersAndWaitsKeepingTheQueueAlive) {
  TExecFile exec;
  exec.CommandLine = Child();
  exec.Parameters = "plain \"two words\" \"\" x\"y\"z";
  exec.Wait = true;
  ::setenv("ECHO_CHILD_SLEEP_MS", "200", 1);
  EXPECT_TRUE(exec.Execute());
  EXPECT_TRUE(exec.ProcessEnded);
  EXPECT_FALSE(exec.IsWaiting);
  EXPECT_EQ(Report(), "mutex=free\narg=plain\narg=two words\narg=\narg=xyz\n");
}

TEST_F(ExecfileTest, SuspendedWaitBlocksUntilTheEnd) {
  TExecFile exec;
  exec.CommandLine = Child();
  exec.Wait = true;
  exec.WaitStyle = TWaitStyle::wSuspend;
  ::setenv("ECHO_CHILD_SLEEP_MS", "200", 1);
  EXPECT_TRUE(exec.Execute());
  EXPECT_TRUE(platform::ProcessHasEnded(exec.ProcessInfo.process));
  EXPECT_EQ(Report(), "mutex=free\n");
}

// A fresh component starts the program shown normally, at normal priority,
// and does not wait for it.
// Each start lets go of the last one's handles, so that a component started
// again and again holds no more than one process.
TEST_F(ExecfileTest, ASecondStartClosesTheHandlesOfTheFirst) {
  TExecFile exec;
  exec.CommandLine = Child();
  exec.Wait = true;
  ASSERT_TRUE(exec.Execute());
  const auto first = static_cast<pid_t>(exec.ProcessInfo.processId);
  EXPECT_EQ(::kill(first, 0), 0);  // ended, but its handle still holds it
  ASSERT_TRUE(exec.Execute());
  EXPECT_NE(exec.ProcessInfo.processId, static_cast<std::uint32_t>(first));
  EXPECT_EQ(::kill(first, 0), -1);  // let go: gone from the system
  EXPECT_EQ(errno, ESRCH);
}

TEST_F(ExecfileTest, WithoutWaitItReturnsWhileTheProgramRuns) {
  TExecFile exec;
  exec.CommandLine = Child();
  ::setenv("ECHO_CHILD_SLEEP_MS", "1000", 1);
  EXPECT_TRUE(exec.Execute());
  EXPECT_FALSE(platform::ProcessHasEnded(exec.ProcessInfo.process));
  EXPECT_FALSE(exec.ProcessEnded);
  EXPECT_EQ(exec.StartupInfo.wShowWindow, 1u);  // SW_SHOWNORMAL
  EXPECT_EQ(exec.PriorityValue, 0x20u);         // NORMAL_PRIORITY_CLASS
  platform::WaitForProcess(exec.ProcessInfo.process);
}

TEST_F(ExecfileTest, AFailedStartIsReportedOnlyThroughOnFail) {
  int shellAsked = 0;
  platform::ScopedOverrides noAssociation({.associatedProgram = [&](const std::string&, std::string& program) {
    ++shellAsked;
    program = Child();  // whatever a failed look-up leaves there is not taken
    return std::intptr_t{32};  // the shell's "DLL not found": no association either
  }});
  for (const bool associate : {false, true}) {
    TExecFile exec;
    exec.CommandLine = dir_.EnginePath() + "missing.exe";
    exec.Associate = associate;
    int fails = 0;
    exec.OnFail = [&](TExecFile& sender) {
      ++fails;
      EXPECT_EQ(&sender, &exec);
      EXPECT_EQ(sender.ErrorCode, static_cast<std::uint32_t>(ENOENT));  // known to the handler
    };
    EXPECT_FALSE(exec.Execute());
    EXPECT_EQ(fails, 1);
    EXPECT_EQ(exec.ErrorCode, static_cast<std::uint32_t>(ENOENT));
    EXPECT_EQ(exec.AssocProgram, "");
    EXPECT_EQ(shellAsked, associate ? 1 : 0);
  }
  // A fresh component has no handler and does not ask the shell: silent.
  TExecFile silent;
  silent.CommandLine = dir_.EnginePath() + "missing.exe";
  EXPECT_FALSE(silent.Execute());
  EXPECT_EQ(shellAsked, 1);
}

// A document that is no program starts the program the shell associates
// with it, with the document and then the parameters as its arguments.
TEST_F(ExecfileTest, TheAssociatedProgramGetsTheDocumentAndTheParameters) {
  const std::string document = dir_.EnginePath() + "notes.txt";
  test::WriteNativeFile(dir_.NativePath() + "/notes.txt", "not a program");
  std::vector<std::string> asked;
  platform::ScopedOverrides association({.associatedProgram = [&](const std::string& file, std::string& program) {
    asked.push_back(file);
    program = Child();
    return std::intptr_t{42};
  }});
  TExecFile exec;
  exec.CommandLine = document;
  exec.Parameters = "first \"second one\"";
  exec.Associate = true;
  exec.Wait = true;
  EXPECT_TRUE(exec.Execute());
  EXPECT_EQ(asked, std::vector<std::string>{document});
  EXPECT_EQ(exec.AssocProgram, Child());
  EXPECT_EQ(Report(), "mutex=free\narg=" + document + "\narg=first\narg=second one\n");
}

// What the system is asked for: the show command of the window style, the
// priority class with a new console, the command text.
TEST_F(ExecfileTest, WindowStyleAndPriorityPickTheSystemsValues) {
  struct Asked {
    std::string text;
    std::uint32_t flags;
    std::uint16_t show;
  };
  std::vector<Asked> asked;
  platform::ScopedOverrides record({.startProcess = [&](const std::string& text, std::uint32_t flags, std::uint16_t show,
                                                        platform::ProcessInfo&) {
    asked.push_back({text, flags, show});
    return false;
  }});
  const struct {
    TWindowStyle style;
    std::uint16_t show;
    TPriorityClass priority;
    std::uint32_t flag;
  } cases[] = {{TWindowStyle::wsNorm, 1, TPriorityClass::pcNormal, 0x20},   {TWindowStyle::wsMinimize, 2, TPriorityClass::pcIdle, 0x40},
               {TWindowStyle::wsMaximize, 3, TPriorityClass::pcHigh, 0x80}, {TWindowStyle::wsHide, 0, TPriorityClass::pcRealTime, 0x100},
               {TWindowStyle::wsMinNoActivate, 7, TPriorityClass::pcNormal, 0x20}, {TWindowStyle::wsShowNoActivate, 8, TPriorityClass::pcNormal, 0x20}};
  for (const auto& c : cases) {
    asked.clear();
    TExecFile exec;
    exec.CommandLine = "game.exe";
    exec.WindowStyle = c.style;
    exec.Priority = c.priority;
    EXPECT_FALSE(exec.Execute());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "game.exe ");
    EXPECT_EQ(asked[0].flags, c.flag | 0x10u);  // CREATE_NEW_CONSOLE
    EXPECT_EQ(asked[0].show, c.show);
  }
}

TEST(Execfile, CommandTextAndTheLengthLimit) {
  EXPECT_EQ(BuildCommandText("C:\\Games\\Ostrelund.exe", ""), "C:\\Games\\Ostrelund.exe ");
  EXPECT_EQ(BuildCommandText("prog", "-a b"), "prog -a b");
  TExecFile exec;
  exec.CommandLine = std::string(300, 'c');
  exec.Parameters = std::string(256, 'p');
  EXPECT_EQ(exec.CommandLine.str(), std::string(255, 'c'));
  EXPECT_EQ(exec.Parameters.str(), std::string(255, 'p'));
  const InString made = std::string(256, 'm');
  EXPECT_EQ(made.str(), std::string(255, 'm'));
  EXPECT_EQ(InString(std::string(255, 'k')).str(), std::string(255, 'k'));
}

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

struct CutCase {
  std::uint32_t codePage;
  std::string text;
  std::string kept;
};

// Under UTF-8 the 255 characters are characters: a Cyrillic path is not cut
// at half its length, and no cut splits a character. A quoted path that is
// cut still ends in its quote.
TEST(Execfile, TheLengthLimitCountsCharactersAndKeepsTheClosingQuote) {
  const std::string a254(254, 'a'), a253(253, 'a');
  const CutCase cases[] = {
      {65001, Repeat("Ж", 200) + Repeat("ё", 100), Repeat("Ж", 200) + Repeat("ё", 55)},
      {65001, a254 + "ЖЁ", a254 + "Ж"},
      {65001, a254 + "\U0001F3AE!", a254 + "\U0001F3AE"},
      {65001, Repeat("\xC3", 300), Repeat("\xC3", 255)},  // each stray byte is one character
      {65001, "\"" + a254 + "Ж\"", "\"" + a253 + "\""},
      {65001, "\"C:\\Игры\\Ostrelund.exe\"", "\"C:\\Игры\\Ostrelund.exe\""},
      {65001, "\"a\" " + a254, "\"a\" " + std::string(251, 'a')},  // closed within: a plain cut
      // The closing quote on the 256th character, and on the 255th.
      {65001, "\"" + a254 + "\"", "\"" + a253 + "\""},
      {65001, "\"" + a253 + "\"", "\"" + a253 + "\""},
      // A letter in the last kept place gives its room to the quote whole.
      {65001, "\"" + a253 + "Ж\"", "\"" + a253 + "\""},
      {65001, "\"" + a253 + "\U0001F3AE\"", "\"" + a253 + "\""},
      {65001, "\"" + Repeat("Ж", 254) + "\"", "\"" + Repeat("Ж", 253) + "\""},
      {65001, "\"" + std::string(300, 'a'), "\"" + a254},  // never closed: none is added
      {1252, a254 + "\xD0\x96", a254 + "\xD0"},  // the system's code page: bytes, as before
      {1252, "\"" + std::string(300, 'b') + "\"", "\"" + std::string(253, 'b') + "\""},
  };
  for (const auto& c : cases) {
    const platform::ScopedOverrides codePage({.ansiCodePage = [&c] { return c.codePage; }});
    TExecFile exec;
    exec.CommandLine = c.text;
    exec.Parameters = c.text;
    EXPECT_EQ(exec.CommandLine.str(), c.kept) << c.codePage << ": " << c.text;
    EXPECT_EQ(exec.Parameters.str(), c.kept) << c.codePage << ": " << c.text;
  }
}

}  // namespace
