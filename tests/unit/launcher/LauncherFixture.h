// A game folder and a local application-data folder of the test's own, the
// program's path pointing into the game folder, and the locale to choose.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "MainLaunch.h"
#include "Overrides.h"
#include "Platform.h"
#include "ScopedEnvironment.h"
#include "TempDir.h"

// A folder below the test's root, "/" as the engine writes it.
inline std::string EnginePath(std::string folder) {
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder;
}

inline std::string Fixture(const char* name) { return test::ReadNativeFile(std::string(FIXTURE_DIR) + "/" + name); }

class LauncherTest : public ::testing::Test {
 protected:
  explicit LauncherTest(const std::string& folder = "Ostrelund Game")
      : game_(root_.NativePath() + "/" + folder + "/"),
        module_({.moduleFileName = [this, folder] { return root_.EnginePath() + EnginePath(folder) + "\\Ostrelund_Launcher.exe"; }}) {
    std::filesystem::create_directories(game_);
    test::WriteNativeFile(game_ + "Texts.Ini", Fixture("Texts.Ini"));
    test::WriteNativeFile(game_ + "Ostrelund.exe", "MZ");
    test::WriteNativeFile(game_ + "Options_Game.ini", "[Main]\r\n");
    std::filesystem::create_directory(appData_);
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) test::ScopedEnvironment::Set(name, nullptr);
    test::ScopedEnvironment::Set("XDG_DATA_HOME", appData_.c_str());
  }

  // Creates the window and runs its start-up sequence under `locale`.
  TLauncher& Start(const char* locale) {
    ::setenv("LC_ALL", locale, 1);
    launcher_.FormCreate();
    return launcher_;
  }

  // The player's options folder, as the engine names it.
  std::string UserFolder() const { return root_.EnginePath() + "AppData\\Ostrelund\\"; }
  std::string UserCopy() const { return appData_ + "/Ostrelund/Options_Game.ini"; }

  test::TempDir root_;
  std::string game_;
  std::string appData_ = root_.NativePath() + "/AppData";
  platform::ScopedOverrides module_;
  test::ScopedEnvironment environment_{"LC_ALL", "LC_MESSAGES", "LANG", "XDG_DATA_HOME"};
  TLauncher launcher_;
};

