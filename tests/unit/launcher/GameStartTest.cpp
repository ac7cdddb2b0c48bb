// "Game start": options saved, the mutex held while the game starts, the
// game started from a folder whose path has spaces, the window closed.
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "LauncherFixture.h"

namespace {

const char kGameMutex[] = "Ostrelund Beta";

// The game's report, once the started game has written it; empty when none
// came within `waitMs`.
std::string WaitForGameReport(const std::string& game, int waitMs = 10000) {
  const std::string path = game + "echo_report.txt";
  for (int i = 0; i < waitMs / 50 && !std::filesystem::exists(path); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!std::filesystem::exists(path)) return {};
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return test::ReadNativeFile(path);
}

// What holds at each step of "Game start" as it happens: when the window
// hides, when the launcher sleeps, when the window closes.
class RoadPeer : public TFormPeer {
 public:
  RoadPeer(TForm& form, std::string game, std::vector<std::string>& road)
      : form_(form), game_(std::move(game)), road_(road) {}
  void ControlChanged(TControl&, TChange) override {}
  void FormChanged() override {
    if (form_.Visible() || hidden_) return;
    hidden_ = true;
    // Started before the window hides, the game reports within moments.
    const std::string report = WaitForGameReport(game_, 3000);
    road_.push_back(std::string("hide: mutex ") + (platform::NamedMutexExists(kGameMutex) ? "held" : "free") +
                    ", game " + (report.empty() ? "not started" : "started with " + report));
  }
  void Close() override {
    road_.push_back(std::string("close: mutex ") + (platform::NamedMutexExists(kGameMutex) ? "held" : "free"));
  }

 private:
  TForm& form_;
  std::string game_;
  std::vector<std::string>& road_;
  bool hidden_ = false;
};

class GameStartTest : public LauncherTest {
 protected:
  explicit GameStartTest(const std::string& folder = "Ostrelund Game")
      : LauncherTest(folder), sleep_({.sleep = [this](std::uint32_t ms) {
          road_.push_back("sleep " + std::to_string(ms) + " ms: window " + (launcher_.Visible() ? "shown" : "hidden") +
                          ", mutex " + (platform::NamedMutexExists(kGameMutex) ? "held" : "free"));
          // The hold lasts until the started game has looked for the mutex.
          WaitForGameReport(game_, static_cast<int>(ms));
        }}) {
    std::filesystem::copy_file(ECHO_CHILD, game_ + "Ostrelund.exe", std::filesystem::copy_options::overwrite_existing);
    ::unsetenv("ECHO_CHILD_SLEEP_MS");
  }
  std::string WaitForReport() { return WaitForGameReport(game_); }

  std::vector<std::string> road_;
  platform::ScopedOverrides sleep_;
};

TEST_F(GameStartTest, SavesHoldsTheMutexStartsTheGameAndCloses) {
  test::WriteNativeFile(game_ + "Options_Game.ini", "[Main]\r\nOther = kept \r\nWindowed_Mode=No\r\n");
  TLauncher& w = Start("de_DE.UTF-8");
  w.Show();
  w.AttachPeer(std::make_unique<RoadPeer>(w, game_, road_));
  w.cbWindow->SetChecked(true);
  w.bbRun->Click();

  // One quoted token: the game gets no arguments.
  EXPECT_EQ(road_, (std::vector<std::string>{"hide: mutex held, game started with mutex=held\n",
                                             "sleep 2000 ms: window hidden, mutex held", "close: mutex free"}));
  // Released, not only closed: a game waiting on it gets it now, not as an
  // abandoned mutex once the launcher has ended.
  EXPECT_FALSE(platform::NamedMutexExists(kGameMutex));
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
  EXPECT_TRUE(road_.empty());
}

TEST_F(GameStartTest, BeforeTheOptionsExistGameStartDoesNothingAndExitCloses) {
  // A start-up sequence cut short before the options leaves no options file.
  launcher_.bbRun->Click();
  EXPECT_FALSE(launcher_.Closed());
  EXPECT_FALSE(std::filesystem::exists(game_ + "echo_report.txt"));
  launcher_.bbExit->Click();
  EXPECT_TRUE(launcher_.Closed());
}

// The game folder's Options_Game.ini as the package ships it, on a fresh
// install: no language, so the window opens in the system's; the options at
// their defaults, each under the name the launcher reads, so that "Game
// start" changes nothing but the language it adds.
TEST_F(GameStartTest, AFreshInstallFindsTheShippedDefaults) {
  test::WriteNativeFile(game_ + "Options_Game.ini", test::ReadNativeFile(SHIPPED_GAME_DIR "/Options_Game.ini"));
  TLauncher& w = Start("fr_FR.UTF-8");
  EXPECT_EQ(w.rgLanguage->ItemIndex(), 3);
  EXPECT_EQ(w.LanguageSuffix, "Fra");
  EXPECT_FALSE(w.cbShadowQuality->Checked());
  EXPECT_FALSE(w.cbAntiAliasing->Checked());
  EXPECT_FALSE(w.cbATOC->Checked());
  EXPECT_FALSE(w.cbATOC->Enabled());
  EXPECT_FALSE(w.cbWindow->Checked());
  EXPECT_FALSE(w.cbNoSound->Checked());
  EXPECT_TRUE(w.bbRun->Enabled());
  ASSERT_TRUE(w.OptionsFile->SelectSection("Main"));
  const std::string firstCopy = test::ReadNativeFile(UserCopy());
  ASSERT_NE(firstCopy.find("\r\n[Controls]"), std::string::npos);
  w.Show();
  w.bbRun->Click();
  EXPECT_EQ(WaitForReport(), "mutex=held\n");
  std::string expected = firstCopy;
  expected.insert(expected.find("\r\n[Controls]") + 2, "Global_Language=fra\r\n");
  EXPECT_EQ(test::ReadNativeFile(UserCopy()), expected);
}

// A quoted game path of up to 255 characters goes to the system as it is;
// one the command line cannot hold goes by its short form.
TEST_F(GameStartTest, TheShortFormIsTakenOnlyWhenTheQuotedPathPassesTheLimit) {
  std::vector<std::string> commands, asked;
  const platform::ScopedOverrides system({
      .shortPathName = [&](const std::string& path) {
        asked.push_back(path);
        return std::string("C:\\OSTREL~1\\OSTREL~1.EXE");
      },
      .sleep = [](std::uint32_t) {},
      .startProcess = [&](const std::string& text, std::uint32_t, std::uint16_t, platform::ProcessInfo&) {
        commands.push_back(text);
        return false;
      },
  });
  const auto repeat = [](const std::string& letter, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += letter;
    return text;
  };
  struct Case {
    std::uint32_t codePage;
    std::string folderName;  // "\"C:\" + name + "\Ostrelund.exe\"" is 19 characters more
    bool shortForm;
  };
  const Case cases[] = {
      {1252, std::string(236, 'a'), false},
      {1252, std::string(237, 'a'), true},
      {platform::kCodePageUtf8, repeat("Ж", 236), false},  // 255 characters in 491 bytes
      {platform::kCodePageUtf8, repeat("Ж", 237), true},
  };
  for (const Case& c : cases) {
    const std::string program = "C:\\" + c.folderName + "\\Ostrelund.exe";
    SCOPED_TRACE(std::to_string(c.codePage) + ": " + program);
    const platform::ScopedOverrides codePage({.ansiCodePage = [&c] { return c.codePage; }});
    commands.clear();
    asked.clear();
    TLauncher window;
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    window.FormCreate();
    window.GameFolder = "C:\\" + c.folderName + "\\";
    window.bbRun->Click();
    EXPECT_TRUE(window.Closed());
    EXPECT_EQ(asked, c.shortForm ? std::vector<std::string>{program} : std::vector<std::string>{});
    EXPECT_EQ(commands,
              std::vector<std::string>{c.shortForm ? "\"C:\\OSTREL~1\\OSTREL~1.EXE\" " : "\"" + program + "\" "});
  }
}

// The program's manifest makes its code page UTF-8: a game folder outside
// the system's code page and a language outside it both work.
class Utf8GameStartTest : public GameStartTest {
 protected:
  Utf8GameStartTest() : GameStartTest("Игры/Остров Ostrelund 島") {}
  platform::ScopedOverrides utf8_{{.ansiCodePage = [] { return platform::kCodePageUtf8; }}};
};

TEST_F(Utf8GameStartTest, AFolderOutsideTheCodePageKeepsItsNameAndStartsTheGame) {
  TLauncher& w = Start("en_US.UTF-8");
  EXPECT_EQ(w.GameFolder, root_.EnginePath() + "Игры\\Остров Ostrelund 島\\");
  EXPECT_TRUE(w.bbRun->Enabled());  // the game and its options were found
  w.rgLanguage->SetItemIndex(1);
  EXPECT_EQ(w.bbRun->Caption(), "Начать игру");
  EXPECT_EQ(w.rgLanguage->Caption(), "Язык");
  EXPECT_EQ(w.rgLanguage->Items(), (std::vector<std::string>{"Английский", "Русский", "", ""}));
  w.rgLanguage->SetItemIndex(0);
  EXPECT_EQ(w.bbRun->Caption(), "Start the game");
  w.Show();
  w.rgLanguage->SetItemIndex(1);
  w.bbRun->Click();
  EXPECT_EQ(WaitForReport(), "mutex=held\n");
  EXPECT_NE(test::ReadNativeFile(UserCopy()).find("Global_Language=rus"), std::string::npos);
}

}  // namespace
