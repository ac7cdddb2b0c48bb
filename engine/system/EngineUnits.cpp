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
  while (!started.empty()) {
    const TEngineUnit* unit = started.back();
    started.pop_back();
    if (unit->Finalization) unit->Finalization();
  }
}

int RunProgram(const TEngineUnit* units, std::size_t count, void (*mainRoutine)()) {
  std::string failure;
  try {
    StartUnits(units, count);
    mainRoutine();
  } catch (const std::exception& e) {
    failure = e.what();
  }
  FinishUnits();
  if (failure.empty()) return 0;
  platform::ShowMessageBox(failure, ExeName, platform::kMbIconError | platform::kMbOk);
  return 1;
}

void HaltProgram(std::uint32_t code) {
  FinishUnits();
  platform::EndProcess(code);
}

[[noreturn]] void FatalStop(const std::string& message) {
  EngineErrors += '\n';
  EngineErrors += '\r';
  EngineErrors += message;
  HaltProgram(0);
}
