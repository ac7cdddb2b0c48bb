// The window as its layout creates it, control by control.
#include <gtest/gtest.h>

#include <typeindex>

#include "MainLaunch.h"

namespace {

struct Expected {
  const char* name;
  std::type_index kind;
  const char* parent;  // "" for the window
  TRect bounds;
  const char* caption;
  bool enabled;
  bool visible;
  int tabOrder;  // -1: none
  bool hasHandler;
};

const TFont kWindowFont{"MS Sans Serif", -11, false, clWindowText};

// In creation order; the control ID is the place in it.
const Expected kControls[] = {
    {"Image1", typeid(TImage), "", {0, 0, 436, 199}, "", true, true, -1, false},
    {"sBevel", typeid(TsBevel), "", {0, 342, 434, 2}, "", true, true, -1, false},
    {"rgLanguage", typeid(TsRadioGroup), "", {0, 199, 97, 111}, "Language", true, true, 0, true},
    {"bbRun", typeid(TsBitBtn), "", {136, 430, 169, 31}, "Game start", true, true, 7, true},
    {"bbExit", typeid(TsBitBtn), "", {336, 430, 98, 31}, "Exit", true, true, 8, true},
    {"GroupBoxGraph", typeid(TsGroupBox), "", {104, 199, 332, 65}, "Graphic option", true, true, 1, false},
    {"cbAntiAliasing", typeid(TsCheckBox), "GroupBoxGraph", {140, 16, 85, 20}, "Anti Aliasing", true, true, 3, true},
    {"cbWindow", typeid(TsCheckBox), "GroupBoxGraph", {4, 16, 108, 20}, "Windowed mode", true, true, 0, false},
    {"cbShadowQuality", typeid(TsCheckBox), "GroupBoxGraph", {4, 36, 123, 20}, "High shadow quality", true, true, 1, false},
    {"cbATOC", typeid(TsCheckBox), "GroupBoxGraph", {140, 36, 168, 20}, "Alpha blending supersampling", true, true, 2, false},
    {"bbReset", typeid(TsBitBtn), "", {1, 316, 215, 21}, "Set default option", false, true, 3, false},
    {"GroupBoxSound", typeid(TsGroupBox), "", {104, 267, 332, 43}, "Sound option", true, true, 2, false},
    {"cbNoSound", typeid(TsCheckBox), "GroupBoxSound", {4, 16, 137, 20}, "Disable loading sounds", true, true, 0, false},
    {"GroupBoxMessage", typeid(TsGroupBox), "", {0, 350, 435, 73}, "GroupBoxMessage", true, false, 5, false},
    {"Memo", typeid(TsMemo), "GroupBoxMessage", {6, 17, 423, 50}, "", true, true, 0, false},
    {"bbMessage", typeid(TsBitBtn), "", {220, 316, 215, 21}, "Show log file", false, true, 4, false},
    {"bbEditor", typeid(TsBitBtn), "", {1, 430, 96, 31}, "Editor", false, true, 6, false},
};

TEST(Layout, CreatesEveryControlAsTheWindowDesignSays) {
  TLauncher window;
  const auto& components = window.Components();
  ASSERT_EQ(components.size(), std::size(kControls) + 1);
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    const Expected& e = kControls[i];
    SCOPED_TRACE(e.name);
    auto* control = dynamic_cast<TControl*>(components[i].get());
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Name(), e.name);
    EXPECT_EQ(std::type_index(typeid(*control)), e.kind);
    EXPECT_EQ(control->Parent() ? control->Parent()->Name() : "", e.parent);
    EXPECT_EQ(control->Bounds(), e.bounds);
    EXPECT_EQ(control->Caption(), e.caption);
    EXPECT_EQ(control->Enabled(), e.enabled);
    EXPECT_EQ(control->Visible(), e.visible);
    EXPECT_EQ(control->TabOrder(), e.tabOrder);
    EXPECT_EQ(static_cast<bool>(control->OnClick), e.hasHandler);
    EXPECT_EQ(control->ControlId(), static_cast<int>(i) + 1);
  }
  EXPECT_EQ(components.back()->Name(), "SkinManager");
  EXPECT_TRUE(components.back()->ClassIs<TsSkinManager>());
}

TEST(Layout, StatesFontsAndSkins) {
  TLauncher window;
  EXPECT_EQ(window.Caption(), "Ostrelund - Launcher");
  EXPECT_EQ(window.ClientWidth(), 436);
  EXPECT_EQ(window.ClientHeight(), 465);
  EXPECT_EQ(window.Color(), clBtnFace);
  EXPECT_EQ(window.Font(), kWindowFont);

  EXPECT_EQ(window.rgLanguage->Items(), (std::vector<std::string>{"English", "Russian", "Deutsch", "Francais"}));
  EXPECT_EQ(window.rgLanguage->ItemIndex(), 0);
  EXPECT_TRUE(window.bbRun->IsDefault());
  for (TsBitBtn* other : {window.bbExit, window.bbReset, window.bbMessage, window.bbEditor}) EXPECT_FALSE(other->IsDefault());
  for (TsCheckBox* box : {window.cbAntiAliasing, window.cbWindow, window.cbShadowQuality, window.cbATOC, window.cbNoSound}) {
    EXPECT_FALSE(box->Checked()) << box->Name();
    EXPECT_EQ(box->Font(), kWindowFont) << box->Name();
  }
  EXPECT_EQ(window.bbRun->Font(), (TFont{"MS Sans Serif", -16, true, clWindowText}));
  EXPECT_EQ(window.bbExit->Font(), (TFont{"MS Sans Serif", -16, false, clWindowText}));
  EXPECT_EQ(window.bbEditor->Font(), (TFont{"MS Sans Serif", -16, false, clWindowText}));
  EXPECT_EQ(window.bbReset->Font(), (TFont{"MS Sans Serif", -15, false, clWindowText}));
  EXPECT_EQ(window.bbMessage->Font(), (TFont{"MS Sans Serif", -15, false, clWindowText}));
  EXPECT_EQ(window.Memo->Color(), RGBColor(26, 26, 26));
  EXPECT_EQ(window.Memo->Font(), (TFont{"MS Sans Serif", -11, false, RGBColor(157, 157, 157)}));
  EXPECT_TRUE(window.Memo->Lines().empty());
  EXPECT_EQ(window.Image1->Picture(), "banner.bmp");

  ASSERT_EQ(window.SkinManager->Skins().size(), 2u);
  EXPECT_EQ(window.SkinManager->ActiveSkin(), 1);
  EXPECT_EQ(window.SkinManager->Active(), &window.SkinManager->Skins()[1]);
}

}  // namespace
