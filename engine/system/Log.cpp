// The engine log: one line (or an empty line and one) per WriteLog call,
// appended by opening and closing the file each time, so the file is
// complete on disk whatever happens to the process afterwards.
#include "SystemInternal.h"
#include "VK9_System.h"

namespace vk9_system {
std::unique_ptr<platform::CriticalSection> LogLock;

namespace {

std::string PadLeft(std::string text, std::size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

// Seconds with three decimals: "0.005", "61.234".
std::string SecondsText(std::int32_t milliseconds) {
  return IntToText(milliseconds / 1000) + "." + IntToTextPadded(3, milliseconds % 1000);
}

bool IsTimedSectionKind(std::uint8_t kind) { return kind >= lkSectionStart && kind <= lkSubsectionDuration; }

bool EmptyLineBefore(std::uint8_t kind, const std::string& text) {
  const std::uint8_t last = LastLogKind;
  switch (kind) {
    case lkTimed:
    case lkContinued:
    case lkText: return IsTimedSectionKind(last);
    case lkSectionStart: return !text.empty() && last != lkSubsectionStart && last != lkSectionDuration;
    case lkSubsectionStart: return !text.empty();
    case lkSectionDuration: return !IsTimedSectionKind(last) || (last == lkSubsectionDuration && !text.empty());
    default: return last == lkSubsectionDuration && !text.empty();
  }
}

// Opened for every call that gets this far, whether or not it writes.
class LogFile {
 public:
  LogFile() : file_(platform::FileOpen(LogFileName, platform::OpenMode::kAppendExisting)) {
    if (file_ == platform::kInvalidFile) throw EInOutError("I/O error: cannot open the log file " + LogFileName);
  }
  ~LogFile() {
    if (file_ != platform::kInvalidFile) platform::FileClose(file_);
  }
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  void Write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const std::int64_t n = platform::FileWrite(file_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) throw EInOutError("I/O error: cannot write the log file " + LogFileName);
      done += static_cast<std::size_t>(n);
    }
  }

  void Close() {
    const bool closed = platform::FileClose(file_);
    file_ = platform::kInvalidFile;
    if (!closed) throw EInOutError("I/O error: cannot close the log file " + LogFileName);
  }

 private:
  platform::FileHandle file_;
};

}  // namespace
}  // namespace vk9_system

void WriteLog(const std::string& label, const std::string& text, std::uint8_t kind) {
  using namespace vk9_system;
  if (LogDisabled || kind == lkNothing || !LogLock) return;
  LockGuard guard(LogLock.get());

  const std::int32_t now = ReadTimer();
  const std::int32_t elapsed = now - LogStartTime;
  const std::int32_t hours = elapsed / 3600000;
  const std::int32_t minutes = (elapsed - hours * 3600000) / 60000;
  const std::int32_t milliseconds = elapsed - hours * 3600000 - minutes * 60000;

  std::string differ;
  const std::int32_t delta = elapsed - LastLineTime;
  if (delta <= 0) {
    differ = "\t   ";
  } else {
    LastLineTime = elapsed;
    differ = PadLeft(SecondsText(delta), 8);
  }

  LogFile file;
  std::string out;
  if (EmptyLineBefore(kind, text)) out += "\r\n";

  const auto timedLine = [&] {
    return PadLeft(IntToText(hours), 2) + ":" + PadLeft(IntToText(minutes), 2) + ":" +
           PadLeft(IntToText(milliseconds), 5) + differ + "  " + label + " " + text + "\r\n";
  };
  const auto durationLine = [&](std::int32_t& start) {
    std::string line = "\t    " + PadLeft(SecondsText(now - start), 7) + "  " + text + "\r\n";
    start = now;
    return line;
  };
  switch (kind) {
    case lkTimed: out += timedLine(); break;
    case lkContinued: out += "\t\t     " + text + "\r\n"; break;
    case lkText: out += text + "\r\n"; break;
    case lkSectionStart:
      SectionStart = now;
      if (!text.empty()) out += timedLine();
      break;
    case lkSubsectionStart:
      SectionStart = now;
      SubsectionStart = now;
      if (!text.empty()) out += timedLine();
      break;
    case lkSectionDuration: out += durationLine(SectionStart); break;
    case lkSubsectionDuration: out += durationLine(SubsectionStart); break;
    default: break;
  }

  file.Write(out);
  file.Close();
  if (!((kind == lkSectionStart || kind == lkSubsectionStart) && text.empty())) LastLogKind = kind;
}

bool TryWriteLog(const std::string& label, const std::string& text, std::uint8_t kind) {
  try {
    WriteLog(label, text, kind);
    return true;
  } catch (const ERangeError&) {
  } catch (const EInOutError&) {
  }
  return false;
}
