// Skin files: states fall back to Normal, sections to DEFAULT.
#include <gtest/gtest.h>

#include <string>

#include "Embedded.h"
#include "IniColor.h"
#include "SkinManager.h"
#include "VK9_System.h"

namespace {

TSkin Parse(const std::string& text) {
  return ParseSkin(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TEST(Skin, StatesAndColoursFallBackToNormal) {
  const TSkin skin = Parse(
      "[Skin]\r\nName=Test\r\nFace=1,2,3\r\n"
      "[DEFAULT]\r\nNormal.Text=9,9,9\r\n"
      "[BUTTON]\r\nRadius=4\r\nNormal.Top=10,20,30\r\nNormal.Text=200,200,200\r\nHot.Top=40,50,60\r\n"
      "Disabled.Text=100,100,100\r\nPressed.Border=300,0,0\r\n");
  EXPECT_EQ(skin.Name, "Test");
  EXPECT_EQ(skin.Face, RGBColor(1, 2, 3));
  const TSkinSection& button = skin.Section("BUTTON");
  EXPECT_EQ(button.Radius, 4);
  EXPECT_EQ(button.State(TSkinState::Hot).Top, RGBColor(40, 50, 60));
  EXPECT_EQ(button.State(TSkinState::Hot).Text, RGBColor(200, 200, 200));
  EXPECT_EQ(button.State(TSkinState::Pressed).Top, RGBColor(10, 20, 30));
  EXPECT_EQ(button.State(TSkinState::Disabled).Text, RGBColor(100, 100, 100));
  EXPECT_EQ(button.State(TSkinState::Pressed).Border, button.State(TSkinState::Normal).Border);  // 300 is no colour
  EXPECT_EQ(skin.Section("EDIT").Name, "DEFAULT");
  EXPECT_EQ(skin.Section("EDIT").State(TSkinState::Checked).Text, RGBColor(9, 9, 9));
}

// The layout's and the skins' colours: three items of 0 to 255, the system's
// button face by name, the fallback for anything else.
TEST(IniColor, ReadsThreeItemsOrTheSystemFaceElseTheFallback) {
  const std::string text =
      "[C]\r\nrgb= 10 , 20 , 30 \r\nface=clBtnFace\r\ntwo=1,2\r\nbig=1,2,256\r\nminus=-1,2,3\r\nmax=255,255,255\r\n";
  TIniFile ini;
  ini.LoadFromBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  ASSERT_TRUE(ini.SelectSection("C"));
  const TColor fallback = RGBColor(7, 7, 7);
  EXPECT_EQ(ReadColor(ini, "rgb", fallback), RGBColor(10, 20, 30));
  EXPECT_EQ(ReadColor(ini, "face", fallback), clBtnFace);
  EXPECT_EQ(ReadColor(ini, "max", fallback), RGBColor(255, 255, 255));
  for (const char* key : {"missing", "two", "big", "minus"}) EXPECT_EQ(ReadColor(ini, key, fallback), fallback) << key;
}

TEST(Skin, NeedsItsSkinAndDefaultSections) {
  EXPECT_THROW(Parse("[DEFAULT]\r\nNormal.Text=1,1,1"), EArgumentException);
  EXPECT_THROW(Parse("[Skin]\r\nName=X\r\n[BUTTON]\r\n"), EArgumentException);
}

TEST(Skin, TheBuiltInSkinsHaveEverySectionTheWindowUses) {
  for (const char* path : {"skins/Light.ini", "skins/Dark.ini"}) {
    const embedded::TResource file = embedded::Find(path);
    ASSERT_NE(file.Data, nullptr) << path;
    const TSkin skin = ParseSkin(file.Data, file.Size);
    EXPECT_FALSE(skin.Name.empty()) << path;
    for (const char* section : {"BUTTON", "CHECKBOX", "GROUPBOX", "RADIOBUTTON", "EDIT", "DEFAULT"}) {
      EXPECT_EQ(skin.Section(section).Name, section) << path;
    }
  }
}

}  // namespace
