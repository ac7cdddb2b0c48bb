// The engine's lenient number reading, shared by TextToInt and
// TIniFile::ReadInteger, which differ only in what an overflow means.
#pragma once

#include <cstdint>
#include <string>

namespace vk9_system {

// Digits of `trimmed` from left to right, every other byte skipped, negated
// when a "-" is anywhere. False when the digits pass 2147483647.
inline bool ParseLooseInteger(const std::string& trimmed, std::int32_t& value) {
  std::int32_t magnitude = 0;
  bool negative = false;
  for (const char c : trimmed) {
    if (c >= '0' && c <= '9') {
      const int digit = c - '0';
      if (magnitude > (INT32_MAX - digit) / 10) return false;
      magnitude = magnitude * 10 + digit;
    } else if (c == '-') {
      negative = true;
    }
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace vk9_system
