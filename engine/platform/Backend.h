// What each backend provides behind the replaceable parts of Platform.h.
#pragma once

#include <cstdint>
#include <string>

#include "Platform.h"

namespace platform::backend {

std::uint32_t TimerTime();
std::string ModuleFileName();
std::string ShortPathName(const std::string& path);
void ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t style);
ScreenSize PrimaryScreenSize();
std::uint32_t AnsiCodePage();
void SleepFor(std::uint32_t milliseconds);
bool StartProcess(const std::string& commandText, std::uint32_t creationFlags, std::uint16_t showCommand,
                  ProcessInfo& info);
std::intptr_t AssociatedProgram(const std::string& file, std::string& program);
[[noreturn]] void EndProcess(std::uint32_t code);

}  // namespace platform::backend
