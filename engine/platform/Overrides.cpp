// Routes the replaceable platform calls to a test's replacement, if any.
#include "Overrides.h"

#include <utility>

#include "Backend.h"
#include "Platform.h"

namespace platform {
namespace {
Overrides& Active() {
  static Overrides active;
  return active;
}

template <class F>
void Install(F& target, F& replacement) {
  if (replacement) target = std::move(replacement);
}
}  // namespace

ScopedOverrides::ScopedOverrides(Overrides overrides) : previous_(Active()) {
  Overrides& active = Active();
  Install(active.timerTime, overrides.timerTime);
  Install(active.moduleFileName, overrides.moduleFileName);
  Install(active.shortPathName, overrides.shortPathName);
  Install(active.messageBox, overrides.messageBox);
  Install(active.screenSize, overrides.screenSize);
  Install(active.sleep, overrides.sleep);
  Install(active.startProcess, overrides.startProcess);
  Install(active.associatedProgram, overrides.associatedProgram);
  Install(active.endProcess, overrides.endProcess);
  Install(active.ansiCodePage, overrides.ansiCodePage);
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

std::string ShortPathName(const std::string& path) {
  const Overrides& o = Active();
  return o.shortPathName ? o.shortPathName(path) : backend::ShortPathName(path);
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

void SleepFor(std::uint32_t milliseconds) {
  const Overrides& o = Active();
  if (o.sleep) {
    o.sleep(milliseconds);
  } else {
    backend::SleepFor(milliseconds);
  }
}

bool StartProcess(const std::string& commandText, std::uint32_t creationFlags, std::uint16_t showCommand,
                  ProcessInfo& info) {
  const Overrides& o = Active();
  return o.startProcess ? o.startProcess(commandText, creationFlags, showCommand, info)
                        : backend::StartProcess(commandText, creationFlags, showCommand, info);
}

std::intptr_t AssociatedProgram(const std::string& file, std::string& program) {
  const Overrides& o = Active();
  return o.associatedProgram ? o.associatedProgram(file, program) : backend::AssociatedProgram(file, program);
}

void EndProcess(std::uint32_t code) {
  if (const Overrides& o = Active(); o.endProcess) o.endProcess(code);
  backend::EndProcess(code);
}

}  // namespace platform
