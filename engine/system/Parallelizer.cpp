// The worker table: flag words, events and job records, one per worker.
#include "RangeCheck.h"
#include "VK9_System.h"

#include <algorithm>

void TParallelizer::Setup(std::int32_t requested) {
  const auto processors = RangeChecked<std::int32_t>(SystemInfo.dwNumberOfProcessors);
  WorkerCount = std::max(requested, processors);
  const auto count = static_cast<std::size_t>(std::max(WorkerCount, 0));
  Flags.assign(count, 0);
  Jobs.assign(count, TParallelJob{});
  SecondEvents.assign(count, nullptr);
  FirstEvents.assign(count, nullptr);
  for (std::size_t i = 0; i < count; ++i) {
    FirstEvents[i] = platform::NewEvent();
    SecondEvents[i] = platform::NewEvent();
    Jobs[i].Flag = &Flags[i];
    Jobs[i].FirstEvent = &FirstEvents[i];
    Jobs[i].SecondEvent = &SecondEvents[i];
  }
}
