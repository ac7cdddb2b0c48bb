// Which face a layout font gets: the one it names, when that face can show
// every language of the window in the weight and height asked, or else the
// first of a few of similar width that can.
#include "FontMatch.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace win32 {

namespace {

HFONT CreateFace(const TFont& font, const char* face, bool bold) {
  return CreateFontA(font.Height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

// Whether every character from `first` to `last` has a glyph in the font.
bool Covers(const GLYPHSET& glyphs, WCHAR first, WCHAR last) {
  for (DWORD c = first; c <= last; ++c) {
    bool found = false;
    for (DWORD i = 0; i < glyphs.cRanges && !found; ++i) {
      found = c >= glyphs.ranges[i].wcLow && c < glyphs.ranges[i].wcLow + glyphs.ranges[i].cGlyphs;
    }
    if (!found) return false;
  }
  return true;
}

// The face asked for, holding the letters of all four languages: Cyrillic
// with Ё, and the accented Latin letters of German and French. A raster
// face holds one code page only (on a Western system "MS Sans Serif" has no
// Cyrillic, on a Cyrillic one no "ä"), whatever character set is asked for;
// a TrueType face holds them all.
bool HoldsEveryLanguage(HDC dc, const char* face) {
  char chosen[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof chosen, chosen);
  if (lstrcmpiA(chosen, face) != 0) return false;
  std::vector<char> buffer(GetFontUnicodeRanges(dc, nullptr));
  auto* glyphs = reinterpret_cast<GLYPHSET*>(buffer.data());
  return buffer.size() >= sizeof(GLYPHSET) && GetFontUnicodeRanges(dc, glyphs) != 0 &&
         Covers(*glyphs, 0x0401, 0x0401) && Covers(*glyphs, 0x0410, 0x044F) && Covers(*glyphs, 0x0451, 0x0451) &&
         Covers(*glyphs, 0x00C0, 0x00FF);
}

// The pixels a sample covers drawn in the font, black on white.
int Ink(HFONT font) {
  constexpr int kWidth = 256, kHeight = 64;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return 0;
  HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  const HGDIOBJ oldFont = SelectObject(dc, font);
  RECT all{0, 0, kWidth, kHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, L"Game start", -1, &all, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  GdiFlush();
  int ink = 0;
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  for (int i = 0; i < kWidth * kHeight; ++i) {
    if ((pixels[i] & 0xFF) < 0x80) ++ink;
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return ink;
}

// Whether the face gives what the layout asks: letters of the asked height
// (to the pixel a scalable face rounds to), and a bold font drawn heavier
// than the regular one. Its metrics are not enough: Wine 10 reports its
// Tahoma bold, and measures it so, yet draws it regular.
bool KeepsShape(HDC dc, HFONT font, const TFont& layout, const char* face) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const LONG height = layout.Height < 0 ? metrics.tmHeight - metrics.tmInternalLeading : metrics.tmHeight;
  if (std::labs(height - std::labs(layout.Height)) > 1) return false;
  if (!layout.Bold) return true;
  HFONT regular = CreateFace(layout, face, false);
  const int regularInk = Ink(regular);
  DeleteObject(regular);
  return Ink(font) * 10 > regularInk * 11;
}

enum class Fit { None, Letters, Whole };

Fit Judge(HFONT font, const TFont& layout, const char* face) {
  HDC dc = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, font);
  Fit fit = Fit::None;
  if (HoldsEveryLanguage(dc, face)) fit = KeepsShape(dc, font, layout, face) ? Fit::Whole : Fit::Letters;
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return fit;
}

}  // namespace

// The layout's widths are measured in its font. Where that face is missing
// (a machine without the classic bitmap fonts), cannot show every language,
// or loses the weight or the height asked, a face of similar width serves
// before whatever broad face the system would substitute; when none keeps
// the weight and height, the first that shows every language.
HFONT MatchFont(const TFont& font) {
  HFONT named = CreateFace(font, font.Name.c_str(), font.Bold);
  const Fit namedFit = Judge(named, font, font.Name.c_str());
  if (namedFit == Fit::Whole) return named;
  HFONT letters = namedFit == Fit::Letters ? named : nullptr;
  for (const char* face :
       {"Microsoft Sans Serif", "Tahoma", "Arial", "Liberation Sans", "DejaVu Sans Condensed", "DejaVu Sans"}) {
    HFONT candidate = CreateFace(font, face, font.Bold);
    const Fit fit = Judge(candidate, font, face);
    if (fit == Fit::Whole) {
      if (letters) DeleteObject(letters);
      if (named != letters) DeleteObject(named);
      return candidate;
    }
    if (fit == Fit::Letters && !letters) {
      letters = candidate;
    } else {
      DeleteObject(candidate);
    }
  }
  if (!letters) return named;
  if (named != letters) DeleteObject(named);
  return letters;
}

}  // namespace win32
