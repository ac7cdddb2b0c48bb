// System services, clock, locks and process end over the Windows API.
#include "../Backend.h"
#include "Platform.h"
#include "Utf8.h"

#include <windows.h>
#include <mmsystem.h>
#include <shlobj.h>

#include <vector>

namespace platform {

void QuerySystemInfo(SystemInfoRecord& info) {
  SYSTEM_INFO si;
  ::GetSystemInfo(&si);
  info.wProcessorArchitecture = si.wProcessorArchitecture;
  info.wReserved = si.wReserved;
  info.dwPageSize = si.dwPageSize;
  info.lpMinimumApplicationAddress = si.lpMinimumApplicationAddress;
  info.lpMaximumApplicationAddress = si.lpMaximumApplicationAddress;
  info.dwActiveProcessorMask = si.dwActiveProcessorMask;
  info.dwNumberOfProcessors = si.dwNumberOfProcessors;
  info.dwProcessorType = si.dwProcessorType;
  info.dwAllocationGranularity = si.dwAllocationGranularity;
  info.wProcessorLevel = si.wProcessorLevel;
  info.wProcessorRevision = si.wProcessorRevision;
}

// Grows the buffer until the whole path fits, so long paths are not cut.
std::string backend::ModuleFileName() {
  std::vector<char> buffer(512);
  for (;;) {
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::string(buffer.data(), n);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

namespace {

std::string WideToCodePage(UINT codePage, const wchar_t* wide, int length) {
  if (length <= 0) return {};
  const int size = ::WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(codePage, 0, wide, length, out.data(), size, nullptr, nullptr);
  return out;
}

// CharLowerBuffA lowers in place, through the code page and back: under
// UTF-8 a character whose lower case has another length ("İ" lowers to "i")
// or a byte that forms no character (which comes back as the three bytes of
// U+FFFD) would overrun or shift the text. So each run of well-formed
// characters is lowered through UTF-16 at its own length, and stray bytes
// are kept.
void LowerUtf8(std::string& text) {
  std::string lower;
  lower.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    for (std::size_t n; (n = utf8::SequenceLength(text, end)) != 0;) end += n;
    if (end == at) {
      lower.push_back(text[at++]);
      continue;
    }
    const int count = static_cast<int>(end - at);
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, text.data() + at, count, wide.data(), count);
    ::CharLowerBuffW(wide.data(), static_cast<DWORD>(units));
    lower += WideToCodePage(CP_UTF8, wide.data(), units);
    at = end;
  }
  text = std::move(lower);
}

}  // namespace

// Through the wide call: the 8-bit one converts into a buffer of MAX_PATH
// bytes, which a UTF-8 path of 130 Cyrillic letters already passes.
std::int32_t SpecialFolderPath(std::int32_t csidl, std::string& path) {
  wchar_t buffer[MAX_PATH + 1] = {};
  const HRESULT hr = ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer);
  path = hr < 0 ? std::string() : WideToCodePage(CP_ACP, buffer, ::lstrlenW(buffer));
  return static_cast<std::int32_t>(hr);
}

std::uint32_t backend::AnsiCodePage() { return ::GetACP(); }

void LowerAnsiText(std::string& text) {
  if (text.empty()) return;
  if (AnsiCodePage() == kCodePageUtf8) return LowerUtf8(text);
  ::CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
}

std::u16string Utf8ToUtf16(const char* bytes, std::size_t count) {
  if (count == 0 || count > 0x7FFFFFFF) return {};
  std::u16string out(count, u'\0');
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(count),
                                      reinterpret_cast<wchar_t*>(out.data()), static_cast<int>(count));
  out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return out;
}

std::string WideToAnsi(const std::u16string& text) {
  return WideToCodePage(CP_ACP, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()));
}

std::uint32_t ThreadLocaleId() { return ::GetThreadLocale(); }

std::uint32_t backend::TimerTime() { return ::timeGetTime(); }
std::uint32_t TimerBeginPeriod(std::uint32_t period) { return ::timeBeginPeriod(period); }
std::uint32_t TimerEndPeriod(std::uint32_t period) { return ::timeEndPeriod(period); }

void backend::SleepFor(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

struct CriticalSection::Impl {
  CRITICAL_SECTION section;
};

CriticalSection::CriticalSection() : impl_(new Impl) { ::InitializeCriticalSection(&impl_->section); }

CriticalSection::~CriticalSection() {
  ::DeleteCriticalSection(&impl_->section);
  delete impl_;
}

void CriticalSection::Enter() { ::EnterCriticalSection(&impl_->section); }
void CriticalSection::Leave() { ::LeaveCriticalSection(&impl_->section); }

EventHandle NewEvent() { return ::CreateEventA(nullptr, FALSE, FALSE, nullptr); }

void backend::ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t style) {
  ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

// The display mode of the primary display, in real pixels. The program is
// not DPI-aware, so GetSystemMetrics would give it a size scaled down by the
// desktop's scaling: a 1920 x 1080 screen at 150% would read as 1280 x 720
// and be reported as too small for a game that runs on it full-screen.
ScreenSize backend::PrimaryScreenSize() {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  if (::EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmPelsWidth > 0 && mode.dmPelsHeight > 0) {
    return ScreenSize{static_cast<std::int32_t>(mode.dmPelsWidth), static_cast<std::int32_t>(mode.dmPelsHeight)};
  }
  return ScreenSize{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void backend::EndProcess(std::uint32_t code) { ::ExitProcess(code); }

}  // namespace platform
