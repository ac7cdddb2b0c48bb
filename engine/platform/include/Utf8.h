// UTF-8 as the ANSI code page 65001 holds it: what one character is, for the
// routines that walk 8-bit texts byte by byte.
#pragma once

#include <cstddef>
#include <string>

namespace platform::utf8 {

// The byte count of the well-formed character that starts at `text[at]`
// (1 to 4), or 0 when the bytes there form none: a stray continuation byte,
// an overlong form, a surrogate, a value past U+10FFFF or a sequence cut
// short.
std::size_t SequenceLength(const std::string& text, std::size_t at);

// The code point of the well-formed character of `length` bytes at `at`.
char32_t Decode(const std::string& text, std::size_t at, std::size_t length);

// Appends the UTF-8 bytes of a code point up to U+10FFFF.
void Append(std::string& text, char32_t codePoint);

}  // namespace platform::utf8
