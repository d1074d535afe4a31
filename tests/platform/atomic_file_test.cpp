#include "platform/atomic_file.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <grp.h>
#include <iterator>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace tyld::platform {
namespace {

namespace fs = std::filesystem;

std::span<const std::uint8_t> Span(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tyld_atomic_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    target_ = dir_ / "data.bin";
    std::ofstream(target_, std::ios::binary) << "original";
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  // The directory holds only what the test put there: no temporary file is left behind.
  [[nodiscard]] std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  fs::path dir_;
  fs::path target_;
};

TEST_F(AtomicFile, ReplacesContentAndKeepsPermissions) {
  fs::permissions(target_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
                  fs::perm_options::replace);
  const auto r = WriteFileAtomically(target_.string(), Span("new\0bytes"));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(Read(target_), "new");  // the span ends at the NUL of the literal's view
  EXPECT_EQ(fs::status(target_).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFile, WritesEmptyAndNewFiles) {
  ASSERT_TRUE(WriteFileAtomically(target_.string(), {}).ok);
  EXPECT_EQ(fs::file_size(target_), 0u);

  const std::string binary("\x00\xff\r\n\x1a", 5);
  const auto fresh = dir_ / "fresh.dat";
  ASSERT_TRUE(WriteFileAtomically(fresh.string(), Span(binary)).ok);
  EXPECT_EQ(Read(fresh), binary);
  EXPECT_EQ(Entries(), 2u);
}

TEST_F(AtomicFile, WritesThroughALink) {
  const auto link = dir_ / "link.bin";
  fs::create_symlink(target_, link);
  ASSERT_TRUE(WriteFileAtomically(link.string(), Span("via link")).ok);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(target_), "via link");
}

TEST_F(AtomicFile, ShortWritesAreCompleted) {
  const ChunkWriter dribble = [](int fd, const std::uint8_t* data, std::size_t size) {
    return static_cast<long>(::write(fd, data, size < 3 ? size : 3));
  };
  const std::string text(1000, 'x');
  ASSERT_TRUE(WriteFileAtomically(target_.string(), Span(text), dribble).ok);
  EXPECT_EQ(Read(target_), text);
}

TEST_F(AtomicFile, FailuresLeaveTheTargetIntact) {
  struct Case {
    const char* name;
    ChunkWriter writer;
    int error;
  };
  const Case cases[] = {
      {"disk full after part of the data",
       [](int fd, const std::uint8_t* data, std::size_t size) -> long {
         static bool first = true;
         if (first) {
           first = false;
           return static_cast<long>(::write(fd, data, size / 2));
         }
         errno = ENOSPC;
         return -1;
       },
       ENOSPC},
      {"writer that makes no progress", [](int, const std::uint8_t*, std::size_t) { return 0L; },
       ENOSPC},
      {"i/o error", [](int, const std::uint8_t*, std::size_t) -> long {
         errno = EIO;
         return -1;
       },
       EIO},
  };
  for (const auto& c : cases) {
    const auto r = WriteFileAtomically(target_.string(), Span("replacement text"), c.writer);
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_EQ(r.errorNumber, c.error) << c.name;
    EXPECT_NE(r.error.find(std::generic_category().message(c.error)), std::string::npos) << r.error;
    EXPECT_EQ(Read(target_), "original") << c.name;
    EXPECT_EQ(Entries(), 1u) << c.name;
  }
}

TEST_F(AtomicFile, RefusedPathsLeaveEverythingAsItWas) {
  EXPECT_FALSE(WriteFileAtomically((dir_ / "missing" / "x.bin").string(), Span("x")).ok);
  EXPECT_FALSE(WriteFileAtomically((target_ / "x.bin").string(), Span("x")).ok);  // not a dir
  EXPECT_FALSE(WriteFileAtomically(dir_.string(), Span("x")).ok);  // a directory as target
  EXPECT_FALSE(WriteFileAtomically("", Span("x")).ok);
  EXPECT_EQ(Read(target_), "original");
  EXPECT_EQ(Entries(), 1u);
}

// Root ignores directory permissions, so as root the write runs in a child that has
// dropped to an unprivileged user.
TEST_F(AtomicFile, UnwritableDirectory) {
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                            fs::perms::others_exec,
                  fs::perm_options::replace);
  const auto attempt = [&] {
    const auto r = WriteFileAtomically(target_.string(), Span("new"));
    return !r.ok && r.errorNumber == EACCES;
  };
  if (::geteuid() != 0) {
    EXPECT_TRUE(attempt());
  } else {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const bool refused = ::setgid(65534) == 0 && ::setuid(65534) == 0 && attempt();
      ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(Read(target_), "original");
  EXPECT_EQ(Entries(), 1u);
}


// Saving as an ordinary user: how each target is saved, and what the file is afterwards.
// As root the save runs in a child that has become uid 65534 (the files are given to it);
// otherwise as the caller, and the cases that need a second user or a mount are skipped.
class SaveTargets : public AtomicFile {
 protected:
  static constexpr uid_t kUser = 65534;
  static constexpr uid_t kOther = 65533;
  struct Outcome {
    SaveWay way = SaveWay::Refused;
    InPlaceReason reason = InPlaceReason::None;
    bool ok = false;
  };
  // PlanSave, then the write the plan calls for; in the ordinary user's child when root.
  Outcome Save(const fs::path& target, const std::string& bytes) const {
    const auto body = [&] {
      const SavePlan plan = PlanSave(target.string(), bytes.size());
      bool ok = false;
      if (plan.way == SaveWay::Replace) ok = WriteFileAtomically(target.string(), Span(bytes)).ok;
      if (plan.way == SaveWay::InPlace) ok = WriteFileInPlace(target.string(), Span(bytes)).ok;
      if (plan.way == SaveWay::Refused) ok = plan.refusal.errorNumber == EACCES && !plan.refusal.error.empty();
      return Outcome{plan.way, plan.reason, ok};
    };
    if (::geteuid() != 0) return body();
    const pid_t child = ::fork();
    if (child == 0) {
      if (::setgroups(0, nullptr) != 0 || ::setgid(kUser) != 0 || ::setuid(kUser) != 0) ::_exit(127);
      const Outcome o = body();
      ::_exit(static_cast<int>(o.way) * 16 + static_cast<int>(o.reason) * 2 + (o.ok ? 1 : 0));
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 127)
      return {SaveWay::Refused, InPlaceReason::None, false};
    const int code = WEXITSTATUS(status);
    return {static_cast<SaveWay>(code / 16), static_cast<InPlaceReason>(code % 16 / 2), code % 2 == 1};
  }
  static void Own(const fs::path& p, uid_t uid) {
    if (::geteuid() == 0) { ASSERT_EQ(::chown(p.c_str(), uid, uid), 0); }
  }
};

TEST_F(SaveTargets, EachTargetIsSavedTheWayThatKeepsIt) {
  const bool root = ::geteuid() == 0;
  const uid_t user = root ? kUser : ::geteuid();
  const std::string oldBytes(40000, 'o');
  const std::string newBytes(40000, 'n');
  struct Case {
    const char* name;
    SaveWay way;
    InPlaceReason reason;
    mode_t mode;
    bool sameInode;
    bool written;
  };
  const Case cases[] = {
      {"0444 file of the user", SaveWay::Refused, InPlaceReason::None, 0444, true, false},
      {"writable file in a read-only folder", SaveWay::InPlace, InPlaceReason::FolderNotWritable, 0644, true, true},
      {"file with a hard link", SaveWay::InPlace, InPlaceReason::HardLinks, 0640, true, true},
      {"another user's file, writable for all", SaveWay::InPlace, InPlaceReason::Ownership, 0666, true, true},
      {"no room for a second copy", SaveWay::InPlace, InPlaceReason::NoRoom, 0640, true, true},
      {"ordinary file", SaveWay::Replace, InPlaceReason::None, 02640, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name = c.name;
    const fs::path folder = dir_ / std::to_string(&c - cases);
    fs::create_directory(folder);
    bool mounted = false;
    if (name == "no room for a second copy") {
      mounted = root && ::mount("tyld", folder.c_str(), "tmpfs", 0, "size=64k,mode=0755") == 0;
      if (!mounted) {
        std::printf("skipped \"%s\": mounting a small tmpfs needs root\n", c.name);
        continue;
      }
    }
    if (name == "another user's file, writable for all" && !root) {
      std::printf("skipped \"%s\": a second user needs root\n", c.name);
      continue;
    }
    const fs::path file = folder / "data.bin";
    std::ofstream(file, std::ios::binary) << oldBytes;
    const uid_t owner = name == "another user's file, writable for all" ? kOther : user;
    Own(file, owner);
    ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
    if (name == "file with a hard link") fs::create_hard_link(file, folder / "other name");
    const bool tagged = ::setxattr(file.c_str(), "user.tyld", "kept", 4, 0) == 0;
    Own(folder, user);
    if (name == "writable file in a read-only folder") { ASSERT_EQ(::chmod(folder.c_str(), 0555), 0); }
    // A leftover of an earlier, interrupted save of this target.
    if (name == "ordinary file") {
      ::chmod(folder.c_str(), 0755);
      std::ofstream(folder / ".data.bin.tyld-save-Ab3dEf") << "stump";
      Own(folder / ".data.bin.tyld-save-Ab3dEf", user);
    }
    const std::size_t entries = static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));

    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    const Outcome o = Save(file, newBytes);
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);

    EXPECT_EQ(o.way, c.way);
    EXPECT_EQ(o.reason, c.reason);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(Read(file), c.written ? newBytes : oldBytes);
    EXPECT_EQ(after.st_ino == before.st_ino, c.sameInode);
    EXPECT_EQ(after.st_mode & 07777, c.mode);
    EXPECT_EQ(after.st_uid, owner);
    EXPECT_EQ(after.st_gid, before.st_gid);
    if (name == "file with a hard link") { EXPECT_EQ(Read(folder / "other name"), newBytes); }
    if (tagged) {
      char value[8] = {};
      EXPECT_EQ(::getxattr(file.c_str(), "user.tyld", value, sizeof value), 4);
      EXPECT_STREQ(value, "kept");
    }
    const std::size_t left = static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
    EXPECT_EQ(left, name == "ordinary file" ? entries - 1 : entries) << "temporary files";
    ::chmod(folder.c_str(), 0755);
    if (mounted) ::umount(folder.c_str());
  }
}

}  // namespace
}  // namespace tyld::platform
