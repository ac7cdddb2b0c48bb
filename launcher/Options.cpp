// The game's options file: the player's copy in the per-user folder, made
// from the game folder's copy on the first run, shown in the controls and
// written back by "Game start".
#include "Languages.h"
#include "MainLaunch.h"

namespace {

const char* YesNo(bool yes) { return yes ? "Yes" : "No"; }

}  // namespace

void TLauncher::LoadOptions() {
  OptionsFile = std::make_unique<TIniFile>();
  UserOptionsFolder = GetSpecialFolder(platform::kCsidlLocalAppData) + "\\Ostrelund\\";

  const bool folderPresent = FolderExists(UserOptionsFolder);
  const std::string playerCopy = UserOptionsFolder + "Options_Game.ini";
  if (folderPresent && platform::FileExists(playerCopy)) {
    OptionsFile->Load(playerCopy);
  } else {
    OptionsFile->Load(GameFolder + "Options_Game.ini");
    if (!folderPresent) platform::MakeDirectory(UserOptionsFolder);
    OptionsFile->Save(playerCopy);
  }

  OptionsFile->SelectSection("Main");
  ShowOptions();
}

void TLauncher::ShowOptions() {
  const std::string language = OptionsFile->ReadString("Global_Language", -1);
  if (const TLanguage* stored = LanguageOfOptionsValue(language)) rgLanguage->SetItemIndex(stored->RadioItem);
  cbShadowQuality->SetChecked(OptionsFile->ReadInteger("Render_ShadowsResolution", -1, 0) == 2048);
  cbAntiAliasing->SetChecked(OptionsFile->ReadBool("Render_AntiAliasing", -1, false));
  if (cbAntiAliasing->Checked()) {
    cbATOC->SetEnabled(true);
    cbATOC->SetChecked(OptionsFile->ReadBool("Render_ATOC", -1, false));
  } else {
    cbATOC->SetEnabled(false);
    cbATOC->SetChecked(false);
  }
  cbWindow->SetChecked(OptionsFile->ReadBool("Windowed_Mode", -1, false));
  cbNoSound->SetChecked(!OptionsFile->ReadBool("Music_Enable", -1, false));
}

bool TLauncher::StoreOptions() {
  if (!OptionsFile || !OptionsFile->SelectSection("Main")) return false;
  if (const TLanguage* chosen = LanguageOfItem(rgLanguage->ItemIndex())) {
    OptionsFile->WriteString("Global_Language", chosen->OptionsValue, -1);
  }
  OptionsFile->WriteString("Render_AntiAliasing", YesNo(cbAntiAliasing->Checked()), -1);
  OptionsFile->WriteString("Render_ATOC", YesNo(cbATOC->Checked()), -1);
  OptionsFile->WriteString("Render_ShadowsResolution", cbShadowQuality->Checked() ? "2048" : "1024", -1);
  OptionsFile->WriteString("Windowed_Mode", YesNo(cbWindow->Checked()), -1);
  OptionsFile->WriteString("Music_Enable", cbNoSound->Checked() ? "No" : "Yes", -1);
  OptionsFile->Save(UserOptionsFolder + "Options_Game.ini");
  return true;
}

// Supersampling only means something with anti-aliasing on.
void TLauncher::cbAntiAliasingClick(TControl&) {
  if (cbAntiAliasing->Checked()) {
    cbATOC->SetEnabled(true);
  } else {
    cbATOC->SetChecked(false);
    cbATOC->SetEnabled(false);
  }
}
