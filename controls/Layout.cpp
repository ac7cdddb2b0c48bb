#include "Layout.h"

#include "Controls.h"
#include "Embedded.h"
#include "Form.h"
#include "IniColor.h"
#include "SkinManager.h"
#include "VK9_System.h"

namespace {

[[noreturn]] void Fail(const std::string& what) { throw EArgumentException("layout: " + what); }

TFont ReadFont(TIniFile& ini, const TFont& fallback) {
  if (!ini.KeyExists("Font")) return fallback;
  TFont font = fallback;
  font.Name = ini.ReadString("Font", 1);
  font.Height = ini.ReadInteger("Font", 2, fallback.Height);
  font.Bold = ini.ReadString("Font", 3) == "Bold";
  font.Color = ReadColor(ini, "FontColor", fallback.Color);
  return font;
}

std::vector<std::string> ReadItems(TIniFile& ini, const std::string& key) {
  std::vector<std::string> items;
  for (std::int32_t i = 1; i <= 64; ++i) {
    std::string item = ini.ReadString(key, i);
    if (item.empty()) break;
    items.push_back(std::move(item));
  }
  return items;
}

TComponent& CreateComponent(TForm& form, const std::string& kind, const std::string& name) {
  if (kind == "Image") return form.Add<TImage>(name);
  if (kind == "Bevel") return form.Add<TsBevel>(name);
  if (kind == "RadioGroup") return form.Add<TsRadioGroup>(name);
  if (kind == "BitBtn") return form.Add<TsBitBtn>(name);
  if (kind == "GroupBox") return form.Add<TsGroupBox>(name);
  if (kind == "CheckBox") return form.Add<TsCheckBox>(name);
  if (kind == "Memo") return form.Add<TsMemo>(name);
  if (kind == "SkinManager") return form.Add<TsSkinManager>(name);
  Fail("unknown kind \"" + kind + "\" of " + name);
}

void SetUpSkins(TIniFile& ini, TsSkinManager& manager) {
  for (const std::string& path : ReadItems(ini, "Skins")) {
    const embedded::TResource skin = embedded::Find(path);
    if (!skin.Data) Fail("no embedded skin " + path);
    manager.AddSkin(ParseSkin(skin.Data, skin.Size));
  }
  manager.SetActiveSkin(ini.ReadInteger("ActiveSkin", -1, 0));
}

void SetUpControl(TIniFile& ini, TForm& form, TControl& control, const THandlerTable& handlers) {
  const std::string parent = ini.ReadString("Parent", -1);
  if (!parent.empty()) {
    auto* parentControl = dynamic_cast<TControl*>(form.FindComponent(parent));
    if (!parentControl) Fail("unknown parent \"" + parent + "\" of " + control.Name());
    control.SetParent(parentControl);
  }
  control.SetBounds({ini.ReadInteger("Bounds", 1, 0), ini.ReadInteger("Bounds", 2, 0), ini.ReadInteger("Bounds", 3, 0),
                     ini.ReadInteger("Bounds", 4, 0)});
  control.SetCaption(ini.ReadString("Caption", -1));
  control.SetEnabled(ini.ReadBool("Enabled", -1, true));
  control.SetVisible(ini.ReadBool("Visible", -1, true));
  control.SetTabOrder(ini.ReadInteger("TabOrder", -1, -1));
  control.SetFont(ReadFont(ini, TFont{form.Font().Name, form.Font().Height, false, clWindowText}));

  if (auto* button = dynamic_cast<TsBitBtn*>(&control)) button->SetDefault(ini.ReadBool("Default", -1, false));
  if (auto* check = dynamic_cast<TsCheckBox*>(&control)) check->SetChecked(ini.ReadBool("Checked", -1, false));
  if (auto* group = dynamic_cast<TsRadioGroup*>(&control)) {
    group->SetItems(ReadItems(ini, "Items"));
    group->SetItemIndex(ini.ReadInteger("ItemIndex", -1, -1));
  }
  if (auto* memo = dynamic_cast<TsMemo*>(&control)) memo->SetColor(ReadColor(ini, "Color", memo->Color()));
  if (auto* image = dynamic_cast<TImage*>(&control)) {
    image->SetPicture(ini.ReadString("Picture", -1));
    if (!embedded::Find(image->Picture()).Data) Fail("no embedded picture " + image->Picture());
  }

  // Bound last, so setting the initial state runs no handler.
  const std::string handler = ini.ReadString("OnClick", -1);
  if (!handler.empty()) {
    const auto found = handlers.find(handler);
    if (found == handlers.end()) Fail("unknown handler \"" + handler + "\" of " + control.Name());
    control.OnClick = found->second;
  }
}

}  // namespace

void CreateFromLayout(TForm& form, const std::uint8_t* bytes, std::size_t count, const THandlerTable& handlers) {
  TIniFile ini;
  ini.LoadFromBytes(bytes, count);
  if (!ini.SelectSection("Form")) Fail("no [Form] section");
  form.SetCaption(ini.ReadString("Caption", -1));
  form.SetClientSize(ini.ReadInteger("ClientWidth", -1, 0), ini.ReadInteger("ClientHeight", -1, 0));
  form.SetColor(ReadColor(ini, "Color", clBtnFace));
  form.SetFont(ReadFont(ini, form.Font()));

  int id = 0;
  for (std::size_t i = 0; i < ini.Sections.size(); ++i) {
    const std::string name = ini.Sections[i].Name;
    if (name.empty() || name == "Form") continue;
    ini.SelectSection(name);
    if (form.FindComponent(name)) Fail("two components named " + name);
    TComponent& component = CreateComponent(form, ini.ReadString("Kind", -1), name);
    ++id;
    if (auto* manager = dynamic_cast<TsSkinManager*>(&component)) SetUpSkins(ini, *manager);
    if (auto* control = dynamic_cast<TControl*>(&component)) {
      control->SetControlId(id);
      SetUpControl(ini, form, *control, handlers);
    }
  }
}
