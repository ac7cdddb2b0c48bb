// Text and number routines.
#include "NumberParsing.h"
#include "Utf8.h"
#include "VK9_System.h"

#include <algorithm>
#include <cstring>

std::string TrimText(const std::string& s) {
  std::size_t first = 0, last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) <= 32) --last;
  return s.substr(first, last - first);
}

std::string LowerText(const std::string& s) {
  std::string lower = s;
  platform::LowerAnsiText(lower);
  return lower;
}

namespace {

// The byte length of the first `characters` characters of S.
std::size_t CharacterBytes(const std::string& s, std::size_t characters) {
  if (platform::AnsiCodePage() != platform::kCodePageUtf8) return std::min(characters, s.size());
  std::size_t end = 0;
  for (std::size_t n = 0; n < characters && end < s.size(); ++n) {
    end += std::max<std::size_t>(platform::utf8::SequenceLength(s, end), 1);
  }
  return end;
}

}  // namespace

std::string CutText(const std::string& s, std::size_t characters) { return s.substr(0, CharacterBytes(s, characters)); }

std::size_t TextLength(const std::string& s) {
  if (platform::AnsiCodePage() != platform::kCodePageUtf8) return s.size();
  std::size_t length = 0;
  for (std::size_t at = 0; at < s.size(); ++length) at += std::max<std::size_t>(platform::utf8::SequenceLength(s, at), 1);
  return length;
}

std::string ReplaceText(const std::string& source, const std::string& find, const std::string& replace) {
  if (find == replace || find.empty()) return source;
  // Every search starts again at the beginning, so a Replace holding Find
  // would be found and replaced for ever.
  if (replace.find(find) != std::string::npos) {
    throw EArgumentException("ReplaceText: the replacement \"" + replace + "\" contains the searched text \"" + find + "\"");
  }
  std::string text = source;
  for (std::size_t at = text.find(find); at != std::string::npos; at = text.find(find)) {
    text.replace(at, find.size(), replace);
  }
  return text;
}

std::int32_t TextToInt(const std::string& s) {
  std::int32_t value = 0;
  if (!vk9_system::ParseLooseInteger(TrimText(s), value)) {
    throw ERangeError("Range check error: the number \"" + s + "\" does not fit a signed 32-bit value");
  }
  return value;
}

bool TextToBool(const std::string& s) {
  const std::string t = LowerText(TrimText(s));
  return !t.empty() && (t[0] == 't' || t[0] == 'y');
}

std::string IntToText(std::int64_t value) {
  // Through the unsigned magnitude, so the most negative value has one too.
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char digits[21];
  char* p = digits + sizeof digits;
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--p = '-';
  return std::string(p, digits + sizeof digits);
}

std::string IntToTextPadded(std::int32_t width, std::int64_t value) {
  std::string text = IntToText(value);
  if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
    text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
  }
  return text;
}
