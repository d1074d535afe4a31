#include "platform/atomic_file.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
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

}  // namespace
}  // namespace tyld::platform
