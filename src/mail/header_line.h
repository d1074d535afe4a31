#pragma once
// Encoded words ("=?charset?B|Q?text?=") and raw UTF-8 in header lines.
#include <string>
#include <string_view>

namespace tyld::mail {

// Decodes the encoded words of ISO-2022-JP (kind 1), Shift_JIS (kind 2) and UTF-8
// (kind 3) in a header line or a whole body block, and converts raw three-byte UTF-8
// characters, to Shift-JIS. Adjacent words of one charset are joined before the
// conversion, so a character split between them comes out whole. Spaces before a word
// whose kind equals that of the last word seen in the text are dropped, as mail
// programs have long relied on; tabs always stay. Text that is not a complete encoded
// word is kept as it stands.
std::string DecodeHeaderLine(std::string_view text);

// The same, appending to `out`.
void AppendDecodedHeaderLine(std::string& out, std::string_view text);

}  // namespace tyld::mail
