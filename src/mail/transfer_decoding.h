#pragma once
// Base64 and quoted-printable transfer decodings and numeric character references.
#include <string>
#include <string_view>

namespace tyld::mail {

// Charset of a text part as the mail decoder records it.
inline constexpr int kCharsetNone = 0;
inline constexpr int kCharsetOther = 1;
inline constexpr int kCharsetUtf8 = 8;

// Base64 to bytes. Line breaks, spaces and tabs are skipped; decoding stops at the
// padding "=" or any other character outside the alphabet. A final incomplete group
// gives the whole bytes it holds.
std::string DecodeBase64(std::string_view text);

// "=XY" escapes (hexadecimal digits in either case) to bytes. An "=" without two
// hexadecimal digits after it stays as it is.
std::string DecodeQuotedPrintable(std::string_view text);

// A block of quoted-printable lines to bytes: a line ending in "=" continues on the
// next (a soft line break); every other line ends in CR LF.
std::string DecodeQuotedPrintableBlock(std::string_view block);

// "&#NNNN;" and "&#xHHHH;" to the Shift-JIS bytes of that character. Anything that is
// not a complete reference is kept as it stands.
std::string ReplaceNumericReferences(std::string_view text);

}  // namespace tyld::mail
