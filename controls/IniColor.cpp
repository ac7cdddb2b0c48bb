#include "IniColor.h"

TColor ReadColor(TIniFile& ini, const std::string& key, TColor fallback) {
  if (!ini.KeyExists(key)) return fallback;
  if (ini.ReadString(key, -1) == "clBtnFace") return clBtnFace;
  const int r = ini.ReadInteger(key, 1, -1), g = ini.ReadInteger(key, 2, -1), b = ini.ReadInteger(key, 3, -1);
  if (r < 0 || g < 0 || b < 0 || r > 255 || g > 255 || b > 255) return fallback;
  return RGBColor(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b));
}
