// Replacements of a few platform calls for tests: the clock, the program's
// path, a path's short form, the message box, the screen size, the ANSI code
// page, sleeping, starting a process, the shell's association look-up and
// the process end.
// The shipped program installs none of them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Platform.h"

namespace platform {

struct Overrides {
  std::function<std::uint32_t()> timerTime = {};
  std::function<std::string()> moduleFileName = {};
  // Answers as ShortPathName does.
  std::function<std::string(const std::string& path)> shortPathName = {};
  std::function<void(const std::string& text, const std::string& caption, std::uint32_t style)>
      messageBox = {};
  std::function<ScreenSize()> screenSize = {};
  std::function<std::uint32_t()> ansiCodePage = {};
  std::function<void(std::uint32_t milliseconds)> sleep = {};
  // Answers as StartProcess does, in place of starting anything.
  std::function<bool(const std::string& commandText, std::uint32_t creationFlags, std::uint16_t showCommand,
                     ProcessInfo& info)>
      startProcess = {};
  // Answers as AssociatedProgram does: the shell's result, 32 or below on failure.
  std::function<std::intptr_t(const std::string& file, std::string& program)> associatedProgram = {};
  // Runs before the process ends; it may end the process itself.
  std::function<void(std::uint32_t code)> endProcess = {};
};

// Installs the given replacements for its lifetime and restores the earlier
// ones when it ends, so no replacement outlives the test that made it.
// Members left empty keep the earlier behaviour.
class ScopedOverrides {
 public:
  explicit ScopedOverrides(Overrides overrides);
  ~ScopedOverrides();
  ScopedOverrides(const ScopedOverrides&) = delete;
  ScopedOverrides& operator=(const ScopedOverrides&) = delete;

 private:
  Overrides previous_;
};

}  // namespace platform
