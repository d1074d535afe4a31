#pragma once
// The 1512-byte record of "YDsettei.bin", laid out byte for byte as the file holds it
// (little-endian, no header). The record is also the live storage of the window
// placement, the last open path and the reserved bytes; the page formats, fonts, scales and
// orientations live in LiveSettings and are copied in and out around every read and write.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/font_description.h"
#include "settings/page_format.h"

namespace tyld::settings {

static_assert(std::endian::native == std::endian::little,
              "the settings record is stored in memory order, which must be little-endian");

inline constexpr std::size_t kRecordSize = 1512;
inline constexpr std::size_t kLastOpenPathSize = 256;  // including the terminator
inline constexpr char kSettingsFileName[] = "YDsettei.bin";

struct SettingsRecord {
  std::int32_t UnprintTop = 0;
  std::int32_t UnprintBottom = 0;
  std::int32_t UnprintLeft = 0;
  std::int32_t UnprintRight = 0;
  std::int32_t AscMarginTop = 0;
  std::int32_t AscMarginBottom = 0;
  std::int32_t AscMarginLeft = 0;
  std::int32_t AscColumnGap = 0;
  std::int32_t AscLineSpacing = 0;
  std::int32_t AscDateMode = 0;
  std::int32_t AscPageNoMode = 0;
  std::int32_t AscLineNoMode = 0;
  std::int32_t AscFileNameMode = 0;
  std::int32_t AscColumns = 0;
  std::int32_t AscCharsPerLine = 0;
  std::int32_t AscLinesPerPage = 0;
  std::int32_t AscTabWidth = 0;
  FontChoice AscFontChoice{};
  platform::FontDescription AscLogFont{};
  std::int32_t AscOrientation = 0;
  std::int32_t BinMarginTop = 0;
  std::int32_t BinMarginBottom = 0;
  std::int32_t BinMarginLeft = 0;
  std::int32_t BinColumnGap = 0;
  std::int32_t BinLineSpacing = 0;
  std::int32_t BinDateMode = 0;
  std::int32_t BinPageNoMode = 0;
  std::int32_t BinFileNameMode = 0;
  std::int32_t BinColumns = 0;
  std::int32_t BinBlocksPerColumn = 0;
  std::int32_t BinCrLfMark = 0;
  std::int32_t BinHexCase = 0;
  FontChoice BinFontChoice{};
  platform::FontDescription BinLogFont{};
  std::int32_t BinOrientation = 0;
  std::uint8_t padding16C[4] = {};
  double AscFontScale = 0;
  double BinFontScale = 0;
  std::int32_t WinLeft = 0;
  std::uint8_t unused184[12] = {};
  std::int32_t WinTop = 0;
  std::uint8_t unused194[12] = {};
  std::int32_t WinWidth = 0;
  std::uint8_t unused1A4[12] = {};
  std::int32_t WinHeight = 0;
  std::uint8_t unused1B4[12] = {};
  std::int32_t WinScreenWidth = 0;
  std::int32_t WinScreenHeight = 0;
  std::int32_t Reserved1C8 = 0;
  std::uint8_t Reserved1CC[28] = {};
  char LastOpenPath[kLastOpenPathSize] = {};  // CP932, zero-terminated unless the file says otherwise
  std::uint8_t unused2E8[768] = {};
};

static_assert(sizeof(SettingsRecord) == kRecordSize);
static_assert(offsetof(SettingsRecord, UnprintRight) == 0x00C);
static_assert(offsetof(SettingsRecord, AscMarginTop) == 0x010);
static_assert(offsetof(SettingsRecord, AscLineSpacing) == 0x020);
static_assert(offsetof(SettingsRecord, AscFileNameMode) == 0x030);
static_assert(offsetof(SettingsRecord, AscTabWidth) == 0x040);
static_assert(offsetof(SettingsRecord, AscFontChoice) == 0x044);
static_assert(offsetof(SettingsRecord, AscLogFont) == 0x080);
static_assert(offsetof(SettingsRecord, AscOrientation) == 0x0BC);
static_assert(offsetof(SettingsRecord, BinMarginTop) == 0x0C0);
static_assert(offsetof(SettingsRecord, BinFileNameMode) == 0x0DC);
static_assert(offsetof(SettingsRecord, BinHexCase) == 0x0EC);
static_assert(offsetof(SettingsRecord, BinFontChoice) == 0x0F0);
static_assert(offsetof(SettingsRecord, BinLogFont) == 0x12C);
static_assert(offsetof(SettingsRecord, BinOrientation) == 0x168);
static_assert(offsetof(SettingsRecord, AscFontScale) == 0x170);
static_assert(offsetof(SettingsRecord, BinFontScale) == 0x178);
static_assert(offsetof(SettingsRecord, WinLeft) == 0x180);
static_assert(offsetof(SettingsRecord, WinTop) == 0x190);
static_assert(offsetof(SettingsRecord, WinWidth) == 0x1A0);
static_assert(offsetof(SettingsRecord, WinHeight) == 0x1B0);
static_assert(offsetof(SettingsRecord, WinScreenWidth) == 0x1C0);
static_assert(offsetof(SettingsRecord, WinScreenHeight) == 0x1C4);
static_assert(offsetof(SettingsRecord, Reserved1C8) == 0x1C8);
static_assert(offsetof(SettingsRecord, Reserved1CC) == 0x1CC);
static_assert(offsetof(SettingsRecord, LastOpenPath) == 0x1E8);
static_assert(offsetof(SettingsRecord, unused2E8) == 0x2E8);

// LastOpenPath as CP932 bytes: up to the terminator, never more than the field holds.
[[nodiscard]] std::string LastOpenPath(const SettingsRecord& r);
// Stores CP932 bytes, cut to 255 bytes without splitting a double-byte character; the
// rest of the field is zero-filled.
void SetLastOpenPath(SettingsRecord& r, std::string_view sjis);
// The same in UTF-8, converted through code page 932.
[[nodiscard]] std::string LastOpenPathUtf8(const SettingsRecord& r);
void SetLastOpenPathUtf8(SettingsRecord& r, std::string_view utf8);

}  // namespace tyld::settings
