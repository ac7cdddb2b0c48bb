// Runs a program under the debugging API, as a debugger would, and reports
// the access violations it was told of: whether it got the first chance and
// the last chance of each. It passes every exception back to the program
// unhandled and, at the last chance, ends the program with exit code 77.
//   e2e_debugger <program> [arguments...]
// Prints {"first_chance":n,"last_chance":n,"exit":code}.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: e2e_debugger <program> [arguments...]\n", stderr);
    return 2;
  }
  std::wstring command;
  for (int i = 1; i < argc; ++i) command += std::wstring(i > 1 ? L" \"" : L"\"") + argv[i] + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr,
                        &startup, &process)) {
    std::fprintf(stderr, "cannot start the program: error %lu\n", ::GetLastError());
    return 1;
  }
  int firstChance = 0;
  int lastChance = 0;
  DWORD exitCode = 0;
  for (bool running = true; running;) {
    DEBUG_EVENT event{};
    if (!::WaitForDebugEvent(&event, INFINITE)) return 1;
    DWORD answer = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case EXCEPTION_DEBUG_EVENT: {
        const EXCEPTION_DEBUG_INFO& info = event.u.Exception;
        if (info.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT) break;  // the loader's, at the start
        answer = DBG_EXCEPTION_NOT_HANDLED;
        if (info.ExceptionRecord.ExceptionCode != EXCEPTION_ACCESS_VIOLATION) break;
        if (info.dwFirstChance) {
          ++firstChance;
        } else {
          ++lastChance;
          ::TerminateProcess(process.hProcess, 77);
        }
        break;
      }
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.u.CreateProcessInfo.hFile) ::CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile) ::CloseHandle(event.u.LoadDll.hFile);
        break;
      case EXIT_PROCESS_DEBUG_EVENT:
        exitCode = event.u.ExitProcess.dwExitCode;
        running = false;
        break;
      default: break;
    }
    ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, answer);
  }
  std::printf("{\"first_chance\":%d,\"last_chance\":%d,\"exit\":%lu}\n", firstChance, lastChance, exitCode);
  return 0;
}
