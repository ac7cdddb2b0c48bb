// Which face a layout font gets: the one it names, when that face can show
// every language of the window, or else the first of a few of similar width.
#include "FontMatch.h"

#include <vector>

namespace win32 {

namespace {

HFONT CreateFace(const TFont& font, const char* face) {
  return CreateFontA(font.Height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
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
bool Suits(HFONT font, const char* face) {
  HDC dc = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, font);
  char chosen[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof chosen, chosen);
  bool suits = lstrcmpiA(chosen, face) == 0;
  if (suits) {
    std::vector<char> buffer(GetFontUnicodeRanges(dc, nullptr));
    auto* glyphs = reinterpret_cast<GLYPHSET*>(buffer.data());
    suits = buffer.size() >= sizeof(GLYPHSET) && GetFontUnicodeRanges(dc, glyphs) != 0 &&
            Covers(*glyphs, 0x0401, 0x0401) && Covers(*glyphs, 0x0410, 0x044F) && Covers(*glyphs, 0x0451, 0x0451) &&
            Covers(*glyphs, 0x00C0, 0x00FF);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return suits;
}

}  // namespace

// The layout's widths are measured in its font. Where that face is missing
// (a machine without the classic bitmap fonts) or cannot show every
// language, a face of similar width serves before whatever broad face the
// system would substitute.
HFONT MatchFont(const TFont& font) {
  HFONT chosen = CreateFace(font, font.Name.c_str());
  if (Suits(chosen, font.Name.c_str())) return chosen;
  for (const char* face : {"Microsoft Sans Serif", "Tahoma", "Arial", "Liberation Sans", "DejaVu Sans Condensed"}) {
    HFONT candidate = CreateFace(font, face);
    if (Suits(candidate, face)) {
      DeleteObject(chosen);
      return candidate;
    }
    DeleteObject(candidate);
  }
  return chosen;
}

}  // namespace win32
