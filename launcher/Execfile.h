// TExecFile: starts another program with a chosen window style and priority
// class, can fall back to the program the shell associates with a document,
// and can wait for the started program to end.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Platform.h"

// A text of at most 255 characters: a longer one is cut when assigned. Under
// the UTF-8 code page the characters are whole characters, not bytes, and
// the cut never falls inside one. A text that opens with a quote and loses
// its closing quote to the cut ends in a quote all the same.
class InString {
 public:
  static constexpr std::size_t kCapacity = 255;

  InString() = default;
  InString(const std::string& text) : text_(Fit(text)) {}  // NOLINT: assigned like a string
  InString& operator=(const std::string& text) {
    text_ = Fit(text);
    return *this;
  }
  operator const std::string&() const { return text_; }  // NOLINT
  const std::string& str() const { return text_; }
  // Whether `text` is kept whole.
  static bool Fits(const std::string& text);

 private:
  static std::string Fit(const std::string& text);
  std::string text_;
};

enum class TWindowStyle { wsNorm, wsMinimize, wsMaximize, wsHide, wsMinNoActivate, wsShowNoActivate };
enum class TWaitStyle { wRegular, wSuspend };
enum class TPriorityClass { pcNormal, pcIdle, pcHigh, pcRealTime };

// The window settings handed to the new process: its show command. The
// record's size and its "use the show command" flag are the backend's to set.
struct TStartupInfo {
  std::uint16_t wShowWindow = 0;
};

// The command text: the command line, one space, the parameters. The space
// is there even without parameters; nothing is quoted.
std::string BuildCommandText(const std::string& commandLine, const std::string& parameters);

class TExecFile {
 public:
  TExecFile() = default;
  // Closes the handles of the last start.
  ~TExecFile();
  TExecFile(const TExecFile&) = delete;
  TExecFile& operator=(const TExecFile&) = delete;

  bool Associate = false;
  InString CommandLine;
  InString Parameters;
  TPriorityClass Priority = TPriorityClass::pcNormal;
  bool Wait = false;
  TWaitStyle WaitStyle = TWaitStyle::wRegular;
  TWindowStyle WindowStyle = TWindowStyle::wsNorm;
  std::function<void(TExecFile& sender)> OnFail;

  // Starts the program. False when it could not be started (OnFail has then
  // been called); true when it was started, and with Wait when it has ended.
  // A quit message during a regular wait ends the whole program with its code.
  bool Execute();

  TStartupInfo StartupInfo;
  platform::ProcessInfo ProcessInfo;
  std::uint32_t PriorityValue = 0;
  std::uint32_t ErrorCode = 0;
  std::string AssocProgram;
  bool IsWaiting = false;
  bool ProcessEnded = false;

 private:
  bool Start(const std::string& commandText);
  bool Fail();
  void WaitRegular();
  void CloseHandles();
};

