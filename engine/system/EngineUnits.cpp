#include "EngineUnits.h"

#include "VK9_System.h"

#include <exception>
#include <vector>

namespace {
std::vector<const TEngineUnit*>& Started() {
  static std::vector<const TEngineUnit*> started;
  return started;
}
}  // namespace

void StartUnits(const TEngineUnit* units, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    Started().push_back(&units[i]);
    if (units[i].Initialization) units[i].Initialization();
  }
}

void FinishUnits() {
  auto& started = Started();
  std::exception_ptr firstFailure;
  while (!started.empty()) {
    const TEngineUnit* unit = started.back();
    started.pop_back();
    if (!unit->Finalization) continue;
    try {
      unit->Finalization();
    } catch (...) {
      if (!firstFailure) firstFailure = std::current_exception();
    }
  }
  if (firstFailure) std::rethrow_exception(firstFailure);
}

int RunProgram(const TEngineUnit* units, std::size_t count, void (*mainRoutine)()) {
  std::string failure;
  try {
    StartUnits(units, count);
    mainRoutine();
  } catch (const std::exception& e) {
    failure = e.what();
  }
  try {
    FinishUnits();
  } catch (const std::exception& e) {
    if (failure.empty()) failure = e.what();
  }
  if (failure.empty()) return 0;
  platform::ShowMessageBox(failure, ExeName, platform::kMbIconError | platform::kMbOk);
  return 1;
}

void HaltProgram(std::uint32_t code) {
  // The stop must end the process whatever an end raises: nobody is left to
  // catch it, and VK9_System's end has shown the collected errors by then.
  try {
    FinishUnits();
  } catch (...) {
  }
  platform::EndProcess(code);
}

[[noreturn]] void FatalStop(const std::string& message) {
  EngineErrors += '\n';
  EngineErrors += '\r';
  EngineErrors += message;
  HaltProgram(0);
}
