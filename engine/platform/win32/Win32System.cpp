// System services, clock, locks and process end over the Windows API.
#include "../Backend.h"
#include "../Platform.h"

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

std::int32_t SpecialFolderPath(std::int32_t csidl, std::string& path) {
  char buffer[MAX_PATH + 1] = {};
  const HRESULT hr = ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer);
  path = hr < 0 ? std::string() : std::string(buffer);
  return static_cast<std::int32_t>(hr);
}

void LowerAnsiText(std::string& text) {
  if (!text.empty()) ::CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
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
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), size, nullptr, nullptr);
  return out;
}

std::uint32_t ThreadLocaleId() { return ::GetThreadLocale(); }

std::uint32_t backend::TimerTime() { return ::timeGetTime(); }
std::uint32_t TimerBeginPeriod(std::uint32_t period) { return ::timeBeginPeriod(period); }
std::uint32_t TimerEndPeriod(std::uint32_t period) { return ::timeEndPeriod(period); }

void SleepFor(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

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

void EndProcess(std::uint32_t code) { ::ExitProcess(code); }

}  // namespace platform
