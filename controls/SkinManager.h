// The skin engine's data: skins read from small ini files, one section per
// kind of control ("BUTTON", "CHECKBOX", "GROUPBOX", "RADIOBUTTON", "EDIT"),
// each giving the colours of every state. The peer paints from it.
//
// A skin file:
//   [Skin]
//   Name=Dark
//   Face=R,G,B               the window background (the skin's button face)
//   [BUTTON]                 and the other sections; [DEFAULT] for the rest
//   Radius=3                 corner radius in pixels
//   Normal.Top=R,G,B         gradient top
//   Normal.Bottom=R,G,B      gradient bottom
//   Normal.Border=R,G,B
//   Normal.Text=R,G,B
//   Normal.Mark=R,G,B        check mark, radio dot, focus line
//   Hot.Top=...              and so on for Hot, Pressed, Focused, Disabled, Checked
// A state or colour a skin leaves out is taken from Normal.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Component.h"

enum class TSkinState { Normal, Hot, Pressed, Focused, Disabled, Checked };
inline constexpr std::size_t kSkinStateCount = 6;

struct TSkinColors {
  TColor Top = 0;
  TColor Bottom = 0;
  TColor Border = 0;
  TColor Text = 0;
  TColor Mark = 0;
  bool operator==(const TSkinColors&) const = default;
};

struct TSkinSection {
  std::string Name;
  int Radius = 0;
  std::array<TSkinColors, kSkinStateCount> States{};
  const TSkinColors& State(TSkinState state) const { return States[static_cast<std::size_t>(state)]; }
};

struct TSkin {
  std::string Name;
  TColor Face = 0;
  std::vector<TSkinSection> Sections;
  // The section of that name, or the skin's "DEFAULT" section.
  const TSkinSection& Section(const std::string& name) const;
};

// Reads one skin from the bytes of its file. Raises EArgumentException when
// it has no [Skin] or no [DEFAULT] section.
TSkin ParseSkin(const std::uint8_t* bytes, std::size_t count);

class TsSkinManager : public TComponent {
 public:
  using TComponent::TComponent;
  void AddSkin(TSkin skin) { skins_.push_back(std::move(skin)); }
  const std::vector<TSkin>& Skins() const { return skins_; }
  int ActiveSkin() const { return active_; }
  void SetActiveSkin(int index) { active_ = index; }
  // The active skin; null when none is loaded.
  const TSkin* Active() const;

 private:
  std::vector<TSkin> skins_;
  int active_ = 0;
};
