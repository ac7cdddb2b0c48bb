// Thin wrappers over the platform's file handles; none reports an error.
#include "RangeCheck.h"
#include "VK9_System.h"

THandle OpenFileShared(const std::string& name) {
  return platform::FileOpen(name, platform::OpenMode::kReadWriteShared);
}

std::int32_t ReadFileAt(THandle handle, void* buffer, std::int32_t count, std::int64_t offset) {
  const auto size = RangeChecked<std::uint32_t>(count);
  if (offset != -1) platform::FileSeek(handle, offset);
  const std::int64_t n = platform::FileRead(handle, buffer, size);
  return n > 0 ? static_cast<std::int32_t>(n) : 0;
}

std::int32_t WriteFileAt(THandle handle, const void* buffer, std::int32_t count, std::int64_t offset) {
  const auto size = RangeChecked<std::uint32_t>(count);
  if (offset != -1) platform::FileSeek(handle, offset);
  const std::int64_t n = platform::FileWrite(handle, buffer, size);
  return n > 0 ? static_cast<std::int32_t>(n) : 0;
}

void CloseFileHandle(THandle handle) { platform::FileClose(handle); }

bool FolderExists(const std::string& path) {
  const std::uint32_t attributes = platform::PathAttributes(path);
  return attributes <= 2000000000u && (attributes & platform::kAttributeDirectory) != 0;
}
