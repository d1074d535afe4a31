#pragma once
// The position calculator's conversions between decimal and hexadecimal byte positions,
// and the page a typed position jumps to.
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

// Page index (0-based) holding a typed position for pages of `pageBytes` bytes. Typed
// positions count from 1: 256 is on the first page of 256-byte pages, 257 on the second;
// 0 belongs to the first page. 0 when pageBytes is not positive.
std::int64_t PageOfTypedPosition(std::uint32_t position, std::int64_t pageBytes);

}  // namespace tyld::search
