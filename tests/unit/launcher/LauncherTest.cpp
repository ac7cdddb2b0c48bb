// The start-up sequence, the texts and the languages, run headless on a
// game folder of the test's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "LauncherFixture.h"

namespace {

TEST_F(LauncherTest, EnglishTextsFromTheGameFolder) {
  TLauncher& w = Start("en_US.UTF-8");
  EXPECT_EQ(w.GameFolder, root_.EnginePath() + "Ostrelund Game\\");
  EXPECT_EQ(w.LanguageSuffix, "Eng");
  EXPECT_EQ(w.rgLanguage->ItemIndex(), 0);
  EXPECT_EQ(w.rgLanguage->Caption(), "Language");
  EXPECT_EQ(w.rgLanguage->Items(), (std::vector<std::string>{"English", "Russian", "German", "French"}));
  EXPECT_EQ(w.bbRun->Caption(), "Start the game");
  EXPECT_EQ(w.bbExit->Caption(), "Quit");
  EXPECT_EQ(w.cbWindow->Caption(), "Window");
  EXPECT_EQ(w.GroupBoxGraph->Caption(), "Graphic option");  // only a French key
  EXPECT_EQ(w.GroupBoxMessage->Caption(), "Messages");
  EXPECT_EQ(w.cbShadowQuality->Caption(), "High shadow quality");
  // Only buttons, check boxes, group boxes and the radio group take texts.
  EXPECT_EQ(w.Image1->Caption(), "");
  EXPECT_EQ(w.Memo->Caption(), "");
  EXPECT_EQ(w.sBevel->Caption(), "");
  EXPECT_EQ(w.Caption(), "Ostrelund - Launcher");
  EXPECT_EQ(w.MessageText("MessageNoSound_", "MessageNoSound_Eng"), "No sound device.");
  EXPECT_EQ(w.MessageText("MessageMinWidth_", "MessageMinWidth_Eng"), "The screen is # pixels wide.");
}

TEST_F(LauncherTest, GermanLocaleWithEnglishFallback) {
  TLauncher& w = Start("de_CH.UTF-8");
  EXPECT_EQ(w.LanguageSuffix, "Deu");
  EXPECT_EQ(w.rgLanguage->ItemIndex(), 2);
  EXPECT_EQ(w.rgLanguage->Caption(), "Sprache");
  EXPECT_EQ(w.rgLanguage->Items()[3], "Franz\xF6sisch");  // Windows-1252
  EXPECT_EQ(w.bbExit->Caption(), "Beenden");
  EXPECT_EQ(w.bbRun->Caption(), "Start the game");  // "bbrun_Deu" is another key
  EXPECT_EQ(w.cbShadowQuality->Caption(), "Hohe Schattenqualit\xE4t");
  EXPECT_EQ(w.Caption(), "Ostrelund - Launcher");
  EXPECT_EQ(w.MessageText("MessageNoSound_", "MessageNoSound_Eng"), "Kein Soundger\xE4t.");
  EXPECT_EQ(w.MessageText("MessageMinWidth_", "MessageMinWidth_Eng"), "The screen is # pixels wide.");
  EXPECT_EQ(w.MessageText("MessageNoGraph_", "MessageNoGraph_Eng"), "");
}

TEST_F(LauncherTest, UkrainianLocaleShowsRussianInTheAnsiCodePage) {
  TLauncher& w = Start("uk_UA.UTF-8");
  EXPECT_EQ(w.LanguageSuffix, "Rus");
  EXPECT_EQ(w.rgLanguage->ItemIndex(), 1);
  // Cyrillic has no place in Windows-1252: one replacement per letter.
  EXPECT_EQ(w.bbRun->Caption(), "?????? ????");
  EXPECT_EQ(w.rgLanguage->Caption(), "????");
  // A value of three items leaves the last two radio texts empty.
  EXPECT_EQ(w.rgLanguage->Items(), (std::vector<std::string>{"??????????", "???????", "", ""}));
}

TEST_F(LauncherTest, ChoosingALanguageChangesCaptionsButNotMessages) {
  TLauncher& w = Start("en_GB.UTF-8");
  w.Memo->AddLine("The screen is 1024 pixels wide.");
  w.rgLanguage->SetItemIndex(2);
  EXPECT_EQ(w.LanguageSuffix, "Deu");
  EXPECT_EQ(w.bbExit->Caption(), "Beenden");
  EXPECT_EQ(w.cbShadowQuality->Caption(), "Hohe Schattenqualit\xE4t");
  w.rgLanguage->SetItemIndex(3);
  EXPECT_EQ(w.LanguageSuffix, "Fra");
  EXPECT_EQ(w.bbExit->Caption(), "Quitter");
  EXPECT_EQ(w.GroupBoxGraph->Caption(), "Graphismes");
  EXPECT_EQ(w.cbWindow->Caption(), "Window");  // English fallback
  EXPECT_EQ(w.cbShadowQuality->Caption(), "Hohe Schattenqualit\xE4t");  // no key: unchanged
  EXPECT_EQ(w.rgLanguage->ItemIndex(), 3);
  EXPECT_EQ(w.Memo->Lines(), (std::vector<std::string>{"The screen is 1024 pixels wide."}));
  // With no item selected the language stays.
  w.rgLanguage->SetItemIndex(-1);
  EXPECT_EQ(w.LanguageSuffix, "Fra");
  EXPECT_EQ(w.bbExit->Caption(), "Quitter");
}

TEST_F(LauncherTest, AMissingTextsFileIsCreatedEmptyAndTheBuiltInCaptionsStay) {
  std::filesystem::remove(game_ + "Texts.Ini");
  TLauncher& w = Start("fr_CA.UTF-8");
  EXPECT_TRUE(std::filesystem::exists(game_ + "Texts.Ini"));
  EXPECT_EQ(std::filesystem::file_size(game_ + "Texts.Ini"), 0u);
  EXPECT_EQ(w.LanguageSuffix, "Fra");
  EXPECT_EQ(w.rgLanguage->ItemIndex(), 3);
  EXPECT_EQ(w.bbRun->Caption(), "Game start");
  EXPECT_EQ(w.rgLanguage->Items(), (std::vector<std::string>{"English", "Russian", "Deutsch", "Francais"}));
  EXPECT_EQ(w.MessageText("MessageNoSound_", "MessageNoSound_Eng"), "");
}

TEST_F(LauncherTest, TextsOutsideSectionLauncherAreNotRead) {
  test::WriteNativeFile(game_ + "Texts.Ini", "[Other]\r\nbbExit_Eng=wrong section\r\n");
  TLauncher& w = Start("C");
  EXPECT_EQ(w.bbExit->Caption(), "Exit");
}

TEST_F(LauncherTest, AMissingGameFileDisablesTheGameControls) {
  const struct {
    bool exe, options;
  } cases[] = {{false, true}, {true, false}, {false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.exe ? "exe" : "no exe") + (c.options ? ", options" : ", no options"));
    if (!c.exe) std::filesystem::remove(game_ + "Ostrelund.exe");
    if (!c.options) std::filesystem::remove(game_ + "Options_Game.ini");
    TLauncher w;
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    w.FormCreate();
    for (TControl* off : std::initializer_list<TControl*>{w.bbRun, w.rgLanguage, w.GroupBoxGraph, w.cbShadowQuality, w.cbWindow,
                                                          w.cbAntiAliasing, w.cbATOC, w.bbReset, w.bbMessage, w.bbEditor}) {
      EXPECT_FALSE(off->Enabled()) << off->Name();
    }
    for (TControl* on : std::initializer_list<TControl*>{w.GroupBoxSound, w.cbNoSound, w.bbExit, w.Memo}) {
      EXPECT_TRUE(on->Enabled()) << on->Name();
    }
    test::WriteNativeFile(game_ + "Ostrelund.exe", "MZ");
    test::WriteNativeFile(game_ + "Options_Game.ini", "[Main]\r\n");
  }
}

TEST_F(LauncherTest, WithTheGameFilesEveryGameControlWorks) {
  TLauncher& w = Start("en_US.UTF-8");
  for (TControl* on : std::initializer_list<TControl*>{w.bbRun, w.rgLanguage, w.GroupBoxGraph, w.cbShadowQuality, w.cbWindow,
                                                       w.cbAntiAliasing, w.GroupBoxSound, w.cbNoSound, w.bbExit}) {
    EXPECT_TRUE(on->Enabled()) << on->Name();
  }
  EXPECT_FALSE(w.cbATOC->Enabled());  // anti-aliasing is off
}

TEST_F(LauncherTest, WithoutMessagesTheButtonsSitUnderTheBevel) {
  TLauncher& w = Start("en_US.UTF-8");
  EXPECT_FALSE(w.GroupBoxMessage->Visible());
  EXPECT_TRUE(w.sBevel->Visible());
  for (TControl* button : {static_cast<TControl*>(w.bbRun), static_cast<TControl*>(w.bbEditor), static_cast<TControl*>(w.bbExit)}) {
    EXPECT_EQ(button->Bounds().Top, 349) << button->Name();
  }
  EXPECT_EQ(w.ClientHeight(), 384);
}

TEST_F(LauncherTest, WithMessagesThePanelTakesTheBevelsPlace) {
  TLauncher& w = Start("en_US.UTF-8");
  w.Memo->AddLine("a message");
  w.GroupBoxMessage->SetVisible(true);
  w.UpdateLayout();
  EXPECT_FALSE(w.sBevel->Visible());
  EXPECT_EQ(w.GroupBoxMessage->Bounds(), (TRect{0, 342, 435, 73}));
  for (TControl* button : {static_cast<TControl*>(w.bbRun), static_cast<TControl*>(w.bbEditor), static_cast<TControl*>(w.bbExit)}) {
    EXPECT_EQ(button->Bounds().Top, 420) << button->Name();
  }
  EXPECT_EQ(w.ClientHeight(), 455);
}

TEST_F(LauncherTest, ExitClosesTheWindow) {
  TLauncher& w = Start("en_US.UTF-8");
  w.bbExit->Click();
  EXPECT_TRUE(w.Closed());
  EXPECT_EQ(w.OptionsFile, nullptr);
}

TEST(Language, FromTheWholeLocaleIdentifier) {
  const struct {
    const char* suffix;
    std::vector<std::uint32_t> ids;
  } cases[] = {
      {"Deu", {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407}},
      {"Fra", {0x040C, 0x080C, 0x0C0C, 0x100C, 0x140C, 0x180C, 0x1C0C, 0x200C, 0x240C, 0x280C, 0x2C0C, 0x300C, 0x340C,
               0x380C, 0x3C0C, 0xE40C}},
      // Ukrainian and Belarusian read Russian.
      {"Rus", {0x0419, 0x0819, 0x0422, 0x0423}},
      // The neighbours of each group, other sort orders and no locale at all.
      {"Eng", {0x0409, 0x0410, 0x0809, 0x0406, 0x0408, 0x0007, 0x1807, 0x10407, 0x040B, 0x040D, 0x000C, 0x400C,
               0xE40B, 0xE40D, 0x1040C, 0x0418, 0x041A, 0x0C19, 0x0421, 0x0424, 0x10419, 0}},
  };
  for (const auto& c : cases) {
    for (const std::uint32_t id : c.ids) EXPECT_EQ(LanguageFromLocale(id), c.suffix) << std::hex << id;
  }
}

TEST(Language, ThePosixLocaleNamesMapToWindowsIdentifiers) {
  const test::ScopedEnvironment environment{"LC_ALL", "LC_MESSAGES", "LANG"};
  const struct {
    const char* all;
    const char* messages;
    const char* lang;
    std::uint32_t id;
  } cases[] = {
      {"de_CH.UTF-8", nullptr, nullptr, 0x0807}, {"de_DE.UTF-8", nullptr, nullptr, 0x0407},
      {nullptr, "ru_RU.UTF-8", "de_DE.UTF-8", 0x0419}, {nullptr, nullptr, "uk_UA.UTF-8", 0x0422},
      {nullptr, nullptr, "fr_BE.UTF-8@euro", 0x080C}, {nullptr, nullptr, "fr", 0x040C},
      {nullptr, nullptr, "be_BY", 0x0423}, {nullptr, nullptr, "C", 0x0409}, {nullptr, nullptr, nullptr, 0x0409},
      {"", nullptr, "it_IT.UTF-8", 0x0410},
  };
  for (const auto& c : cases) {
    test::ScopedEnvironment::Set("LC_ALL", c.all);
    test::ScopedEnvironment::Set("LC_MESSAGES", c.messages);
    test::ScopedEnvironment::Set("LANG", c.lang);
    EXPECT_EQ(platform::ThreadLocaleId(), c.id) << (c.all ? c.all : "") << "/" << (c.messages ? c.messages : "") << "/"
                                                << (c.lang ? c.lang : "");
  }
}

TEST(Language, WideTextBecomesWindows1252WithReplacements) {
  EXPECT_EQ(platform::WideToAnsi(u"Fran\u00E7ais \u20AC \u2014"), "Fran\xE7" "ais \x80 \x97");
  EXPECT_EQ(platform::WideToAnsi(u"\u042F\u0437\u044B\u043A"), "????");
  EXPECT_EQ(platform::WideToAnsi(u"a\U0001F3AEb"), "a?b");
  EXPECT_EQ(platform::WideToAnsi(u""), "");
}

}  // namespace
