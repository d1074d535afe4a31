#pragma once
// Options kept beside the settings file in an INI file of their own: the settings file is a
// fixed record with no room for them, and other programs read that record.
#include <string>
#include <string_view>

namespace tyld::settings {

inline constexpr char kSideOptionsFileName[] = "tyld.ini";

// The INI file in the settings file's folder.
[[nodiscard]] std::string SideOptionsPath(std::string_view settingsPath);

// The Japanese line-breaking rules of the ASCII screen (key ascii/lineBreakRules). A missing
// or unreadable file, or a value other than true/false, reads as off.
[[nodiscard]] bool ReadLineBreakRules(const std::string& iniPath);
// Writes the key, keeping the file's other keys; false when the file cannot be written.
bool WriteLineBreakRules(const std::string& iniPath, bool on);

}  // namespace tyld::settings
