// The first language, from the system's locale identifier.
#include "MainLaunch.h"

#include <algorithm>
#include <iterator>

std::string LanguageFromLocale(std::uint32_t localeId) {
  static const std::uint32_t kGerman[] = {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407};
  static const std::uint32_t kFrench[] = {0x040C, 0x080C, 0x0C0C, 0x100C, 0x140C, 0x180C, 0x1C0C, 0x200C,
                                          0x240C, 0x280C, 0x2C0C, 0x300C, 0x340C, 0x380C, 0x3C0C, 0xE40C};
  // Ukrainian and Belarusian players read the Russian texts.
  static const std::uint32_t kRussian[] = {0x0419, 0x0819, 0x0422, 0x0423};
  const auto in = [localeId](const auto& table) { return std::find(std::begin(table), std::end(table), localeId) != std::end(table); };
  if (in(kGerman)) return "Deu";
  if (in(kFrench)) return "Fra";
  if (in(kRussian)) return "Rus";
  return "Eng";
}
