// Processes, the message queue and named mutexes over the Windows API.
#include "../Backend.h"
#include "Platform.h"

#include <windows.h>
#include <shellapi.h>

namespace platform {

bool CloseObject(ObjectHandle object) { return object && ::CloseHandle(object) != 0; }

bool backend::StartProcess(const std::string& commandText, std::uint32_t creationFlags, std::uint16_t showCommand,
                  ProcessInfo& info) {
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showCommand;
  PROCESS_INFORMATION process;
  ZeroMemory(&process, sizeof process);
  // CreateProcessA may write into the command text, so it gets a copy.
  std::string command = commandText;
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr, &startup,
                        &process)) {
    return false;
  }
  info = ProcessInfo{process.hProcess, process.hThread, process.dwProcessId, process.dwThreadId};
  return true;
}

std::uint32_t LastError() { return ::GetLastError(); }

std::intptr_t backend::AssociatedProgram(const std::string& file, std::string& program) {
  char found[MAX_PATH + 1] = {};
  const auto result = reinterpret_cast<std::intptr_t>(::FindExecutableA(file.c_str(), nullptr, found));
  program = result > 32 ? std::string(found) : std::string();
  return result;
}

bool ProcessHasEnded(ObjectHandle process) { return ::WaitForSingleObject(process, 0) != WAIT_TIMEOUT; }

void WaitForProcess(ObjectHandle process) { ::WaitForSingleObject(process, INFINITE); }

void WaitForProcessOrMessage(ObjectHandle process) {
  HANDLE handle = process;
  ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
}

bool DispatchPendingMessages(std::uint32_t& quitCode) {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitCode = static_cast<std::uint32_t>(msg.wParam);
      return true;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return false;
}

// The mutex's HANDLE itself, under the seam's own pointer type.
MutexHandle CreateNamedMutex(const std::string& name, bool initialOwner) {
  return reinterpret_cast<MutexHandle>(::CreateMutexA(nullptr, initialOwner ? TRUE : FALSE, name.c_str()));
}

bool ReleaseNamedMutex(MutexHandle mutex) { return mutex && ::ReleaseMutex(reinterpret_cast<HANDLE>(mutex)) != 0; }

bool CloseMutex(MutexHandle mutex) { return mutex && ::CloseHandle(reinterpret_cast<HANDLE>(mutex)) != 0; }

bool NamedMutexExists(const std::string& name) {
  HANDLE mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
  if (!mutex) return false;
  ::CloseHandle(mutex);
  return true;
}

}  // namespace platform
