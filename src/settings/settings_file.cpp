#include "settings/settings_file.h"

#include <cstring>
#include <filesystem>

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

void ResetFont(FontState& font) {
  font.logFont = platform::LogFont{};
  font.logFont.SetFace(platform::kDefaultFaceSjis);
  font.choice = FontChoice{};
  std::memset(font.choice.misc, 0, sizeof font.choice.misc);
  font.scale = 1.0;
}

}  // namespace

SettingsPaths& Paths() {
  static SettingsPaths paths;
  return paths;
}

SettingsPaths DeriveSettingsPath(int startMode, std::string_view currentDir,
                                 std::string_view exeDir, const DirectoryTest& usable,
                                 std::string_view fallbackDir) {
  std::string dir = WithoutTrailingSeparator(startMode == 0 ? currentDir : exeDir);
  if (dir.empty() || (usable && !usable(dir))) dir = WithoutTrailingSeparator(fallbackDir);
  return SettingsPaths{Join(dir, kSettingsFileName), dir};
}

bool IsUsableSettingsDirectory(const std::string& dir) {
  std::error_code ec;
  if (!std::filesystem::is_directory(FsPath(dir), ec) || !Writable(dir))
    return false;
  const std::string file = Join(dir, kSettingsFileName);
  return !std::filesystem::exists(FsPath(file), ec) || Writable(file);
}

void ApplyRecord(const SettingsRecord& r, LiveSettings& live) {
  live.unprint = {r.UnprintTop, r.UnprintBottom, r.UnprintLeft, r.UnprintRight};
  AsciiPageFormat& a = live.ascii;
  a.AscMarginTop = r.AscMarginTop;
  a.AscMarginBottom = r.AscMarginBottom;
  a.AscMarginLeft = r.AscMarginLeft;
  a.AscColumnGap = r.AscColumnGap;
  a.AscLineSpacing = r.AscLineSpacing;
  a.AscDateMode = r.AscDateMode;
  a.AscPageNoMode = r.AscPageNoMode;
  a.AscLineNoMode = r.AscLineNoMode;
  a.AscFileNameMode = r.AscFileNameMode;
  a.AscColumns = r.AscColumns;
  a.AscCharsPerLine = r.AscCharsPerLine;
  a.AscLinesPerPage = r.AscLinesPerPage;
  a.AscTabWidth = r.AscTabWidth;
  live.asciiFont.scale = r.AscFontScale;
  live.asciiFont.choice = r.AscFontChoice;
  live.asciiFont.logFont = r.AscLogFont;
  live.AscOrientation = r.AscOrientation;

  BinaryPageFormat& b = live.binary;
  b.BinMarginTop = r.BinMarginTop;
  b.BinMarginBottom = r.BinMarginBottom;
  b.BinMarginLeft = r.BinMarginLeft;
  b.BinColumnGap = r.BinColumnGap;
  b.BinLineSpacing = r.BinLineSpacing;
  b.BinDateMode = r.BinDateMode;
  b.BinPageNoMode = r.BinPageNoMode;
  b.BinFileNameMode = r.BinFileNameMode;
  b.BinColumns = r.BinColumns;
  b.BinBlocksPerColumn = r.BinBlocksPerColumn;
  b.BinCrLfMark = r.BinCrLfMark;
  b.BinHexCase = r.BinHexCase;
  live.binaryFont.scale = r.BinFontScale;
  live.binaryFont.choice = r.BinFontChoice;
  live.binaryFont.logFont = r.BinLogFont;
  live.BinOrientation = r.BinOrientation;
}

void CollectRecord(const LiveSettings& live, SettingsRecord& r) {
  r.UnprintTop = live.unprint.top;
  r.UnprintBottom = live.unprint.bottom;
  r.UnprintLeft = live.unprint.left;
  r.UnprintRight = live.unprint.right;
  const AsciiPageFormat& a = live.ascii;
  r.AscMarginTop = a.AscMarginTop;
  r.AscMarginBottom = a.AscMarginBottom;
  r.AscMarginLeft = a.AscMarginLeft;
  r.AscColumnGap = a.AscColumnGap;
  r.AscLineSpacing = a.AscLineSpacing;
  r.AscDateMode = a.AscDateMode;
  r.AscPageNoMode = a.AscPageNoMode;
  r.AscLineNoMode = a.AscLineNoMode;
  r.AscFileNameMode = a.AscFileNameMode;
  r.AscColumns = a.AscColumns;
  r.AscCharsPerLine = a.AscCharsPerLine;
  r.AscLinesPerPage = a.AscLinesPerPage;
  r.AscTabWidth = a.AscTabWidth;
  r.AscFontScale = live.asciiFont.scale;
  r.AscFontChoice = live.asciiFont.choice;
  r.AscLogFont = live.asciiFont.logFont;
  r.AscOrientation = live.AscOrientation;

  const BinaryPageFormat& b = live.binary;
  r.BinMarginTop = b.BinMarginTop;
  r.BinMarginBottom = b.BinMarginBottom;
  r.BinMarginLeft = b.BinMarginLeft;
  r.BinColumnGap = b.BinColumnGap;
  r.BinLineSpacing = b.BinLineSpacing;
  r.BinDateMode = b.BinDateMode;
  r.BinPageNoMode = b.BinPageNoMode;
  r.BinFileNameMode = b.BinFileNameMode;
  r.BinColumns = b.BinColumns;
  r.BinBlocksPerColumn = b.BinBlocksPerColumn;
  r.BinCrLfMark = b.BinCrLfMark;
  r.BinHexCase = b.BinHexCase;
  r.BinFontScale = live.binaryFont.scale;
  r.BinFontChoice = live.binaryFont.choice;
  r.BinLogFont = live.binaryFont.logFont;
  r.BinOrientation = live.BinOrientation;
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
  return WriteSettings(path, r, live);
}

void ResetToDefaults(SettingsRecord& r, LiveSettings& live) {
  ResetFont(live.asciiFont);
  ResetFont(live.binaryFont);

  // Stored fields only: the computed ones belong to the layouts, which rebuild after a reset.
  live.unprint = UnprintMargins{};
  const AsciiPageFormat asciiDefaults;
  AsciiPageFormat& a = live.ascii;
  a.AscMarginTop = asciiDefaults.AscMarginTop;
  a.AscMarginBottom = asciiDefaults.AscMarginBottom;
  a.AscMarginLeft = asciiDefaults.AscMarginLeft;
  a.AscColumnGap = asciiDefaults.AscColumnGap;
  a.AscLineSpacing = asciiDefaults.AscLineSpacing;
  a.AscDateMode = asciiDefaults.AscDateMode;
  a.AscPageNoMode = asciiDefaults.AscPageNoMode;
  a.AscLineNoMode = asciiDefaults.AscLineNoMode;
  a.AscFileNameMode = asciiDefaults.AscFileNameMode;
  a.AscColumns = asciiDefaults.AscColumns;
  a.AscCharsPerLine = asciiDefaults.AscCharsPerLine;
  a.AscLinesPerPage = asciiDefaults.AscLinesPerPage;
  a.AscTabWidth = asciiDefaults.AscTabWidth;
  r.AscColumns = 1;

  const BinaryPageFormat binaryDefaults;
  BinaryPageFormat& b = live.binary;
  b.BinMarginTop = binaryDefaults.BinMarginTop;
  b.BinMarginBottom = binaryDefaults.BinMarginBottom;
  b.BinMarginLeft = binaryDefaults.BinMarginLeft;
  b.BinBlockGap = binaryDefaults.BinBlockGap;
  b.BinColumnGap = binaryDefaults.BinColumnGap;
  b.BinLineSpacing = binaryDefaults.BinLineSpacing;
  b.BinDateMode = binaryDefaults.BinDateMode;
  b.BinPageNoMode = binaryDefaults.BinPageNoMode;
  b.BinFileNameMode = binaryDefaults.BinFileNameMode;
  b.BinColumns = binaryDefaults.BinColumns;
  b.BinBlocksPerColumn = binaryDefaults.BinBlocksPerColumn;
  b.BinCrLfMark = binaryDefaults.BinCrLfMark;
  b.BinHexCase = binaryDefaults.BinHexCase;
  r.BinColumns = 1;

  r.AscFontScale = r.BinFontScale = 1.0;
  r.Reserved1C8 = 1;
  live.AscOrientation = r.AscOrientation = 1;
  live.BinOrientation = r.BinOrientation = 2;
  SetLastOpenPath(r, "");
}

bool ReadSettings() { return ReadSettings(Paths().SettingsPath, Record(), Live()); }
bool WriteSettings() { return WriteSettings(Paths().SettingsPath, Record(), Live()); }
bool InitialiseSettings() { return InitialiseSettings(Paths().SettingsPath, Record(), Live()); }
void ResetToDefaults() { ResetToDefaults(Record(), Live()); }

}  // namespace tyld::settings
