// The thread locale of the POSIX backend: the identifier Windows would give
// for the language and country of LC_ALL, LC_MESSAGES or LANG ("de_CH.UTF-8").
#include "Platform.h"

#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

struct Language {
  const char* code;
  std::uint16_t primary;  // the primary language identifier
};
const Language kLanguages[] = {
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06}, {"de", 0x07},
    {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C}, {"he", 0x0D}, {"hu", 0x0E},
    {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12}, {"nl", 0x13}, {"nb", 0x14}, {"no", 0x14},
    {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A}, {"sk", 0x1B}, {"sv", 0x1D},
    {"tr", 0x1F}, {"uk", 0x22}, {"be", 0x23}, {"sl", 0x24}, {"et", 0x25}, {"lv", 0x26}, {"lt", 0x27},
};

// The sublanguage of a language in a country; the default one (1) otherwise.
struct Country {
  const char* locale;
  std::uint32_t id;
};
const Country kCountries[] = {
    {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"de_LU", 0x1007}, {"de_LI", 0x1407},
    {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_LU", 0x140C}, {"fr_MC", 0x180C},
    {"ru_MD", 0x0819}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409},
    {"en_IE", 0x1809}, {"es_MX", 0x080A}, {"pt_PT", 0x0816}, {"nl_BE", 0x0813}, {"it_CH", 0x0810},
    {"sv_FI", 0x081D}, {"zh_TW", 0x0404}, {"zh_CN", 0x0804}, {"zh_HK", 0x0C04},
};

const char* LocaleName() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return nullptr;
}

}  // namespace

std::uint32_t ThreadLocaleId() {
  constexpr std::uint32_t kEnglishUs = 0x0409;
  const char* name = LocaleName();
  if (!name || std::strlen(name) < 2) return kEnglishUs;
  for (const Country& country : kCountries) {
    const std::size_t n = std::strlen(country.locale);
    if (std::strncmp(name, country.locale, n) == 0 && (name[n] == '\0' || name[n] == '.' || name[n] == '@')) {
      return country.id;
    }
  }
  for (const Language& language : kLanguages) {
    if (std::strncmp(name, language.code, 2) == 0 && (name[2] == '\0' || name[2] == '_' || name[2] == '.' || name[2] == '@')) {
      return 0x0400u | language.primary;
    }
  }
  return kEnglishUs;
}

}  // namespace platform
