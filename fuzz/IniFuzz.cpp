// libFuzzer target for TIniFile: loads fuzzed bytes, runs a few fuzzed finds,
// reads and writes on them, and saves.
//
// Input layout:
//   byte 0          operation count, its low 4 bits (so "0" is none)
//   4 bytes per op  kind, name, item, value
//   the rest        the ini file
// Kind (mod 7): SelectSection, KeyExists, ReadString, ReadWideString,
// ReadInteger, ReadBool, WriteString. Name below 128 picks a section or key
// name seen in the file (or ""), 128 and up cuts a few bytes out of the file.
// Item is -2..5. Value below 64 picks a fixed value, 64 and up cuts bytes out
// of the file.
//
// Beyond sanitizer reports, it checks that lines nobody found come back: the
// trimmed non-header lines of the input are an ordered subsequence of the
// trimmed saved lines. That holds for every line when no read or write was
// made, and for lines without "=" always, since no key can match them.
#include "VK9_System.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Byte = std::uint8_t;
using Line = std::string_view;

bool IsBlank(char c) { return static_cast<Byte>(c) <= 32; }

Line Trimmed(Line s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Lines end at LF only; each comes back trimmed.
std::vector<Line> TrimmedLines(Line text) {
  std::vector<Line> lines;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    lines.push_back(Trimmed(text.substr(0, lf)));
    text = lf == Line::npos ? Line() : text.substr(lf + 1);
  }
  return lines;
}

bool IsHeader(Line trimmed) { return !trimmed.empty() && trimmed.front() == '['; }

// `wanted` in order within `saved`; greedy matching finds a subsequence when
// there is one.
bool IsSubsequence(const std::vector<Line>& wanted, const std::vector<Line>& saved) {
  std::size_t s = 0;
  for (const Line w : wanted) {
    while (s < saved.size() && saved[s] != w) ++s;
    if (s == saved.size()) return false;
    ++s;
  }
  return true;
}

// Section names and the names in front of "=", as the file spells them, plus
// the empty name.
std::vector<std::string> NamesIn(const TIniFile& ini, const std::vector<Line>& lines) {
  std::vector<std::string> names{std::string()};
  for (const TIniSection& section : ini.Sections) names.push_back(section.Name);
  for (const Line line : lines) {
    const std::size_t equals = line.find('=');
    if (!IsHeader(line) && equals != Line::npos) names.emplace_back(Trimmed(line.substr(0, equals)));
  }
  return names;
}

// Up to 8 bytes of the file from a place chosen by `selector`.
std::string Slice(Line ini, Byte selector) {
  const std::size_t start = ini.empty() ? 0 : (static_cast<std::size_t>(selector) * 37) % ini.size();
  return std::string(ini.substr(start, selector % 9));
}

constexpr std::array<const char*, 12> kValues{
    "", "0", "1", "-7", " yes ", "no", "a,b", "\"x,y\",z", "[1,2],(3,4),{5,6}", "99999999999", "\xC3\xA9\xFF", "x\ny=1"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t control = size > 0 ? 1 : 0;
  const std::size_t ops = control == 0 ? 0 : std::min<std::size_t>(data[0] & 15u, (size - 1) / 4);
  const Byte* const table = data + control;
  const std::size_t iniOffset = control + ops * 4;
  const Line ini(reinterpret_cast<const char*>(data) + iniOffset, size - iniOffset);

  TIniFile file;
  file.LoadFromBytes(reinterpret_cast<const Byte*>(ini.data()), ini.size());

  const std::vector<Line> inputLines = TrimmedLines(ini);
  const std::vector<std::string> names = NamesIn(file, inputLines);
  const auto nameOf = [&](Byte selector) {
    return selector < 128 ? names[selector % names.size()] : Slice(ini, selector);
  };

  bool readOrWrite = false;
  for (std::size_t i = 0; i < ops; ++i) {
    const Byte* const op = table + i * 4;
    const std::string name = nameOf(op[1]);
    const std::int32_t item = static_cast<std::int32_t>(op[2] % 8) - 2;
    const std::string value = op[3] < 64 ? std::string(kValues[op[3] % kValues.size()]) : Slice(ini, op[3]);
    const int kind = op[0] % 7;
    if (kind != 0) readOrWrite = true;
    switch (kind) {
      case 0: file.SelectSection(name); break;
      case 1: file.KeyExists(name); break;
      case 2: file.ReadString(name, item); break;
      case 3: file.ReadWideString(name, item); break;
      case 4: file.ReadInteger(name, item, -1); break;
      case 5: file.ReadBool(name, item, (op[3] & 1) != 0); break;
      default: file.WriteString(name, value, item); break;
    }
  }

  const TByteArray savedBytes = file.SavedBytes();
  const std::vector<Line> saved =
      TrimmedLines(Line(reinterpret_cast<const char*>(savedBytes.data()), savedBytes.size()));

  std::vector<Line> kept;
  for (const Line line : inputLines) {
    if (line.empty() || IsHeader(line)) continue;
    if (!readOrWrite || line.find('=') == Line::npos) kept.push_back(line);
  }
  if (!IsSubsequence(kept, saved)) __builtin_trap();
  return 0;
}
