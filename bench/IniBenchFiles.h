// The input files of ini_bench, written at start-up into a temporary folder.
#pragma once

#include <string>
#include <vector>

namespace inibench {

// Sizes of the large file.
inline constexpr int kBigSections = 200;
inline constexpr int kBigKeysPerSection = 2500;

// The launcher's text file: section "Launcher", 25 captions and messages in
// four languages (UTF-8), with comments and blank lines. Also a small section
// before it.
std::string TextsIniContent();
// The key names of section "Launcher" in the order a launcher reads them:
// all keys of one language, then the next language.
const std::vector<std::string>& TextsKeys();

// About 50 MB: kBigSections sections of kBigKeysPerSection "name=value"
// lines each, CRLF line ends. The same bytes on every run.
std::string BigIniContent();

// A fresh folder under the system's temporary folder, removed with the
// object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Writes `content` to `name` in the folder; returns the native path.
  std::string Write(const std::string& name, const std::string& content) const;

 private:
  std::string native_;
};

// The engine's form of a native path: "\" as the only separator.
std::string EnginePath(std::string nativePath);

}  // namespace inibench
