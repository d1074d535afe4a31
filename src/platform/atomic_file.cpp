#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <sys/statvfs.h>
#include <sys/xattr.h>
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
int OpenExisting(const std::string& p) { return _wopen(Wide(p).c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT); }
int Resize(int fd, std::uint64_t size) { return _chsize_s(fd, static_cast<__int64>(size)) == 0 ? 0 : -1; }
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
int OpenExisting(const std::string& p) { return ::open(p.c_str(), O_WRONLY | O_CLOEXEC); }
int Resize(int fd, std::uint64_t size) { return ::ftruncate(fd, static_cast<off_t>(size)); }
#endif

std::filesystem::path FsPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Temporary files of a save are named after their target, so that a later save of the same
// target can find and remove what an interrupted one left behind.
std::string TemporaryPrefix(const std::string& target) {
  // Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict for "." + name.
  std::string prefix = ".";
  prefix += NameOf(target);
  prefix += ".tyld-save-";
  return prefix;
}
constexpr std::size_t kTemporarySuffix = 6;

std::string RandomSuffix() {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937_64 random{std::random_device{}()};
  std::string suffix(kTemporarySuffix, 'X');
  for (char& c : suffix) c = kChars[random() % (sizeof kChars - 1)];
  return suffix;
}

void RemoveLeftovers(const std::string& target) {
  const std::string prefix = TemporaryPrefix(target);
  std::error_code ec;
  for (std::filesystem::directory_iterator it(FsPath(DirectoryOf(target)), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::u8string name = it->path().filename().u8string();
    if (name.size() != prefix.size() + kTemporarySuffix ||
        std::string_view(reinterpret_cast<const char*>(name.data()), prefix.size()) != prefix)
      continue;
    std::error_code kind;
    if (it->is_regular_file(kind) && !it->is_symlink(kind)) {
      std::error_code ignored;
      std::filesystem::remove(it->path(), ignored);
    }
  }
}

// Saving through a link writes the file it points to, not the link.
bool ResolveLink(const std::string& path, std::string& target, FileWriteResult& failure) {
  target = path;
#ifndef _WIN32
  struct stat link {};
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) {
      failure = Failure("resolve", path, errno);
      return false;
    }
    target = real;
    std::free(real);
  }
#else
  (void)failure;
#endif
  return true;
}

#ifndef _WIN32
bool MayWrite(const std::string& p, int mode) { return ::faccessat(AT_FDCWD, p.c_str(), mode, AT_EACCESS) == 0; }

bool InOwnGroups(gid_t gid) {
  if (gid == ::getegid()) return true;
  const int n = ::getgroups(0, nullptr);
  std::vector<gid_t> groups(static_cast<std::size_t>(n > 0 ? n : 0));
  const int got = n > 0 ? ::getgroups(n, groups.data()) : 0;
  for (int i = 0; i < got; ++i)
    if (groups[static_cast<std::size_t>(i)] == gid) return true;
  return false;
}

// Extended attributes (ACLs among them) of the old file onto the new one; the ones this user
// may not set (security.*, trusted.*) are skipped.
void CopyExtendedAttributes(const std::string& from, int toFd) {
  const ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
  if (size <= 0) return;
  std::vector<char> names(static_cast<std::size_t>(size));
  const ssize_t got = ::listxattr(from.c_str(), names.data(), names.size());
  std::vector<char> value;
  for (ssize_t i = 0; i < got; i += static_cast<ssize_t>(std::strlen(names.data() + i)) + 1) {
    const char* name = names.data() + i;
    const ssize_t n = ::getxattr(from.c_str(), name, nullptr, 0);
    if (n < 0) continue;
    value.resize(static_cast<std::size_t>(n));
    const ssize_t read = ::getxattr(from.c_str(), name, value.data(), value.size());
    if (read >= 0) (void)::fsetxattr(toFd, name, value.data(), static_cast<std::size_t>(read), 0);
  }
}
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

// Gets the written bytes to the disk and closes the file; the first failure is kept.
void FlushAndClose(int fd, int& err, const char*& step) {
  if (err == 0 && SyncFile(fd) != 0) {
    err = errno;
    step = "flush";
  }
  if (CloseFile(fd) != 0 && err == 0) {
    err = errno;
    step = "close";
  }
}

}  // namespace

FileWriteResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  return WriteFileAtomically(path, bytes, SystemWrite);
}

FileWriteResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                                    const ChunkWriter& writer) {
  if (path.empty()) return Failure("open", path, ENOENT);
  std::string target;
  if (FileWriteResult failure; !ResolveLink(path, target, failure)) return failure;
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (old.st_mode & S_IFMT) != S_IFREG) return Failure("open", target, EINVAL);

  const std::string dir = DirectoryOf(target);
  RemoveLeftovers(target);
  const std::string stem = dir + "/" + TemporaryPrefix(target);
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = stem + RandomSuffix();
    fd = OpenNew(temp);
    if (fd < 0 && errno != EEXIST) return Failure("create temporary file in", dir, errno);
  }
  if (fd < 0) return Failure("create temporary file in", dir, EEXIST);

#ifndef _WIN32
  if (exists) {
    // Best effort: a file system without modes or a non-root user may refuse these. The
    // owner goes first (a change of owner clears set-id bits), the mode last.
    (void)::fchown(fd, old.st_uid, old.st_gid);
    CopyExtendedAttributes(target, fd);
    (void)::fchmod(fd, old.st_mode & 07777);
  }
#endif

  int err = WriteAll(fd, bytes, writer);
  const char* step = "write";
  FlushAndClose(fd, err, step);
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

SavePlan PlanSave(const std::string& path, std::uint64_t size) {
  SavePlan plan;
  if (path.empty()) {
    plan.refusal = Failure("open", path, ENOENT);
    return plan;
  }
  std::string target;
  if (!ResolveLink(path, target, plan.refusal)) return plan;
  const std::string dir = DirectoryOf(target);
#ifdef _WIN32
  (void)size;
  if (_waccess(Wide(target).c_str(), 0) == 0 && _waccess(Wide(target).c_str(), 2) != 0) {
    plan.refusal = Failure("open", target, EACCES);
    return plan;
  }
  plan.way = SaveWay::Replace;
  return plan;
#else
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) {
    // A new file: it can only be made in the folder, and then nothing is there to damage.
    const int missing = errno;
    if (missing != ENOENT) {
      plan.refusal = Failure("open", target, missing);
      return plan;
    }
    if (!MayWrite(dir, W_OK | X_OK)) {
      plan.refusal = Failure("create", target, errno);
      return plan;
    }
    plan.way = SaveWay::Replace;
    return plan;
  }
  if (!S_ISREG(old.st_mode)) {
    plan.refusal = Failure("open", target, EINVAL);
    return plan;
  }
  if (!MayWrite(target, W_OK)) {
    plan.refusal = Failure("open", target, errno);
    return plan;
  }
  plan.way = SaveWay::InPlace;
  struct statvfs fs {};
  const bool root = ::geteuid() == 0;
  if (!MayWrite(dir, W_OK | X_OK)) {
    plan.reason = InPlaceReason::FolderNotWritable;
  } else if (old.st_nlink > 1) {
    plan.reason = InPlaceReason::HardLinks;  // a new file would part the names
  } else if (!root && (old.st_uid != ::geteuid() || !InOwnGroups(old.st_gid))) {
    plan.reason = InPlaceReason::Ownership;  // a new file would belong to this user
  } else if (::statvfs(dir.c_str(), &fs) == 0 &&
             static_cast<std::uint64_t>(root ? fs.f_bfree : fs.f_bavail) * fs.f_frsize <
                 size + 2 * static_cast<std::uint64_t>(fs.f_bsize)) {
    plan.reason = InPlaceReason::NoRoom;  // old and new must fit side by side until the rename
  } else {
    plan.way = SaveWay::Replace;
  }
  return plan;
#endif
}

FileWriteResult WriteFileInPlace(const std::string& path, std::span<const std::uint8_t> bytes) {
  return WriteFileInPlace(path, bytes, SystemWrite);
}

FileWriteResult WriteFileInPlace(const std::string& path, std::span<const std::uint8_t> bytes,
                                 const ChunkWriter& writer) {
  std::string target;
  if (FileWriteResult failure; !ResolveLink(path, target, failure)) return failure;
  const int fd = OpenExisting(target);
  if (fd < 0) return Failure("open", target, errno);
  int err = 0;
  const char* step = "write";
  struct stat old {};
  if (::fstat(fd, &old) != 0) {
    err = errno;
    step = "open";
  } else if ((old.st_mode & S_IFMT) != S_IFREG) {
    err = EINVAL;
    step = "open";
  }
#ifdef __linux__
  // The blocks are had before the first byte changes: a full disk leaves the file as it was.
  if (err == 0 && static_cast<std::uint64_t>(old.st_size) < bytes.size() &&
      ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0 &&
      (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)) {
    err = errno;
    step = "reserve room for";
  }
#endif
  if (err == 0) err = WriteAll(fd, bytes, writer);
  if (err == 0 && Resize(fd, bytes.size()) != 0) {
    err = errno;
    step = "truncate";
  }
  FlushAndClose(fd, err, step);
  return err == 0 ? FileWriteResult{true, 0, {}} : Failure(step, target, err);
}

}  // namespace tyld::platform
