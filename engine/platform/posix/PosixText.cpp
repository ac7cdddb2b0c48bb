// Text conversions of the POSIX backend. The ANSI code page here is
// Windows-1252, or UTF-8 when a test asks for it (as a program with the UTF-8
// manifest has it on Windows); UTF-8 is decoded with U+FFFD for each maximal
// ill-formed subsequence, as the Windows converter does.
#include "../Backend.h"
#include "Platform.h"
#include "Utf8.h"

namespace platform {

namespace {

constexpr std::uint32_t kWestern = 1252;

// The lower case of the scripts the launcher's texts are written in: Latin
// with its Western and Central European letters, Greek and Cyrillic, and the
// full-width Latin letters of CJK texts. Other characters stay as they are.
char32_t LowerCodePoint(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c == 0x130) return 'i';  // I with dot above: one byte shorter lowered
  if (c == 0x178) return 0xFF;
  if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
  return c;
}

void LowerUtf8(std::string& text) {
  std::string lower;
  lower.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = utf8::SequenceLength(text, at);
    if (length == 0) {
      lower.push_back(text[at++]);
      continue;
    }
    utf8::Append(lower, LowerCodePoint(utf8::Decode(text, at, length)));
    at += length;
  }
  text = std::move(lower);
}

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD, as on Windows.
std::string WideToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    utf8::Append(out, c);
  }
  return out;
}

}  // namespace

std::uint32_t backend::AnsiCodePage() { return kWestern; }

void LowerAnsiText(std::string& text) {
  if (AnsiCodePage() == kCodePageUtf8) return LowerUtf8(text);
  for (char& c : text) {
    const auto b = static_cast<unsigned char>(c);
    unsigned char lower = b;
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) {
      lower = static_cast<unsigned char>(b + 0x20);
    } else if (b == 0x8A || b == 0x8C || b == 0x8E) {  // S, OE, Z with caron or ligature
      lower = static_cast<unsigned char>(b + 0x10);
    } else if (b == 0x9F) {  // Y with diaeresis
      lower = 0xFF;
    }
    c = static_cast<char>(lower);
  }
}

// Windows-1252: Latin-1 but for 0x80-0x9F, which hold typographic marks.
std::string WideToAnsi(const std::u16string& text) {
  if (AnsiCodePage() == kCodePageUtf8) return WideToUtf8(text);
  static const char16_t k80To9F[32] = {
      0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
      0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char mapped = '?';
    for (int j = 0; j < 32; ++j) {
      if (k80To9F[j] != 0 && k80To9F[j] == c) mapped = static_cast<char>(0x80 + j);
    }
    // A surrogate pair is one character and gets one replacement.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
    out.push_back(mapped);
  }
  return out;
}

std::u16string Utf8ToUtf16(const char* bytes, std::size_t count) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes);
  std::u16string out;
  out.reserve(count);
  std::size_t i = 0;
  while (i < count) {
    const unsigned char b = s[i];
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    int need;
    char32_t cp;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      need = 1, cp = b & 0x1Fu;
    } else if (b >= 0xE0 && b <= 0xEF) {
      need = 2, cp = b & 0x0Fu;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      need = 3, cp = b & 0x07u;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < need; ++k, ++j) {
      const unsigned char lowEnd = k == 0 ? lo : 0x80, highEnd = k == 0 ? hi : 0xBF;
      if (j >= count || s[j] < lowEnd || s[j] > highEnd) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (s[j] & 0x3Fu);
    }
    if (!ok) {
      out.push_back(0xFFFD);
      i = j;  // the maximal subpart is replaced as one
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i = j;
  }
  return out;
}

}  // namespace platform
