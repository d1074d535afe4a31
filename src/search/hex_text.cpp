#include "search/hex_text.h"

#include <cstdio>

namespace tyld::search {

std::uint8_t ParseHexByte(std::string_view text) {
  if (text.empty()) return 0;
  const int high = HexDigitValue(text[0]);
  if (high < 0) return 0;
  if (text.size() < 2) return static_cast<std::uint8_t>(high);
  const int low = HexDigitValue(text[1]);
  return low < 0 ? 0 : static_cast<std::uint8_t>(high * 16 + low);
}

std::string HexByteText(std::uint8_t value) { return FormatNumber("%02X", value); }

std::string FormatNumber(const char* format, std::uint32_t value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

}  // namespace tyld::search
