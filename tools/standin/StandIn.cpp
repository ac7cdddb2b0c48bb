// A stand-in for the game, for the demo and the tests under Wine; never
// shipped. Started by the launcher, it writes Ostrelund_report.txt beside
// itself: its command line, its current folder, whether the launcher's mutex
// existed when it started, its own path, and the player's options file as it
// then was. Its manifest sets the UTF-8 code page, so the paths in the
// report are UTF-8 whatever the system's code page.
// Then it shows a small window in the launcher's dark skin saying that the
// game would now run, and closes after a few seconds.
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Embedded.h"
#include "SkinManager.h"

namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kShowMs = 4000;
TSkin g_skin;

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "(missing)";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Paths in UTF-8 can be three times their length in characters.
constexpr DWORD kPathBytes = 4 * MAX_PATH;

std::string OwnPath() {
  char path[kPathBytes] = {};
  ::GetModuleFileNameA(nullptr, path, kPathBytes);
  return path;
}

std::string OwnFolder() {
  const std::string path = OwnPath();
  return path.substr(0, path.rfind('\\') + 1);
}

std::wstring Wide(const std::string& text) {
  const int size = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
  return wide;
}

std::string LocalAppData() {
  wchar_t wide[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, wide);
  char path[kPathBytes] = {};
  ::WideCharToMultiByte(CP_ACP, 0, wide, -1, path, kPathBytes, nullptr, nullptr);
  return path;
}

void WriteReport(bool mutexExisted) {
  char current[kPathBytes] = {};
  ::GetCurrentDirectoryA(kPathBytes, current);
  // Written aside and renamed when whole: whoever waits for the report
  // reads it complete as soon as it is there, however slow this machine.
  // The two names are as long as each other: a game folder near the path
  // limit must hold both.
  const std::string done = OwnFolder() + "Ostrelund_report.txt";
  const std::string partial = OwnFolder() + "Ostrelund_report.tmp";
  {
    std::ofstream report(partial, std::ios::binary | std::ios::trunc);
    report << "CommandLine=" << ::GetCommandLineA() << "\r\n"
           << "CurrentFolder=" << current << "\r\n"
           << "MutexExisted=" << (mutexExisted ? "Yes" : "No") << "\r\n"
           << "ModulePath=" << OwnPath() << "\r\n"
           << "Options_Game.ini:\r\n"
           << ReadFileBytes(LocalAppData() + "\\Ostrelund\\Options_Game.ini");
  }
  // The wide call: the report's path may pass MAX_PATH (the tests' longest
  // game folder), which the ANSI one refuses.
  ::MoveFileExW(Wide(partial).c_str(), Wide(done).c_str(), MOVEFILE_REPLACE_EXISTING);
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(window, &ps);
  RECT client;
  ::GetClientRect(window, &client);
  const TSkinColors& colors = g_skin.Section("GROUPBOX").State(TSkinState::Normal);
  HBRUSH face = ::CreateSolidBrush(g_skin.Face);
  ::FillRect(dc, &client, face);
  ::DeleteObject(face);
  RECT frame = client;
  ::InflateRect(&frame, -10, -10);
  HBRUSH border = ::CreateSolidBrush(colors.Border);
  ::FrameRect(dc, &frame, border);
  ::DeleteObject(border);
  HFONT font = ::CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  HGDIOBJ old = ::SelectObject(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, colors.Text);
  ::DrawTextA(dc, "Ostrelund would now run.", -1, &frame, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::SelectObject(dc, old);
  ::DeleteObject(font);
  ::EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: Paint(window); return 0;
    case WM_TIMER: ::DestroyWindow(window); return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main() {
  HANDLE mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, "Ostrelund Beta");
  WriteReport(mutex != nullptr);
  if (mutex) ::CloseHandle(mutex);

  const embedded::TResource skin = embedded::Find("skins/Dark.ini");
  g_skin = ParseSkin(skin.Data, skin.Size);

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.lpszClassName = "OstrelundStandIn";
  ::RegisterClassA(&windowClass);
  const int width = 360, height = 120;
  HWND window = ::CreateWindowExA(0, "OstrelundStandIn", "Ostrelund", WS_CAPTION | WS_POPUP,
                                  (::GetSystemMetrics(SM_CXSCREEN) - width) / 2, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                                  width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
  ::SetTimer(window, kCloseTimer, kShowMs, nullptr);
  ::ShowWindow(window, SW_SHOWNORMAL);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
