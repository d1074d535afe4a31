#pragma once
// Encoded words ("=?charset?B|Q?text?=") and raw UTF-8 in header fields.
#include <string>
#include <string_view>
#include <vector>

namespace tyld::mail {

// Decodes the encoded words of a header field (unfolded) or of a block of text whose
// charset is not named, in any charset Charset knows, and converts raw text that is
// well-formed UTF-8, line by line, to Shift-JIS; other raw text is kept as it stands.
// White space between two encoded words is dropped, also where a fold stood; adjacent
// words of one charset are joined before the conversion, so a character split between
// them comes out whole. Text that is not a complete encoded word is kept. The names of
// charsets that cannot be converted are added to `unknown`, when given.
std::string DecodeHeaderLine(std::string_view text, std::vector<std::string>* unknown = nullptr);

// The same, appending to `out`.
void AppendDecodedHeaderLine(std::string& out, std::string_view text, std::vector<std::string>* unknown = nullptr);

}  // namespace tyld::mail
