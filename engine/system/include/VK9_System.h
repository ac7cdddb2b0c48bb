// VK9_System: the engine's lowest unit.
//
// Start-up and shutdown of the engine (floating-point settings, timer
// resolution, clock, log, the fatal-error list and its message box), the ini
// file class TIniFile, and the small text, number, path and file routines.
//
// Texts are 8-bit (ANSI) byte strings in the process's ANSI code page, which
// is UTF-8 where the program's manifest is honoured; wide texts are UTF-16.
// Paths use "\" as their only separator; folder texts end in "\".
#pragma once

#include "EngineExceptions.h"
#include "EngineUnits.h"
#include "Platform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ---- Ini file --------------------------------------------------------------

using TByteArray = std::vector<std::uint8_t>;

// One line of a section. Unparsed: Raw holds the trimmed line. Blank: all
// empty. Parsed: Name is set, Raw is empty and Items holds the value, whole
// as one item or cut into its items.
struct TIniKey {
  std::string Name;
  std::vector<TByteArray> Items;
  TByteArray Raw;
};

struct TIniSection {
  std::string Name;         // empty for the lines before the first header
  TByteArray HeaderTail;    // bytes after the header's first "]", verbatim
  std::vector<TIniKey> Keys;
};

// An ini file in memory that gives a loaded file back nearly unchanged: lines
// are cut into name and value only when a read or write first finds them.
// Item numbers: -1 is the whole value, 1, 2, ... the comma-separated items.
class TIniFile {
 public:
  std::vector<TIniSection> Sections;
  char Delimiter = '=';
  char ItemSeparator = ',';
  std::int32_t CurrentSection = -1;
  std::int32_t CurrentKey = -1;
  std::string Folder;    // the last loaded path up to and including its last "\"
  std::string FileName;  // the last loaded path after its last "\"

  TIniFile();
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  // Replaces the content with the file's, creating the file empty when it is
  // missing. A file that cannot be opened halts the program (FatalStop).
  void Load(const std::string& path);
  // Replaces the content with the given bytes, as Load does with a file's.
  void LoadFromBytes(const std::uint8_t* bytes, std::size_t count);
  // Writes the whole content; an empty path means Folder + FileName. A file
  // that cannot be opened is silently not written.
  void Save(const std::string& path = std::string());
  // The exact bytes Save writes.
  TByteArray SavedBytes() const;
  void Clear();

  bool SelectSection(const std::string& name);
  bool KeyExists(const std::string& key);
  std::string ReadString(const std::string& key, std::int32_t item);
  std::u16string ReadWideString(const std::string& key, std::int32_t item);  // value decoded from UTF-8
  std::int32_t ReadInteger(const std::string& key, std::int32_t item, std::int32_t def);
  bool ReadBool(const std::string& key, std::int32_t item, bool def);
  void WriteString(const std::string& key, const std::string& value, std::int32_t item);

 private:
  std::int32_t FindKey(const std::string& key) const;
  void ParseKey(std::int32_t index, bool split);
  const TByteArray* FindItem(const std::string& key, std::int32_t item);
};

// ---- Text, number and path routines ------------------------------------------

// Without leading and trailing bytes 0-32.
std::string TrimText(const std::string& s);
// Lower-cased by the ANSI code page's case mapping; under UTF-8 character by
// character, so a lowered text may differ in length.
std::string LowerText(const std::string& s);
// The first `characters` characters of S: bytes, or under the UTF-8 code
// page whole characters (a byte that forms none counts as one), so the cut
// never falls inside a character.
std::string CutText(const std::string& s, std::size_t characters);
// The number of characters of S, counted as CutText counts them.
std::size_t TextLength(const std::string& s);
// Replaces every occurrence of `find`, searching again from the start after
// each replacement. Raises EArgumentException when `replace` contains `find`.
std::string ReplaceText(const std::string& source, const std::string& find, const std::string& replace);
// Digits of the trimmed text, others skipped, negated when it holds a "-".
// Raises ERangeError when the digits pass 2147483647.
std::int32_t TextToInt(const std::string& s);
// True when the trimmed, lower-cased text starts with "t" or "y".
bool TextToBool(const std::string& s);
std::string IntToText(std::int64_t value);
// IntToText with "0" put in front until the text is `width` long.
std::string IntToTextPadded(std::int32_t width, std::int64_t value);
std::string ExtractFolder(const std::string& path);  // up to and including the last "\"
std::string ExtractName(const std::string& path);    // after the last "\"
// The shell folder `csidl` without trailing "\"; empty when unavailable.
std::string GetSpecialFolder(std::int32_t csidl);

// ---- File routines -------------------------------------------------------------

using THandle = platform::FileHandle;

// Opens for reading and writing, sharing both, creating the file when absent.
// Returns platform::kInvalidFile on failure.
THandle OpenFileShared(const std::string& name);
// Moves to `offset` from the start unless it is -1, then reads or writes up
// to `count` bytes; returns the count done (0 on failure). A negative count
// raises ERangeError.
std::int32_t ReadFileAt(THandle handle, void* buffer, std::int32_t count, std::int64_t offset);
std::int32_t WriteFileAt(THandle handle, const void* buffer, std::int32_t count, std::int64_t offset);
void CloseFileHandle(THandle handle);
// True when the path's attributes can be read and carry the directory flag.
// An attribute word above two thousand million counts as unreadable: that is
// how the system's failure value (0xFFFFFFFF) is told.
bool FolderExists(const std::string& path);

// ---- Worker table ------------------------------------------------------------

struct TParallelJob {
  std::uint32_t* Flag = nullptr;
  platform::EventHandle* FirstEvent = nullptr;
  platform::EventHandle* SecondEvent = nullptr;
  void* Proc = nullptr;
  void* Data = nullptr;
  std::int32_t First = 0;
  std::int32_t Last = 0;
};

struct TParallelizer {
  std::int32_t WorkerCount = 0;
  std::vector<std::uint32_t> Flags;
  std::vector<TParallelJob> Jobs;
  std::vector<platform::EventHandle> SecondEvents;
  std::vector<platform::EventHandle> FirstEvents;

  // At least one worker per processor. The events live until the process
  // ends; nothing waits on them yet.
  void Setup(std::int32_t requested);
};

// ---- Clock, log, fatal errors --------------------------------------------------

// The multimedia timer in milliseconds. Raises ERangeError for a count of
// 2^31 or more (the system has run for about 24.86 days).
std::int32_t ReadTimer();
// With `update`, reads the timer as ReadTimer does and keeps the value;
// without, returns the value kept last (0 before the first update).
std::int32_t EngineTime(bool update);

// The kinds of WriteLog entry. Kinds 8 and above write no entry either.
enum TLogKind : std::uint8_t {
  lkTimed = 0,             // time columns, the label and the text
  lkContinued = 1,         // the text indented under the line before
  lkText = 2,              // the text alone
  lkNothing = 3,           // no line, and no change of the log's state
  lkSectionStart = 4,      // a timed section starts; a line when there is text
  lkSubsectionStart = 5,   // a timed section and subsection start; a line when there is text
  lkSectionDuration = 6,   // the section's time so far and the text
  lkSubsectionDuration = 7,
  lkNoEntry = 8,
};

// Appends the entry of `kind` (a TLogKind, or above). Raises ERangeError
// (clock) or EInOutError (log file).
void WriteLog(const std::string& label, const std::string& text, std::uint8_t kind);
// WriteLog for a caller with nobody to tell of a log that can no longer be
// written (the clock's range error, the file's I/O error): a unit's end, a
// handler that has already caught an error. False when nothing was written.
bool TryWriteLog(const std::string& label, const std::string& text, std::uint8_t kind);

// Appends LF, CR and the message to EngineErrors and ends the process with
// exit code 0 through every started unit's end. Never returns, never throws.
[[noreturn]] void FatalStop(const std::string& message);

// Floating-point settings in x87 terms; each returns the previous setting.
std::uint8_t SetFPURoundMode(std::uint8_t mode);          // 0..3, 0 = to nearest
std::uint8_t SetFPUPrecision(std::uint8_t precision);     // 0..3, 3 = extended
void ClearFPUExceptions();
std::uint8_t SetFPUExceptionMask(std::uint8_t mask);      // 0..0x3F

// The unit's process-wide values.
extern std::string EngineErrors;
extern bool FatalErrorTimeCount;  // the first clock reading at start-up failed
extern bool FatalErrorLogfile;    // the log file could not be created
extern bool LogDisabled;          // WriteLog does nothing
extern std::string ExeName;       // program file name without folder and last four characters
extern std::string LogFolder;
extern std::string LogFileName;
extern std::uint32_t TimerPeriod;
extern platform::SystemInfoRecord SystemInfo;
extern std::int32_t LogStartTime;
extern std::int32_t LastLineTime;
extern std::int32_t SectionStart;
extern std::int32_t SubsectionStart;
extern std::uint8_t LastLogKind;

// The unit's start and end, run through the unit table (EngineUnits.h).
void VK9_SystemInitialization();
void VK9_SystemFinalization();
inline constexpr TEngineUnit VK9_SystemUnit{"VK9_System", VK9_SystemInitialization, VK9_SystemFinalization};
