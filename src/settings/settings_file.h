#pragma once
// Where the settings file lives, and reading, writing and defaulting it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "settings/page_format.h"
#include "settings/settings_record.h"

namespace tyld::settings {

struct SettingsPaths {
  std::string SettingsPath;  // <WorkDir>/YDsettei.bin
  std::string WorkDir;       // also the directory of pasted data
};

using DirectoryTest = std::function<bool(const std::string& dir)>;

// StartMode 0 uses the current directory, any other mode the executable's directory; one
// trailing separator is dropped. When `usable(dir)` says the chosen directory cannot hold
// the file, `fallbackDir` (a per-user configuration directory the caller creates) is used.
[[nodiscard]] SettingsPaths DeriveSettingsPath(int startMode, std::string_view currentDir,
                                               std::string_view exeDir,
                                               const DirectoryTest& usable,
                                               std::string_view fallbackDir);

// A directory of the installed system (/usr, /bin, /sbin) that programs never write to.
[[nodiscard]] bool IsSystemDirectory(std::string_view dir);
// The directory is writable, not a system directory, and a settings file already in it is
// writable too.
[[nodiscard]] bool IsUsableSettingsDirectory(const std::string& dir);

// Record <-> live state (page formats, fonts, scales, orientations).
void ApplyRecord(const SettingsRecord& r, LiveSettings& live);
void CollectRecord(const LiveSettings& live, SettingsRecord& r);

// Opens the file exclusively (creating it empty when missing); false when it cannot be
// opened or its size is outside 1511..1513 bytes. On success the record is applied.
bool ReadSettings(const std::string& path, SettingsRecord& r, LiveSettings& live);
// Reads the file for a program that must leave it alone: never created, locked or
// written, and judged by its size before reading, so a device or a huge file is never read
// whole and a pipe is not waited on. A 1511-byte file leaves the record's last byte as it
// was; of a 1513-byte file the last byte is ignored. The record is applied when read.
struct ReadOnlyLoad {
  enum class Result { Read, Unreadable, WrongSize } result = Result::Unreadable;
  std::uintmax_t size = 0;  // the file's size, for WrongSize
};
ReadOnlyLoad ReadSettingsReadOnly(const std::string& path, SettingsRecord& r, LiveSettings& live);
// Collects the live state and writes the 1512 bytes at offset 0 without truncating.
// False only when the file cannot be opened.
bool WriteSettings(const std::string& path, SettingsRecord& r, const LiveSettings& live);
// Zeroes the record, resets to the defaults and writes the file anew at exactly the
// record's size; false when the file cannot be opened or written.
bool InitialiseSettings(const std::string& path, SettingsRecord& r, LiveSettings& live);
// Defaults into the live state and the record's own defaulted fields; placement,
// reserved bytes from 0x1CC and unused areas are kept.
void ResetToDefaults(SettingsRecord& r, LiveSettings& live);

// Start-up shows this once when neither the read nor the initialisation works, and goes on
// with the defaults; the close then cannot keep the settings either.
inline constexpr char kInitFailedText[] = "設定条件ﾌｧｲﾙの初期化に失敗しました。";
inline constexpr char kInitFailedGoesOnText[] = "設定は初期値で動作し、保存されません。";
inline constexpr char kInitFailedCaption[] = "確認要求";

}  // namespace tyld::settings
