// Files and folders over the Windows API.
#include "../Backend.h"
#include "Platform.h"

#include <windows.h>

namespace platform {
namespace {
HANDLE H(FileHandle file) { return reinterpret_cast<HANDLE>(file); }
}  // namespace

FileHandle FileOpen(const std::string& path, OpenMode mode) {
  DWORD access = GENERIC_WRITE, share = 0, disposition = OPEN_EXISTING;
  switch (mode) {
    case OpenMode::kReadWriteShared:
      access = GENERIC_READ | GENERIC_WRITE;
      share = FILE_SHARE_READ | FILE_SHARE_WRITE;
      disposition = OPEN_ALWAYS;
      break;
    case OpenMode::kCreateTruncate:
      share = FILE_SHARE_READ;
      disposition = CREATE_ALWAYS;
      break;
    case OpenMode::kAppendExisting:
      access = FILE_APPEND_DATA;
      share = FILE_SHARE_READ;
      disposition = OPEN_EXISTING;
      break;
  }
  HANDLE h = ::CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return kInvalidFile;
  return reinterpret_cast<FileHandle>(h);
}

std::int64_t FileSize(FileHandle file) {
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(H(file), &size)) return -1;
  return size.QuadPart;
}

bool FileSeek(FileHandle file, std::int64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = offset;
  return ::SetFilePointerEx(H(file), to, nullptr, FILE_BEGIN) != 0;
}

std::int64_t FileRead(FileHandle file, void* buffer, std::size_t count) {
  DWORD done = 0;
  const DWORD ask = count > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<DWORD>(count);
  if (!::ReadFile(H(file), buffer, ask, &done, nullptr)) return -1;
  return done;
}

std::int64_t FileWrite(FileHandle file, const void* buffer, std::size_t count) {
  DWORD done = 0;
  const DWORD ask = count > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<DWORD>(count);
  if (!::WriteFile(H(file), buffer, ask, &done, nullptr)) return -1;
  return done;
}

bool FileTruncate(FileHandle file) { return ::SetEndOfFile(H(file)) != 0; }

bool FileClose(FileHandle file) { return ::CloseHandle(H(file)) != 0; }

std::uint32_t PathAttributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

bool MakeDirectory(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FileDelete(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

std::string backend::ShortPathName(const std::string& path) {
  std::string shortPath(path.size() + 1, '\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD n = ::GetShortPathNameA(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (n == 0) return path;
    if (n < shortPath.size()) return shortPath.substr(0, n);
    shortPath.assign(n, '\0');
  }
  return path;
}

}  // namespace platform
