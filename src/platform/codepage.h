#pragma once
// Code page 932 (Shift-JIS as Windows has it) <-> UTF-16, by table look-up.
#include <cstdint>
#include <string>
#include <string_view>

namespace tyld::platform::codepage {

// True for the first byte of a double-byte CP932 character, the user-defined area and the
// IBM extensions (0xF0..0xFC) included: wherever a pair must stay whole.
constexpr bool IsLeadByte(std::uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
// True for the second byte of a double-byte character (0x40..0xFC but 0x7F).
constexpr bool IsTrailByte(std::uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// UTF-16 unit of a single byte (0 when the byte has no character on its own).
char16_t DecodeByte(std::uint8_t b);
// UTF-16 unit of a lead/trail pair (0 when the pair has no character).
char16_t DecodePair(std::uint8_t lead, std::uint8_t trail);

// CP932 code of a UTF-16 unit: 0..0xFF for one byte, 0x8140.. for two bytes,
// -1 when CP932 has no form for it. Where CP932 has several codes for one character
// the one Windows produces is returned.
int Encode(char16_t u);

// The visible stand-in for characters CP932 cannot show ("・", 0x8145).
inline constexpr std::uint16_t kSubstitute = 0x8145;

// Shift-JIS bytes to UTF-16/UTF-8. A byte or pair without a character becomes its
// single-byte fallback (the byte as Latin-1), never dropped.
std::u16string ToUtf16(std::string_view sjis);
std::string ToUtf8(std::string_view sjis);
// ToUtf8 appended to out, for callers that build one buffer.
void AppendUtf8(std::string& out, std::string_view sjis);
// ToUtf8 written at out, which has room for 3 bytes per input byte; returns the end.
char* PutUtf8(char* out, std::string_view sjis);
// One UTF-16 unit of the BMP as UTF-8 at out (1 to 3 bytes); returns the end.
char* PutUtf8(char* out, char16_t u);
// UTF-8 to Shift-JIS; characters without a CP932 form become kSubstitute.
std::string FromUtf8(std::string_view utf8);
// UTF-16 to Shift-JIS, same substitution.
std::string FromUtf16(std::u16string_view utf16);

}  // namespace tyld::platform::codepage
