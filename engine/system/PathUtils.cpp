// Path routines: only "\" separates folders.
#include "VK9_System.h"

std::string ExtractFolder(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractName(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetSpecialFolder(std::int32_t csidl) {
  std::string path;
  return platform::SpecialFolderPath(csidl, path) < 0 ? std::string() : path;
}
