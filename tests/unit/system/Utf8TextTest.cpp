// The byte-walking text and path routines under the UTF-8 code page that the
// program's manifest asks for: no character is split, changed or lost.
#include <gtest/gtest.h>

#include <functional>

#include "Overrides.h"
#include "Platform.h"
#include "SystemInternal.h"
#include "VK9_System.h"

namespace {

platform::Overrides CodePage(std::uint32_t codePage) {
  return {.ansiCodePage = [codePage] { return codePage; }};
}

struct Utf8Case {
  const char* routine;
  std::function<std::string(const std::string&)> apply;
  std::string text;
  std::string expected;
};

// Each script the launcher's texts and paths come in: Cyrillic, accented
// Latin, CJK, a four-byte character, and bytes that form no character.
TEST(Utf8Text, TheRoutinesKeepEveryCharacterWhole) {
  const platform::ScopedOverrides utf8(CodePage(platform::kCodePageUtf8));
  const auto trim = [](const std::string& s) { return TrimText(s); };
  const auto lower = [](const std::string& s) { return LowerText(s); };
  const auto folder = [](const std::string& s) { return ExtractFolder(s); };
  const auto name = [](const std::string& s) { return ExtractName(s); };
  const auto number = [](const std::string& s) { return ReplaceText(s, "#", "1024"); };
  const auto cut3 = [](const std::string& s) { return CutText(s, 3); };
  const auto exeName = [](const std::string& s) { return vk9_system::ExeNameFromModulePath(s); };
  const auto length = [](const std::string& s) { return std::to_string(TextLength(s)); };
  const Utf8Case cases[] = {
      {"TrimText", trim, " \t Начать игру \r\n", "Начать игру"},
      {"TrimText", trim, "\xC2\xA0" "Ç\xC2\xA0", "\xC2\xA0" "Ç\xC2\xA0"},  // no-break spaces are no blanks
      {"LowerText", lower, "YES ДА Ёж", "yes да ёж"},
      {"LowerText", lower, "ÄÖÜ ÇÉ Œ Ÿ", "äöü çé œ ÿ"},
      {"LowerText", lower, "A\U0001F3AEB", "a\U0001F3AEb"},
      {"LowerText", lower, "İ", "i"},  // a character one byte shorter in lower case
      {"LowerText", lower, "Z\xD0Z\xFFZ\xE2\x82", "z\xD0z\xFFz\xE2\x82"},  // stray bytes kept
      {"ExtractFolder", folder, "C:\\Игры\\Остров Ostrelund\\Texts.Ini", "C:\\Игры\\Остров Ostrelund\\"},
      {"ExtractName", name, "C:\\Игры\\Остров Ostrelund\\Texts.Ini", "Texts.Ini"},
      {"ExtractName", name, "C:\\游戏\\島\\Ostrelund_Launcher.exe", "Ostrelund_Launcher.exe"},
      {"ExtractName", name, "D:\\Jeux\\Île\\Éditeur", "Éditeur"},
      {"ReplaceText", number, "Ширина # ниже 1280 (# пикс.)", "Ширина 1024 ниже 1280 (1024 пикс.)"},
      {"ReplaceText", number, "Écran #×768", "Écran 1024×768"},
      {"CutText", cut3, "Ёж\U0001F3AEx", "Ёж\U0001F3AE"},
      {"CutText", cut3, "aé\U0001F3AE", "aé\U0001F3AE"},
      {"CutText", cut3, "\xD0" "ab" "Ж", "\xD0" "ab"},  // a stray byte is one character
      {"CutText", cut3, "ab", "ab"},
      {"TextLength", length, "Ёж\U0001F3AE\xD0" "a", "5"},
      {"ExeName", exeName, "C:\\Игры\\Остров Ostrelund\\Запуск.exe", "Запуск"},
      {"ExeName", exeName, "C:\\Игры\\Остров", "Ос"},  // four letters go, not four bytes
      {"ExeName", exeName, "C:\\Жабы\\лягушка", "ляг"},
      {"ExeName", exeName, "Жаба", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.apply(c.text), c.expected) << c.routine << "(" << c.text << ")";
}

struct EdgeCase {
  const char* what;
  std::string character;  // one character, or bytes that form none
  bool whole;             // whether the bytes are one well-formed character
  std::string lowered;    // the character lowered; empty when it has no lower case
};

// The first and last value of each lead-byte range and of the continuation
// bytes, and the values just past them. Every routine that counts or cuts
// characters keeps a well-formed one whole and takes each byte of anything
// else for a character of its own.
TEST(Utf8Text, EachSequenceLengthIsRecognisedToTheEdgesOfItsRanges) {
  const platform::ScopedOverrides utf8(CodePage(platform::kCodePageUtf8));
  const EdgeCase cases[] = {
      {"U+0080, the first of two bytes", "\xC2\x80", true, ""},
      {"U+07FF, the last of two bytes", "\xDF\xBF", true, ""},
      {"an overlong two-byte form", "\xC1\xBF", false, ""},
      {"U+0100, a letter ending in 0x80", "\xC4\x80", true, "\xC4\x81"},
      {"U+013F, a letter ending in 0xBF", "\xC4\xBF", true, "\xC5\x80"},
      {"a letter's lead before 0x7F", "\xC4\x7F", false, ""},
      {"a letter's lead before 0xC0", "\xC4\xC0", false, ""},
      {"U+0800, the first of three bytes", "\xE0\xA0\x80", true, ""},
      {"an overlong three-byte form", "\xE0\x9F\xBF", false, ""},
      {"U+D7FF, the last before the surrogates", "\xED\x9F\xBF", true, ""},
      {"a surrogate", "\xED\xA0\x80", false, ""},
      {"U+E000, the first after the surrogates", "\xEE\x80\x80", true, ""},
      {"U+FF21, a full-width letter", "\xEF\xBC\xA1", true, "\xEF\xBD\x81"},
      {"U+FFFF, the last of three bytes", "\xEF\xBF\xBF", true, ""},
      {"a third byte of 0xC0", "\xE2\x82\xC0", false, ""},
      {"a third byte of 0x7F", "\xE2\x82\x7F", false, ""},
      {"U+10000, the first of four bytes", "\xF0\x90\x80\x80", true, ""},
      {"an overlong four-byte form", "\xF0\x8F\xBF\xBF", false, ""},
      {"U+10FFFF, the last character", "\xF4\x8F\xBF\xBF", true, ""},
      {"past U+10FFFF", "\xF4\x90\x80\x80", false, ""},
      {"a lead byte past 0xF4", "\xF5\x80\x80\x80", false, ""},
      {"a fourth byte of 0xC0", "\xF1\x80\x80\xC0", false, ""},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string& x = c.character;
    const std::size_t characters = c.whole ? 1 : x.size();
    EXPECT_EQ(TextLength("a" + x + "b"), 2 + characters);
    EXPECT_EQ(CutText("a" + x + "b", 2), "a" + (c.whole ? x : x.substr(0, 1)));
    EXPECT_EQ(CutText(x + "b", characters), x);
    EXPECT_EQ(LowerText("A" + x + "B"), "a" + (c.lowered.empty() ? x : c.lowered) + "b");
    // The last four characters go: this one and "exe".
    const std::string kept = c.whole ? "" : x.substr(0, x.size() - 1);
    EXPECT_EQ(vk9_system::ExeNameFromModulePath("C:\\G\\n" + x + "exe"), "n" + kept);
  }
}

// Where the system ignores the manifest, the system's code page holds and
// characters are bytes, as before.
TEST(Utf8Text, UnderASingleByteCodePageACharacterIsAByte) {
  const platform::ScopedOverrides western(CodePage(1252));
  EXPECT_EQ(CutText("\xD0\x81\xD0\xB6", 1), "\xD0");
  EXPECT_EQ(TextLength("\xD0\x81\xD0\xB6"), 4u);
  EXPECT_EQ(LowerText("\xC4\xD0"), "\xE4\xF0");
}

TEST(Utf8Text, WideTextBecomesUtf8WithAReplacementOnlyForALoneSurrogate) {
  const platform::ScopedOverrides utf8(CodePage(platform::kCodePageUtf8));
  EXPECT_EQ(platform::WideToAnsi(u"\u042F\u0437\u044B\u043A"), "Язык");
  EXPECT_EQ(platform::WideToAnsi(u"Fran\u00E7ais \u20AC"), "Français €");
  EXPECT_EQ(platform::WideToAnsi(u"a\U0001F3AEb"), "a\U0001F3AEb");
  EXPECT_EQ(platform::WideToAnsi(std::u16string(u"a") + char16_t(0xD83C) + u"b"), "a\xEF\xBF\xBD" "b");
}

}  // namespace
