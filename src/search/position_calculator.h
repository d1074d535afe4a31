#pragma once
// The position calculator's conversions between decimal and hexadecimal byte positions.
// The page a position jumps to is the binary screen's (binary::PageOfPosition).
#include <cstdint>
#include <string>
#include <string_view>

namespace tyld::search {

// Decimal edit: leading white space, an optional sign, then the leading digits; 0 when
// there are none. Positions are never negative, so a negative number reads 0; numbers
// past 32 bits stay at 4294967295.
std::uint32_t ReadDecimalPosition(std::string_view text);

// Hexadecimal edit: the first 31 characters, v = v × 16 + d with 32-bit wrap, where a
// character that is not a hexadecimal digit counts 0 ("1G" gives 0x10).
std::uint32_t ReadHexPosition(std::string_view text);

// "%X" and "%u" of a position.
std::string HexPositionText(std::uint32_t position);
std::string DecimalPositionText(std::uint32_t position);

}  // namespace tyld::search
