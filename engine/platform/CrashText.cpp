// The words of a crash report.
#include "CrashText.h"

namespace platform {
namespace {

struct Named {
  std::uint32_t code;
  const char* name;
};

// The exceptions the system raises for a program's faults, and the one a
// Microsoft-built driver's C++ runtime raises for what it throws.
constexpr Named kNames[] = {
    {0x80000002u, "Data type misalignment"},
    {0x80000003u, "Breakpoint"},
    {0x80000004u, "Single step"},
    {0xC0000005u, "Access violation"},
    {0xC0000006u, "In-page error"},
    {0xC0000008u, "Invalid handle"},
    {0xC000001Du, "Illegal instruction"},
    {0xC0000025u, "Noncontinuable exception"},
    {0xC0000026u, "Invalid disposition"},
    {0xC000008Cu, "Array bounds exceeded"},
    {0xC000008Du, "Floating-point denormal operand"},
    {0xC000008Eu, "Floating-point division by zero"},
    {0xC000008Fu, "Floating-point inexact result"},
    {0xC0000090u, "Floating-point invalid operation"},
    {0xC0000091u, "Floating-point overflow"},
    {0xC0000092u, "Floating-point stack check"},
    {0xC0000093u, "Floating-point underflow"},
    {0xC0000094u, "Integer division by zero"},
    {0xC0000095u, "Integer overflow"},
    {0xC0000096u, "Privileged instruction"},
    {0xC00000FDu, "Stack overflow"},
    {0xC0000374u, "Heap corruption"},
    {0xC0000409u, "Stack buffer overrun"},
    {0xE06D7363u, "Unhandled Microsoft C++ exception"},
};

constexpr std::uint32_t kAccessViolation = 0xC0000005u;
constexpr std::uint32_t kInPageError = 0xC0000006u;

std::string Hex(std::uintptr_t value, std::size_t digits, const char* alphabet) {
  std::string text;
  do {
    text.insert(text.begin(), alphabet[value % 16]);
    value /= 16;
  } while (value != 0);
  if (text.size() < digits) text.insert(0, digits - text.size(), '0');
  return "0x" + text;
}

std::string Address(std::uintptr_t value) { return Hex(value, 1, "0123456789abcdef"); }

const char* AccessName(std::uintptr_t kind) {
  switch (kind) {
    case 0: return "reading";
    case 1: return "writing";
    case 8: return "executing";
    default: return "accessing";
  }
}

}  // namespace

const char* ExceptionName(std::uint32_t code) {
  for (const Named& named : kNames) {
    if (named.code == code) return named.name;
  }
  return "Unknown exception";
}

std::string CrashLine(const CrashRecord& record) {
  std::string line = ExceptionName(record.code);
  line += " (" + Hex(record.code, 8, "0123456789ABCDEF") + ")";
  const bool deniedAccess = record.code == kAccessViolation || record.code == kInPageError;
  if (deniedAccess && record.parameterCount >= 2) {
    line += std::string(" ") + AccessName(record.parameters[0]) + " address " + Address(record.parameters[1]);
  }
  line += " at ";
  line += record.module.empty() ? Address(record.address) + " in no module"
                                : record.module + "+" + Address(record.address - record.moduleBase);
  if (record.step) line += std::string(" during ") + record.step;
  return line;
}

std::string CrashBoxText(const std::string& line) { return "The program crashed and has to close:\r\n\r\n" + line; }

}  // namespace platform
