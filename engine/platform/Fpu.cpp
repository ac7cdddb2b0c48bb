// The floating-point control, kept in the layout of the x87 control word.
//
// On i686 the x87 unit does the program's floating point, so its control word
// is read and written directly. On x86_64 the compiler uses SSE, whose control
// register has the same six exception masks (bits 7-12) and the same rounding
// encoding (bits 13-14); precision control has no SSE counterpart. Elsewhere
// the C floating-point environment gives rounding and the exception flags.
#include "Platform.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#elif !defined(__i386__)
#include <cfenv>
#endif

namespace platform {
namespace {
constexpr std::uint16_t kMaskBits = 0x003F;
constexpr std::uint16_t kPrecisionExtended = 0x0300;
constexpr std::uint16_t kRoundingBits = 0x0C00;
}  // namespace

#if defined(__i386__)

std::uint16_t GetFpuControlWord() {
  std::uint16_t word = 0;
  __asm__ __volatile__("fnstcw %0" : "=m"(word));
  return word;
}

void SetFpuControlWord(std::uint16_t word) { __asm__ __volatile__("fldcw %0" : : "m"(word)); }

void ClearFpuExceptions() { __asm__ __volatile__("fnclex"); }

#elif defined(__x86_64__) || defined(_M_X64)

std::uint16_t GetFpuControlWord() {
  const unsigned csr = _mm_getcsr();
  const auto masks = static_cast<std::uint16_t>((csr >> 7) & kMaskBits);
  const auto rounding = static_cast<std::uint16_t>(((csr >> 13) & 3u) << 10);
  return static_cast<std::uint16_t>(masks | kPrecisionExtended | rounding);
}

void SetFpuControlWord(std::uint16_t word) {
  unsigned csr = _mm_getcsr();
  csr &= ~((0x3Fu << 7) | (3u << 13));
  csr |= static_cast<unsigned>(word & kMaskBits) << 7;
  csr |= static_cast<unsigned>((word & kRoundingBits) >> 10) << 13;
  _mm_setcsr(csr);
}

void ClearFpuExceptions() { _mm_setcsr(_mm_getcsr() & ~0x3Fu); }

#else

// Only rounding can be set portably; exceptions stay masked, as C requires
// by default.
std::uint16_t GetFpuControlWord() {
  std::uint16_t rounding = 0;
  switch (std::fegetround()) {
    case FE_DOWNWARD: rounding = 1; break;
    case FE_UPWARD: rounding = 2; break;
    case FE_TOWARDZERO: rounding = 3; break;
    default: rounding = 0; break;
  }
  return static_cast<std::uint16_t>(kMaskBits | kPrecisionExtended | (rounding << 10));
}

void SetFpuControlWord(std::uint16_t word) {
  static const int kModes[] = {FE_TONEAREST, FE_DOWNWARD, FE_UPWARD, FE_TOWARDZERO};
  std::fesetround(kModes[(word & kRoundingBits) >> 10]);
}

void ClearFpuExceptions() { std::feclearexcept(FE_ALL_EXCEPT); }

#endif

}  // namespace platform
