#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "settings/exclusive_file.h"

namespace tyld::settings {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "tyld-settings-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    path_ = (dir_ / kSettingsFileName).string();
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }

  void WriteFile(const Bytes& bytes) const {
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  [[nodiscard]] Bytes ReadFile() const {
    std::ifstream in(path_, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  static Bytes Random(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    Bytes b(n);
    for (auto& x : b) x = static_cast<std::uint8_t>(gen());
    return b;
  }

  fs::path dir_;
  std::string path_;
  SettingsRecord record_;
  LiveSettings live_;
};

std::int32_t I32(const Bytes& b, std::size_t at) {
  std::int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

// A new installation: no file, the read creates it empty and fails, the initialisation
// leaves the defaults behind. Checked on the file's bytes, not through the struct.
TEST_F(SettingsFileTest, NewInstallationWritesTheDefaultFile) {
  ASSERT_FALSE(ReadSettings(path_, record_, live_));
  EXPECT_EQ(fs::file_size(path_), 0u);
  ASSERT_TRUE(InitialiseSettings(path_, record_, live_));
  const Bytes f = ReadFile();
  ASSERT_EQ(f.size(), 1512u);

  const struct {
    std::size_t offset;
    std::int32_t value;
  } ints[] = {
      {0x000, 5},  {0x004, 5},  {0x008, 5},  {0x00C, 5},    {0x010, 10},  {0x014, 5},
      {0x018, 10}, {0x01C, 5},  {0x020, 0},  {0x024, 1},    {0x028, 2},   {0x02C, 1},
      {0x030, 1},  {0x034, 1},  {0x038, 80}, {0x03C, 80},   {0x040, 8},   {0x044, 60},
      {0x054, 80}, {0x058, 0x141}, {0x074, 0x2000}, {0x0BC, 1}, {0x0C0, 10}, {0x0C4, 5},
      {0x0C8, 10}, {0x0CC, 5},  {0x0D0, 0},  {0x0D4, 1},    {0x0D8, 2},   {0x0DC, 1},
      {0x0E0, 1},  {0x0E4, 1},  {0x0E8, 0},  {0x0EC, 0},    {0x0F0, 60},  {0x100, 80},
      {0x104, 0x141}, {0x120, 0x2000}, {0x168, 2}, {0x180, 0}, {0x1A0, 0}, {0x1C0, 0},
      {0x1C8, 1},
  };
  for (const auto& c : ints) EXPECT_EQ(I32(f, c.offset), c.value) << std::hex << c.offset;
  for (std::size_t at : {0x170u, 0x178u}) {
    double d;
    std::memcpy(&d, f.data() + at, 8);
    EXPECT_EQ(d, 1.0) << std::hex << at;
  }
  for (std::size_t face : {0x09Cu, 0x148u})
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(f.data() + face)), platform::kDefaultFaceSjis);
  for (std::size_t i = 0x1E8; i < 1512; ++i) ASSERT_EQ(f[i], 0) << std::hex << i;
}

// Only the size decides: 1511..1513 bytes are taken, anything else is refused untouched.
// Both readers, the exclusive one and the one that leaves the file alone, take the same
// sizes by the same rules.
TEST_F(SettingsFileTest, SizeWindow) {
  for (const std::size_t size : {0u, 1u, 1510u, 1511u, 1512u, 1513u, 1514u, 4096u}) {
    SCOPED_TRACE(size);
    Bytes b(size, 0);
    for (std::size_t at = 0; at + 4 <= std::min<std::size_t>(size, 0x44); at += 4) b[at] = 7;
    WriteFile(b);
    for (const bool readOnly : {false, true}) {
      SCOPED_TRACE(readOnly ? "read-only" : "exclusive");
      record_ = SettingsRecord{};
      reinterpret_cast<std::uint8_t*>(&record_)[1511] = 0xAB;
      live_ = LiveSettings{};
      const bool accepted = size >= 1511 && size <= 1513;
      if (readOnly) {
        const ReadOnlyLoad load = ReadSettingsReadOnly(path_, record_, live_);
        EXPECT_EQ(load.result, accepted ? ReadOnlyLoad::Result::Read : ReadOnlyLoad::Result::WrongSize);
        EXPECT_EQ(load.size, size);
      } else {
        EXPECT_EQ(ReadSettings(path_, record_, live_), accepted);
      }
      EXPECT_EQ(live_.ascii.AscMarginTop, accepted ? 7 : 10);
      EXPECT_EQ(live_.unprint.right, accepted ? 7 : 5);
      // A 1511-byte file leaves the record's last byte as it was.
      EXPECT_EQ(reinterpret_cast<std::uint8_t*>(&record_)[1511], size == 1511 || !accepted ? 0xAB : 0);
      EXPECT_EQ(fs::file_size(path_), size);
    }
  }
}

// The read for programs that leave the file alone: a missing file or a directory is
// unreadable, and nothing is created.
TEST_F(SettingsFileTest, ReadOnlyReadNeverCreates) {
  EXPECT_EQ(ReadSettingsReadOnly(path_, record_, live_).result, ReadOnlyLoad::Result::Unreadable);
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_EQ(ReadSettingsReadOnly(dir_.string(), record_, live_).result,
            ReadOnlyLoad::Result::Unreadable);
}

// Random bytes are taken as read and written back unchanged: every field passes through
// the live state, reserved and unused bytes are carried over, the extra byte is kept.
TEST_F(SettingsFileTest, RandomFileRoundTripsByteForByte) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const Bytes original = Random(1513, seed);
    WriteFile(original);
    record_ = SettingsRecord{};
    live_ = LiveSettings{};
    ASSERT_TRUE(ReadSettings(path_, record_, live_));
    // Unterminated texts are read within their fields.
    EXPECT_LE(LastOpenPath(record_).size(), kLastOpenPathSize);
    EXPECT_LE(live_.asciiFont.logFont.Face().size(), 32u);
    WriteFile(Bytes(1513, 0));
    ASSERT_TRUE(WriteSettings(path_, record_, live_));
    Bytes expected = original;
    expected.back() = 0;  // the 1513th byte was zeroed above and is not truncated away
    EXPECT_EQ(ReadFile(), expected) << seed;
  }
}

// A stored orientation code other than 1 and 2 reads as portrait and stays in the file
// until the orientation is changed.
TEST_F(SettingsFileTest, OddOrientationCodesStayUntilChanged) {
  record_.AscOrientation = 7;
  record_.BinOrientation = 0;
  ApplyRecord(record_, live_);
  EXPECT_EQ(live_.AscOrientation, Orientation::Portrait);
  EXPECT_EQ(live_.BinOrientation, Orientation::Portrait);
  CollectRecord(live_, record_);
  EXPECT_EQ(record_.AscOrientation, 7);
  EXPECT_EQ(record_.BinOrientation, 0);
  live_.AscOrientation = Orientation::Landscape;
  CollectRecord(live_, record_);
  EXPECT_EQ(record_.AscOrientation, 2);
}

// The reset puts defaults into the live state and the record's own fields, and keeps the
// placement, the reserved bytes from 0x1CC and the unused areas.
TEST_F(SettingsFileTest, ResetKeepsPlacementAndReservedBytes) {
  ASSERT_TRUE(InitialiseSettings(path_, record_, live_));
  const Bytes defaults = ReadFile();

  std::memset(static_cast<void*>(&record_), 0x5A, sizeof record_);
  ApplyRecord(record_, live_);
  live_.binary.BinBlockGap = 9;
  ResetToDefaults(record_, live_);
  EXPECT_EQ(live_.binary.BinBlockGap, 5);
  CollectRecord(live_, record_);
  Bytes now(sizeof record_);
  std::memcpy(now.data(), &record_, sizeof record_);

  for (std::size_t i = 0; i < 1512; ++i) {
    const bool placementOrUnused = (i >= 0x16C && i < 0x170) || (i >= 0x180 && i < 0x1C8) ||
                                   (i >= 0x1CC && i < 0x1E8) || i >= 0x2E8;
    const std::uint8_t want = placementOrUnused ? 0x5A : defaults[i];
    ASSERT_EQ(now[i], want) << std::hex << i;
  }
}

// A start (read, or the defaults written anew) and a close: whatever size the file had,
// what the user set is there at the next start.
TEST_F(SettingsFileTest, AFileOfAWrongSizeIsRepairedAndKeepsTheNextSettings) {
  const struct {
    std::size_t size;
    std::uintmax_t afterClose;
  } cases[] = {{0, 1512}, {1510, 1512}, {1511, 1512}, {1513, 1513}, {1514, 1512}, {5000, 1512}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    WriteFile(Random(c.size, static_cast<unsigned>(c.size)));
    record_ = SettingsRecord{};
    live_ = LiveSettings{};
    ASSERT_TRUE(ReadSettings(path_, record_, live_) || InitialiseSettings(path_, record_, live_));
    live_.ascii.AscTabWidth = 3;
    ASSERT_TRUE(WriteSettings(path_, record_, live_));
    EXPECT_EQ(fs::file_size(path_), c.afterClose);

    SettingsRecord next;
    LiveSettings nextLive;
    ASSERT_TRUE(ReadSettings(path_, next, nextLive));
    EXPECT_EQ(nextLive.ascii.AscTabWidth, 3);
  }
}

TEST_F(SettingsFileTest, FileHeldByAnotherOpenerIsNeitherReadNorWritten) {
  ASSERT_TRUE(InitialiseSettings(path_, record_, live_));
  ExclusiveFile other;
  ASSERT_TRUE(other.Open(path_));
  EXPECT_FALSE(ReadSettings(path_, record_, live_));
  EXPECT_FALSE(WriteSettings(path_, record_, live_));
  EXPECT_FALSE(InitialiseSettings(path_, record_, live_));
  other.Close();
  EXPECT_TRUE(ReadSettings(path_, record_, live_));
}

TEST_F(SettingsFileTest, FileThatCannotBeCreatedFailsReadAndInitialisation) {
  const std::string inMissingDir = (dir_ / "missing" / kSettingsFileName).string();
  EXPECT_FALSE(ReadSettings(inMissingDir, record_, live_));
  live_.ascii.AscTabWidth = 3;
  EXPECT_FALSE(InitialiseSettings(inMissingDir, record_, live_));
  EXPECT_EQ(live_.ascii.AscTabWidth, 8) << "the program goes on with the defaults";
}

TEST_F(SettingsFileTest, ReadOnlyDirectoryFailsAndIsNotUsable) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(IsUsableSettingsDirectory(dir_.string()));
  EXPECT_FALSE(ReadSettings(path_, record_, live_));
  EXPECT_FALSE(InitialiseSettings(path_, record_, live_));
}

TEST_F(SettingsFileTest, UsableDirectory) {
  EXPECT_TRUE(IsUsableSettingsDirectory(dir_.string()));
  EXPECT_FALSE(IsUsableSettingsDirectory((dir_ / "missing").string()));
  // An installed program keeps its settings per user, even when root may write beside it.
  for (const char* system : {"/usr/bin", "/usr/local/bin/", "/bin", "/usr"}) {
    EXPECT_TRUE(IsSystemDirectory(system)) << system;
    EXPECT_FALSE(IsUsableSettingsDirectory(system)) << system;
  }
  EXPECT_FALSE(IsSystemDirectory("/usrx/bin"));
  EXPECT_FALSE(IsSystemDirectory(dir_.string()));
}

TEST(DeriveSettingsPath, ModeDirectoryAndFallback) {
  const std::string cwd = "/home/u/work", exe = "/opt/tyld/bin/", fallback = "/home/u/.config/tyld";
  struct Case {
    int mode;
    std::string cwd;
    std::string unusable;  // the one directory the test calls unusable
    std::string path, workDir;
  } cases[] = {
      {0, cwd, "", "/home/u/work/YDsettei.bin", "/home/u/work"},
      {1, cwd, "", "/opt/tyld/bin/YDsettei.bin", "/opt/tyld/bin"},
      {2, cwd, "/home/u/work", "/opt/tyld/bin/YDsettei.bin", "/opt/tyld/bin"},
      {2, cwd, "/opt/tyld/bin", "/home/u/.config/tyld/YDsettei.bin", "/home/u/.config/tyld"},
      {0, cwd, "/home/u/work", "/home/u/.config/tyld/YDsettei.bin", "/home/u/.config/tyld"},
      {0, "/", "", "/YDsettei.bin", "/"},
      {0, "", "", "/home/u/.config/tyld/YDsettei.bin", "/home/u/.config/tyld"},
  };
  for (const Case& c : cases) {
    const auto usable = [&](const std::string& d) { return d != c.unusable; };
    const SettingsPaths p = DeriveSettingsPath(c.mode, c.cwd, exe, usable, fallback);
    EXPECT_EQ(p.SettingsPath, c.path) << c.mode << " " << c.cwd << " " << c.unusable;
    EXPECT_EQ(p.WorkDir, c.workDir);
  }
}

}  // namespace
}  // namespace tyld::settings
