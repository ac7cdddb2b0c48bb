// The four interface languages: the suffix of their Texts.Ini keys, their
// item in the language group, and their value of Global_Language in the
// options file.
#pragma once

#include <string>

struct TLanguage {
  const char* Suffix;        // "Eng": keys such as "bbRun_Eng"
  int RadioItem;             // rgLanguage's item
  const char* OptionsValue;  // "eng"
};

inline constexpr TLanguage kLanguages[] = {
    {"Eng", 0, "eng"},
    {"Rus", 1, "rus"},
    {"Deu", 2, "deu"},
    {"Fra", 3, "fra"},
};

// The language of that radio item, suffix or options value; null for none.
inline const TLanguage* LanguageOfItem(int item) {
  for (const TLanguage& language : kLanguages) {
    if (language.RadioItem == item) return &language;
  }
  return nullptr;
}
inline const TLanguage* LanguageOfSuffix(const std::string& suffix) {
  for (const TLanguage& language : kLanguages) {
    if (suffix == language.Suffix) return &language;
  }
  return nullptr;
}
inline const TLanguage* LanguageOfOptionsValue(const std::string& value) {
  for (const TLanguage& language : kLanguages) {
    if (value == language.OptionsValue) return &language;
  }
  return nullptr;
}
