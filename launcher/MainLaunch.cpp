// TLauncher: the window, its start-up sequence and its layout.
#include "MainLaunch.h"

#include "Embedded.h"
#include "Languages.h"
#include "Layout.h"

std::string UserOptionsFolder;

void MainLaunchFinalization() { UserOptionsFolder.clear(); }

namespace {

// The component of that name, which the layout must give with that class.
template <class T>
T* Component(TForm& form, const char* name) {
  auto* component = dynamic_cast<T*>(form.FindComponent(name));
  if (!component) throw EArgumentException(std::string("layout: no component ") + name + " of the expected kind");
  return component;
}

}  // namespace

TLauncher::TLauncher() {
  const embedded::TResource layout = embedded::Find("layout/Launcher.ini");
  const auto handler = [this](void (TLauncher::*method)(TControl&)) {
    return [this, method](TControl& sender) { (this->*method)(sender); };
  };
  CreateFromLayout(*this, layout.Data, layout.Size,
                   {{"rgLanguageClick", handler(&TLauncher::rgLanguageClick)},
                    {"cbAntiAliasingClick", handler(&TLauncher::cbAntiAliasingClick)},
                    {"bbRunClick", handler(&TLauncher::bbRunClick)},
                    {"bbExitClick", handler(&TLauncher::bbExitClick)}});
  SkinManager = Component<TsSkinManager>(*this, "SkinManager");
  rgLanguage = Component<TsRadioGroup>(*this, "rgLanguage");
  bbRun = Component<TsBitBtn>(*this, "bbRun");
  bbExit = Component<TsBitBtn>(*this, "bbExit");
  GroupBoxGraph = Component<TsGroupBox>(*this, "GroupBoxGraph");
  cbAntiAliasing = Component<TsCheckBox>(*this, "cbAntiAliasing");
  Image1 = Component<TImage>(*this, "Image1");
  cbWindow = Component<TsCheckBox>(*this, "cbWindow");
  cbShadowQuality = Component<TsCheckBox>(*this, "cbShadowQuality");
  cbATOC = Component<TsCheckBox>(*this, "cbATOC");
  bbReset = Component<TsBitBtn>(*this, "bbReset");
  GroupBoxSound = Component<TsGroupBox>(*this, "GroupBoxSound");
  cbNoSound = Component<TsCheckBox>(*this, "cbNoSound");
  GroupBoxMessage = Component<TsGroupBox>(*this, "GroupBoxMessage");
  Memo = Component<TsMemo>(*this, "Memo");
  bbMessage = Component<TsBitBtn>(*this, "bbMessage");
  bbEditor = Component<TsBitBtn>(*this, "bbEditor");
  sBevel = Component<TsBevel>(*this, "sBevel");
}

TLauncher::~TLauncher() = default;

void TLauncher::FormCreate() {
  LanguageSuffix = LanguageFromLocale(platform::ThreadLocaleId());
  GameFolder = ExtractFolder(platform::ModuleFileName());

  TextsFile = std::make_unique<TIniFile>();
  TextsFile->Load(GameFolder + "Texts.Ini");
  TextsFile->SelectSection("Launcher");
  ApplyTexts();

  SelectLanguageItem();
  CheckGameFiles();
  LoadOptions();
  RunMachineChecks();

  if (!Memo->Lines().empty()) GroupBoxMessage->SetVisible(true);
  UpdateLayout();
}

// Without the game or its default options there is nothing to configure or
// start: only the sound option and "Exit" stay.
void TLauncher::CheckGameFiles() {
  if (platform::FileExists(GameFolder + "Ostrelund.exe") && platform::FileExists(GameFolder + "Options_Game.ini")) return;
  for (TControl* control : std::initializer_list<TControl*>{bbRun, rgLanguage, GroupBoxGraph, cbShadowQuality, cbWindow,
                                                            cbAntiAliasing, cbATOC}) {
    control->SetEnabled(false);
  }
}

void TLauncher::SelectLanguageItem() {
  if (const TLanguage* language = LanguageOfSuffix(LanguageSuffix)) rgLanguage->SetItemIndex(language->RadioItem);
}

void TLauncher::UpdateLayout() {
  if (GroupBoxMessage->Visible()) {
    sBevel->SetVisible(false);
    GroupBoxMessage->SetTop(sBevel->Bounds().Top);
    bbRun->SetTop(GroupBoxMessage->Bounds().Top + GroupBoxMessage->Bounds().Height + 5);
  } else {
    sBevel->SetVisible(true);
    bbRun->SetTop(sBevel->Bounds().Top + sBevel->Bounds().Height + 5);
  }
  bbEditor->SetTop(bbRun->Bounds().Top);
  bbExit->SetTop(bbRun->Bounds().Top);
  SetClientHeight(bbRun->Bounds().Top + bbRun->Bounds().Height + 4);
}

std::string TLauncher::Text(const std::string& key, std::int32_t item) {
  return platform::WideToAnsi(TextsFile->ReadWideString(key, item));
}

void TLauncher::ApplyTexts() {
  if (!TextsFile) return;
  for (const auto& component : Components()) {
    std::string key = component->Name() + "_" + LanguageSuffix;
    if (!TextsFile->KeyExists(key)) {
      key = component->Name() + "_Eng";
      if (!TextsFile->KeyExists(key)) continue;
    }
    // The exact class decides: a kin of these classes keeps its caption.
    if (component->ClassIs<TsBitBtn>() || component->ClassIs<TsCheckBox>() || component->ClassIs<TsGroupBox>()) {
      static_cast<TControl&>(*component).SetCaption(Text(key, -1));
    } else if (component->ClassIs<TsRadioGroup>()) {
      auto& group = static_cast<TsRadioGroup&>(*component);
      group.SetCaption(Text(key, 1));
      for (std::size_t j = 0; j < group.Items().size(); ++j) {
        group.SetItem(j, Text(key, static_cast<std::int32_t>(j) + 2));
      }
    }
  }
}

std::string TLauncher::MessageText(const std::string& prefix, const std::string& fallbackKey) {
  std::string key = prefix + LanguageSuffix;
  if (!TextsFile->KeyExists(key)) key = fallbackKey;
  return Text(key, -1);
}

void TLauncher::rgLanguageClick(TControl&) {
  if (const TLanguage* language = LanguageOfItem(rgLanguage->ItemIndex())) LanguageSuffix = language->Suffix;
  ApplyTexts();
}

