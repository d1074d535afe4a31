#pragma once
// The texts of a dump page (Shift-JIS): addresses, byte values, headings, the range line
// and the footer items. Shared by the painter and the page text so both say the same.
#include <cstdint>
#include <string>
#include <string_view>

namespace tyld::binary {

// "%06X:" / "%06x:" of a line address.
// Hex digits of the address field for data of `length` bytes: 6, or as many as the last
// line's address needs, so the field never runs into the first byte.
int AddressDigits(std::int64_t length);
// Columns the address field takes beyond the six it always has.
inline int AddressExtra(int digits) { return digits > 6 ? digits - 6 : 0; }
std::string AddressText(std::int64_t offset, bool lower, int digits = 6);
// The same written at out, for an offset that fits in 1..15 digits (AddressDigits of a
// longer length); digits + 1 characters; returns the end.
char* PutAddress(char* out, std::int64_t offset, bool lower, int digits);
// "%02X" / "%02x", from a table of the 256 pairs (the view lives as long as the program).
std::string_view ByteText(std::uint8_t b, bool lower);
// That table: the 256 pairs one after the other, byte b's at 2b.
std::string_view HexPairTable(bool lower);
// "+%X" / "+%x" of header label i (0..15), from a table like ByteText.
std::string_view HeaderLabel(int i, bool lower);
// The single header digit of j (0..15).
char HeaderDigit(int j, bool lower);
inline constexpr std::string_view kAddressHeading = "Address";

// "[%06X-%06X/%06X]H [%s] [%d]ﾊﾞｲﾄ" (name in Shift-JIS).
std::string RangeLineText(std::int64_t first, std::int64_t last, std::int64_t length,
                          std::string_view name);

// Local time as the footer shows it; a part that cannot be read is -1 (minute, hour) or
// 0 (day, month, year).
struct FooterTime {
  int year = 0, month = 0, day = 0, hour = -1, minute = -1;
};
FooterTime LocalFooterTime();

std::string PageNumberText(int pageNumber);       // "- %d -"
std::string FileNameText(std::string_view name);  // "[%s]"
std::string DateText(const FooterTime& t);        // "[%02d/%02d/%02d,%02d:%02d]"

}  // namespace tyld::binary
