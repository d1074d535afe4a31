#include "settings/exclusive_file.h"

#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tyld::settings {

ExclusiveFile::~ExclusiveFile() { Close(); }

#ifdef _WIN32

bool ExclusiveFile::Open(const std::string& utf8Path) {
  Close();
  const int wlen = MultiByteToWideChar(CP_UTF8, 0, utf8Path.c_str(), -1, nullptr, 0);
  if (wlen <= 0) return false;
  std::wstring wide(static_cast<std::size_t>(wlen), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8Path.c_str(), -1, wide.data(), wlen);
  int fd = -1;
  if (_wsopen_s(&fd, wide.c_str(), _O_RDWR | _O_CREAT | _O_BINARY, _SH_DENYRW,
                _S_IREAD | _S_IWRITE) != 0)
    return false;
  fd_ = fd;
  return true;
}

std::int64_t ExclusiveFile::Size() const {
  if (fd_ < 0) return -1;
  struct _stat64 st;
  return _fstat64(fd_, &st) == 0 ? st.st_size : -1;
}

std::size_t ExclusiveFile::ReadAtStart(void* buffer, std::size_t n) {
  if (fd_ < 0 || _lseeki64(fd_, 0, SEEK_SET) != 0) return 0;
  const int got = _read(fd_, buffer, static_cast<unsigned>(n));
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

std::size_t ExclusiveFile::WriteAtStart(const void* buffer, std::size_t n) {
  if (fd_ < 0 || _lseeki64(fd_, 0, SEEK_SET) != 0) return 0;
  const int put = _write(fd_, buffer, static_cast<unsigned>(n));
  return put > 0 ? static_cast<std::size_t>(put) : 0;
}

bool ExclusiveFile::Resize(std::int64_t n) { return fd_ >= 0 && _chsize_s(fd_, n) == 0; }

void ExclusiveFile::Close() {
  if (fd_ >= 0) _close(fd_);
  fd_ = -1;
}

#else

bool ExclusiveFile::Open(const std::string& utf8Path) {
  Close();
  const int fd = ::open(utf8Path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  // Without sharing: a second opener (another instance) finds the file locked.
  struct stat st;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

std::int64_t ExclusiveFile::Size() const {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
  return st.st_size;
}

namespace {

// Repeats a positional transfer until n bytes are done or it stops; the count done.
template <class Transfer>
std::size_t Whole(std::size_t n, Transfer transfer) {
  std::size_t done = 0;
  while (done < n) {
    const ssize_t got = transfer(done, n - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

}  // namespace

std::size_t ExclusiveFile::ReadAtStart(void* buffer, std::size_t n) {
  if (fd_ < 0) return 0;
  auto* p = static_cast<char*>(buffer);
  return Whole(n, [&](std::size_t at, std::size_t count) {
    return ::pread(fd_, p + at, count, static_cast<off_t>(at));
  });
}

std::size_t ExclusiveFile::WriteAtStart(const void* buffer, std::size_t n) {
  if (fd_ < 0) return 0;
  const auto* p = static_cast<const char*>(buffer);
  return Whole(n, [&](std::size_t at, std::size_t count) {
    return ::pwrite(fd_, p + at, count, static_cast<off_t>(at));
  });
}

bool ExclusiveFile::Resize(std::int64_t n) { return fd_ >= 0 && ::ftruncate(fd_, static_cast<off_t>(n)) == 0; }

void ExclusiveFile::Close() {
  if (fd_ >= 0) ::close(fd_);  // also drops the lock
  fd_ = -1;
}

#endif

}  // namespace tyld::settings
