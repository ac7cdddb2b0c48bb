// The player's options file: first-run copy, the controls it sets, and what
// "Game start" writes back.
#include "LauncherFixture.h"

namespace {

using OptionsTest = LauncherTest;

const std::string kGameOptions =
    "; default options\r\n[Main]\r\nGlobal_Language = deu\r\nRender_ShadowsResolution=2048\r\n"
    "Render_AntiAliasing=Yes\r\nRender_ATOC = Yes \r\nWindowed_Mode=Yes\r\nMusic_Enable=No\r\nView_Distance = 3\r\n\r\n"
    "[Controls]\r\nKey_Forward=W\r\n";

TEST_F(OptionsTest, TheFirstStartCopiesTheGameOptionsToThePlayer) {
  test::WriteNativeFile(game_ + "Options_Game.ini", kGameOptions);
  TLauncher& w = Start("en_US.UTF-8");
  EXPECT_EQ(UserOptionsFolder, UserFolder());
  // Saved as the engine saves a file it loaded: trimmed lines, CR LF between.
  EXPECT_EQ(test::ReadNativeFile(UserCopy()),
            "; default options\r\n[Main]\r\nGlobal_Language = deu\r\nRender_ShadowsResolution=2048\r\n"
            "Render_AntiAliasing=Yes\r\nRender_ATOC = Yes\r\nWindowed_Mode=Yes\r\nMusic_Enable=No\r\nView_Distance = 3\r\n\r\n"
            "[Controls]\r\nKey_Forward=W");
  EXPECT_EQ(test::ReadNativeFile(game_ + "Options_Game.ini"), kGameOptions);
  // The stored language wins over the locale and brings its captions.
  EXPECT_EQ(w.rgLanguage->ItemIndex(), 2);
  EXPECT_EQ(w.LanguageSuffix, "Deu");
  EXPECT_EQ(w.bbExit->Caption(), "Beenden");
  EXPECT_TRUE(w.cbShadowQuality->Checked());
  EXPECT_TRUE(w.cbAntiAliasing->Checked());
  EXPECT_TRUE(w.cbATOC->Checked());
  EXPECT_TRUE(w.cbATOC->Enabled());
  EXPECT_TRUE(w.cbWindow->Checked());
  EXPECT_TRUE(w.cbNoSound->Checked());
}

TEST_F(OptionsTest, AFolderWithoutTheFileGetsTheGameCopy) {
  std::filesystem::create_directory(appData_ + "/Ostrelund");
  test::WriteNativeFile(game_ + "Options_Game.ini", "[Main]\r\nWindowed_Mode=Yes\r\n");
  TLauncher& w = Start("en_US.UTF-8");
  EXPECT_EQ(test::ReadNativeFile(UserCopy()), "[Main]\r\nWindowed_Mode=Yes");
  EXPECT_TRUE(w.cbWindow->Checked());
}

TEST_F(OptionsTest, ThePlayersCopyIsReadAndLeftAlone) {
  std::filesystem::create_directory(appData_ + "/Ostrelund");
  const std::string player = "[Main]\r\nWindowed_Mode = Yes \r\nMusic_Enable=Yes\r\n";
  test::WriteNativeFile(UserCopy(), player);
  test::WriteNativeFile(game_ + "Options_Game.ini", kGameOptions);
  TLauncher& w = Start("en_US.UTF-8");
  EXPECT_TRUE(w.cbWindow->Checked());
  EXPECT_FALSE(w.cbNoSound->Checked());
  EXPECT_FALSE(w.cbShadowQuality->Checked());
  EXPECT_EQ(w.rgLanguage->ItemIndex(), 0);
  w.bbExit->Click();  // "Exit" writes nothing
  EXPECT_EQ(test::ReadNativeFile(UserCopy()), player);
}

struct ShowCase {
  const char* main;  // the lines of section "Main"
  bool shadows, antiAliasing, atoc, atocEnabled, windowed, noSound;
  int language;  // en_US locale: 0 unless the file selects another
  const char* stored;  // what StoreOptions then writes, in order
};

TEST_F(OptionsTest, ValuesShownAndWrittenBack) {
  const ShowCase cases[] = {
      {"Render_ShadowsResolution=4096\r\nMusic_Enable=Yes", false, false, false, false, false, false, 0,
       "Render_ShadowsResolution=1024\r\nMusic_Enable=Yes\r\nGlobal_Language=eng\r\nRender_AntiAliasing=No\r\nRender_ATOC=No\r\nWindowed_Mode=No"},
      // Supersampling is off and unavailable without anti-aliasing.
      {"Render_AntiAliasing=No\r\nRender_ATOC=Yes\r\nMusic_Enable=y", false, false, false, false, false, false, 0,
       "Render_AntiAliasing=No\r\nRender_ATOC=No\r\nMusic_Enable=Yes\r\nGlobal_Language=eng\r\nRender_ShadowsResolution=1024\r\nWindowed_Mode=No"},
      // A missing Music_Enable reads as no: sounds off. "1" is no too.
      {"Windowed_Mode=1\r\nRender_ShadowsResolution= 2048", true, false, false, false, false, true, 0,
       "Windowed_Mode=No\r\nRender_ShadowsResolution=2048\r\nGlobal_Language=eng\r\nRender_AntiAliasing=No\r\nRender_ATOC=No\r\nMusic_Enable=No"},
      // Only the exact lower-case value selects a language.
      {"Global_Language=Eng\r\nMusic_Enable=TRUE", false, false, false, false, false, false, 0,
       "Global_Language=eng\r\nMusic_Enable=Yes\r\nRender_AntiAliasing=No\r\nRender_ATOC=No\r\nRender_ShadowsResolution=1024\r\nWindowed_Mode=No"},
      {"Global_Language=fra\r\nRender_AntiAliasing=yes\r\nRender_ATOC=No\r\nMusic_Enable=Yes", false, true, false, true, false, false, 3,
       "Global_Language=fra\r\nRender_AntiAliasing=Yes\r\nRender_ATOC=No\r\nMusic_Enable=Yes\r\nRender_ShadowsResolution=1024\r\nWindowed_Mode=No"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.main);
    std::filesystem::remove_all(appData_ + "/Ostrelund");
    test::WriteNativeFile(game_ + "Options_Game.ini", std::string("[Main]\r\n") + c.main + "\r\n");
    TLauncher w;
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    w.FormCreate();
    EXPECT_EQ(w.cbShadowQuality->Checked(), c.shadows);
    EXPECT_EQ(w.cbAntiAliasing->Checked(), c.antiAliasing);
    EXPECT_EQ(w.cbATOC->Checked(), c.atoc);
    EXPECT_EQ(w.cbATOC->Enabled(), c.atocEnabled);
    EXPECT_EQ(w.cbWindow->Checked(), c.windowed);
    EXPECT_EQ(w.cbNoSound->Checked(), c.noSound);
    EXPECT_EQ(w.rgLanguage->ItemIndex(), c.language);
    EXPECT_TRUE(w.StoreOptions());
    EXPECT_EQ(test::ReadNativeFile(UserCopy()), std::string("[Main]\r\n") + c.stored);
  }
}

TEST_F(OptionsTest, WithoutSectionMainEveryOptionIsItsDefaultAndNothingIsStored) {
  test::WriteNativeFile(game_ + "Options_Game.ini", "[Video]\r\nWindowed_Mode=Yes\r\n");
  TLauncher& w = Start("en_US.UTF-8");
  EXPECT_FALSE(w.cbWindow->Checked());
  EXPECT_TRUE(w.cbNoSound->Checked());
  const std::string before = test::ReadNativeFile(UserCopy());
  w.cbWindow->SetChecked(true);
  EXPECT_FALSE(w.StoreOptions());
  EXPECT_EQ(test::ReadNativeFile(UserCopy()), before);
}

TEST_F(OptionsTest, NoOptionsAnywhereGivesEmptyFiles) {
  std::filesystem::remove(game_ + "Options_Game.ini");
  TLauncher& w = Start("en_US.UTF-8");
  EXPECT_FALSE(w.bbRun->Enabled());
  EXPECT_EQ(test::ReadNativeFile(game_ + "Options_Game.ini"), "");  // created by loading it
  EXPECT_TRUE(std::filesystem::exists(UserCopy()));
  EXPECT_EQ(test::ReadNativeFile(UserCopy()), "");
  EXPECT_TRUE(w.cbNoSound->Checked());
}

TEST_F(OptionsTest, SupersamplingFollowsAntiAliasing) {
  test::WriteNativeFile(game_ + "Options_Game.ini", "[Main]\r\nRender_AntiAliasing=Yes\r\nRender_ATOC=Yes\r\n");
  TLauncher& w = Start("en_US.UTF-8");
  ASSERT_TRUE(w.cbATOC->Checked());
  w.cbAntiAliasing->SetChecked(false);
  EXPECT_FALSE(w.cbATOC->Checked());
  EXPECT_FALSE(w.cbATOC->Enabled());
  w.cbAntiAliasing->SetChecked(true);
  EXPECT_TRUE(w.cbATOC->Enabled());
  EXPECT_FALSE(w.cbATOC->Checked());
}

}  // namespace

namespace {

// Each language the player picks is written over a file that holds another.
TEST_F(OptionsTest, EveryLanguageIsWrittenOverADifferentOne) {
  const struct {
    int item;
    const char* stored;  // what the file holds before
    const char* written;
  } cases[] = {{0, "fra", "eng"}, {1, "eng", "rus"}, {2, "rus", "deu"}, {3, "deu", "fra"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    std::filesystem::remove_all(appData_ + "/Ostrelund");
    test::WriteNativeFile(game_ + "Options_Game.ini", std::string("[Main]\r\nGlobal_Language=") + c.stored + "\r\n");
    TLauncher w;
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    w.FormCreate();
    w.rgLanguage->SetItemIndex(c.item);
    EXPECT_TRUE(w.StoreOptions());
    const std::string written = std::string("[Main]\r\nGlobal_Language=") + c.written + "\r\n";
    EXPECT_EQ(test::ReadNativeFile(UserCopy()).substr(0, written.size()), written);
  }
}

}  // namespace
