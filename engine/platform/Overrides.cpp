// Routes the clock, the program's path, the message box, the screen size and
// the ANSI code page to a test's replacement, if any.
#include "Backend.h"
#include "Platform.h"

#include <utility>

namespace platform {
namespace {
Overrides& Active() {
  static Overrides active;
  return active;
}
}  // namespace

ScopedOverrides::ScopedOverrides(Overrides overrides) : previous_(Active()) {
  if (overrides.timerTime) Active().timerTime = std::move(overrides.timerTime);
  if (overrides.moduleFileName) Active().moduleFileName = std::move(overrides.moduleFileName);
  if (overrides.messageBox) Active().messageBox = std::move(overrides.messageBox);
  if (overrides.screenSize) Active().screenSize = std::move(overrides.screenSize);
  if (overrides.ansiCodePage) Active().ansiCodePage = std::move(overrides.ansiCodePage);
}

ScopedOverrides::~ScopedOverrides() { Active() = std::move(previous_); }

std::uint32_t TimerTime() {
  const Overrides& o = Active();
  return o.timerTime ? o.timerTime() : backend::TimerTime();
}

std::string ModuleFileName() {
  const Overrides& o = Active();
  return o.moduleFileName ? o.moduleFileName() : backend::ModuleFileName();
}

void ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t style) {
  const Overrides& o = Active();
  if (o.messageBox) {
    o.messageBox(text, caption, style);
  } else {
    backend::ShowMessageBox(text, caption, style);
  }
}

ScreenSize PrimaryScreenSize() {
  const Overrides& o = Active();
  return o.screenSize ? o.screenSize() : backend::PrimaryScreenSize();
}

std::uint32_t AnsiCodePage() {
  const Overrides& o = Active();
  return o.ansiCodePage ? o.ansiCodePage() : backend::AnsiCodePage();
}

}  // namespace platform
