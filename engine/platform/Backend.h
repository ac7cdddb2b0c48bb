// What each backend provides behind the replaceable parts of Platform.h.
#pragma once

#include <cstdint>
#include <string>

#include "Platform.h"

namespace platform::backend {

std::uint32_t TimerTime();
std::string ModuleFileName();
void ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t style);
ScreenSize PrimaryScreenSize();
std::uint32_t AnsiCodePage();

}  // namespace platform::backend
