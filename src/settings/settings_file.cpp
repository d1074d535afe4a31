#include "settings/settings_file.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "settings/exclusive_file.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tyld::settings {
namespace {

constexpr std::int64_t kMinFileSize = kRecordSize - 1;
constexpr std::int64_t kMaxFileSize = kRecordSize + 1;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string WithoutTrailingSeparator(std::string_view dir) {
  if (dir.size() > 1 && IsSeparator(dir.back())) dir.remove_suffix(1);
  return std::string(dir);
}

std::string Join(const std::string& dir, std::string_view name) {
  std::string path = dir;
  if (path.empty() || !IsSeparator(path.back())) path += '/';
  path += name;
  return path;
}

std::filesystem::path FsPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool Writable(const std::string& path) {
#ifdef _WIN32
  return _access(path.c_str(), 2) == 0;
#else
  return ::access(path.c_str(), W_OK) == 0;
#endif
}

}  // namespace

SettingsPaths DeriveSettingsPath(int startMode, std::string_view currentDir,
                                 std::string_view exeDir, const DirectoryTest& usable,
                                 std::string_view fallbackDir) {
  std::string dir = WithoutTrailingSeparator(startMode == 0 ? currentDir : exeDir);
  if (dir.empty() || (usable && !usable(dir))) dir = WithoutTrailingSeparator(fallbackDir);
  return SettingsPaths{Join(dir, kSettingsFileName), dir};
}

bool IsSystemDirectory(std::string_view dir) {
#ifdef _WIN32
  (void)dir;
  return false;
#else
  // An installed program lives in /usr or /bin; nothing writes its files there, not even
  // when run by root.
  const std::string d = WithoutTrailingSeparator(dir);
  return d == "/usr" || d.starts_with("/usr/") || d == "/bin" || d == "/sbin";
#endif
}

bool IsUsableSettingsDirectory(const std::string& dir) {
  std::error_code ec;
  if (IsSystemDirectory(dir) || !std::filesystem::is_directory(FsPath(dir), ec) || !Writable(dir))
    return false;
  const std::string file = Join(dir, kSettingsFileName);
  return !std::filesystem::exists(FsPath(file), ec) || Writable(file);
}

namespace {

// The stored fields, paired record <-> live; one list serves both directions.
template <class Record, class Live, class Copy>
void ForEachStoredField(Record& r, Live& live, Copy copy) {
  copy(r.UnprintTop, live.unprint.top);
  copy(r.UnprintBottom, live.unprint.bottom);
  copy(r.UnprintLeft, live.unprint.left);
  copy(r.UnprintRight, live.unprint.right);
  auto& a = live.ascii;
  copy(r.AscMarginTop, a.AscMarginTop);
  copy(r.AscMarginBottom, a.AscMarginBottom);
  copy(r.AscMarginLeft, a.AscMarginLeft);
  copy(r.AscColumnGap, a.AscColumnGap);
  copy(r.AscLineSpacing, a.AscLineSpacing);
  copy(r.AscDateMode, a.AscDateMode);
  copy(r.AscPageNoMode, a.AscPageNoMode);
  copy(r.AscLineNoMode, a.AscLineNoMode);
  copy(r.AscFileNameMode, a.AscFileNameMode);
  copy(r.AscColumns, a.AscColumns);
  copy(r.AscCharsPerLine, a.AscCharsPerLine);
  copy(r.AscLinesPerPage, a.AscLinesPerPage);
  copy(r.AscTabWidth, a.AscTabWidth);
  copy(r.AscFontScale, live.asciiFont.scale);
  copy(r.AscFontChoice, live.asciiFont.choice);
  copy(r.AscLogFont, live.asciiFont.logFont);
  auto& b = live.binary;
  copy(r.BinMarginTop, b.BinMarginTop);
  copy(r.BinMarginBottom, b.BinMarginBottom);
  copy(r.BinMarginLeft, b.BinMarginLeft);
  copy(r.BinColumnGap, b.BinColumnGap);
  copy(r.BinLineSpacing, b.BinLineSpacing);
  copy(r.BinDateMode, b.BinDateMode);
  copy(r.BinPageNoMode, b.BinPageNoMode);
  copy(r.BinFileNameMode, b.BinFileNameMode);
  copy(r.BinColumns, b.BinColumns);
  copy(r.BinBlocksPerColumn, b.BinBlocksPerColumn);
  copy(r.BinCrLfMark, b.BinCrLfMark);
  copy(r.BinHexCase, b.BinHexCase);
  copy(r.BinFontScale, live.binaryFont.scale);
  copy(r.BinFontChoice, live.binaryFont.choice);
  copy(r.BinLogFont, live.binaryFont.logFont);
}

// A stored code other than 1 and 2 reads as portrait and stays as it is in the file until
// the orientation is changed.
void StoreOrientation(std::int32_t& stored, Orientation value) {
  if (OrientationFromCode(stored) != value) stored = static_cast<std::int32_t>(value);
}

}  // namespace

void ApplyRecord(const SettingsRecord& r, LiveSettings& live) {
  ForEachStoredField(r, live, [](const auto& stored, auto& value) { value = stored; });
  live.AscOrientation = OrientationFromCode(r.AscOrientation);
  live.BinOrientation = OrientationFromCode(r.BinOrientation);
}

void CollectRecord(const LiveSettings& live, SettingsRecord& r) {
  ForEachStoredField(r, live, [](auto& stored, const auto& value) { stored = value; });
  StoreOrientation(r.AscOrientation, live.AscOrientation);
  StoreOrientation(r.BinOrientation, live.BinOrientation);
}

bool ReadSettings(const std::string& path, SettingsRecord& r, LiveSettings& live) {
  ExclusiveFile file;
  if (!file.Open(path)) return false;
  const std::int64_t size = file.Size();
  if (size < kMinFileSize || size > kMaxFileSize) return false;
  // A 1511-byte file leaves the record's last byte as it was.
  SettingsRecord read = r;
  if (file.ReadAtStart(&read, kRecordSize) < static_cast<std::size_t>(kMinFileSize))
    return false;
  file.Close();
  r = read;
  ApplyRecord(r, live);
  return true;
}

ReadOnlyLoad ReadSettingsReadOnly(const std::string& path, SettingsRecord& r, LiveSettings& live) {
  std::error_code ec;
  const std::filesystem::path fsPath = FsPath(path);
  std::ifstream in;
  if (std::filesystem::is_regular_file(fsPath, ec)) in.open(fsPath, std::ios::binary);
  if (!in.is_open()) return {};
  const std::uintmax_t size = std::filesystem::file_size(fsPath, ec);
  if (ec || size < static_cast<std::uintmax_t>(kMinFileSize) ||
      size > static_cast<std::uintmax_t>(kMaxFileSize))
    return {ReadOnlyLoad::Result::WrongSize, size};
  in.read(reinterpret_cast<char*>(&r), sizeof r);
  ApplyRecord(r, live);
  return {ReadOnlyLoad::Result::Read, size};
}

bool WriteSettings(const std::string& path, SettingsRecord& r, const LiveSettings& live) {
  CollectRecord(live, r);
  ExclusiveFile file;
  if (!file.Open(path)) return false;
  file.WriteAtStart(&r, kRecordSize);
  return true;
}

bool InitialiseSettings(const std::string& path, SettingsRecord& r, LiveSettings& live) {
  std::memset(static_cast<void*>(&r), 0, sizeof r);
  ResetToDefaults(r, live);
  CollectRecord(live, r);
  // Written anew at the record's size: a file of a wrong size left as it was would be
  // refused again at the next start, and every setting made meanwhile lost.
  ExclusiveFile file;
  return file.Open(path) && file.WriteAtStart(&r, kRecordSize) == static_cast<std::size_t>(kRecordSize) &&
         file.Resize(kRecordSize);
}

void ResetToDefaults(SettingsRecord& r, LiveSettings& live) {
  // The stored fields of a default live state (fonts, scales, formats, orientations), then
  // the live-only block gap; the computed fields belong to the layouts, which rebuild.
  SettingsRecord defaults;
  CollectRecord(LiveSettings{}, defaults);
  ApplyRecord(defaults, live);
  live.binary.BinBlockGap = BinaryPageFormat{}.BinBlockGap;

  r.AscColumns = 1;
  r.BinColumns = 1;
  r.AscFontScale = r.BinFontScale = 1.0;
  r.Reserved1C8 = 1;
  r.AscOrientation = 1;
  r.BinOrientation = 2;
  SetLastOpenPath(r, "");
}

}  // namespace tyld::settings
