// Runs the unit VK9_System's start-up and shutdown against a controlled
// clock, a scratch local application-data folder and a recorded message box.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Overrides.h"
#include "Platform.h"
#include "ScopedEnvironment.h"
#include "TempDir.h"
#include "VK9_System.h"

namespace test {

struct ShownMessageBox {
  std::string text;
  std::string caption;
  std::uint32_t style;
};

class EngineTest : public ::testing::Test {
 protected:
  EngineTest();
  ~EngineTest() override;

  // Starts the unit with the clock at `start`.
  void StartEngine(std::uint32_t start = 1000);
  // Ends the unit if it was started.
  void StopEngine();

  void SetClock(std::uint32_t value) { clock_ = value; }
  // The log's lines after its four header lines, without their CR LF.
  std::vector<std::string> LogLines() const;
  std::string LogBytes() const;
  // The log a child process (a death test) left in the scratch folder.
  std::string ChildLog() const;

  TempDir appData_;
  std::uint32_t clock_ = 0;
  std::vector<ShownMessageBox> boxes_;

 private:
  ScopedEnvironment environment_{"XDG_DATA_HOME"};
  std::unique_ptr<platform::ScopedOverrides> overrides_;
  bool started_ = false;
};

}  // namespace test
