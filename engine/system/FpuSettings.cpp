// The engine's floating-point setters over the x87-style control word.
#include "RangeCheck.h"
#include "VK9_System.h"

namespace {
// Replaces `width` bits at `shift` and returns what they held before.
std::uint8_t ReplaceControlBits(unsigned shift, unsigned width, std::uint8_t value) {
  const unsigned mask = (1u << width) - 1u;
  if (value > mask) throw ERangeError("Range check error: " + std::to_string(value) + " does not fit the control field");
  const std::uint16_t word = platform::GetFpuControlWord();
  const auto previous = static_cast<std::uint8_t>((word >> shift) & mask);
  platform::SetFpuControlWord(static_cast<std::uint16_t>((word & ~(mask << shift)) | (unsigned{value} << shift)));
  return previous;
}
}  // namespace

std::uint8_t SetFPURoundMode(std::uint8_t mode) { return ReplaceControlBits(10, 2, mode); }
std::uint8_t SetFPUPrecision(std::uint8_t precision) { return ReplaceControlBits(8, 2, precision); }
void ClearFPUExceptions() { platform::ClearFpuExceptions(); }
std::uint8_t SetFPUExceptionMask(std::uint8_t mask) { return ReplaceControlBits(0, 6, mask); }
