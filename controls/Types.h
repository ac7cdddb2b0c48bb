// Small value types of the controls: colours, rectangles, fonts.
#pragma once

#include <cstdint>
#include <string>

// 0x00BBGGRR, as the Windows API takes it.
using TColor = std::uint32_t;

constexpr TColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor{r} | (TColor{g} << 8) | (TColor{b} << 16);
}

// The system's button-face colour, resolved by the peer.
inline constexpr TColor clBtnFace = 0x8000000Fu;
inline constexpr TColor clWindowText = 0x80000008u;
constexpr bool IsSystemColor(TColor c) { return (c & 0x80000000u) != 0; }

struct TRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const TRect&) const = default;
};

// Height in pixels as the Windows API takes it: negative for the character
// height (-11 is 8 points at 96 dots per inch).
struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  bool Bold = false;
  TColor Color = clWindowText;
  bool operator==(const TFont&) const = default;
};
