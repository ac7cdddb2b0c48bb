// Round trips of whole files against the exact bytes expected back.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "VK9_System.h"

namespace {

std::string Fixture(const char* name) { return test::ReadNativeFile(std::string(FIXTURE_DIR) + "/" + name); }

// What a player's options file looks like after the launcher has read its
// six keys and written them back: only those lines change.
TEST(IniGolden, OptionsFileKeepsEveryLineItDidNotWrite) {
  test::TempDir dir;
  test::WriteNativeFile(dir.NativePath() + "/Options_Game.ini", Fixture("options_game.ini"));
  TIniFile ini;
  ini.Load(dir.EnginePath() + "Options_Game.ini");
  ASSERT_TRUE(ini.SelectSection("Main"));
  EXPECT_EQ(ini.ReadString("Global_Language", -1), "rus");
  EXPECT_EQ(ini.ReadInteger("Render_ShadowsResolution", -1, 0), 1024);
  EXPECT_FALSE(ini.ReadBool("Render_AntiAliasing", -1, true));
  EXPECT_FALSE(ini.ReadBool("Windowed_Mode", -1, true));
  EXPECT_TRUE(ini.ReadBool("Music_Enable", -1, false));

  ini.WriteString("Global_Language", "eng", -1);
  ini.WriteString("Render_ShadowsResolution", "2048", -1);
  ini.WriteString("Render_AntiAliasing", "Yes", -1);
  ini.WriteString("Render_ATOC", "Yes", -1);
  ini.WriteString("Windowed_Mode", "No", -1);
  ini.WriteString("Music_Enable", "No", -1);
  ini.Save();
  EXPECT_EQ(test::ReadNativeFile(dir.NativePath() + "/Options_Game.ini"), Fixture("options_game.saved.ini"));
}

TEST(IniGolden, UntouchedFileComesBackTrimmedWithCrLf) {
  TIniFile ini;
  test::LoadText(ini, Fixture("options_game.ini"));
  std::string expected = Fixture("options_game.ini");
  // Only the blanks at line ends, the LF-only break and the final break go.
  for (const auto& [from, to] : {std::pair{"No   \r\n", "No\r\n"}, {"\tMusic", "Music"}, {"No\nRender_ATOC", "No\r\nRender_ATOC"}}) {
    expected.replace(expected.find(from), std::string(from).size(), to);
  }
  expected.resize(expected.size() - 2);
  EXPECT_EQ(test::SavedText(ini), expected);
}

}  // namespace
