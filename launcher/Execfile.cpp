#include "Execfile.h"

#include "EngineUnits.h"
#include "VK9_System.h"

namespace {

constexpr std::uint16_t kShowCommands[] = {1 /* SW_SHOWNORMAL */, 2 /* SW_SHOWMINIMIZED */, 3 /* SW_SHOWMAXIMIZED */,
                                           0 /* SW_HIDE */, 7 /* SW_SHOWMINNOACTIVE */, 8 /* SW_SHOWNA */};
constexpr std::uint32_t kPriorityClasses[] = {0x20 /* NORMAL */, 0x40 /* IDLE */, 0x80 /* HIGH */, 0x100 /* REALTIME */};

}  // namespace

bool InString::Fits(const std::string& text) { return CutText(text, kCapacity).size() == text.size(); }

// A quoted program path left open would make the system take the rest of the
// command text for part of the program's name.
std::string InString::Fit(const std::string& text) {
  std::string kept = CutText(text, kCapacity);
  if (kept.size() == text.size() || text.front() != '"') return kept;
  const bool closedBeyond = kept.find('"', 1) == std::string::npos && text.find('"', kept.size()) != std::string::npos;
  return closedBeyond ? CutText(text, kCapacity - 1) + '"' : kept;
}

std::string BuildCommandText(const std::string& commandLine, const std::string& parameters) {
  return commandLine + " " + parameters;
}

TExecFile::~TExecFile() { CloseHandles(); }

void TExecFile::CloseHandles() {
  platform::CloseObject(ProcessInfo.thread);
  platform::CloseObject(ProcessInfo.process);
  ProcessInfo = platform::ProcessInfo{};
}

bool TExecFile::Start(const std::string& commandText) {
  return platform::StartProcess(commandText, PriorityValue | platform::kCreateNewConsole, StartupInfo.wShowWindow,
                                ProcessInfo);
}

bool TExecFile::Fail() {
  ErrorCode = platform::LastError();
  if (OnFail) OnFail(*this);
  return false;
}

bool TExecFile::Execute() {
  StartupInfo = TStartupInfo{kShowCommands[static_cast<std::size_t>(WindowStyle)]};
  PriorityValue = kPriorityClasses[static_cast<std::size_t>(Priority)];
  CloseHandles();

  bool started = Start(BuildCommandText(CommandLine, Parameters));
  if (!started && Associate) {
    std::string program;
    if (platform::AssociatedProgram(CommandLine, program) <= platform::kShellLastErrorResult) return Fail();
    AssocProgram = program;
    // Built to its full length: a long program path must not be cut.
    started = Start(AssocProgram + " " + CommandLine.str() + " " + Parameters.str());
  }
  if (!started) return Fail();

  if (Wait) {
    IsWaiting = true;
    ProcessEnded = false;
    if (WaitStyle == TWaitStyle::wSuspend) {
      platform::WaitForProcess(ProcessInfo.process);
    } else {
      WaitRegular();
    }
    IsWaiting = false;
  }
  return true;
}

// Keeps the caller's windows working while the program runs, sleeping until
// the process ends or a message arrives instead of spinning.
void TExecFile::WaitRegular() {
  std::uint32_t quitCode = 0;
  while (!ProcessEnded) {
    if (platform::DispatchPendingMessages(quitCode)) HaltProgram(quitCode);
    if (platform::ProcessHasEnded(ProcessInfo.process)) {
      ProcessEnded = true;
      if (platform::DispatchPendingMessages(quitCode)) HaltProgram(quitCode);
    } else {
      platform::WaitForProcessOrMessage(ProcessInfo.process);
    }
  }
}
