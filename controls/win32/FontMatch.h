// The font a control of the Win32 peer is drawn in, matched from the
// layout's font. Shared with the Wine tests' probe, which measures the
// window's texts in the same font.
#pragma once

#include <windows.h>

#include "Types.h"

namespace win32 {

// A new font; the caller deletes it.
HFONT MatchFont(const TFont& font);

}  // namespace win32
