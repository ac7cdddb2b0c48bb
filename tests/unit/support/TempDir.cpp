#include "TempDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>

namespace test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vk9-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  native_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(native_, ignored);
}

std::string TempDir::EnginePath() const {
  std::string path = native_ + "/";
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string ToNative(const std::string& enginePath) {
  std::string path = enginePath;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string ReadNativeFile(const std::string& nativePath) {
  std::ifstream in(nativePath, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteNativeFile(const std::string& nativePath, const std::string& bytes) {
  std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool NativeFileExists(const std::string& nativePath) { return std::filesystem::exists(nativePath); }

void LoadText(TIniFile& ini, const std::string& bytes) {
  ini.LoadFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string SavedText(const TIniFile& ini) {
  const TByteArray bytes = ini.SavedBytes();
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace test
