#include "mail/transfer_decoding.h"

#include <array>
#include <cstdint>

#include "mail/ascii_case.h"
#include "mail/text_lines.h"
#include "platform/codepage.h"

namespace tyld::mail {
namespace cp = tyld::platform::codepage;
namespace {

constexpr std::array<std::int8_t, 256> MakeBase64Table() {
  std::array<std::int8_t, 256> t{};
  for (auto& v : t) v = -1;
  const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (int i = 0; i < 64; ++i) t[static_cast<std::uint8_t>(alphabet[i])] = static_cast<std::int8_t>(i);
  t['\r'] = t['\n'] = t[' '] = t['\t'] = -2;  // skipped
  return t;
}
constexpr auto kBase64 = MakeBase64Table();

// The value of a hexadecimal digit in either case, or -1.
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string DecodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 3);
  std::uint32_t bits = 0;
  int pending = 0;
  for (const char c : text) {
    const std::int8_t v = kBase64[static_cast<std::uint8_t>(c)];
    if (v == -2) continue;
    if (v < 0) break;
    bits = (bits << 6) | static_cast<std::uint32_t>(v);
    pending += 6;
    if (pending >= 8) {
      pending -= 8;
      out += static_cast<char>((bits >> pending) & 0xFF);
    }
  }
  return out;
}

std::string DecodeQuotedPrintable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=' && i + 2 < text.size()) {
      const int hi = HexDigit(text[i + 1]);
      const int lo = HexDigit(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string DecodeQuotedPrintableBlock(std::string_view block) {
  std::string out;
  out.reserve(block.size());
  std::string pending;
  bool open = false;  // pending holds the start of a line continued below
  ForEachLine(block, [&](std::string_view line) {
    if (!line.empty() && line.back() == '=') {
      line.remove_suffix(1);  // a soft line break
      pending += line;
      open = true;
      return;
    }
    pending += line;
    out += DecodeQuotedPrintable(pending);
    out += "\r\n";
    pending.clear();
    open = false;
  });
  // A block that ends inside a continued line still shows that line.
  if (open) out += DecodeQuotedPrintable(pending);
  return out;
}

std::string ReplaceNumericReferences(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    if (text[i] != '&' || i + 1 >= n || text[i + 1] != '#') {
      out += text[i++];
      continue;
    }
    std::size_t p = i + 2;
    const bool hex = p < n && (text[p] == 'x' || text[p] == 'X');
    if (hex) ++p;
    std::uint32_t value = 0;
    std::size_t digits = 0;
    for (; p < n && digits < 8; ++p, ++digits) {
      const char c = text[p];
      const int d = DigitValue(c, hex);
      if (d < 0) break;
      value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
    }
    if (digits == 0 || p >= n || text[p] != ';') {
      out += text[i++];  // not a reference: keep the "&" and read on
      continue;
    }
    const int code = value <= 0xFFFF ? cp::Encode(static_cast<char16_t>(value)) : -1;
    const int shown = code < 0 ? cp::kSubstitute : code;
    if (shown > 0xFF) out += static_cast<char>(shown >> 8);
    out += static_cast<char>(shown & 0xFF);
    i = p + 1;
  }
  return out;
}

}  // namespace tyld::mail
