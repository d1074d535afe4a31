#include "mail/charset.h"

#include <algorithm>
#include <cstdint>

#include "platform/codepage.h"

namespace tyld::mail {
namespace cp = tyld::platform::codepage;
namespace {

constexpr char kEsc = 0x1B;

void AppendSubstitute(std::string& out) {
  out += static_cast<char>(cp::kSubstitute >> 8);
  out += static_cast<char>(cp::kSubstitute & 0xFF);
}

bool IsJisByte(std::uint8_t b) { return b >= 0x21 && b <= 0x7E; }

// JIS X 0208 row/cell bytes to their Shift-JIS code.
int JisToSjis(std::uint8_t c1, std::uint8_t c2) {
  const int lead = ((c1 + 1) >> 1) + (c1 < 0x5F ? 0x70 : 0xB0);
  int trail;
  if (c1 & 1) {
    trail = c2 + (c2 < 0x60 ? 0x1F : 0x20);
  } else {
    trail = c2 + 0x7E;
  }
  return (lead << 8) | trail;
}

enum class Mode { kAscii, kKanji, kSupplementary, kKatakana };

}  // namespace

void AppendJisAsSjis(std::string& out, std::string_view in) {
  Mode mode = Mode::kAscii;
  const std::size_t n = in.size();
  std::size_t i = 0;
  while (i < n) {
    const auto b = static_cast<std::uint8_t>(in[i]);
    if (in[i] == kEsc) {
      const char c1 = i + 1 < n ? in[i + 1] : '\0';
      const char c2 = i + 2 < n ? in[i + 2] : '\0';
      if (c1 == '$' && (c2 == '@' || c2 == 'B')) {  // JIS C 6226 / X 0208
        mode = Mode::kKanji;
        i += 3;
      } else if (c1 == '$' && c2 == '(' && i + 3 < n && in[i + 3] == 'D') {
        mode = Mode::kSupplementary;  // JIS X 0212: no CP932 form
        i += 4;
      } else if (c1 == '(' && (c2 == 'B' || c2 == 'J' || c2 == 'H')) {
        mode = Mode::kAscii;
        i += 3;
      } else if (c1 == '(' && c2 == 'I') {
        mode = Mode::kKatakana;
        i += 3;
      } else {
        // Not a sequence we know: show that something was here and go on.
        AppendSubstitute(out);
        ++i;
      }
      continue;
    }
    if (mode == Mode::kAscii || b < 0x21 || b == 0x7F) {
      // Controls pass in any mode; a line end also ends a double-byte run that its
      // writer forgot to close, so the following line is not misread.
      out += in[i];
      if (b == '\n' || b == '\r') mode = Mode::kAscii;
      ++i;
      continue;
    }
    if (mode == Mode::kKatakana) {
      if (b <= 0x5F) {
        out += static_cast<char>(b + 0x80);
      } else {
        AppendSubstitute(out);
      }
      ++i;
      continue;
    }
    const auto b2 = static_cast<std::uint8_t>(i + 1 < n ? in[i + 1] : 0);
    if (!IsJisByte(b) || !IsJisByte(b2)) {
      AppendSubstitute(out);  // the next byte may start something valid
      ++i;
      continue;
    }
    const int code = JisToSjis(b, b2);
    if (mode == Mode::kSupplementary ||
        cp::DecodePair(static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code & 0xFF)) == 0) {
      AppendSubstitute(out);
    } else {
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    }
    i += 2;
  }
}

std::string ConvertJisToSjis(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  AppendJisAsSjis(out, bytes);
  return out;
}

std::string ConvertJisIfEscaped(std::string_view text) {
  if (std::count(text.begin(), text.end(), kEsc) > 1) return ConvertJisToSjis(text);
  return std::string(text);
}

void AppendUtf8AsSjis(std::string& out, std::string_view utf8) {
  // A byte-order mark in either order only tells how the text was written.
  if (utf8.starts_with("\xEF\xBB\xBF") || utf8.starts_with("\xEF\xBF\xBE")) utf8.remove_prefix(3);
  out += cp::FromUtf8(utf8);
}

std::string Utf8ToSjis(std::string_view utf8) {
  std::string out;
  AppendUtf8AsSjis(out, utf8);
  return out;
}

}  // namespace tyld::mail
