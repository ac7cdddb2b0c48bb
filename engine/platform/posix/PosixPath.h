// The engine writes paths with "\" only; POSIX wants "/".
#pragma once

#include <algorithm>
#include <string>

namespace platform::posix {

inline std::string ToNativePath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

inline std::string FromNativePath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace platform::posix
