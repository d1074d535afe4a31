#include "settings/settings_record.h"

#include <cstring>

#include "platform/codepage.h"

namespace tyld::settings {

std::string LastOpenPath(const SettingsRecord& r) {
  return std::string(r.LastOpenPath, strnlen(r.LastOpenPath, kLastOpenPathSize));
}

void SetLastOpenPath(SettingsRecord& r, std::string_view sjis) {
  // Keep whole characters: a lead byte whose trail would fall beyond the limit goes too.
  std::size_t keep = 0;
  for (std::size_t i = 0; i < sjis.size() && sjis[i] != '\0';) {
    const bool pair = platform::codepage::IsLeadByte(static_cast<std::uint8_t>(sjis[i])) &&
                      i + 1 < sjis.size();
    const std::size_t next = i + (pair ? 2 : 1);
    if (next > kLastOpenPathSize - 1) break;
    keep = i = next;
  }
  std::memset(r.LastOpenPath, 0, kLastOpenPathSize);
  std::memcpy(r.LastOpenPath, sjis.data(), keep);
}

std::string LastOpenPathUtf8(const SettingsRecord& r) {
  return platform::codepage::ToUtf8(LastOpenPath(r));
}

void SetLastOpenPathUtf8(SettingsRecord& r, std::string_view utf8) {
  SetLastOpenPath(r, platform::codepage::FromUtf8(utf8));
}

}  // namespace tyld::settings
