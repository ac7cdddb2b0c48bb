// Files of resources/ compiled into the program, found by their path below
// resources/ with "/" separators ("skins/Dark.ini").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace embedded {

struct TResource {
  const std::uint8_t* Data = nullptr;  // null when there is no such file
  std::size_t Size = 0;
};

TResource Find(const std::string& path);

}  // namespace embedded
