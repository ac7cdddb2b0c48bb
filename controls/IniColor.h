// A colour as the layout and the skins write it in their ini files.
#pragma once

#include <string>

#include "Types.h"
#include "VK9_System.h"

// "R,G,B" as three items of 0 to 255, or "clBtnFace" for the system's
// button face; `fallback` when the key is missing, an item is missing or
// out of range.
TColor ReadColor(TIniFile& ini, const std::string& key, TColor fallback);
