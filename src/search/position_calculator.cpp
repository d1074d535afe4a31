#include "search/position_calculator.h"

#include <cctype>

#include "search/hex_text.h"

namespace tyld::search {

std::uint32_t ReadDecimalPosition(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (value > 0xFFFFFFFFu) value = 0xFFFFFFFFu;
  }
  return negative ? 0 : static_cast<std::uint32_t>(value);
}

std::uint32_t ReadHexPosition(std::string_view text) {
  std::uint32_t value = 0;
  for (const char c : text.substr(0, 31)) {
    const int d = HexDigitValue(c);
    value = value * 16u + static_cast<std::uint32_t>(d < 0 ? 0 : d);
  }
  return value;
}

std::string HexPositionText(std::uint32_t position) { return FormatNumber("%X", position); }

std::string DecimalPositionText(std::uint32_t position) { return FormatNumber("%u", position); }

}  // namespace tyld::search
