// TIniFile: the file format, finding, reading, writing and saving.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

#include "TempDir.h"
#include "VK9_System.h"

namespace {

using test::LoadText;
using test::SavedText;

// Never loaded, an object has no section to select, read or write.
TEST(IniFile, ANewObjectHasNothingToSelectReadOrWrite) {
  TIniFile ini;
  EXPECT_FALSE(ini.SelectSection(""));
  EXPECT_EQ(ini.ReadString("Key", -1), "");
  EXPECT_EQ(ini.ReadInteger("Key", -1, 7), 7);
  ini.WriteString("Key", "v", -1);
  EXPECT_TRUE(ini.SavedBytes().empty());
}

TEST(IniFileLoad, CutsSectionsAndTrimmedLinesOnly) {
  TIniFile ini;
  LoadText(ini, "top=1\r\n\r\n[ Main ] ; options\r\n  Key = Value  \r\n; note\r\n[Other]\n\tx\r\n");
  ASSERT_EQ(ini.Sections.size(), 3u);
  EXPECT_EQ(ini.Sections[0].Name, "");
  ASSERT_EQ(ini.Sections[0].Keys.size(), 2u);
  EXPECT_TRUE(ini.Sections[0].Keys[1].Raw.empty());  // blank

  const TIniSection& main = ini.Sections[1];
  EXPECT_EQ(main.Name, "Main");
  EXPECT_EQ(std::string(main.HeaderTail.begin(), main.HeaderTail.end()), " ; options");
  ASSERT_EQ(main.Keys.size(), 2u);
  EXPECT_EQ(std::string(main.Keys[0].Raw.begin(), main.Keys[0].Raw.end()), "Key = Value");
  EXPECT_TRUE(main.Keys[0].Name.empty());
  EXPECT_TRUE(main.Keys[0].Items.empty());
  EXPECT_EQ(ini.Sections[2].Name, "Other");
  EXPECT_EQ(ini.CurrentSection, -1);
}

TEST(IniFileLoad, LineEndingsAndByteOrderMark) {
  TIniFile lf, crlf, cr;
  LoadText(lf, "[Main]\na=1\nb=2");
  LoadText(crlf, "[Main]\r\na=1\r\nb=2\r\n");
  LoadText(cr, "[Main]\ra=1\rb=2");
  for (TIniFile* ini : {&lf, &crlf}) {
    ASSERT_TRUE(ini->SelectSection("Main"));
    EXPECT_EQ(ini->ReadString("a", -1), "1");
    EXPECT_EQ(ini->ReadString("b", -1), "2");
  }
  // A CR alone ends no line: one header line "[Main]" with the rest as tail.
  ASSERT_EQ(cr.Sections.size(), 1u);
  EXPECT_TRUE(cr.Sections[0].Keys.empty());

  TIniFile bom;
  LoadText(bom, "\xEF\xBB\xBF[Main]\r\na=1\r\n");
  EXPECT_FALSE(bom.SelectSection("Main"));
  EXPECT_EQ(bom.Sections[0].Name, "");
}

TEST(IniFileLoad, KeepsALastLineOfOneByte) {
  TIniFile ini;
  LoadText(ini, "[S]\r\na=1\r\nx");
  EXPECT_EQ(SavedText(ini), "[S]\r\na=1\r\nx");
  LoadText(ini, "x");
  EXPECT_EQ(SavedText(ini), "x");
  LoadText(ini, "[");
  ASSERT_EQ(ini.Sections.size(), 1u);
  EXPECT_EQ(ini.Sections[0].Name, "");
}

TEST(IniFileLoad, ReplacesTheWholeContentAndTheSelection) {
  TIniFile ini;
  LoadText(ini, "[A]\r\nk=1");
  ASSERT_TRUE(ini.SelectSection("A"));
  LoadText(ini, "[B]\r\nk=2");
  EXPECT_EQ(ini.CurrentSection, -1);
  EXPECT_EQ(ini.ReadString("k", -1), "");
  EXPECT_FALSE(ini.SelectSection("A"));
}

TEST(IniFileSections, SelectByExactNameFirstOfDuplicates) {
  TIniFile ini;
  LoadText(ini, "[Main]\r\na=first\r\n[main]\r\na=lower\r\n[Main]\r\na=second\r\n[]\r\na=nameless");
  ASSERT_TRUE(ini.SelectSection("Main"));
  EXPECT_EQ(ini.CurrentSection, 0);
  EXPECT_EQ(ini.CurrentKey, 0);
  EXPECT_EQ(ini.ReadString("a", -1), "first");
  ASSERT_TRUE(ini.SelectSection("main"));
  EXPECT_EQ(ini.ReadString("a", -1), "lower");
  EXPECT_FALSE(ini.SelectSection("MAIN"));
  EXPECT_EQ(ini.CurrentSection, 1);  // a failed select keeps the selection
  EXPECT_EQ(ini.ReadString("a", -1), "lower");
  ASSERT_TRUE(ini.SelectSection(""));
  EXPECT_EQ(ini.ReadString("a", -1), "nameless");
}

TEST(IniFileFind, MatchesTheExactNameBeforeBlanksAndEquals) {
  TIniFile ini;
  LoadText(ini,
           "[Main]\r\n;Render_ATOC=No\r\nRender_ATOCX=1\r\nrender_atoc=lower\r\nRender_ATOC \t = Yes\r\n"
           "Render_ATOC=second\r\nRender_ATOC\r\nKey=a ; comment\r\n");
  ASSERT_TRUE(ini.SelectSection("Main"));
  EXPECT_TRUE(ini.KeyExists("Render_ATOC"));
  EXPECT_EQ(ini.Sections[0].Keys[3].Name, "");  // KeyExists parses nothing
  EXPECT_EQ(ini.ReadString("Render_ATOC", -1), "Yes");
  EXPECT_EQ(ini.CurrentKey, 3);
  EXPECT_EQ(ini.ReadString("render_atoc", -1), "lower");
  EXPECT_EQ(ini.ReadString("Render_ATOCX", -1), "1");
  EXPECT_EQ(ini.ReadString("Key", -1), "a ; comment");
  EXPECT_FALSE(ini.KeyExists(";Render_ATOC="));
  EXPECT_FALSE(ini.KeyExists(""));
  EXPECT_FALSE(ini.KeyExists("Render"));
  EXPECT_EQ(SavedText(ini),
            "[Main]\r\n;Render_ATOC=No\r\nRender_ATOCX=1\r\nrender_atoc=lower\r\nRender_ATOC=Yes\r\n"
            "Render_ATOC=second\r\nRender_ATOC\r\nKey=a ; comment");
}

struct ItemCase {
  const char* value;
  std::vector<std::string> items;
};

TEST(IniFileItems, CutAtCommasOutsideQuotesAndBrackets) {
  const ItemCase cases[] = {
      {"A, B ,C", {"A", "B", "C"}},
      {"(1,2),3", {"(1,2)", "3"}},
      {"\"x,y\",z", {"\"x,y\"", "z"}},
      {"a,,b", {"a", "", "b"}},
      {"a, ,b", {"a", "", "b"}},
      {"a,b,", {"a", "b"}},
      {"((a,b),c)", {"((a,b)", "c)"}},
      {"{a,\"b}\",c", {"{a,\"b}\",c"}},  // inside {...} a quote opens nothing
      {"[a,b", {"[a,b"}},                       // an open group runs to the end
      {",", {}},  // one empty item, which a read cuts again into none
      {"x", {"x"}},
  };
  for (const auto& c : cases) {
    TIniFile ini;
    LoadText(ini, std::string("[S]\r\nk=") + c.value);
    ASSERT_TRUE(ini.SelectSection("S"));
    for (std::size_t i = 0; i < c.items.size(); ++i) {
      EXPECT_EQ(ini.ReadString("k", static_cast<std::int32_t>(i + 1)), c.items[i]) << c.value << " item " << i + 1;
    }
    EXPECT_EQ(ini.ReadString("k", static_cast<std::int32_t>(c.items.size() + 1)), "") << c.value;
    EXPECT_EQ(ini.Sections[0].Keys[0].Items.size(), c.items.size()) << c.value;
  }
}

TEST(IniFileItems, ItemMinusOneIsTheFirstItemOnceCut) {
  TIniFile ini;
  LoadText(ini, "[S]\r\nt=Title,First,Second\r\nw=Title,First,Second\r\nq=\"a,b\" , c\r\ne=");
  ASSERT_TRUE(ini.SelectSection("S"));
  EXPECT_EQ(ini.ReadString("w", -1), "Title,First,Second");
  EXPECT_EQ(ini.ReadString("w", 3), "Second");  // a whole value is cut on demand
  EXPECT_EQ(ini.ReadString("t", 2), "First");
  EXPECT_EQ(ini.ReadString("t", -1), "Title");
  EXPECT_EQ(ini.ReadString("t", 5), "");
  EXPECT_EQ(ini.ReadString("t", 0), "");
  EXPECT_EQ(ini.ReadString("t", -2), "");
  EXPECT_EQ(ini.ReadString("q", -1), "\"a,b\" , c");
  EXPECT_EQ(ini.ReadString("q", 1), "\"a,b\"");
  EXPECT_EQ(ini.ReadString("e", -1), "");
  EXPECT_EQ(ini.ReadString("e", 1), "");
  EXPECT_EQ(SavedText(ini), "[S]\r\nt=Title,First,Second\r\nw=Title,First,Second\r\nq=\"a,b\",c\r\ne=");
}

TEST(IniFileRead, IntegersTakeTheDigitsAndTheMinusAnywhere) {
  TIniFile ini;
  LoadText(ini,
           "[S]\r\na=2048\r\nb=-12\r\nc=5-\r\nd=1a2\r\ne=abc\r\nf=\r\ng=2147483647\r\nh=2147483648\r\n"
           "i=-99999999999\r\nj=7,8\r\n");
  ASSERT_TRUE(ini.SelectSection("S"));
  const std::pair<const char*, std::int32_t> cases[] = {
      {"a", 2048}, {"b", -12}, {"c", -5}, {"d", 12}, {"e", 0},
      {"f", 99},                              // empty value: the default
      {"absent", 99},
      {"g", 2147483647},
      {"h", 99}, {"i", 99},                   // beyond the range: the default
  };
  for (const auto& [key, value] : cases) EXPECT_EQ(ini.ReadInteger(key, -1, 99), value) << key;
  EXPECT_EQ(ini.ReadInteger("j", 2, 99), 8);
  EXPECT_EQ(ini.ReadInteger("j", 3, 99), 99);
}

TEST(IniFileRead, BoolsAreTrueForTAndYOnly) {
  TIniFile ini;
  LoadText(ini, "[S]\r\nYes=Yes\r\nTRUE=TRUE\r\ny=y\r\nNo=No\r\none=1\r\non=on\r\nempty=\r\nlist=no,yes\r\n");
  ASSERT_TRUE(ini.SelectSection("S"));
  EXPECT_TRUE(ini.ReadBool("Yes", -1, false));
  EXPECT_TRUE(ini.ReadBool("TRUE", -1, false));
  EXPECT_TRUE(ini.ReadBool("y", -1, false));
  EXPECT_FALSE(ini.ReadBool("No", -1, true));
  EXPECT_FALSE(ini.ReadBool("one", -1, true));
  EXPECT_FALSE(ini.ReadBool("on", -1, true));
  EXPECT_TRUE(ini.ReadBool("empty", -1, true));
  EXPECT_FALSE(ini.ReadBool("empty", -1, false));
  EXPECT_TRUE(ini.ReadBool("absent", -1, true));
  EXPECT_TRUE(ini.ReadBool("list", 2, false));
}

TEST(IniFileRead, WideStringsAreDecodedFromUtf8) {
  TIniFile ini;
  LoadText(ini, "[S]\r\nru=\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0\r\nfr=Quitter \xC3\xA9t\xC3\xA9\r\n"
                "emoji=\xF0\x9F\x8E\xAE\r\nbad=a\xFF" "b\r\nlist=x,\xC3\xA9\r\n");
  ASSERT_TRUE(ini.SelectSection("S"));
  EXPECT_EQ(ini.ReadWideString("ru", -1), u"\u0418\u0433\u0440\u0430");
  EXPECT_EQ(ini.ReadWideString("fr", -1), u"Quitter \u00E9t\u00E9");
  EXPECT_EQ(ini.ReadWideString("emoji", -1), u"\U0001F3AE");
  EXPECT_EQ(ini.ReadWideString("bad", -1), u"a\uFFFDb");
  EXPECT_EQ(ini.ReadWideString("list", 2), u"\u00E9");
  EXPECT_EQ(ini.ReadWideString("absent", -1), u"");
  EXPECT_EQ(ini.ReadString("ru", -1), "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0");  // bytes untouched
}

TEST(IniFileWrite, NewKeysGoAtTheEndOfTheSection) {
  TIniFile ini;
  LoadText(ini, "[Main]\r\na=1\r\n\r\n[Next]\r\nb=2");
  ASSERT_TRUE(ini.SelectSection("Main"));
  ini.WriteString("Whole", "x, y", -1);
  ini.WriteString("Third", "Value", 3);
  ini.WriteString("Zero", "ignored", 0);
  EXPECT_EQ(ini.CurrentKey, 4);
  ini.WriteString("", "nameless", -1);  // never found: a new empty line each time
  EXPECT_EQ(SavedText(ini), "[Main]\r\na=1\r\n\r\nWhole=x, y\r\nThird=,,Value\r\nZero=\r\n\r\n[Next]\r\nb=2");
  EXPECT_EQ(ini.ReadString("Whole", -1), "x, y");
  EXPECT_EQ(ini.ReadString("Third", 3), "Value");
  EXPECT_EQ(ini.ReadString("", -1), "");
}

TEST(IniFileWrite, FoundKeysKeepTheirPlaceAndFirstItem) {
  TIniFile ini;
  LoadText(ini, "[Main]\r\nMusic_Enable = Yes \r\nlist=a,b\r\nwhole=a,b\r\nraw=a,b\r\nread=a,b\r\nMusic_Enable=second");
  ASSERT_TRUE(ini.SelectSection("Main"));
  ini.WriteString("Music_Enable", "No", -1);
  ini.WriteString("list", "Z", 4);          // unparsed line cut first, then grown
  ASSERT_EQ(ini.ReadString("whole", -1), "a,b");
  ini.WriteString("whole", "Z", 2);         // held whole: stays item 1
  ini.WriteString("raw", "v,w", -1);        // stored as passed, not cut
  EXPECT_EQ(ini.ReadString("raw", -1), "v,w");
  ASSERT_EQ(ini.ReadString("read", 2), "b");
  ini.WriteString("read", "Z", -1);         // the whole value replaces every item
  EXPECT_EQ(ini.ReadString("read", 2), "");
  EXPECT_EQ(SavedText(ini),
            "[Main]\r\nMusic_Enable=No\r\nlist=a,b,,Z\r\nwhole=a,b,Z\r\nraw=v,w\r\nread=Z\r\nMusic_Enable=second");
  // The value is kept byte for byte, line breaks included.
  ini.WriteString("raw", " two\r\nlines ", -1);
  EXPECT_EQ(ini.ReadString("raw", -1), " two\r\nlines ");
}

struct SaveCase {
  const char* input;
  const char* saved;
};

TEST(IniFileSave, LineBreaksBetweenLinesOnly) {
  const SaveCase cases[] = {
      {"", ""},
      {"[Main]", "[Main]"},
      {"[Main]\r\n", "[Main]"},
      {"[A]\r\n[B]\r\n", "[A]\r\n[B]"},
      {"a=1\r\n", "a=1"},
      {"a=1\r\n\r\n", "a=1\r\n"},
      {"[Main] ; options\r\nk=v", "[Main] ; options\r\nk=v"},
      {"[ Main ]\r\nk=v", "[Main]\r\nk=v"},
      {"[]\r\nk=v", "k=v"},
      {"  lead\r\n[S]\r\n\tk = v \r\n", "lead\r\n[S]\r\nk = v"},
      {"[Open\r\nk=v", "[Open]\r\nk=v"},
      {"[A]]x\r\n", "[A]]x"},
      {"\r\n\r\n[A]", "\r\n\r\n[A]"},
  };
  for (const auto& c : cases) {
    TIniFile ini;
    LoadText(ini, c.input);
    EXPECT_EQ(SavedText(ini), c.saved) << '"' << c.input << '"';
  }
}

class IniFileOnDisk : public ::testing::Test {
 protected:
  std::string Native(const char* name) const { return dir_.NativePath() + "/" + name; }
  std::string Engine(const char* name) const { return dir_.EnginePath() + name; }
  test::TempDir dir_;
};

TEST_F(IniFileOnDisk, LoadOfAMissingFileCreatesItEmpty) {
  TIniFile ini;
  ini.Load(Engine("Texts.Ini"));
  EXPECT_TRUE(test::NativeFileExists(Native("Texts.Ini")));
  EXPECT_TRUE(ini.Sections.empty());
  EXPECT_FALSE(ini.SelectSection("Launcher"));
  EXPECT_EQ(ini.ReadString("k", -1), "");
  EXPECT_EQ(ini.ReadInteger("k", -1, 7), 7);
  EXPECT_EQ(ini.Folder, dir_.EnginePath());
  EXPECT_EQ(ini.FileName, "Texts.Ini");
  ini.Save();
  EXPECT_EQ(test::ReadNativeFile(Native("Texts.Ini")), "");
}

TEST_F(IniFileOnDisk, SaveRewritesInPlaceAndCutsLongerContent) {
  test::WriteNativeFile(Native("Options_Game.ini"),
                        "; game options\r\n[Main]\r\nScreen_Windowed = No\r\nOther=kept   \r\n" + std::string(500, ' ') + "x\r\n");
  TIniFile ini;
  ini.Load(Engine("Options_Game.ini"));
  ASSERT_TRUE(ini.SelectSection("Main"));
  EXPECT_EQ(ini.ReadString("Screen_Windowed", -1), "No");
  ini.WriteString("Screen_Windowed", "Yes", -1);
  ini.Save();
  const std::string expected = "; game options\r\n[Main]\r\nScreen_Windowed=Yes\r\nOther=kept\r\nx";
  EXPECT_EQ(test::ReadNativeFile(Native("Options_Game.ini")), expected);
  ini.Save(Engine("copy.ini"));  // another path; the object is unchanged
  ini.Save();
  EXPECT_EQ(test::ReadNativeFile(Native("copy.ini")), expected);
  EXPECT_EQ(test::ReadNativeFile(Native("Options_Game.ini")), expected);
}

// Saves `ini` (to `path`, or where it was loaded from) in a child process
// whose files may not grow past `limit` bytes, as on a disk with that little
// room; the child's write errors are those of a full disk.
void SaveWithRoomFor(TIniFile& ini, rlim_t limit, const std::string& path = "") {
  EXPECT_EXIT(
      {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit room{};
        ::getrlimit(RLIMIT_FSIZE, &room);
        room.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &room);
        ini.Save(path);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

// The rewrite stays in place, but a full disk must not cost the player the
// options the file held: a new content that does not fit leaves it whole.
TEST_F(IniFileOnDisk, ASaveThatDoesNotFitLeavesTheOldContent) {
  const std::string old = "[Main]\r\nWindowed_Mode=No\r\n" + std::string(100, ';') + "\r\nMusic_Enable=Yes";
  test::WriteNativeFile(Native("Options_Game.ini"), old);
  TIniFile ini;
  ini.Load(Engine("Options_Game.ini"));
  ASSERT_TRUE(ini.SelectSection("Main"));
  ini.WriteString("Windowed_Mode", "Yes", -1);
  ini.WriteString("Render_Note", std::string(300, 'n'), -1);
  SaveWithRoomFor(ini, old.size() + 100);
  EXPECT_EQ(test::ReadNativeFile(Native("Options_Game.ini")), old);

  // With room enough the same save goes through, in place.
  SaveWithRoomFor(ini, old.size() + 400);
  EXPECT_EQ(test::ReadNativeFile(Native("Options_Game.ini")), SavedText(ini));

  // A shorter content needs no room beyond the file's and is cut to its length.
  ini.WriteString("Render_Note", "n", -1);
  SaveWithRoomFor(ini, test::ReadNativeFile(Native("Options_Game.ini")).size());
  EXPECT_EQ(test::ReadNativeFile(Native("Options_Game.ini")), SavedText(ini));
}

// The first save of the player's copy, made on the first run, onto a nearly
// full disk: no half of the file either. An empty file stays empty; one the
// save itself makes goes again, so that the next start makes it anew.
TEST_F(IniFileOnDisk, ASaveThatDoesNotFitLeavesAnEmptyFileEmptyAndMakesNone) {
  test::WriteNativeFile(Native("default.ini"),
                        "[Main]\r\nWindowed_Mode=No\r\n" + std::string(200, ';') + "\r\nMusic_Enable=Yes");
  TIniFile ini;
  ini.Load(Engine("default.ini"));
  for (const bool existed : {true, false}) {
    SCOPED_TRACE(existed ? "an empty file" : "no file before the save");
    std::remove(Native("Options_Game.ini").c_str());
    if (existed) test::WriteNativeFile(Native("Options_Game.ini"), "");
    SaveWithRoomFor(ini, 100, Engine("Options_Game.ini"));
    EXPECT_EQ(test::NativeFileExists(Native("Options_Game.ini")), existed);
    EXPECT_EQ(test::ReadNativeFile(Native("Options_Game.ini")), "");
    // With room enough the file is written whole.
    SaveWithRoomFor(ini, SavedText(ini).size(), Engine("Options_Game.ini"));
    EXPECT_EQ(test::ReadNativeFile(Native("Options_Game.ini")), SavedText(ini));
  }
}

TEST_F(IniFileOnDisk, SaveToAnUnopenablePathDoesNothing) {
  TIniFile ini;
  LoadText(ini, "[Main]\r\na=1");
  ini.Save(Engine("missing\\x.ini"));  // missing folder
  ini.Save();                           // never loaded: empty path
  EXPECT_FALSE(test::NativeFileExists(Native("missing")));
  EXPECT_EQ(SavedText(ini), "[Main]\r\na=1");
}

TEST_F(IniFileOnDisk, ClearKeepsThePathOfTheLastLoad) {
  test::WriteNativeFile(Native("a.ini"), "[S]\r\nk=v");
  TIniFile ini;
  ini.Load(Engine("a.ini"));
  ASSERT_TRUE(ini.SelectSection("S"));
  ini.Clear();
  EXPECT_TRUE(ini.Sections.empty());
  EXPECT_EQ(ini.CurrentSection, -1);
  EXPECT_EQ(ini.CurrentKey, -1);
  EXPECT_EQ(ini.FileName, "a.ini");
  ini.Save();
  EXPECT_EQ(test::ReadNativeFile(Native("a.ini")), "");
}

TEST(IniFilePath, SplitsAtTheLastBackslashOnly) {
  test::TempDir dir;
  const std::string native = dir.NativePath() + "/x.ini";
  test::WriteNativeFile(native, "");
  TIniFile ini;
  ini.Load(dir.EnginePath() + "x.ini");
  EXPECT_EQ(ini.Folder + ini.FileName, dir.EnginePath() + "x.ini");
  ini.Load(native);  // forward slashes separate nothing for the engine
  EXPECT_EQ(ini.Folder, "");
  EXPECT_EQ(ini.FileName, native);
}

}  // namespace
