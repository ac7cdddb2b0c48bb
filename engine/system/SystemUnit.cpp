// The unit's start-up and shutdown and its process-wide values.
#include "SystemInternal.h"
#include "VK9_System.h"

std::string EngineErrors;
bool FatalErrorTimeCount = false;
bool FatalErrorLogfile = false;
bool LogDisabled = false;
std::string ExeName;
std::string LogFolder;
std::string LogFileName;
std::uint32_t TimerPeriod = 0;
platform::SystemInfoRecord SystemInfo;
std::int32_t LogStartTime = 0;
std::int32_t LastLineTime = 0;
std::int32_t SectionStart = 0;
std::int32_t SubsectionStart = 0;
std::uint8_t LastLogKind = 0;

namespace vk9_system {

// A timer that accepts no period at all would keep the loop going through
// every 32-bit value; no resolution coarser than a second is worth having.
std::uint32_t AcquireTimerPeriod(std::uint32_t (*begin)(std::uint32_t)) {
  constexpr std::uint32_t kCoarsestPeriod = 1000;
  std::uint32_t period = 1;
  while (begin(period) == platform::kTimerNoCanDo && period < kCoarsestPeriod) ++period;
  return period;
}

// Four characters, not bytes: under UTF-8 a name without an extension
// ("C:\Игры\Остров") must not be cut inside a letter.
std::string ExeNameFromModulePath(const std::string& modulePath) {
  const std::size_t length = TextLength(modulePath);
  if (length < 4) return {};
  return ExtractName(CutText(modulePath, length - 4));
}

namespace {

const char kLogHeader[] =
    "Debug Information Engine (v. 0.9 MT)\r\n"
    "Copyright (c) Ostrelund engine developers\r\n"
    "\r\n"
    "Hr:Mn: MSec: Differ:\r\n";

// Creates the log file anew with its header; false when it cannot.
bool CreateLogFile() {
  const platform::FileHandle file = platform::FileOpen(LogFileName, platform::OpenMode::kCreateTruncate);
  if (file == platform::kInvalidFile) return false;
  const std::size_t size = sizeof kLogHeader - 1;
  const bool written = platform::FileWrite(file, kLogHeader, size) == static_cast<std::int64_t>(size);
  return platform::FileClose(file) && written;
}

// The unit's values as a fresh process has them, so that the unit can be
// started again in one process (the tests do).
void ResetUnitValues() {
  EngineErrors.clear();
  ExeName.clear();
  LogFolder.clear();
  LogFileName.clear();
  TimerPeriod = 0;
  SystemInfo = platform::SystemInfoRecord{};
  LogStartTime = LastLineTime = SectionStart = SubsectionStart = 0;
  LastLogKind = 0;
  LatestClockReading = 0;
}

}  // namespace
}  // namespace vk9_system

void VK9_SystemInitialization() {
  using namespace vk9_system;
  ResetUnitValues();

  SetFPURoundMode(0);
  SetFPUPrecision(3);
  ClearFPUExceptions();
  SetFPUExceptionMask(0x3F);

  TimerPeriod = AcquireTimerPeriod(platform::TimerBeginPeriod);

  ClockLock = std::make_unique<platform::CriticalSection>();
  LogLock = std::make_unique<platform::CriticalSection>();

  FatalErrorLogfile = false;
  FatalErrorTimeCount = false;
  LogDisabled = false;

  try {
    EngineTime(true);
  } catch (const ERangeError&) {
    FatalErrorTimeCount = true;
    LogDisabled = true;
    return;
  }

  platform::QuerySystemInfo(SystemInfo);
  ExeName = ExeNameFromModulePath(platform::ModuleFileName());
  LogFolder = GetSpecialFolder(platform::kCsidlLocalAppData) + "\\" + ExeName + "\\";

  if (!FolderExists(LogFolder)) platform::MakeDirectory(LogFolder);

  LogFileName = LogFolder + ExeName + ".log";
  if (!CreateLogFile()) {
    FatalErrorLogfile = true;
    LogDisabled = true;
    return;
  }

  LogStartTime = ReadTimer();
  SectionStart = LogStartTime;
  LastLogKind = 0;
  WriteLog("Start logging", "", lkTimed);
  WriteLog("VK9_System.Initialization", "", lkTimed);
}

void VK9_SystemFinalization() {
  using namespace vk9_system;
  // A log that has become unwritable must not cost the player the error box
  // or leave the timer resolution raised.
  TryWriteLog("VK9_System.Finalization", "", lkTimed);
  if (!EngineErrors.empty()) TryWriteLog("ERRORS:", EngineErrors, lkTimed);
  TryWriteLog("End logging", "", lkTimed);

  platform::TimerEndPeriod(TimerPeriod);
  LogLock.reset();
  ClockLock.reset();

  if (!EngineErrors.empty()) {
    EngineErrors = "ERRORS:" + EngineErrors;
    platform::ShowMessageBox(EngineErrors, ExeName, platform::kMbIconError | platform::kMbOk);
  }
}
