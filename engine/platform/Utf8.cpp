#include "Utf8.h"

namespace platform::utf8 {

std::size_t SequenceLength(const std::string& text, std::size_t at) {
  if (at >= text.size()) return 0;
  const auto b = static_cast<unsigned char>(text[at]);
  if (b < 0x80) return 1;
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    if (b == 0xE0) low = 0xA0;   // no overlong forms
    if (b == 0xED) high = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(text[at + k]);
    if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return 0;
  }
  return length;
}

char32_t Decode(const std::string& text, std::size_t at, std::size_t length) {
  static const unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t cp = static_cast<unsigned char>(text[at]) & kLeadMask[length];
  for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3Fu);
  return cp;
}

void Append(std::string& text, char32_t cp) {
  if (cp < 0x80) {
    text.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    text.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    text.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    text.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    text.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    text.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    text.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace platform::utf8
