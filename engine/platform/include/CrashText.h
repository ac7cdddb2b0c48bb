// The words of a crash report, from what the system's exception record says.
// Portable, so that the text is tested natively; the Win32 backend fills the
// record (win32/Win32Crash.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

struct CrashRecord {
  std::uint32_t code = 0;      // the exception code (0xC0000005, ...)
  std::uintptr_t address = 0;  // the instruction it happened at
  // The exception's parameters; an access violation's are the kind of access
  // (0 read, 1 write, 8 execute) and the address it was denied.
  std::uint32_t parameterCount = 0;
  std::uintptr_t parameters[2] = {};
  // The file name of the module that holds `address`, and its base; an empty
  // name when no module does.
  std::string module;
  std::uintptr_t moduleBase = 0;
  const char* step = nullptr;  // the step running (SetCrashStep), or null
};

// The exception's name: "Access violation", "Stack overflow", ...
const char* ExceptionName(std::uint32_t code);

// One line: the name, the code, the denied access where there is one, where
// it happened as module+offset, and the step. For example
// "Access violation (0xC0000005) writing address 0x0 at d3d9.dll+0x1a2b3 during MachineChecks.Graphics".
std::string CrashLine(const CrashRecord& record);

// The text of the box that follows the line.
std::string CrashBoxText(const std::string& line);

}  // namespace platform
