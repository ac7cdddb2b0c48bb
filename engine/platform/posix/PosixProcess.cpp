// Processes and named mutexes over POSIX.
//
// A process handle is its pid. A named mutex is an advisory lock on a file
// in the temporary folder: held while locked, so another process can see it
// with NamedMutexExists.
#include "../Backend.h"
#include "Platform.h"
#include "PosixPath.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace platform {
namespace {

thread_local std::uint32_t g_lastError = 0;

// Process handles hold the pid shifted left, mutex handles an aligned pointer
// with the low bit set, so CloseObject can tell them apart.
pid_t Pid(ObjectHandle process) { return static_cast<pid_t>(reinterpret_cast<std::intptr_t>(process)); }
ObjectHandle ProcessHandle(pid_t pid) { return reinterpret_cast<ObjectHandle>(static_cast<std::intptr_t>(pid)); }

// Splits at blanks outside double quotes; the quotes themselves go.
std::vector<std::string> SplitCommand(const std::string& text) {
  std::vector<std::string> tokens;
  std::string token;
  bool inToken = false, quoted = false;
  for (const char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inToken = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inToken) tokens.push_back(token);
      token.clear();
      inToken = false;
    } else {
      token += c;
      inToken = true;
    }
  }
  if (inToken) tokens.push_back(token);
  return tokens;
}

std::string MutexPath(const std::string& name) {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp && *tmp ? tmp : "/tmp") + "/" + name + ".mutex";
}


}  // namespace

// An advisory lock on a file in the temporary folder. Ownership is the
// process's, not the handle's, as Windows gives it to the owning thread:
// the handle of a mutex still owned is closed without letting go of the
// lock, which then lasts until the process ends (a waiter on Windows would
// get the mutex only then, as abandoned).
struct MutexObject {
  int fd;
  bool owned;
};

bool backend::StartProcess(const std::string& commandText, std::uint32_t, std::uint16_t, ProcessInfo& info) {
  std::vector<std::string> args = SplitCommand(commandText);
  if (args.empty()) {
    g_lastError = ENOENT;
    return false;
  }
  args[0] = posix::ToNativePath(args[0]);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int error = ::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
  if (error != 0) {
    g_lastError = static_cast<std::uint32_t>(error);
    return false;
  }
  info = ProcessInfo{ProcessHandle(pid), nullptr, static_cast<std::uint32_t>(pid), 0};
  return true;
}

std::uint32_t LastError() { return g_lastError; }

// No association database: every look-up fails as "no association".
std::intptr_t backend::AssociatedProgram(const std::string&, std::string& program) {
  program.clear();
  g_lastError = ENOENT;
  return kShellNoAssociation;
}

bool ProcessHasEnded(ObjectHandle process) {
  siginfo_t info{};
  if (::waitid(P_PID, static_cast<id_t>(Pid(process)), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;
  return info.si_pid != 0;
}

void WaitForProcess(ObjectHandle process) {
  siginfo_t info{};
  while (::waitid(P_PID, static_cast<id_t>(Pid(process)), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
  }
}

// No message queue here: waiting for a message is waiting for the process.
void WaitForProcessOrMessage(ObjectHandle process) { WaitForProcess(process); }

bool DispatchPendingMessages(std::uint32_t&) { return false; }

MutexHandle CreateNamedMutex(const std::string& name, bool initialOwner) {
  const int fd = ::open(MutexPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    g_lastError = static_cast<std::uint32_t>(errno);
    return nullptr;
  }
  // An existing mutex held by another is not owned, as on Windows.
  const bool owned = initialOwner && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  return new MutexObject{fd, owned};
}

// Only the owner can release it (Windows: ERROR_NOT_OWNER).
bool ReleaseNamedMutex(MutexHandle mutex) {
  if (!mutex || !mutex->owned) return false;
  mutex->owned = false;
  return ::flock(mutex->fd, LOCK_UN) == 0;
}

bool CloseMutex(MutexHandle mutex) {
  if (!mutex) return false;
  const bool closed = mutex->owned || ::close(mutex->fd) == 0;  // still owned: the lock stays
  delete mutex;
  return closed;
}

bool NamedMutexExists(const std::string& name) {
  const int fd = ::open(MutexPath(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

// A process: reaped if it has ended, so it leaves no zombie behind.
bool CloseObject(ObjectHandle object) {
  if (!object) return false;
  int status = 0;
  ::waitpid(Pid(object), &status, WNOHANG);
  return true;
}

}  // namespace platform
