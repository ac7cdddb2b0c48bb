// The log's lines: time columns, the Differ column, the kinds and the empty
// lines between them, all against a controlled clock.
#include <gtest/gtest.h>

#include <cstdio>

#include "EngineFixture.h"

namespace {

class LogTest : public test::EngineTest {
 protected:
  // Starts at timer 10,000 and drops the two start-up lines.
  void SetUp() override {
    StartEngine(10000);
    ASSERT_FALSE(LogDisabled);
    ASSERT_EQ(LogLines().size(), 2u);
  }
  // Writes at `elapsed` ms after the log started; returns the new lines.
  std::vector<std::string> At(std::int32_t elapsed, const std::string& label, const std::string& text,
                              std::uint8_t kind) {
    const std::size_t before = LogLines().size();
    SetClock(static_cast<std::uint32_t>(10000 + elapsed));
    WriteLog(label, text, kind);
    std::vector<std::string> lines = LogLines();
    return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end());
  }
  using Lines = std::vector<std::string>;
};

TEST_F(LogTest, StartsWithTheHeaderAndTheStartLines) {
  EXPECT_EQ(LogBytes(),
            "Debug Information Engine (v. 0.9 MT)\r\n"
            "Copyright (c) Ostrelund engine developers\r\n"
            "\r\n"
            "Hr:Mn: MSec: Differ:\r\n"
            " 0: 0:    0\t     Start logging \r\n"
            " 0: 0:    0\t     VK9_System.Initialization \r\n");
}

TEST_F(LogTest, TimeColumnsAndDifferColumn) {
  EXPECT_EQ(At(3723336, "A", "", 0), Lines{" 1: 2: 33363723.336  A "});
  EXPECT_EQ(At(3723456, "RENDER", "Render.Create", 0), Lines{" 1: 2: 3456   0.120  RENDER Render.Create"});
  EXPECT_EQ(At(3723456, "Same", "ms", 0), Lines{" 1: 2: 3456\t     Same ms"});
  EXPECT_EQ(LastLineTime, 3723456);
  EXPECT_EQ(At(3723461, "B", "", 0), Lines{" 1: 2: 3461   0.005  B "});
  EXPECT_EQ(At(3784695, "C", "", 0), Lines{" 1: 3: 4695  61.234  C "});
}

TEST_F(LogTest, WideColumnsAreWrittenWhole) {
  EXPECT_EQ(At(59999, "A", "", 0), Lines{" 0: 0:59999  59.999  A "});
  EXPECT_EQ(At(360000000, "B", "", 0), Lines{"100: 0:    0359940.001  B "});
  EXPECT_EQ(At(370000000, "C", "", 0), Lines{"102:46:4000010000.000  C "});
}

TEST_F(LogTest, KindsAndTheirLines) {
  EXPECT_EQ(At(5, "ignored", "Shaders supported:", 1), Lines{"\t\t     Shaders supported:"});
  EXPECT_EQ(At(6, "ignored", "plain text", 2), Lines{"plain text"});
  EXPECT_EQ(At(7, "ignored", "x", 8), Lines{});
  EXPECT_EQ(LastLogKind, 8);
  EXPECT_EQ(At(8, "Big", "", 200), Lines{});
}

TEST_F(LogTest, KindThreeChangesNothing) {
  At(100, "A", "", 0);
  const std::string before = LogBytes();
  At(500, "B", "text", 3);
  EXPECT_EQ(LogBytes(), before);
  EXPECT_EQ(LastLineTime, 100);
  EXPECT_EQ(LastLogKind, 0);
}

TEST_F(LogTest, TimedSectionsMeasureAndReset) {
  // A section start with no text writes nothing and keeps the last kind, but
  // the Differ state still moves on.
  EXPECT_EQ(At(1000, "Load", "", 4), Lines{});
  EXPECT_EQ(SectionStart, 11000);
  EXPECT_EQ(LastLogKind, 0);
  EXPECT_EQ(LastLineTime, 1000);
  EXPECT_EQ(At(1250, "", "Textures", 6), (Lines{"", "\t      0.250  Textures"}));
  EXPECT_EQ(At(1300, "", "Meshes", 6), Lines{"\t      0.050  Meshes"});
  EXPECT_EQ(At(2000, "Level", "Loading level", 5), (Lines{"", " 0: 0: 2000   0.700  Level Loading level"}));
  EXPECT_EQ(At(2300, "", "part", 7), Lines{"\t      0.300  part"});
  // After a subsection line, any line with text gets an empty line first.
  EXPECT_EQ(At(2400, "", "part", 7), (Lines{"", "\t      0.100  part"}));
  EXPECT_EQ(At(2500, "", "whole", 6), (Lines{"", "\t      0.500  whole"}));
  EXPECT_EQ(At(2600, "After", "", 0), (Lines{"", " 0: 0: 2600   0.100  After "}));
  EXPECT_EQ(At(12600, "", "long", 6), (Lines{"", "\t     10.100  long"}));
}

struct EmptyLineCase {
  std::uint8_t lastKind;
  std::uint8_t kind;
  const char* text;
  bool emptyLine;
};

TEST_F(LogTest, EmptyLineBeforeAnEntryByKind) {
  const EmptyLineCase cases[] = {
      {0, 0, "", false}, {4, 0, "", true},  {7, 1, "t", true},  {6, 2, "t", true},  {8, 0, "", false},
      {0, 4, "t", true}, {5, 4, "t", false}, {6, 4, "t", false}, {7, 4, "t", true},
      {0, 5, "t", true}, {5, 5, "t", true}, {0, 5, "", false}, {0, 4, "", false},
      {0, 6, "", true},  {4, 6, "t", false}, {6, 6, "t", false}, {7, 6, "", false}, {7, 6, "t", true},
      {7, 7, "t", true}, {7, 7, "", false},  {6, 7, "t", false}, {7, 9, "t", true},
  };
  std::int32_t t = 0;
  for (const auto& c : cases) {
    LastLogKind = c.lastKind;
    const Lines lines = At(t += 10, "L", c.text, c.kind);
    // Kinds 4 and 5 without text, and 8 and above, write no entry of their own.
    const bool noEntry = c.kind >= 8 || ((c.kind == 4 || c.kind == 5) && *c.text == '\0');
    ASSERT_FALSE(lines.empty() && !noEntry) << int(c.lastKind) << "->" << int(c.kind);
    const bool empty = !lines.empty() && lines.front().empty() && (lines.size() > 1 || noEntry);
    EXPECT_EQ(empty, c.emptyLine) << "after kind " << int(c.lastKind) << ", kind " << int(c.kind) << " text '"
                                  << c.text << "'";
  }
}

TEST_F(LogTest, DisabledLogTouchesNothing) {
  const std::string before = LogBytes();
  LogDisabled = true;
  At(100, "A", "text", 0);
  At(200, "B", "text", 6);
  EXPECT_EQ(LogBytes(), before);
  EXPECT_EQ(LastLineTime, 0);
  EXPECT_EQ(LastLogKind, 0);
  EXPECT_EQ(SectionStart, 10000);
}

TEST_F(LogTest, ErrorsReachTheCallerAndReleaseTheLock) {
  At(100, "A", "", 0);
  SetClock(0x80000000u);
  EXPECT_THROW(WriteLog("B", "", 1), ERangeError);

  std::remove(test::ToNative(LogFileName).c_str());
  SetClock(10300);
  EXPECT_THROW(WriteLog("C", "", 6), EInOutError);
  EXPECT_EQ(LastLogKind, 0);
  EXPECT_EQ(SectionStart, 10000);

  test::WriteNativeFile(test::ToNative(LogFileName), "");
  SetClock(10400);
  WriteLog("D", "", 0);  // the lock is free again
  EXPECT_EQ(LogBytes(), " 0: 0:  400   0.100  D \r\n");
}

}  // namespace
