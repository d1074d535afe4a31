#pragma once
// Character-set conversions of mail text into Shift-JIS (code page 932).
#include <iconv.h>

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

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values
// beyond U+10FFFF).
bool IsUtf8(std::string_view bytes);

// Text whose writer named no charset (or only US-ASCII, which 8-bit bytes prove wrong):
// ISO-2022-JP when it holds escapes; otherwise each line that is well-formed UTF-8
// with some non-ASCII byte is converted from UTF-8, and any other line is taken to be
// Shift-JIS already and kept as it is.
void AppendUndeclared(std::string& out, std::string_view bytes);

// A charset named in a mail (a MIME name or a common alias of one), ready to convert
// text in it to Shift-JIS. Shift_JIS and its Windows variants pass through unchanged;
// ISO-2022-JP and UTF-8 have converters of their own; everything else goes through
// iconv. A name iconv does not know makes an unknown charset, whose text is kept as
// its bytes are.
class Charset {
 public:
  // An empty name is "no charset named". An RFC 2231 language suffix ("*ja") is ignored.
  explicit Charset(std::string_view name);
  ~Charset();
  Charset(Charset&& other) noexcept;
  Charset& operator=(Charset&& other) noexcept;
  Charset(const Charset&) = delete;
  Charset& operator=(const Charset&) = delete;

  bool Declared() const { return kind_ != Kind::kUndeclared; }
  bool Known() const { return kind_ != Kind::kUnknown; }
  bool IsUtf8() const { return kind_ == Kind::kUtf8; }
  // Names that convert alike have equal keys ("utf8" and "UTF-8", "sjis" and "cp932").
  const std::string& Key() const { return key_; }

  // Appends the text converted to Shift-JIS; bytes that are not valid in the charset
  // become the visible substitute, each once.
  void Append(std::string& out, std::string_view bytes) const;
  std::string Convert(std::string_view bytes) const;

 private:
  enum class Kind { kUndeclared, kShiftJis, kJis, kUtf8, kIconv, kUnknown };
  void Close();

  Kind kind_ = Kind::kUndeclared;
  std::string key_;
  iconv_t cd_;
};

}  // namespace tyld::mail
