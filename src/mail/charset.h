#pragma once
// Character-set conversions of mail text into Shift-JIS (code page 932).
#include <string>
#include <string_view>

namespace tyld::mail {

// ISO-2022-JP (JIS) to Shift-JIS. Escape sequences switch between single- and
// double-byte mode; anything that is not valid JIS becomes the visible substitute.
std::string ConvertJisToSjis(std::string_view bytes);

// ConvertJisToSjis when the text holds more than one ESC byte, else the text as it is.
std::string ConvertJisIfEscaped(std::string_view text);

// UTF-8 to Shift-JIS. A leading byte-order mark is dropped; characters code page 932
// cannot show and malformed bytes become the visible substitute.
std::string Utf8ToSjis(std::string_view utf8);

// Appending forms of the above, for callers that build one large output.
void AppendJisAsSjis(std::string& out, std::string_view bytes);
void AppendUtf8AsSjis(std::string& out, std::string_view utf8);

}  // namespace tyld::mail
