// The operating-system seam of the engine.
//
// Everything the engine asks of the operating system goes through these
// declarations. The Win32 backend (win32/) calls the real Windows API; the
// POSIX backend (posix/) gives the same behaviour on Linux so the portable
// core builds and is tested natively. No Windows header is included here.
//
// Paths are 8-bit strings in which "\" is the only separator. The POSIX
// backend maps "\" to "/" at this boundary and reports its own paths with "\".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// ---- Files ---------------------------------------------------------------

// An open file; kInvalidFile is the backend's invalid-handle value.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kInvalidFile = -1;

enum class OpenMode {
  // Read and write, sharing both with others; created empty when absent.
  kReadWriteShared,
  // Write only; an existing file is truncated, a missing one created.
  kCreateTruncate,
  // Write only at the end of an existing file; fails when it is missing.
  kAppendExisting,
};

FileHandle FileOpen(const std::string& path, OpenMode mode);
// Size of the open file in bytes, or -1 when it cannot be read.
std::int64_t FileSize(FileHandle file);
// Moves the file position to `offset` bytes from the start.
bool FileSeek(FileHandle file, std::int64_t offset);
// One read or write at the current position; the count done, -1 on error.
std::int64_t FileRead(FileHandle file, void* buffer, std::size_t count);
std::int64_t FileWrite(FileHandle file, const void* buffer, std::size_t count);
// Cuts the file at the current position.
bool FileTruncate(FileHandle file);
bool FileClose(FileHandle file);

// The file-attribute word; kInvalidAttributes when the path does not exist.
inline constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFFu;
inline constexpr std::uint32_t kAttributeDirectory = 0x10u;
std::uint32_t PathAttributes(const std::string& path);
// Creates the last level of `path`; false when it could not.
bool MakeDirectory(const std::string& path);
bool FileExists(const std::string& path);
// Removes a file that no handle holds open; false when it could not.
bool FileDelete(const std::string& path);
// The short form of an existing path (its 8.3 names: no blanks, nothing
// outside ASCII); the path itself where the volume keeps no short names, the
// path does not exist, or (POSIX) there are none.
std::string ShortPathName(const std::string& path);

// ---- System --------------------------------------------------------------

// The fields of the platform's system-information record.
struct SystemInfoRecord {
  std::uint16_t wProcessorArchitecture = 0;
  std::uint16_t wReserved = 0;
  std::uint32_t dwPageSize = 0;
  void* lpMinimumApplicationAddress = nullptr;
  void* lpMaximumApplicationAddress = nullptr;
  std::uintptr_t dwActiveProcessorMask = 0;
  std::uint32_t dwNumberOfProcessors = 0;
  std::uint32_t dwProcessorType = 0;
  std::uint32_t dwAllocationGranularity = 0;
  std::uint16_t wProcessorLevel = 0;
  std::uint16_t wProcessorRevision = 0;
};
void QuerySystemInfo(SystemInfoRecord& info);

// Full path of the running program; empty when it cannot be read.
std::string ModuleFileName();

// The shell's special folder `csidl` (no trailing "\"). Returns the shell's
// result code: negative on failure, when `path` is left empty.
inline constexpr std::int32_t kCsidlLocalAppData = 28;
inline constexpr std::int32_t kShellFail = static_cast<std::int32_t>(0x80004005u);  // E_FAIL
std::int32_t SpecialFolderPath(std::int32_t csidl, std::string& path);

// The process's ANSI code page: the system's (1252 on a Western system,
// 1251 on a Cyrillic one), or 65001 where the program's manifest asks for
// UTF-8 and the system honours it (Windows 10 1903 and later, Wine). The
// POSIX backend's is 1252 unless a test replaces it.
inline constexpr std::uint32_t kCodePageUtf8 = 65001;
std::uint32_t AnsiCodePage();

// Lower-cases `text` by the ANSI code page's case mapping. Under UTF-8 each
// well-formed character is lowered whole (its lower-case form may be longer
// or shorter) and bytes that form no character are kept as they are.
void LowerAnsiText(std::string& text);

// Decodes UTF-8 bytes into UTF-16 units, invalid sequences the platform's
// way; empty when nothing could be decoded.
std::u16string Utf8ToUtf16(const char* bytes, std::size_t count);

// The ANSI code page's bytes for UTF-16 text; a character the code page
// lacks becomes the system's replacement character.
std::string WideToAnsi(const std::u16string& text);

// The locale identifier the system reports for the calling thread (0x0409
// English (United States), 0x0407 German (Germany), ...).
std::uint32_t ThreadLocaleId();

// ---- Clock ---------------------------------------------------------------

// The multimedia timer: milliseconds since the system started.
std::uint32_t TimerTime();
inline constexpr std::uint32_t kTimerNoError = 0;
inline constexpr std::uint32_t kTimerNoCanDo = 97;
std::uint32_t TimerBeginPeriod(std::uint32_t period);
std::uint32_t TimerEndPeriod(std::uint32_t period);

void SleepFor(std::uint32_t milliseconds);

// ---- Threads and synchronisation -------------------------------------------

// A re-entrant lock (a critical section on Windows).
class CriticalSection {
 public:
  CriticalSection();
  ~CriticalSection();
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  void Enter();
  void Leave();

 private:
  struct Impl;
  Impl* impl_;
};

// An unnamed, automatically reset, unsignalled event. Never closed by the
// engine: it lives until the process ends. Null on failure.
using EventHandle = void*;
EventHandle NewEvent();

// ---- Floating point ------------------------------------------------------

// The calling thread's floating-point control in the layout of the x87
// control word: exception masks in bits 0-5, precision in 8-9, rounding in
// 10-11. Where the processor has no x87 unit in use (x86_64, other
// architectures) the SSE control register or the C floating-point
// environment stands behind it; precision then reads back as 3 (extended).
std::uint16_t GetFpuControlWord();
void SetFpuControlWord(std::uint16_t word);
void ClearFpuExceptions();

// ---- Processes and the message queue --------------------------------------

// A started program's process or thread. Null for none.
using ObjectHandle = void*;
bool CloseObject(ObjectHandle object);

struct ProcessInfo {
  ObjectHandle process = nullptr;
  ObjectHandle thread = nullptr;
  std::uint32_t processId = 0;
  std::uint32_t threadId = 0;
};

inline constexpr std::uint32_t kCreateNewConsole = 0x10;

// Starts the program the command text names, as the system does with no
// separate program name: Windows applies its rules for unquoted paths; the
// POSIX backend takes the first token (quoted, or up to the first blank) as
// the program and the rest, split at blanks outside double quotes, as its
// arguments. Inherits no handles; the caller's folder and environment.
bool StartProcess(const std::string& commandText, std::uint32_t creationFlags, std::uint16_t showCommand,
                  ProcessInfo& info);
// The calling thread's last error code (errno on POSIX).
std::uint32_t LastError();
// The program the shell associates with `file`, in `program`; returns the
// shell's result, kShellLastErrorResult or below on failure.
inline constexpr std::intptr_t kShellLastErrorResult = 32;
inline constexpr std::intptr_t kShellNoAssociation = 31;  // SE_ERR_NOASSOC
std::intptr_t AssociatedProgram(const std::string& file, std::string& program);

// True once the process has ended (without waiting, and without reaping it).
bool ProcessHasEnded(ObjectHandle process);
// Blocks until the process ends.
void WaitForProcess(ObjectHandle process);
// Blocks until the process ends or a message arrives in the thread's queue.
void WaitForProcessOrMessage(ObjectHandle process);
// Removes and dispatches every message waiting in the calling thread's
// queue. Returns true, with the quit code, when it took the quit message.
bool DispatchPendingMessages(std::uint32_t& quitCode);

// A named mutex (a local name), a type of its own so that it cannot be
// handed where a process is meant. Null on failure; an existing mutex of
// that name gives a handle to it, without ownership. Ownership is the
// owning thread's (POSIX: process's), not the handle's: a handle closed
// while its mutex is owned leaves it held until the owner ends, and a waiter
// then gets it abandoned. Release, then close.
struct MutexObject;
using MutexHandle = MutexObject*;
MutexHandle CreateNamedMutex(const std::string& name, bool initialOwner);
bool ReleaseNamedMutex(MutexHandle mutex);
bool CloseMutex(MutexHandle mutex);
// True when a mutex of that name exists (the POSIX one: is held).
bool NamedMutexExists(const std::string& name);

// ---- User interaction and process ----------------------------------------

inline constexpr std::uint32_t kMbOk = 0x0;
inline constexpr std::uint32_t kMbIconError = 0x10;
// A modal message box without owner window; returns when it is closed.
void ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t style);

// The primary display's size in real pixels (its current display mode,
// whatever the desktop's scaling), as the system reports it now. The POSIX
// backend has no display to ask and reports 1920 x 1080.
struct ScreenSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};
ScreenSize PrimaryScreenSize();

// Ends the process at once with `code`; does not return.
[[noreturn]] void EndProcess(std::uint32_t code);

// ---- Crashes -------------------------------------------------------------

// How a crash is reported: one line to the program's log (false when it
// could not be written), then a box with this caption.
struct CrashReporting {
  bool (*writeLogLine)(const std::string& line) = nullptr;
  std::string (*boxCaption)() = nullptr;
};
// From here on, an exception that nothing handles (an access violation, an
// illegal instruction, a stack overflow, in our code or in a driver's) is
// reported so and ends the process with a non-zero exit code, instead of
// reaching the system's crash handling. An attached debugger still sees every
// exception, and the C++ runtime's own exceptions are never taken. Windows
// only; elsewhere this does nothing.
void InstallCrashHandler(const CrashReporting& reporting);
// Names the step that runs now ("MachineChecks.Graphics") for a crash's
// report; null for none. The text must outlive its naming.
void SetCrashStep(const char* step);

}  // namespace platform
