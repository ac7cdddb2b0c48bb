// Range-tested integer conversion: a value that does not fit the type that
// receives it raises ERangeError instead of wrapping.
#pragma once

#include "EngineExceptions.h"

#include <string>
#include <utility>

template <class To, class From>
To RangeChecked(From value) {
  if (!std::in_range<To>(value)) {
    throw ERangeError("Range check error: " + std::to_string(value) + " does not fit");
  }
  return static_cast<To>(value);
}
