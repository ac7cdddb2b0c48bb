// Files and folders over POSIX descriptors. POSIX has no share modes, so
// "shared" opens are plain opens.
#include "../Backend.h"
#include "Platform.h"
#include "PosixPath.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {
int Fd(FileHandle file) { return static_cast<int>(file); }
}  // namespace

FileHandle FileOpen(const std::string& path, OpenMode mode) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case OpenMode::kReadWriteShared: flags |= O_RDWR | O_CREAT; break;
    case OpenMode::kCreateTruncate: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    case OpenMode::kAppendExisting: flags |= O_WRONLY | O_APPEND; break;
  }
  int fd;
  do {
    fd = ::open(posix::ToNativePath(path).c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd < 0 ? kInvalidFile : fd;
}

std::int64_t FileSize(FileHandle file) {
  struct stat st {};
  if (::fstat(Fd(file), &st) != 0) return -1;
  return st.st_size;
}

bool FileSeek(FileHandle file, std::int64_t offset) {
  return ::lseek(Fd(file), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

std::int64_t FileRead(FileHandle file, void* buffer, std::size_t count) {
  ssize_t n;
  do {
    n = ::read(Fd(file), buffer, count);
  } while (n < 0 && errno == EINTR);
  return n;
}

std::int64_t FileWrite(FileHandle file, const void* buffer, std::size_t count) {
  ssize_t n;
  do {
    n = ::write(Fd(file), buffer, count);
  } while (n < 0 && errno == EINTR);
  return n;
}

bool FileTruncate(FileHandle file) {
  const off_t here = ::lseek(Fd(file), 0, SEEK_CUR);
  return here >= 0 && ::ftruncate(Fd(file), here) == 0;
}

bool FileClose(FileHandle file) { return ::close(Fd(file)) == 0; }

std::uint32_t PathAttributes(const std::string& path) {
  struct stat st {};
  if (::stat(posix::ToNativePath(path).c_str(), &st) != 0) return kInvalidAttributes;
  constexpr std::uint32_t kNormal = 0x80;
  return S_ISDIR(st.st_mode) ? kAttributeDirectory : kNormal;
}

bool MakeDirectory(const std::string& path) {
  return ::mkdir(posix::ToNativePath(path).c_str(), 0777) == 0;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(posix::ToNativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FileDelete(const std::string& path) { return ::unlink(posix::ToNativePath(path).c_str()) == 0; }

std::string backend::ShortPathName(const std::string& path) { return path; }

}  // namespace platform
