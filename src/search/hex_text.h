#pragma once
// Hexadecimal readings and writings shared by the search dialogs and the byte tools.
#include <cstdint>
#include <string>
#include <string_view>

namespace tyld::search {

// 0..15 for '0'..'9', 'a'..'f', 'A'..'F'; -1 for any other character.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A byte from up to two hexadecimal characters of either case: "a" and "0a" give 0x0A;
// a non-digit first character gives 0, a non-digit second character gives 0 ("g1", "1g");
// characters after the second do not take part.
std::uint8_t ParseHexByte(std::string_view text);

// "%02X".
std::string HexByteText(std::uint8_t value);

// One unsigned 32-bit number through a printf format with a single conversion
// ("%08X", "0～0x%X", "%u").
std::string FormatNumber(const char* format, std::uint32_t value);

}  // namespace tyld::search
