// The engine's errors for unexpected conditions. They reach the caller as
// exceptions; an engine unit that cannot go on uses FatalStop instead.
#pragma once

#include <stdexcept>
#include <string>

class EEngineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value does not fit the member or argument that receives it.
class ERangeError : public EEngineError {
 public:
  using EEngineError::EEngineError;
};

// An integer computation overflowed.
class EIntOverflow : public EEngineError {
 public:
  using EEngineError::EEngineError;
};

// Opening, writing or closing a file failed.
class EInOutError : public EEngineError {
 public:
  using EEngineError::EEngineError;
};

// An argument that the routine cannot work with.
class EArgumentException : public EEngineError {
 public:
  using EEngineError::EEngineError;
};
