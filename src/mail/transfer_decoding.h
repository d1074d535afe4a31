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

// Base64 text of a text part to Shift-JIS: UTF-8 for kCharsetUtf8, else taken as
// ISO-2022-JP (plain Shift-JIS has no ESC and passes unchanged).
std::string DecodeBase64Text(std::string_view text, int charset);

// "=XY" escapes to bytes. Only 'A'..'F' count as letter digits, so "=3D" is "=" and
// "=3d" is "d", as older mails written for this rule expect. An "=" without two
// following characters stays as it is.
std::string DecodeQuotedPrintable(std::string_view text);

// A block of quoted-printable lines to Shift-JIS lines, each ended by CR LF. A line
// ending in "=" continues on the next; one ending in "=20" continues after a space.
// Each logical line is decoded, converted from UTF-8 (kCharsetUtf8) or from JIS when
// escaped, and its numeric character references replaced.
std::string DecodeQuotedPrintableBlock(std::string_view block, int charset);

// "&#NNNN;" and "&#xHHHH;" to the Shift-JIS bytes of that character. Anything that is
// not a complete reference is kept as it stands.
std::string ReplaceNumericReferences(std::string_view text);

}  // namespace tyld::mail
