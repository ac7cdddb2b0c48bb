// The launcher window TLauncher: its start-up sequence, texts and languages.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Controls.h"
#include "EngineUnits.h"
#include "Form.h"
#include "SkinManager.h"
#include "VK9_System.h"

class TLauncher : public TForm {
 public:
  // Creates the window's components from its layout.
  TLauncher();
  ~TLauncher() override;

  TsSkinManager* SkinManager = nullptr;
  TsRadioGroup* rgLanguage = nullptr;
  TsBitBtn* bbRun = nullptr;
  TsBitBtn* bbExit = nullptr;
  TsGroupBox* GroupBoxGraph = nullptr;
  TsCheckBox* cbAntiAliasing = nullptr;
  TImage* Image1 = nullptr;
  TsCheckBox* cbWindow = nullptr;
  TsCheckBox* cbShadowQuality = nullptr;
  TsCheckBox* cbATOC = nullptr;
  TsBitBtn* bbReset = nullptr;
  TsGroupBox* GroupBoxSound = nullptr;
  TsCheckBox* cbNoSound = nullptr;
  TsGroupBox* GroupBoxMessage = nullptr;
  TsMemo* Memo = nullptr;
  TsBitBtn* bbMessage = nullptr;
  TsBitBtn* bbEditor = nullptr;
  TsBevel* sBevel = nullptr;
  std::string GameFolder;  // ends in "\"
  std::unique_ptr<TIniFile> OptionsFile;
  std::unique_ptr<TIniFile> TextsFile;
  std::string LanguageSuffix = "Eng";

  // The start-up sequence; runs once, before the window is first shown.
  void FormCreate() override;
  // Re-stacks the message panel, the button row and the window height.
  void UpdateLayout();
  // Sets the captions from Texts.Ini in the current language.
  void ApplyTexts();
  // A message in the current language, else the fallback key's, as ANSI.
  std::string MessageText(const std::string& prefix, const std::string& fallbackKey);

  // Writes the six options into section "Main" and saves the player's copy;
  // false, with nothing written, when the file has no section "Main".
  bool StoreOptions();

  void rgLanguageClick(TControl& sender);
  void cbAntiAliasingClick(TControl& sender);
  void bbRunClick(TControl& sender);
  void bbExitClick(TControl& sender);

 private:
  // Start-up steps 6 to 8: the player's options file, made from the game
  // folder's copy on the first run, shown in the controls.
  void LoadOptions();
  void ShowOptions();
  // Start-up step 9: the machine checks.
  void RunMachineChecks();
  // Appends the message "Message<name>_" in the current language, every "#"
  // replaced with `number` unless that is empty.
  void AddMessage(const std::string& name, const std::string& number = "");
  // Every line of the panel, earlier and later ones, in red from now on.
  void TurnMessagesRed();
  void CheckGameFiles();
  void SelectLanguageItem();
  std::string Text(const std::string& key, std::int32_t item);
};

// The suffix of Texts.Ini keys for a locale identifier: "Eng", "Rus", "Deu", "Fra".
std::string LanguageFromLocale(std::uint32_t localeId);

// The per-user folder of the player's options file; ends in "\".
extern std::string UserOptionsFolder;

void MainLaunchFinalization();
inline constexpr TEngineUnit MainLaunchUnit{"MainLaunch", nullptr, MainLaunchFinalization};
