// Scratch folders and files for tests, and paths in the engine's "\" form.
#pragma once

#include <cstdint>
#include <string>

#include "VK9_System.h"

namespace test {

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object ends.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The native path ("/tmp/...") and the engine's path ("\tmp\...\").
  const std::string& NativePath() const { return native_; }
  std::string EnginePath() const;  // ends in "\"

 private:
  std::string native_;
};

// Native path from an engine path.
std::string ToNative(const std::string& enginePath);

std::string ReadNativeFile(const std::string& nativePath);
void WriteNativeFile(const std::string& nativePath, const std::string& bytes);
bool NativeFileExists(const std::string& nativePath);

// Loads `bytes` into `ini` through LoadFromBytes.
void LoadText(TIniFile& ini, const std::string& bytes);
// What `ini` would save, as text.
std::string SavedText(const TIniFile& ini);

}  // namespace test
