// The process's last-chance handler. An exception that no frame handles (an
// access violation, an illegal instruction, a stack overflow, in our code or
// inside a driver's DLL) ends in one log line and the engine's kind of box,
// then the process ends at once, instead of the system's crash dialog or
// silence. Nothing else runs on the way out: no unit's end, no options save.
//
// It is the unhandled-exception filter, not a vectored handler: the system
// asks it only after every frame has declined the exception and only when no
// debugger is attached, so a debugger keeps its first and second chance and
// the exceptions the program handles never come here.
#include "CrashText.h"
#include "Platform.h"

#include <windows.h>

#include <atomic>

namespace platform {
namespace {

CrashReporting gReporting;
LPTOP_LEVEL_EXCEPTION_FILTER gPrevious = nullptr;
std::atomic<const char*> gStep{nullptr};
std::atomic<bool> gCrashed{false};

// What the filter needs on an overflowed stack: the system's dispatch, and a
// thread started to do the reporting (ReportOnFreshStack).
constexpr ULONG kStackGuarantee = 64 * 1024;

// mingw-w64's C++ runtime on x86_64 raises C++ exceptions through SEH with
// these codes ("GCC" with bit 29, and its unwind and forced-unwind codes).
// One nobody catches on a thread outside the C runtime's start-up frame
// reaches this filter; the runtime's own filter, which we replaced, continues
// it so that std::terminate runs as the language says.
constexpr DWORD kGccExceptionMask = 0x20FFFFFFu;
constexpr DWORD kGccException = 0x20474343u;  // bit 29 | 'G' 'C' 'C'

bool IsCxxRuntimeException(DWORD code) { return (code & kGccExceptionMask) == kGccException; }

// The file name of the module that holds `address`, for module+offset.
void FindModule(const void* address, CrashRecord& record) {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module)) {
    return;
  }
  static char path[32768];  // one report at a time (gCrashed)
  const DWORD length = ::GetModuleFileNameA(module, path, sizeof path);
  if (length == 0 || length >= sizeof path) return;
  const char* name = path;
  for (const char* c = path; *c; ++c) {
    if (*c == '\\') name = c + 1;
  }
  record.module = name;
  record.moduleBase = reinterpret_cast<std::uintptr_t>(module);
}

void Report(const EXCEPTION_RECORD& exception) {
  CrashRecord record;
  record.code = exception.ExceptionCode;
  record.address = reinterpret_cast<std::uintptr_t>(exception.ExceptionAddress);
  record.parameterCount = exception.NumberParameters;
  for (DWORD i = 0; i < exception.NumberParameters && i < 2; ++i) {
    record.parameters[i] = exception.ExceptionInformation[i];
  }
  record.step = gStep.load();
  FindModule(exception.ExceptionAddress, record);

  const std::string line = CrashLine(record);
  if (gReporting.writeLogLine) gReporting.writeLogLine(line);
  const std::string caption = gReporting.boxCaption ? gReporting.boxCaption() : std::string();
  // Task-modal: the crashed thread's windows take no clicks while the box
  // shows, so nothing the player does can save the options now.
  ::MessageBoxA(nullptr, CrashBoxText(line).c_str(), caption.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

DWORD WINAPI ReportThread(void* exception) {
  Report(*static_cast<const EXCEPTION_RECORD*>(exception));
  return 0;
}

// A stack overflow leaves only the guaranteed bytes: the report, and above
// all the box, runs on a thread of its own while this one waits.
void ReportOnFreshStack(const EXCEPTION_RECORD& exception) {
  HANDLE thread = ::CreateThread(nullptr, 0, ReportThread, const_cast<EXCEPTION_RECORD*>(&exception), 0, nullptr);
  if (thread) ::WaitForSingleObject(thread, INFINITE);
}

[[noreturn]] void EndAtOnce(DWORD code) {
  ::TerminateProcess(::GetCurrentProcess(), code != 0 ? code : 1);
  for (;;) ::Sleep(INFINITE);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD& exception = *pointers->ExceptionRecord;
  if (IsCxxRuntimeException(exception.ExceptionCode)) {
    return gPrevious ? gPrevious(pointers) : EXCEPTION_CONTINUE_SEARCH;
  }
  // A second crash, or one while the first is being reported, ends the
  // process without another word.
  if (gCrashed.exchange(true)) EndAtOnce(exception.ExceptionCode);
  if (exception.ExceptionCode == EXCEPTION_STACK_OVERFLOW) {
    ReportOnFreshStack(exception);
  } else {
    Report(exception);
  }
  // The exit code is the exception's, as the system's own crash handling gives.
  EndAtOnce(exception.ExceptionCode);
}

}  // namespace

void InstallCrashHandler(const CrashReporting& reporting) {
  gReporting = reporting;
  ULONG guarantee = kStackGuarantee;
  ::SetThreadStackGuarantee(&guarantee);
  gPrevious = ::SetUnhandledExceptionFilter(OnUnhandledException);
}

void SetCrashStep(const char* step) { gStep.store(step); }

}  // namespace platform
