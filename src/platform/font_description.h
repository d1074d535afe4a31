#pragma once
// Byte-exact font description as stored in the settings file (60 bytes), and helpers.
#include <cstdint>
#include <string>

namespace tyld::platform {

struct FontDescription {
  std::int32_t height = 0;  // < 0: character height in pixels; > 0: cell height
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;  // 0 default, 400 normal, 700 bold
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  char faceName[32] = {};  // Shift-JIS, zero-terminated

  void SetFace(const std::string& sjis);
  [[nodiscard]] std::string Face() const;
};
static_assert(sizeof(FontDescription) == 60);

// Character set and pitch values of the stored descriptions.
inline constexpr std::uint8_t kShiftJisCharSet = 128;
inline constexpr std::uint8_t kFixedPitchModern = 49;

// "ＭＳ ゴシック" in Shift-JIS, the default face of both screens.
extern const char* const kDefaultFaceSjis;

}  // namespace tyld::platform
