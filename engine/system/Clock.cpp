// The engine clock over the multimedia timer.
#include "SystemInternal.h"
#include "VK9_System.h"

namespace vk9_system {
std::unique_ptr<platform::CriticalSection> ClockLock;
std::int32_t LatestClockReading = 0;

namespace {
// The timer counts milliseconds as unsigned 32 bits; the engine works with
// signed ones, so a machine up for 2^31 ms or more gives a range error.
std::int32_t TimerValue() {
  const std::uint32_t count = platform::TimerTime();
  if (count > 0x7FFFFFFFu) {
    throw ERangeError("Range check error: timer count " + std::to_string(count) + " does not fit a signed 32-bit value");
  }
  return static_cast<std::int32_t>(count);
}
}  // namespace
}  // namespace vk9_system

std::int32_t ReadTimer() {
  vk9_system::LockGuard guard(vk9_system::ClockLock.get());
  return vk9_system::TimerValue();
}

std::int32_t EngineTime(bool update) {
  vk9_system::LockGuard guard(vk9_system::ClockLock.get());
  if (update) vk9_system::LatestClockReading = vk9_system::TimerValue();
  return vk9_system::LatestClockReading;
}
