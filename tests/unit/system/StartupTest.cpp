// The unit's start-up and shutdown.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "EngineFixture.h"
#include "SystemInternal.h"

namespace {

using StartupTest = test::EngineTest;

std::string ExpectedExeName() { return vk9_system::ExeNameFromModulePath(platform::ModuleFileName()); }

TEST(ExeName, IsTheFileNameWithoutItsLastFourCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Games\\Ostrelund_Launcher.exe", "Ostrelund_Launcher"},
      {"C:\\Games\\Launcher", "Laun"},  // four characters go, extension or not
      {"D:\\x.exe", "x"},
      {".exe", ""},
      {"abc", ""},  // shorter than four characters
      {"", ""},
      {"C:/Games/run.exe", "C:/Games/run"},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(vk9_system::ExeNameFromModulePath(path), name) << path;
}

TEST_F(StartupTest, CreatesTheLogFolderAndFileUnderLocalAppData) {
  StartEngine();
  EXPECT_FALSE(FatalErrorTimeCount);
  EXPECT_FALSE(FatalErrorLogfile);
  EXPECT_FALSE(LogDisabled);
  EXPECT_EQ(ExeName + "ests", ExtractName(platform::ModuleFileName()));  // this program: vk9_system_tests
  EXPECT_EQ(LogFolder, appData_.EnginePath() + ExeName + "\\");
  EXPECT_EQ(LogFileName, LogFolder + ExeName + ".log");
  EXPECT_TRUE(std::filesystem::is_directory(test::ToNative(LogFolder)));
  EXPECT_GT(SystemInfo.dwNumberOfProcessors, 0u);
  EXPECT_GT(TimerPeriod, 0u);
  EXPECT_EQ(LogStartTime, 1000);
  EXPECT_EQ(SectionStart, 1000);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{" 0: 0:    0\t     Start logging ",
                                                  " 0: 0:    0\t     VK9_System.Initialization "}));
}

TEST_F(StartupTest, ReplacesALogFromAnEarlierRun) {
  const std::string folder = appData_.NativePath() + "/" + ExpectedExeName();
  std::filesystem::create_directory(folder);
  test::WriteNativeFile(folder + "/" + ExpectedExeName() + ".log", std::string(5000, 'x'));
  StartEngine();
  EXPECT_EQ(LogBytes().substr(0, 36), "Debug Information Engine (v. 0.9 MT)");
  EXPECT_EQ(LogLines().size(), 2u);
}

TEST_F(StartupTest, ShutdownWritesTheErrorsAndShowsThemInABox) {
  StartEngine();
  SetClock(1250);
  EngineErrors = "\n\rfirst\n\rsecond";
  StopEngine();
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[2], " 0: 0:  250   0.250  VK9_System.Finalization ");
  EXPECT_EQ(lines[3], " 0: 0:  250\t     ERRORS: \n\rfirst\n\rsecond");
  EXPECT_EQ(lines[4], " 0: 0:  250\t     End logging ");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "ERRORS:\n\rfirst\n\rsecond");
  EXPECT_EQ(boxes_[0].caption, ExeName);
  EXPECT_EQ(boxes_[0].style, 0x10u);  // error icon, one OK button
}

TEST_F(StartupTest, ShutdownWithoutErrorsShowsNoBox) {
  StartEngine();
  StopEngine();
  EXPECT_EQ(LogLines().back(), " 0: 0:    0\t     End logging ");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(StartupTest, AClockPastTheSignedRangeTurnsLoggingOff) {
  StartEngine(0x80000000u);
  EXPECT_TRUE(FatalErrorTimeCount);
  EXPECT_TRUE(LogDisabled);
  EXPECT_FALSE(FatalErrorLogfile);
  EXPECT_EQ(ExeName, "");
  EXPECT_EQ(LogFileName, "");
  EXPECT_EQ(SystemInfo.dwNumberOfProcessors, 0u);
  EngineErrors = "\n\rboom";
  StopEngine();
  EXPECT_TRUE(std::filesystem::is_empty(appData_.NativePath()));  // no log anywhere
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "ERRORS:\n\rboom");
  EXPECT_EQ(boxes_[0].caption, "");
}

TEST_F(StartupTest, ALogFolderThatCannotBeMadeTurnsLoggingOff) {
  // A file where the folder should be: the folder cannot be created.
  test::WriteNativeFile(appData_.NativePath() + "/" + ExpectedExeName(), "in the way");
  StartEngine();
  EXPECT_TRUE(FatalErrorLogfile);
  EXPECT_TRUE(LogDisabled);
  EXPECT_FALSE(FatalErrorTimeCount);
  EXPECT_EQ(ExeName, ExpectedExeName());
  StopEngine();
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(test::ReadNativeFile(appData_.NativePath() + "/" + ExpectedExeName()), "in the way");
}

// A disk with room for a few bytes only: the log file is made, but its
// header cannot be written whole. That counts as a log that could not be
// made, rather than lines without their header.
TEST_F(StartupTest, ALogHeaderThatCannotBeWrittenTurnsLoggingOff) {
  EXPECT_EXIT(
      {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit room{};
        ::getrlimit(RLIMIT_FSIZE, &room);
        room.rlim_cur = 20;
        ::setrlimit(RLIMIT_FSIZE, &room);
        StartEngine();
        std::_Exit(FatalErrorLogfile && LogDisabled && !FatalErrorTimeCount ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(StartupTest, SetsRoundToNearestWithAllExceptionsMasked) {
  SetFPURoundMode(3);
  SetFPUExceptionMask(0x3E);
  StartEngine();
  const std::uint16_t word = platform::GetFpuControlWord();
  EXPECT_EQ(word & 0x0C00, 0);     // round to nearest
  EXPECT_EQ(word & 0x003F, 0x3F);  // every exception masked
  EXPECT_EQ(word & 0x0300, 0x300); // extended precision (or none to set)
  EXPECT_EQ(SetFPURoundMode(2), 0);
  EXPECT_EQ(SetFPURoundMode(0), 2);
  EXPECT_EQ(SetFPUExceptionMask(0x3F), 0x3F);
  EXPECT_THROW(SetFPURoundMode(4), ERangeError);
  EXPECT_THROW(SetFPUPrecision(4), ERangeError);
  EXPECT_THROW(SetFPUExceptionMask(0x40), ERangeError);
}

}  // namespace
