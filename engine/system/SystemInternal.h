// State of the unit that other units have no business with.
#pragma once

#include "Platform.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vk9_system {

// Both exist from the unit's start-up step 3 to its shutdown step 5.
extern std::unique_ptr<platform::CriticalSection> ClockLock;
extern std::unique_ptr<platform::CriticalSection> LogLock;
extern std::int32_t LatestClockReading;

// Enters a lock that may not exist (before start-up, after shutdown).
class LockGuard {
 public:
  explicit LockGuard(platform::CriticalSection* lock) : lock_(lock) {
    if (lock_) lock_->Enter();
  }
  ~LockGuard() {
    if (lock_) lock_->Leave();
  }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

 private:
  platform::CriticalSection* lock_;
};

// Start-up pieces kept apart so they can be checked on their own.
// The timer resolution: the first period from 1 up that the timer accepts.
std::uint32_t AcquireTimerPeriod(std::uint32_t (*begin)(std::uint32_t));
// The module path without its last four characters and its folder.
std::string ExeNameFromModulePath(const std::string& modulePath);

}  // namespace vk9_system
