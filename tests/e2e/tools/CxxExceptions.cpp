// The crash handler installed as the launcher installs it, then one of:
//   caught      a C++ exception thrown and caught
//   uncaught    a C++ exception nobody catches, which must reach std::terminate
//   uncaught-on-a-thread  the same on a thread of the system's, outside the
//               C runtime's start-up frame (on x86_64 that frame's own filter
//               takes it on the main thread, before the process's filter)
//   crash       an access violation, which the handler must report
//   crash-in-catch-all  the same inside try { } catch (...) { }
// The handler's log line is printed as "CRASH <line>" and ends the program
// with exit code 42, so that no box waits; std::terminate prints "terminate"
// and ends it with 3.
#include "Platform.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

namespace {

bool PrintLine(const std::string& line) {
  std::printf("CRASH %s\n", line.c_str());
  std::fflush(stdout);
  std::_Exit(42);
}

std::string Caption() { return "e2e_cxx_exceptions"; }

// Through a volatile pointer, so that the compiler cannot see the null.
int* volatile gNowhere = nullptr;
void Fault() { *gNowhere = 1; }

DWORD WINAPI Throw(void*) { throw std::runtime_error("nobody catches this either"); }

}  // namespace

int main(int argc, char** argv) {
  platform::InstallCrashHandler({PrintLine, Caption});
  std::set_terminate([] {
    std::puts("terminate");
    std::fflush(stdout);
    std::_Exit(3);
  });
  const char* what = argc > 1 ? argv[1] : "";
  if (std::strcmp(what, "caught") == 0) {
    try {
      throw std::runtime_error("caught");
    } catch (const std::exception& e) {
      std::puts(e.what());
    }
  } else if (std::strcmp(what, "uncaught") == 0) {
    throw std::runtime_error("nobody catches this");
  } else if (std::strcmp(what, "uncaught-on-a-thread") == 0) {
    HANDLE thread = ::CreateThread(nullptr, 0, Throw, nullptr, 0, nullptr);
    if (thread) ::WaitForSingleObject(thread, INFINITE);
  } else if (std::strcmp(what, "crash") == 0) {
    Fault();
  } else if (std::strcmp(what, "crash-in-catch-all") == 0) {
    try {
      Fault();
    } catch (...) {
      std::puts("caught by catch (...)");
    }
  } else {
    std::fputs("usage: e2e_cxx_exceptions caught|uncaught|uncaught-on-a-thread|crash|crash-in-catch-all\n", stderr);
    return 2;
  }
  return 0;
}
