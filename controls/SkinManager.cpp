#include "SkinManager.h"

#include "IniColor.h"
#include "VK9_System.h"

namespace {

const char* const kStateNames[kSkinStateCount] = {"Normal", "Hot", "Pressed", "Focused", "Disabled", "Checked"};

TSkinSection ReadSection(TIniFile& ini, const std::string& name) {
  TSkinSection section;
  section.Name = name;
  section.Radius = ini.ReadInteger("Radius", -1, 0);
  const TSkinColors normal{ReadColor(ini, "Normal.Top", 0), ReadColor(ini, "Normal.Bottom", 0),
                           ReadColor(ini, "Normal.Border", 0), ReadColor(ini, "Normal.Text", 0),
                           ReadColor(ini, "Normal.Mark", 0)};
  for (std::size_t i = 0; i < kSkinStateCount; ++i) {
    const std::string state = kStateNames[i];
    section.States[i] = {ReadColor(ini, state + ".Top", normal.Top), ReadColor(ini, state + ".Bottom", normal.Bottom),
                         ReadColor(ini, state + ".Border", normal.Border), ReadColor(ini, state + ".Text", normal.Text),
                         ReadColor(ini, state + ".Mark", normal.Mark)};
  }
  return section;
}

}  // namespace

const TSkinSection& TSkin::Section(const std::string& name) const {
  const TSkinSection* fallback = nullptr;
  for (const TSkinSection& section : Sections) {
    if (section.Name == name) return section;
    if (section.Name == "DEFAULT") fallback = &section;
  }
  return *fallback;  // ParseSkin guarantees a DEFAULT section
}

TSkin ParseSkin(const std::uint8_t* bytes, std::size_t count) {
  TIniFile ini;
  ini.LoadFromBytes(bytes, count);
  TSkin skin;
  if (!ini.SelectSection("Skin")) throw EArgumentException("skin without a [Skin] section");
  skin.Name = ini.ReadString("Name", -1);
  skin.Face = ReadColor(ini, "Face", RGBColor(240, 240, 240));
  bool hasDefault = false;
  for (std::size_t i = 0; i < ini.Sections.size(); ++i) {
    const std::string name = ini.Sections[i].Name;
    if (name.empty() || name == "Skin") continue;
    ini.SelectSection(name);
    skin.Sections.push_back(ReadSection(ini, name));
    hasDefault = hasDefault || name == "DEFAULT";
  }
  if (!hasDefault) throw EArgumentException("skin \"" + skin.Name + "\" without a [DEFAULT] section");
  return skin;
}

const TSkin* TsSkinManager::Active() const {
  if (active_ < 0 || static_cast<std::size_t>(active_) >= skins_.size()) return nullptr;
  return &skins_[static_cast<std::size_t>(active_)];
}
