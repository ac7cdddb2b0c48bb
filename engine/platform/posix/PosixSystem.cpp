// System services, clock, locks and process end over POSIX.
#include "../Backend.h"
#include "Platform.h"
#include "PosixPath.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace platform {

void QuerySystemInfo(SystemInfoRecord& info) {
  info = SystemInfoRecord{};
  const long page = ::sysconf(_SC_PAGESIZE);
  const long cpus = ::sysconf(_SC_NPROCESSORS_ONLN);
  info.dwPageSize = page > 0 ? static_cast<std::uint32_t>(page) : 4096u;
  info.dwNumberOfProcessors = cpus > 0 ? static_cast<std::uint32_t>(cpus) : 1u;
  info.dwAllocationGranularity = 65536;
}

std::string backend::ModuleFileName() {
  char buffer[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer) return {};
  return posix::FromNativePath(std::string(buffer, static_cast<std::size_t>(n)));
}

// The local application-data folder is the XDG data home.
std::int32_t SpecialFolderPath(std::int32_t csidl, std::string& path) {
  path.clear();
  if (csidl != kCsidlLocalAppData) return kShellFail;
  std::string folder;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    folder = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    folder = std::string(home) + "/.local/share";
  } else {
    return kShellFail;
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  path = posix::FromNativePath(folder);
  return 0;
}

std::uint32_t backend::TimerTime() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                  static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);  // wraps like the multimedia timer
}

std::uint32_t TimerBeginPeriod(std::uint32_t period) { return period == 0 ? kTimerNoCanDo : kTimerNoError; }
std::uint32_t TimerEndPeriod(std::uint32_t period) { return period == 0 ? kTimerNoCanDo : kTimerNoError; }

void backend::SleepFor(std::uint32_t milliseconds) {
  timespec ts{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (::nanosleep(&ts, &ts) != 0) {
  }
}

struct CriticalSection::Impl {
  pthread_mutex_t mutex;
};

CriticalSection::CriticalSection() : impl_(new Impl) {
  pthread_mutexattr_t attr;
  ::pthread_mutexattr_init(&attr);
  ::pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
  ::pthread_mutex_init(&impl_->mutex, &attr);
  ::pthread_mutexattr_destroy(&attr);
}

CriticalSection::~CriticalSection() {
  ::pthread_mutex_destroy(&impl_->mutex);
  delete impl_;
}

void CriticalSection::Enter() { ::pthread_mutex_lock(&impl_->mutex); }
void CriticalSection::Leave() { ::pthread_mutex_unlock(&impl_->mutex); }

// An eventfd is a kernel object like a Windows event: left open, it lives
// until the process ends without showing as a leak.
EventHandle NewEvent() {
  const int fd = ::eventfd(0, EFD_CLOEXEC);
  return fd < 0 ? nullptr : reinterpret_cast<EventHandle>(static_cast<std::intptr_t>(fd) + 1);
}

void backend::ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t) {
  const std::string box = "[" + caption + "]\n" + text + "\n";
  std::fwrite(box.data(), 1, box.size(), stderr);
  std::fflush(stderr);
}

ScreenSize backend::PrimaryScreenSize() { return ScreenSize{1920, 1080}; }

void backend::EndProcess(std::uint32_t code) {
  std::fflush(nullptr);
  ::_exit(static_cast<int>(code));
}

// The native build is the tests' program: a crash there is the sanitizers'
// and the debugger's to report.
void InstallCrashHandler(const CrashReporting&) {}
void SetCrashStep(const char*) {}

}  // namespace platform
