// Captions that fit their room in whatever face the system gives. The layout
// is in pixels for one set of fonts; another system's face for the same font
// may be wider. A text too wide for its room is drawn in the same face and
// weight a size smaller, step by step, down to four fifths of the asked
// height; a text that fits even there is never cut, one that does not is cut
// at the asked size as any text is. Shared with the Wine tests' probe.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace win32 {

// The font `text` is drawn in within `room` pixels of width, as DrawText
// measures it: `font` when the text fits in it or fits no smaller size,
// else the largest smaller size that fits. Fonts made here are kept until
// the process ends.
HFONT FittingFont(HDC dc, HFONT font, const std::wstring& text, int room);

// The rule itself: `font` when `fits` holds for it or for no smaller size
// down to the floor, else the largest smaller size for which it holds.
HFONT LargestFitting(HFONT font, const std::function<bool(HFONT)>& fits);

// The same face and weight at another LOGFONT height.
HFONT ResizedFont(HFONT font, LONG height);

// The smallest height (a LOGFONT height, negative for the letters' height,
// positive for the cell's) that FittingFont goes down to from `height`.
LONG FloorHeight(LONG height);

}  // namespace win32
