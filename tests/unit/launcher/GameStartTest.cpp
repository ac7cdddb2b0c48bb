// "Game start": options saved, the mutex held while the game starts, the
// game started from a folder whose path has spaces, the window closed.
#include <chrono>
#include <thread>

#include "LauncherFixture.h"

namespace {

class GameStartTest : public LauncherTest {
 protected:
  GameStartTest() {
    std::filesystem::copy_file(ECHO_CHILD, game_ + "Ostrelund.exe", std::filesystem::copy_options::overwrite_existing);
    ::unsetenv("ECHO_CHILD_SLEEP_MS");
  }
  std::string WaitForReport() {
    const std::string path = game_ + "echo_report.txt";
    for (int i = 0; i < 200 && !std::filesystem::exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return test::ReadNativeFile(path);
  }
};

TEST_F(GameStartTest, SavesHoldsTheMutexStartsTheGameAndCloses) {
  test::WriteNativeFile(game_ + "Options_Game.ini", "[Main]\r\nOther = kept \r\nWindowed_Mode=No\r\n");
  TLauncher& w = Start("de_DE.UTF-8");
  w.Show();
  w.cbWindow->SetChecked(true);
  w.bbRun->Click();

  EXPECT_EQ(WaitForReport(), "mutex=held\n");  // one quoted token: no arguments
  EXPECT_FALSE(platform::NamedMutexExists("Ostrelund Beta"));  // released after the hold
  EXPECT_EQ(test::ReadNativeFile(UserCopy()),
            "[Main]\r\nOther = kept\r\nWindowed_Mode=Yes\r\nGlobal_Language=deu\r\nRender_AntiAliasing=No\r\n"
            "Render_ATOC=No\r\nRender_ShadowsResolution=1024\r\nMusic_Enable=No");
  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(w.Closed());
  EXPECT_EQ(w.OptionsFile, nullptr);
}

TEST_F(GameStartTest, WithoutSectionMainItDoesNothing) {
  test::WriteNativeFile(game_ + "Options_Game.ini", "[Video]\r\nWindowed_Mode=No\r\n");
  TLauncher& w = Start("en_US.UTF-8");
  w.Show();
  const std::string before = test::ReadNativeFile(UserCopy());
  w.bbRun->Click();
  w.bbRun->Click();
  EXPECT_TRUE(w.Visible());
  EXPECT_FALSE(w.Closed());
  EXPECT_NE(w.OptionsFile, nullptr);
  EXPECT_EQ(test::ReadNativeFile(UserCopy()), before);
  EXPECT_FALSE(std::filesystem::exists(game_ + "echo_report.txt"));
}

TEST_F(GameStartTest, BeforeTheOptionsExistGameStartDoesNothingAndExitCloses) {
  // A start-up sequence cut short before the options leaves no options file.
  launcher_.bbRun->Click();
  EXPECT_FALSE(launcher_.Closed());
  EXPECT_FALSE(std::filesystem::exists(game_ + "echo_report.txt"));
  launcher_.bbExit->Click();
  EXPECT_TRUE(launcher_.Closed());
}

}  // namespace
