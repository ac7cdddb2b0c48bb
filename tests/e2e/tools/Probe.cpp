// e2e_probe: finds, reads and drives another process's windows for the Wine
// tests. One verb per run; the answer is one JSON object on standard output
// (ASCII only: other characters are \u escapes of their UTF-16 units).
//
//   wait-window <caption> [timeout-ms]   a visible top-level window of that caption
//   controls <caption>                   the window and every descendant control
//   click <caption> <id>                 posts BM_CLICK to the control
//   check <caption> <id> <0|1>           sends BM_SETCHECK to the control
//   key <caption> <vk>                   posts WM_KEYDOWN/WM_KEYUP to the focused control
//   message-box [timeout-ms]             waits for a message box; its caption, text, buttons
//   dismiss [timeout-ms]                 waits for a message box and posts IDOK to it
//   capture <caption> <file.bmp>         the window's screen area as a 24-bit BMP
//   hold-open <path> <seconds>           opens the file without sharing and keeps it open
//   screen                               the primary screen's size (GetSystemMetrics)
//   d3d9 <width> <height>                the default adapter's capabilities, read as the
//                                        renderer reads them, and the free texture memory
//                                        of a windowed device with that back buffer
//   dsound                               the result of DirectSoundCreate for the default device
//   windows                              every top-level window (for debugging)
//   text-fit <face> <height> <bold 0|1> [<room> <text>]...
//                                        the font the launcher's controls get for that
//                                        layout font (the same matching): its face, line
//                                        height, letter height and weight; each text's
//                                        width in pixels, and the height and width the
//                                        fitting rule gives it in a room that wide
//
// Exit codes: 0 done, 1 not found / timed out / failed, 2 bad command line.
#include <windows.h>
#include <d3d9.h>

#include "win32/FitText.h"
#include "win32/FontMatch.h"
#include "win32/SkinPaint.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDefaultTimeout = 10000;
constexpr UINT kSendTimeout = 3000;
constexpr DWORD kPoll = 50;

// --- output -----------------------------------------------------------------

std::string Quote(const std::wstring& text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    const auto u = static_cast<unsigned>(c);
    if (c == L'"') {
      out += "\\\"";
    } else if (c == L'\\') {
      out += "\\\\";
    } else if (c == L'\n') {
      out += "\\n";
    } else if (c == L'\r') {
      out += "\\r";
    } else if (c == L'\t') {
      out += "\\t";
    } else if (u < 0x20 || u > 0x7E) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
      out += buffer;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return "\"" + out + "\"";
}

const char* Bool(bool b) { return b ? "true" : "false"; }

std::string Handle(HWND window) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "\"%#llx\"", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return buffer;
}

int Print(const std::string& json, int code = 0) {
  std::fwrite(json.data(), 1, json.size(), stdout);
  std::fputs("\n", stdout);
  std::fflush(stdout);
  return code;
}

int Fail(const std::string& what, int code = 1) { return Print("{\"error\":" + what + "}", code); }

// --- windows ----------------------------------------------------------------

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  const int n = ::GetClassNameW(window, buffer, 256);
  return std::wstring(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

// WM_GETTEXT sent to the window: unlike GetWindowText it reaches the text of
// another process's edit control.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &length)) return {};
  std::vector<wchar_t> buffer(length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, kSendTimeout, &copied)) {
    return {};
  }
  return std::wstring(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
}

// The same text through the ANSI message: the bytes in this process's ANSI
// code page, which is the program's when both run under the same locale.
std::string AnsiTextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &length)) return {};
  // The ANSI length may count a double-byte character twice: leave room.
  std::vector<char> buffer(2 * length + 2, '\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, kSendTimeout, &copied)) {
    return {};
  }
  return std::string(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
}

HWND FindTop(const std::wstring& caption) { return ::FindWindowW(nullptr, caption.c_str()); }

// Waits for a visible top-level window; `found` tells whether one existed at all.
HWND WaitTop(const wchar_t* className, const wchar_t* caption, DWORD timeout, bool& found) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    HWND window = ::FindWindowW(className, caption);
    found = window != nullptr;
    if (window && ::IsWindowVisible(window)) return window;
    if (::GetTickCount() - start >= timeout) return nullptr;
    ::Sleep(kPoll);
  }
}

// Window enumeration callbacks are stdcall on i686: a plain function, not a lambda.
BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> Descendants(HWND top) {
  std::vector<HWND> list;
  ::EnumChildWindows(
      top,
      CollectWindow,
      reinterpret_cast<LPARAM>(&list));
  return list;
}

HWND FindControl(HWND top, int id) {
  for (HWND child : Descendants(top)) {
    if (::GetDlgCtrlID(child) == id) return child;
  }
  return nullptr;
}

bool IsCheckable(HWND window) {
  if (::lstrcmpiW(ClassOf(window).c_str(), L"Button") != 0) return false;
  switch (::GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

// The window's rectangle in its parent's client coordinates: x, y, width, height.
std::string RectInParent(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  POINT corner{r.left, r.top};
  HWND parent = ::GetAncestor(window, GA_PARENT);
  if (parent) ::ScreenToClient(parent, &corner);
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "[%ld,%ld,%ld,%ld]", corner.x, corner.y, r.right - r.left, r.bottom - r.top);
  return buffer;
}

std::string RectJson(const RECT& r) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
  return buffer;
}

std::string Number(long long n) { return std::to_string(n); }

std::string ControlJson(HWND top, HWND control) {
  const LONG style = ::GetWindowLongW(control, GWL_STYLE);
  HWND parent = ::GetAncestor(control, GA_PARENT);
  std::string json = "{\"id\":" + Number(::GetDlgCtrlID(control));
  json += ",\"class\":" + Quote(ClassOf(control));
  json += ",\"text\":" + Quote(TextOf(control));
  json += ",\"ansi\":" + Hex(AnsiTextOf(control));
  json += std::string(",\"enabled\":") + Bool(::IsWindowEnabled(control));
  json += std::string(",\"visible\":") + Bool(::IsWindowVisible(control));
  json += std::string(",\"shown\":") + Bool((style & WS_VISIBLE) != 0);
  json += ",\"check\":";
  if (IsCheckable(control)) {
    DWORD_PTR state = 0;
    ::SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &state);
    json += Number(static_cast<long long>(state));
  } else {
    json += "null";
  }
  json += ",\"rect\":" + RectInParent(control);
  RECT client{};
  ::GetClientRect(control, &client);
  json += ",\"client\":[" + Number(client.right) + "," + Number(client.bottom) + "]";
  if (::lstrcmpiW(ClassOf(control).c_str(), L"Edit") == 0) {
    // Lines as the control wraps them, and the first one scrolled into view.
    DWORD_PTR lines = 0, first = 0;
    ::SendMessageTimeoutW(control, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &lines);
    ::SendMessageTimeoutW(control, EM_GETFIRSTVISIBLELINE, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &first);
    json += ",\"lines\":" + Number(static_cast<long long>(lines)) +
            ",\"first_visible\":" + Number(static_cast<long long>(first));
    // Where each line starts in the client area, as the control places it;
    // the step from one to the next is its line height.
    json += ",\"line_tops\":[";
    for (DWORD_PTR line = 0; line < lines; ++line) {
      DWORD_PTR index = 0, position = 0;
      ::SendMessageTimeoutW(control, EM_LINEINDEX, line, 0, SMTO_ABORTIFHUNG, kSendTimeout, &index);
      ::SendMessageTimeoutW(control, EM_POSFROMCHAR, index, 0, SMTO_ABORTIFHUNG, kSendTimeout, &position);
      if (line > 0) json += ",";
      json += position == static_cast<DWORD_PTR>(-1) ? "null" : Number(static_cast<short>(HIWORD(position)));
    }
    json += "]";
  }
  json += ",\"parent\":" + Number(parent == top ? 0 : ::GetDlgCtrlID(parent));
  json += ",\"style\":" + Number(static_cast<unsigned long>(style));
  json += ",\"hwnd\":" + Handle(control) + "}";
  return json;
}

std::string TopJson(HWND top) {
  const LONG style = ::GetWindowLongW(top, GWL_STYLE);
  RECT client{};
  ::GetClientRect(top, &client);
  RECT window{};
  ::GetWindowRect(top, &window);
  std::string json = "{\"hwnd\":" + Handle(top);
  json += ",\"caption\":" + Quote(TextOf(top));
  json += ",\"class\":" + Quote(ClassOf(top));
  json += std::string(",\"visible\":") + Bool(::IsWindowVisible(top));
  json += std::string(",\"enabled\":") + Bool(::IsWindowEnabled(top));
  json += ",\"style\":" + Number(static_cast<unsigned long>(style));
  json += ",\"exstyle\":" + Number(static_cast<unsigned long>(::GetWindowLongW(top, GWL_EXSTYLE)));
  json += std::string(",\"sysmenu\":") + Bool(style & WS_SYSMENU);
  json += std::string(",\"minimizebox\":") + Bool(style & WS_MINIMIZEBOX);
  json += std::string(",\"maximizebox\":") + Bool(style & WS_MAXIMIZEBOX);
  json += std::string(",\"thickframe\":") + Bool(style & WS_THICKFRAME);
  json += ",\"client\":[" + Number(client.right - client.left) + "," + Number(client.bottom - client.top) + "]";
  json += ",\"window\":" + RectJson(window);
  POINT origin{0, 0};
  ::ClientToScreen(top, &origin);
  json += ",\"client_origin\":[" + Number(origin.x) + "," + Number(origin.y) + "]";
  DWORD pid = 0;
  ::GetWindowThreadProcessId(top, &pid);
  json += ",\"pid\":" + Number(pid);
  return json;
}

// --- verbs --------------------------------------------------------------------

DWORD ParseTimeout(const std::vector<std::wstring>& args, size_t index) {
  return args.size() > index ? static_cast<DWORD>(std::wcstoul(args[index].c_str(), nullptr, 10)) : kDefaultTimeout;
}

int WaitWindow(const std::vector<std::wstring>& args) {
  bool found = false;
  HWND top = WaitTop(nullptr, args[2].c_str(), ParseTimeout(args, 3), found);
  if (!top) {
    return Print(std::string("{\"found\":") + Bool(found) + ",\"visible\":false}", 1);
  }
  return Print("{\"found\":true,\"visible\":true,\"hwnd\":" + Handle(top) + "}");
}

int Controls(const std::vector<std::wstring>& args) {
  HWND top = FindTop(args[2]);
  if (!top) return Fail("\"no window\"");
  std::string json = TopJson(top) + ",\"controls\":[";
  bool first = true;
  for (HWND child : Descendants(top)) {
    if (!first) json += ",";
    first = false;
    json += ControlJson(top, child);
  }
  return Print(json + "]}");
}

HWND ControlArgument(const std::vector<std::wstring>& args, int& code) {
  HWND top = FindTop(args[2]);
  if (!top) {
    code = Fail("\"no window\"");
    return nullptr;
  }
  const int id = static_cast<int>(std::wcstol(args[3].c_str(), nullptr, 0));
  HWND control = FindControl(top, id);
  if (!control) code = Fail("\"no control " + std::to_string(id) + "\"");
  return control;
}

int Click(const std::vector<std::wstring>& args) {
  int code = 0;
  HWND control = ControlArgument(args, code);
  if (!control) return code;
  if (!::PostMessageW(control, BM_CLICK, 0, 0)) return Fail(Number(::GetLastError()));
  return Print("{\"posted\":true,\"hwnd\":" + Handle(control) + "}");
}

int Check(const std::vector<std::wstring>& args) {
  int code = 0;
  HWND control = ControlArgument(args, code);
  if (!control) return code;
  const WPARAM state = std::wcstoul(args[4].c_str(), nullptr, 10) ? BST_CHECKED : BST_UNCHECKED;
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(control, BM_SETCHECK, state, 0, SMTO_ABORTIFHUNG, kSendTimeout, &result)) {
    return Fail(Number(::GetLastError()));
  }
  return Print("{\"sent\":true,\"hwnd\":" + Handle(control) + "}");
}

// The key goes to the control that has the focus in the window's thread, or
// to the window itself; it passes through the program's message loop.
int Key(const std::vector<std::wstring>& args) {
  HWND top = FindTop(args[2]);
  if (!top) return Fail("\"no window\"");
  const UINT vk = static_cast<UINT>(std::wcstoul(args[3].c_str(), nullptr, 0));
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND target = top;
  if (::GetGUIThreadInfo(::GetWindowThreadProcessId(top, nullptr), &info) && info.hwndFocus) target = info.hwndFocus;
  const UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  const LPARAM up = down | (LPARAM{1} << 30) | (LPARAM{1} << 31);
  if (!::PostMessageW(target, WM_KEYDOWN, vk, down) || !::PostMessageW(target, WM_KEYUP, vk, up)) {
    return Fail(Number(::GetLastError()));
  }
  return Print("{\"posted\":true,\"target\":" + Handle(target) + ",\"id\":" + Number(::GetDlgCtrlID(target)) + "}");
}

int MessageBoxVerb(const std::vector<std::wstring>& args, bool dismiss) {
  bool found = false;
  HWND box = WaitTop(L"#32770", nullptr, ParseTimeout(args, 2), found);
  if (!box) return Fail("\"no message box\"");
  HWND textItem = ::GetDlgItem(box, 0xFFFF);
  std::string json = "{\"caption\":" + Quote(TextOf(box));
  json += ",\"text\":" + Quote(textItem ? TextOf(textItem) : std::wstring());
  json += ",\"buttons\":[";
  bool first = true;
  for (HWND child : Descendants(box)) {
    if (::lstrcmpiW(ClassOf(child).c_str(), L"Button") != 0 || !::IsWindowVisible(child)) continue;
    if (!first) json += ",";
    first = false;
    json += Quote(TextOf(child));
  }
  DWORD pid = 0;
  ::GetWindowThreadProcessId(box, &pid);
  json += "],\"pid\":" + Number(pid);
  if (dismiss) {
    const BOOL posted = ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                       reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
    json += std::string(",\"dismissed\":") + Bool(posted);
    if (!posted) return Print(json + "}", 1);
  }
  return Print(json + "}");
}

bool WriteBmp(const std::wstring& path, int width, int height, const std::vector<unsigned char>& pixels) {
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as GetDIBits gives it
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = stride * static_cast<DWORD>(height);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(out, &file, sizeof file, &written, nullptr) && ::WriteFile(out, &info, sizeof info, &written, nullptr) &&
            ::WriteFile(out, pixels.data(), info.biSizeImage, &written, nullptr) && written == info.biSizeImage;
  ::CloseHandle(out);
  return ok;
}

// Another process's window DC gives no pixels under Wine: the screen does.
int Capture(const std::vector<std::wstring>& args) {
  HWND top = FindTop(args[2]);
  if (!top) return Fail("\"no window\"");
  ::RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::Sleep(200);
  RECT r{};
  ::GetWindowRect(top, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return Fail("\"empty window\"");

  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  const BOOL copied = ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  ::SelectObject(memory, old);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<unsigned char> pixels(stride * static_cast<DWORD>(height));
  const int lines = ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  if (!copied || lines != height) return Fail("\"screen copy failed\"");
  if (!WriteBmp(args[3], width, height, pixels)) return Fail("\"cannot write " + std::to_string(::GetLastError()) + "\"");
  return Print("{\"file\":" + Quote(args[3]) + ",\"width\":" + Number(width) + ",\"height\":" + Number(height) +
               ",\"window\":" + RectJson(r) + "}");
}

int HoldOpen(const std::vector<std::wstring>& args) {
  HANDLE file = ::CreateFileW(args[2].c_str(), GENERIC_READ | GENERIC_WRITE, 0 /* no sharing */, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Print("{\"held\":false,\"error\":" + Number(::GetLastError()) + "}", 1);
  Print("{\"held\":true}");
  ::Sleep(static_cast<DWORD>(std::wcstoul(args[3].c_str(), nullptr, 10)) * 1000);
  ::CloseHandle(file);
  return 0;
}

int Screen() {
  return Print("{\"width\":" + Number(::GetSystemMetrics(SM_CXSCREEN)) + ",\"height\":" +
               Number(::GetSystemMetrics(SM_CYSCREEN)) + "}");
}

// d3d9.dll is loaded at run time, so the probe also runs where it is missing.
int Direct3D(const std::vector<std::wstring>& args) {
  HMODULE library = ::LoadLibraryW(L"d3d9.dll");
  if (!library) return Print("{\"d3d9\":false}");
  using CreateProc = IDirect3D9*(WINAPI*)(UINT);
  const auto create = reinterpret_cast<CreateProc>(
      reinterpret_cast<void (*)()>(::GetProcAddress(library, "Direct3DCreate9")));
  IDirect3D9* d3d = create ? create(D3D_SDK_VERSION) : nullptr;
  if (!d3d) return Print("{\"d3d9\":false}");

  D3DCAPS9 caps{};
  const HRESULT capsResult = d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps);
  std::string json = "{\"d3d9\":true,\"caps\":" + Number(static_cast<long long>(capsResult == D3D_OK));
  json += ",\"vs\":[" + Number(D3DSHADER_VERSION_MAJOR(caps.VertexShaderVersion)) + "," +
          Number(D3DSHADER_VERSION_MINOR(caps.VertexShaderVersion)) + "]";
  json += ",\"ps\":[" + Number(D3DSHADER_VERSION_MAJOR(caps.PixelShaderVersion)) + "," +
          Number(D3DSHADER_VERSION_MINOR(caps.PixelShaderVersion)) + "]";
  json += ",\"max_anisotropy\":" + Number(caps.MaxAnisotropy);

  // The most samples a windowed X8R8G8B8 target takes, and its quality levels.
  long long samples = 0;
  DWORD quality = 0;
  for (int n = 16; n >= 1; --n) {
    DWORD levels = 0;
    if (d3d->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE,
                                        static_cast<D3DMULTISAMPLE_TYPE>(n), &levels) == D3D_OK) {
      samples = n;
      quality = levels;
      break;
    }
  }
  json += ",\"max_samples\":" + Number(samples) + ",\"max_quality\":" + Number(quality);

  struct Format {
    const char* name;
    D3DFORMAT format;
    DWORD usage;
    D3DRESOURCETYPE type;
  };
  const Format formats[] = {
      {"G16R16", D3DFMT_G16R16, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE},
      {"A16B16G16R16", D3DFMT_A16B16G16R16, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE},
      {"R16F", D3DFMT_R16F, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE},
      {"G16R16F", D3DFMT_G16R16F, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE},
      {"A16B16G16R16F", D3DFMT_A16B16G16R16F, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE},
      {"R32F", D3DFMT_R32F, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE},
      {"G32R32F", D3DFMT_G32R32F, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE},
      {"A32B32G32R32F", D3DFMT_A32B32G32R32F, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE},
      {"DXT1", D3DFMT_DXT1, 0, D3DRTYPE_TEXTURE},
      {"DXT3", D3DFMT_DXT3, 0, D3DRTYPE_TEXTURE},
      {"DXT5", D3DFMT_DXT5, 0, D3DRTYPE_TEXTURE},
      {"ATOC", static_cast<D3DFORMAT>(MAKEFOURCC('A', 'T', 'O', 'C')), 0, D3DRTYPE_SURFACE},
      {"A2M1", static_cast<D3DFORMAT>(MAKEFOURCC('A', '2', 'M', '1')), 0, D3DRTYPE_SURFACE},
  };
  json += ",\"formats\":[";
  bool first = true;
  for (const Format& f : formats) {
    if (d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, f.usage, f.type, f.format) != D3D_OK) {
      continue;
    }
    if (!first) json += ",";
    first = false;
    json += std::string("\"") + f.name + "\"";
  }
  json += "]";

  // A windowed device for a hidden window, with the given back buffer.
  HWND window = ::CreateWindowExW(0, L"STATIC", L"e2e_probe d3d9", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
  D3DPRESENT_PARAMETERS parameters{};
  parameters.BackBufferWidth = static_cast<UINT>(std::wcstoul(args[2].c_str(), nullptr, 10));
  parameters.BackBufferHeight = static_cast<UINT>(std::wcstoul(args[3].c_str(), nullptr, 10));
  parameters.BackBufferFormat = D3DFMT_UNKNOWN;
  parameters.BackBufferCount = 1;
  parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
  parameters.hDeviceWindow = window;
  parameters.Windowed = TRUE;
  parameters.EnableAutoDepthStencil = TRUE;
  parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
  IDirect3DDevice9* device = nullptr;
  const HRESULT created = d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                            D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device);
  char code[16];
  std::snprintf(code, sizeof code, "\"%08lx\"", static_cast<unsigned long>(created));
  json += std::string(",\"device\":") + code;
  json += ",\"free_texture_bytes\":" + Number(device ? static_cast<long long>(device->GetAvailableTextureMem()) : -1);
  if (device) device->Release();
  d3d->Release();
  ::DestroyWindow(window);
  return Print(json + "}");
}

// What DirectSoundCreate gives for the default device in this environment,
// as the engine's SoundInit calls it.
int DirectSound() {
  HMODULE library = ::LoadLibraryW(L"dsound.dll");
  if (!library) return Fail("\"no dsound.dll\"");
  using CreateProc = HRESULT(WINAPI*)(const GUID*, IUnknown**, IUnknown*);
  const auto create = reinterpret_cast<CreateProc>(
      reinterpret_cast<void (*)()>(::GetProcAddress(library, "DirectSoundCreate")));
  if (!create) return Fail("\"no DirectSoundCreate\"");
  IUnknown* sound = nullptr;
  const HRESULT result = create(nullptr, &sound, nullptr);
  if (sound) sound->Release();
  char code[16];
  std::snprintf(code, sizeof code, "\"%08lx\"", static_cast<unsigned long>(result));
  return Print(std::string("{\"result\":") + code + "}");
}

int Windows() {
  std::vector<HWND> list;
  ::EnumWindows(
      CollectWindow,
      reinterpret_cast<LPARAM>(&list));
  std::string json = "{\"windows\":[";
  bool first = true;
  for (HWND window : list) {
    if (!first) json += ",";
    first = false;
    json += TopJson(window) + "}";
  }
  return Print(json + "]}");
}

int TextFit(const std::vector<std::wstring>& args) {
  TFont layoutFont;
  const int size = WideCharToMultiByte(CP_UTF8, 0, args[2].c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string face(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, args[2].c_str(), -1, face.data(), size, nullptr, nullptr);
  layoutFont.Name = face;
  layoutFont.Height = _wtoi(args[3].c_str());
  layoutFont.Bold = args[4] == L"1";
  HFONT font = win32::MatchFont(layoutFont);
  HDC dc = ::GetDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, font);
  wchar_t chosen[LF_FACESIZE] = {};
  ::GetTextFaceW(dc, LF_FACESIZE, chosen);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ::SelectObject(dc, old);
  std::string json = "{\"face\":" + Quote(chosen) + ",\"height\":" + Number(metrics.tmHeight) +
                     ",\"em\":" + Number(metrics.tmHeight - metrics.tmInternalLeading) +
                     ",\"weight\":" + Number(metrics.tmWeight) + ",\"texts\":[";
  // Measured as the controls measure what they draw (DrawText), at the
  // asked size and at the size the fitting rule gives for the room.
  for (size_t i = 5; i + 1 < args.size(); i += 2) {
    const std::wstring& text = args[i + 1];
    HFONT fitting = win32::FittingFont(dc, font, text, _wtoi(args[i].c_str()));
    LOGFONTW shape{};
    ::GetObjectW(fitting, sizeof shape, &shape);
    if (i > 5) json += ",";
    json += "{\"width\":" + Number(skinpaint::TextSize(dc, text, font).cx) +
            ",\"fit_height\":" + Number(shape.lfHeight) +
            ",\"fit_width\":" + Number(skinpaint::TextSize(dc, text, fitting).cx) + "}";
  }
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(font);
  return Print(json + "]}");
}

int Usage() {
  std::fputs(
      "usage: e2e_probe wait-window <caption> [timeout-ms] | controls <caption> | click <caption> <id>\n"
      "       | check <caption> <id> <0|1> | key <caption> <vk> | message-box [timeout-ms] | dismiss [timeout-ms]\n"
      "       | capture <caption> <file.bmp> | hold-open <path> <seconds> | screen | d3d9 <width> <height>\n"
      "       | dsound | windows | text-fit <face> <height> <bold 0|1> [<room> <text>]...\n",
      stderr);
  return 2;
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!argv) return Usage();
  std::vector<std::wstring> args(argv, argv + count);
  ::LocalFree(argv);
  if (args.size() < 2) return Usage();
  const std::wstring& verb = args[1];
  const size_t n = args.size();
  if (verb == L"wait-window" && (n == 3 || n == 4)) return WaitWindow(args);
  if (verb == L"controls" && n == 3) return Controls(args);
  if (verb == L"click" && n == 4) return Click(args);
  if (verb == L"check" && n == 5) return Check(args);
  if (verb == L"key" && n == 4) return Key(args);
  if (verb == L"message-box" && (n == 2 || n == 3)) return MessageBoxVerb(args, false);
  if (verb == L"dismiss" && (n == 2 || n == 3)) return MessageBoxVerb(args, true);
  if (verb == L"capture" && n == 4) return Capture(args);
  if (verb == L"hold-open" && n == 4) return HoldOpen(args);
  if (verb == L"screen" && n == 2) return Screen();
  if (verb == L"d3d9" && n == 4) return Direct3D(args);
  if (verb == L"dsound" && n == 2) return DirectSound();
  if (verb == L"windows" && n == 2) return Windows();
  if (verb == L"text-fit" && n >= 5 && (n - 5) % 2 == 0) return TextFit(args);
  return Usage();
}
