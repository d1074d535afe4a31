#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tyld::platform {
namespace {

FileWriteResult Failure(const char* step, const std::string& path, int err) {
  return {false, err, std::string(step) + " " + path + ": " + std::generic_category().message(err)};
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return ".";
  return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

long SystemWrite(int fd, const std::uint8_t* data, std::size_t size) {
#ifdef _WIN32
  return _write(fd, data, static_cast<unsigned>(size));
#else
  return static_cast<long>(::write(fd, data, size));
#endif
}

#ifdef _WIN32
std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}
int OpenNew(const std::string& p) {
  return _wopen(Wide(p).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                _S_IREAD | _S_IWRITE);
}
int SyncFile(int fd) { return _commit(fd); }
int CloseFile(int fd) { return _close(fd); }
void RemoveFile(const std::string& p) { _wunlink(Wide(p).c_str()); }
int MoveOver(const std::string& from, const std::string& to) {
  if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return 0;
  }
  errno = EACCES;
  return -1;
}
int ProcessId() { return _getpid(); }
#else
int OpenNew(const std::string& p) {
  return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
int SyncFile(int fd) { return ::fsync(fd); }
int CloseFile(int fd) { return ::close(fd); }
void RemoveFile(const std::string& p) { ::unlink(p.c_str()); }
int MoveOver(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str());
}
int ProcessId() { return static_cast<int>(::getpid()); }
#endif

// Writes everything, going on after short writes; a writer that makes no progress is
// taken as a full disk rather than looped on.
int WriteAll(int fd, std::span<const std::uint8_t> bytes, const ChunkWriter& writer) {
  constexpr std::size_t kChunk = std::size_t{1} << 30;
  while (!bytes.empty()) {
    const long n = writer(fd, bytes.data(), bytes.size() < kChunk ? bytes.size() : kChunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno != 0 ? errno : EIO;
    if (n == 0) return ENOSPC;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return 0;
}

}  // namespace

FileWriteResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  return WriteFileAtomically(path, bytes, SystemWrite);
}

FileWriteResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                                    const ChunkWriter& writer) {
  if (path.empty()) return Failure("open", path, ENOENT);
  std::string target = path;
#ifndef _WIN32
  // Saving through a link replaces the file it points to, not the link.
  struct stat link {};
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return Failure("resolve", path, errno);
    target = real;
    std::free(real);
  }
#endif
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (old.st_mode & S_IFMT) != S_IFREG) return Failure("open", target, EINVAL);

  const std::string dir = DirectoryOf(target);
  const std::string stem = dir + "/." + NameOf(target) + ".tmp-" + std::to_string(ProcessId()) + "-";
  static unsigned counter = 0;
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = stem + std::to_string(++counter);
    fd = OpenNew(temp);
    if (fd < 0 && errno != EEXIST) return Failure("create temporary file in", dir, errno);
  }
  if (fd < 0) return Failure("create temporary file in", dir, EEXIST);

#ifndef _WIN32
  if (exists) {
    // Best effort: a file system without modes or a non-root user may refuse these.
    (void)::fchmod(fd, old.st_mode & 07777);
    (void)::fchown(fd, old.st_uid, old.st_gid);
  }
#endif

  int err = WriteAll(fd, bytes, writer);
  const char* step = "write";
  if (err == 0 && SyncFile(fd) != 0) {
    err = errno;
    step = "flush";
  }
  if (CloseFile(fd) != 0 && err == 0) {
    err = errno;
    step = "close";
  }
  if (err == 0 && MoveOver(temp, target) != 0) {
    err = errno;
    step = "replace";
  }
  if (err != 0) {
    RemoveFile(temp);
    return Failure(step, target, err);
  }
#ifndef _WIN32
  // Make the rename itself durable; the data is already safe either way.
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    (void)::fsync(dfd);
    ::close(dfd);
  }
#endif
  return {true, 0, {}};
}

}  // namespace tyld::platform
