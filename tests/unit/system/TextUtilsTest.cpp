// Text, number and path routines.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ScopedEnvironment.h"
#include "TempDir.h"
#include "VK9_System.h"

namespace {

TEST(TrimText, RemovesBytesUpToSpaceFromBothEnds) {
  EXPECT_EQ(TrimText(" \t abc \r\n"), "abc");
  EXPECT_EQ(TrimText("   "), "");
  EXPECT_EQ(TrimText(std::string("\0a b\x1f", 5)), "a b");
  EXPECT_EQ(TrimText("\xA0x\xA0"), "\xA0x\xA0");  // 160 is no blank
}

TEST(LowerText, LowersTheAnsiLettersToo) {
  EXPECT_EQ(LowerText("YES, No 1"), "yes, no 1");
  // Windows-1252: A with diaeresis, O with stroke, S with caron; the
  // multiplication sign has no lower case.
  EXPECT_EQ(LowerText("\xC4\xD8\x8A\xD7"), "\xE4\xF8\x9A\xD7");
}

struct ReplaceCase {
  const char* source;
  const char* find;
  const char* replace;
  const char* expected;
};

TEST(ReplaceText, ReplacesUntilNoOccurrenceIsLeft) {
  const ReplaceCase cases[] = {
      {"a#b#c", "#", "512", "a512b512c"},
      {"a#b", "#", "#", "a#b"},   // find equals replace
      {"a#b", "", "x", "a#b"},    // empty find finds nothing
      {"aab", "ab", "b", "b"},    // a replacement makes a new occurrence
      {"x#y", "#", "", "xy"},
      {"no mark", "#", "1", "no mark"},
      {"##", "#", "12", "1212"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceText(c.source, c.find, c.replace), c.expected) << c.source << " / " << c.find;
  }
}

TEST(ReplaceText, RefusesAReplacementThatHoldsTheSearchedText) {
  // The search restarts at the beginning: "#" -> "<#>" would never end.
  EXPECT_THROW(ReplaceText("a#b", "#", "<#>"), EArgumentException);
  EXPECT_THROW(ReplaceText("", "ab", "xaby"), EArgumentException);
}

TEST(TextToInt, ReadsDigitsAndTheMinusAnywhere) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"42", 42},   {" 42 ", 42}, {"-17", -17}, {"17-", -17},  {"1-2", -12},
      {"12a3", 123}, {"abc", 0},  {"", 0},      {"2147483647", 2147483647}, {"-2147483647", -2147483647},
      {"0000000000002147483647", 2147483647},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(TextToInt(text), value) << text;
}

TEST(TextToInt, RaisesARangeErrorBeyondTheSignedRange) {
  EXPECT_THROW(TextToInt("2147483648"), ERangeError);
  EXPECT_THROW(TextToInt("-2147483648"), ERangeError);
  EXPECT_THROW(TextToInt("99999999999999999999"), ERangeError);
}

TEST(TextToBool, TrueForTAndYOnly) {
  for (const char* yes : {"Yes", "TRUE", " y", "t", "yo"}) EXPECT_TRUE(TextToBool(yes)) << yes;
  for (const char* no : {"No", "false", "1", "on", "", "   "}) EXPECT_FALSE(TextToBool(no)) << no;
}

TEST(IntToText, WritesDecimalDigits) {
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(176400), "176400");
  EXPECT_EQ(IntToText(-5), "-5");
  EXPECT_EQ(IntToText(INT64_MAX), "9223372036854775807");
  EXPECT_EQ(IntToText(INT64_MIN), "-9223372036854775808");
}

TEST(IntToTextPadded, PutsZerosInFrontOfTheWholeText) {
  EXPECT_EQ(IntToTextPadded(3, 7), "007");
  EXPECT_EQ(IntToTextPadded(3, 45), "045");
  EXPECT_EQ(IntToTextPadded(3, 1234), "1234");
  EXPECT_EQ(IntToTextPadded(3, -5), "0-5");
  EXPECT_EQ(IntToTextPadded(0, 5), "5");
  EXPECT_EQ(IntToTextPadded(-3, 5), "5");
}

TEST(PathRoutines, OnlyTheBackslashSeparates) {
  EXPECT_EQ(ExtractFolder("C:\\Games\\x.ini"), "C:\\Games\\");
  EXPECT_EQ(ExtractName("C:\\Games\\x.ini"), "x.ini");
  EXPECT_EQ(ExtractFolder("x.ini"), "");
  EXPECT_EQ(ExtractName("x.ini"), "x.ini");
  EXPECT_EQ(ExtractName("C:\\Games\\"), "");
  EXPECT_EQ(ExtractFolder("C:/Games/x.ini"), "");
  EXPECT_EQ(ExtractName("C:x.ini"), "C:x.ini");
}

TEST(GetSpecialFolder, LocalAppDataIsTheDataHomeWithBackslashes) {
  const test::ScopedEnvironment environment{"XDG_DATA_HOME"};
  test::ScopedEnvironment::Set("XDG_DATA_HOME", "/srv/players/anna/data/");
  EXPECT_EQ(GetSpecialFolder(28), "\\srv\\players\\anna\\data");
  EXPECT_EQ(GetSpecialFolder(-1), "");  // no such folder: empty, no error
}

}  // namespace
