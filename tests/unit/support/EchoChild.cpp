// A test child: writes beside itself, to echo_report.txt, its arguments one
// per line and whether the mutex "Ostrelund Beta" was held when it started.
// ECHO_CHILD_SLEEP_MS makes it wait that long first; ECHO_CHILD_EXIT sets
// its exit code.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "Platform.h"

int main(int argc, char** argv) {
  const bool held = platform::NamedMutexExists("Ostrelund Beta");
  if (const char* sleep = std::getenv("ECHO_CHILD_SLEEP_MS")) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(sleep)));
  }
  std::string self = platform::ModuleFileName();
  for (char& c : self) c = c == '\\' ? '/' : c;
  std::ofstream report(self.substr(0, self.rfind('/') + 1) + "echo_report.txt", std::ios::trunc);
  report << "mutex=" << (held ? "held" : "free") << "\n";
  for (int i = 1; i < argc; ++i) report << "arg=" << argv[i] << "\n";
  const char* code = std::getenv("ECHO_CHILD_EXIT");
  return code ? std::atoi(code) : 0;
}
