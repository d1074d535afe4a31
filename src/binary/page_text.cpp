#include "binary/page_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "binary/binary_layout.h"
#include "platform/codepage.h"

namespace tyld::binary {
namespace {

using platform::codepage::AppendUtf8;
using platform::codepage::DecodePair;
using platform::codepage::PutUtf8;
using platform::codepage::ToUtf8;

// Character positions within a column as drawn, less the column's leading cell: address
// at 0, byte s at 8 + 3s (one more after the eighth), the character column at 58.
constexpr std::size_t kByteCol = 8;
constexpr std::size_t kCharCol = 58;
// A dump line at most: address field (up to 16 hex digits), bytes, 32 character bytes as
// UTF-8, the line end.
constexpr std::size_t kMaxLineChars = kCharCol + 10 + 3 * 2 * kLineBytes + 1;
std::size_t ByteCol(int s, int extra) { return kByteCol + extra + 3 * s + (s > 7 ? 1 : 0); }

void PadTo(std::string& line, std::size_t col) {
  if (line.size() < col) line.append(col - line.size(), ' ');
}

// UTF-8 of each byte shown alone and of each pair, as the Shift-JIS decoding gives them;
// the last byte holds the length (0 for a pair without a character). Pairs are kept by
// lead-byte index so the table stays small enough for the cache.
struct CellUtf8 {
  using Text = std::array<char, 4>;
  static constexpr int kLeads = 60;
  std::array<Text, 256> singles{};
  std::array<std::uint8_t, 256> leadIndex{};  // kLeads for a byte that is no lead byte
  std::vector<Text> pairs = std::vector<Text>((kLeads + 1) * 256);
  [[nodiscard]] const Text& Pair(std::uint8_t lead, std::uint8_t trail) const {
    return pairs[static_cast<std::size_t>(leadIndex[lead]) * 256 + trail];
  }
  CellUtf8() {
    int leads = 0;
    for (int b = 0; b < 256; ++b)
      leadIndex[static_cast<std::size_t>(b)] =
          static_cast<std::uint8_t>(platform::codepage::IsLeadByte(static_cast<std::uint8_t>(b)) ? leads++ : kLeads);
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      Text& t = singles[static_cast<std::size_t>(b)];
      t[3] = static_cast<char>(PutUtf8(t.data(), std::string_view(&c, 1)) - t.data());
    }
    for (int code = 0; code < 65536; ++code) {
      const auto lead = static_cast<std::uint8_t>(code >> 8);
      const auto trail = static_cast<std::uint8_t>(code);
      if (leadIndex[lead] == kLeads) continue;
      const char16_t u = DecodePair(lead, trail);
      Text& t = pairs[static_cast<std::size_t>(leadIndex[lead]) * 256 + trail];
      if (u != 0) t[3] = static_cast<char>(PutUtf8(t.data(), u) - t.data());
    }
  }
};

// The character column of a dump line as UTF-8 at out; returns the end. The cells are read
// as one text, as they are drawn side by side (so a pair without a character leaves its
// second byte to pair with what follows), decoded as ToUtf8 does. While every pair has a
// character that is the same as decoding cell by cell (a byte shown alone is never a lead
// byte), which needs no wait on the step before; a line with such a pair is decoded again
// as one text.
char* PutCharColumn(char* out, const DumpLine& line) {
  static const CellUtf8 utf8;
  char* const start = out;
  char shortest = 4;  // the shortest UTF-8 written: 0 for a pair without a character
  for (int i = 0; i < line.cellCount; ++i) {
    const DumpCell& cell = line.cells[i];
    const auto b0 = static_cast<std::uint8_t>(cell.text[0]);
    const CellUtf8::Text& t =
        cell.len == 1 ? utf8.singles[b0] : utf8.Pair(b0, static_cast<std::uint8_t>(cell.text[1]));
    std::memcpy(out, t.data(), 4);
    out += t[3];
    shortest = std::min(shortest, t[3]);
  }
  if (shortest != 0) return out;
  char chars[2 * kLineBytes];
  std::size_t n = 0;
  for (int i = 0; i < line.cellCount; ++i) {
    std::memcpy(chars + n, line.cells[i].text, 2);
    n += line.cells[i].len;
  }
  out = start;
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<std::uint8_t>(chars[i]);
    if (i + 1 < n) {
      const CellUtf8::Text& t = utf8.Pair(b, static_cast<std::uint8_t>(chars[i + 1]));
      if (t[3] != 0) {
        std::memcpy(out, t.data(), 4);
        out += t[3];
        i += 2;
        continue;
      }
    }
    const CellUtf8::Text& t = utf8.singles[b];
    std::memcpy(out, t.data(), 4);
    out += t[3];
    ++i;
  }
  return out;
}

class TextVisitor final : public PageVisitor {
 public:
  TextVisitor(std::string& out, bool lower, int digits)
      : out_(out), lower_(lower), digits_(digits), extra_(AddressExtra(digits)), hex_(HexPairTable(lower).data()) {}

  void Column(std::int32_t c) override {
    out_ += "--- column " + std::to_string(c + 1) + " ---\n";
    std::string line(kAddressHeading);
    for (int i = 0; i < kLineBytes; ++i) {
      PadTo(line, ByteCol(i, extra_));
      line += HeaderLabel(i, lower_);
    }
    PadTo(line, kCharCol + extra_);
    for (int j = 0; j < kLineBytes; ++j) line.push_back(HeaderDigit(j, lower_));
    out_ += line + "\n";
  }

  // A block's lines are laid out in one buffer and appended once: the hex text of a big
  // file is millions of lines, so no string per byte or line and no formatted print.
  void Block(const DumpBlock& block) override {
    char buf[kBlockLines * kMaxLineChars];
    char* p = buf;
    const std::size_t charCol = kCharCol + extra_;
    for (int l = 0; l < block.lineCount; ++l) {
      const DumpLine& dl = block.lines[l];
      char* const line = p;
      std::memset(line, ' ', charCol);
      PutAddress(line, dl.offset, lower_, digits_);
      char* const bytes = line + ByteCol(0, extra_);
      if (dl.count == kLineBytes) {
        // A full line (nearly all of them): fixed places the compiler lays out in full.
        for (int s = 0; s < kLineBytes; ++s)
          std::memcpy(bytes + 3 * s + (s > 7 ? 1 : 0), hex_ + 2 * static_cast<std::size_t>(dl.bytes[s]), 2);
      } else {
        for (int s = 0; s < dl.count; ++s)
          std::memcpy(bytes + 3 * s + (s > 7 ? 1 : 0), hex_ + 2 * static_cast<std::size_t>(dl.bytes[s]), 2);
      }
      p = PutCharColumn(line + charCol, dl);
      while (p > line && p[-1] == ' ') --p;
      *p++ = '\n';
    }
    out_.append(buf, static_cast<std::size_t>(p - buf));
  }

 private:
  std::string& out_;
  bool lower_;
  int digits_;
  int extra_;
  const char* hex_;
};

// Appends the text of one page to out.
void AppendPageText(std::string& out, const settings::BinaryPageFormat& fmt, const DumpSource& source,
                    std::int64_t page, const PageTextOptions& options) {
  const auto length = static_cast<std::int64_t>(source.data.size());
  // The range line comes first, so it is worked out from the paging (as the walk gives it)
  // and the walk writes straight after it.
  const DumpPaging paging(length, fmt);
  const std::int64_t first = paging.FirstOffset(page);
  const std::int64_t last = first < length ? paging.LastOffset(page) : first;
  out += "=== page ";
  out += std::to_string(page + 1);
  out += " ===\n";
  AppendUtf8(out, RangeLineText(first, last, length, source.docName));
  out += "\n";
  TextVisitor visitor(out, fmt.BinHexCase == 1, AddressDigits(length));
  WalkPage(source.data, source.marks, fmt, page, visitor);
  out += "--- footer ---\n";
  if (fmt.BinPageNoMode != 0 && options.pageNumbers)
    out += PageNumberText(options.pageNumber != 0 ? options.pageNumber : static_cast<int>(page + 1)) + "\n";
  if (fmt.BinFileNameMode != 0) out += ToUtf8(FileNameText(options.footerName)) + "\n";
  if (fmt.BinDateMode != 0) out += DateText(options.time) + "\n";
}

}  // namespace

std::string BinaryPageText(const settings::BinaryPageFormat& fmt, const DumpSource& source,
                           std::int64_t page, const PageTextOptions& options) {
  std::string out;
  AppendPageText(out, fmt, source, page, options);
  return out;
}

std::string BinaryDocumentText(const settings::BinaryPageFormat& fmt, const DumpSource& source,
                               const PageTextOptions& options) {
  std::string out;
  const std::int32_t pages = DumpPaging(static_cast<std::int64_t>(source.data.size()), fmt).PageCount();
  for (std::int32_t p = 0; p < pages; ++p) AppendPageText(out, fmt, source, p, options);
  return out;
}

}  // namespace tyld::binary
