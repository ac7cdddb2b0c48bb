#include "EngineFixture.h"

#include <cstdlib>

#include "SystemInternal.h"

namespace test {

EngineTest::EngineTest() {
  ScopedEnvironment::Set("XDG_DATA_HOME", appData_.NativePath().c_str());
  platform::Overrides overrides;
  overrides.timerTime = [this] { return clock_; };
  overrides.messageBox = [this](const std::string& text, const std::string& caption, std::uint32_t style) {
    boxes_.push_back({text, caption, style});
  };
  overrides_ = std::make_unique<platform::ScopedOverrides>(std::move(overrides));
}

EngineTest::~EngineTest() {
  StopEngine();
  overrides_.reset();
  EngineErrors.clear();
  LogDisabled = FatalErrorLogfile = FatalErrorTimeCount = false;
}

void EngineTest::StartEngine(std::uint32_t start) {
  clock_ = start;
  VK9_SystemInitialization();
  started_ = true;
}

void EngineTest::StopEngine() {
  if (!started_) return;
  started_ = false;
  VK9_SystemFinalization();
}

std::string EngineTest::LogBytes() const { return ReadNativeFile(ToNative(LogFileName)); }

std::string EngineTest::ChildLog() const {
  const std::string name = vk9_system::ExeNameFromModulePath(platform::ModuleFileName());
  return ReadNativeFile(appData_.NativePath() + "/" + name + "/" + name + ".log");
}

std::vector<std::string> EngineTest::LogLines() const {
  std::vector<std::string> lines;
  const std::string bytes = LogBytes();
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  if (lines.size() >= 4) lines.erase(lines.begin(), lines.begin() + 4);
  return lines;
}

}  // namespace test
