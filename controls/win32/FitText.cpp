#include "FitText.h"

#include <map>
#include <utility>

#include "SkinPaint.h"

namespace win32 {

// Made once per font and height.
HFONT ResizedFont(HFONT font, LONG height) {
  static std::map<std::pair<HFONT, LONG>, HFONT> fonts;
  HFONT& resized = fonts[{font, height}];
  if (!resized) {
    LOGFONTW shape{};
    GetObjectW(font, sizeof shape, &shape);
    shape.lfHeight = height;
    shape.lfWidth = 0;
    resized = CreateFontIndirectW(&shape);
  }
  return resized;
}

// Four fifths keeps a caption of the window's 8-point font at 9 pixels,
// still readable, and the buttons' 16 at 13.
LONG FloorHeight(LONG height) {
  const LONG size = height < 0 ? -height : height;
  const LONG floor = (size * 4 + 4) / 5;
  return height < 0 ? -floor : floor;
}

HFONT LargestFitting(HFONT font, const std::function<bool(HFONT)>& fits) {
  LOGFONTW shape{};
  if (!font || fits(font) || GetObjectW(font, sizeof shape, &shape) == 0) return font;
  const LONG floor = FloorHeight(shape.lfHeight);
  const LONG step = shape.lfHeight < 0 ? 1 : -1;  // toward zero: smaller
  for (LONG height = shape.lfHeight + step; height != floor + step; height += step) {
    HFONT smaller = ResizedFont(font, height);
    if (smaller && fits(smaller)) return smaller;
  }
  return font;
}

HFONT FittingFont(HDC dc, HFONT font, const std::wstring& text, int room) {
  return LargestFitting(font, [&](HFONT candidate) { return skinpaint::TextSize(dc, text, candidate).cx <= room; });
}

}  // namespace win32
