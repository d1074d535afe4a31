#include "binary/page_text.h"

#include <algorithm>

#include "binary/binary_layout.h"
#include "platform/codepage.h"

namespace tyld::binary {
namespace {

using platform::codepage::AppendUtf8;
using platform::codepage::ToUtf8;

// Character positions within a column as drawn, less the column's leading cell: address
// at 0, byte s at 8 + 3s (one more after the eighth), the character column at 58.
constexpr std::size_t kByteCol = 8;
constexpr std::size_t kCharCol = 58;
std::size_t ByteCol(int s, int extra) { return kByteCol + extra + 3 * s + (s > 7 ? 1 : 0); }

void PadTo(std::string& line, std::size_t col) {
  if (line.size() < col) line.append(col - line.size(), ' ');
}

class TextVisitor final : public PageVisitor {
 public:
  TextVisitor(std::string& out, bool lower, int digits)
      : out_(out), lower_(lower), digits_(digits), extra_(AddressExtra(digits)) {}

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

  // Each line is laid out in a small buffer and appended once: no string per byte or line.
  void Block(const DumpBlock& block) override {
    for (int l = 0; l < block.lineCount; ++l) {
      const DumpLine& dl = block.lines[l];
      char buf[128];  // address (at most 17 characters), 16 bytes, padding
      std::size_t n = 0;
      const auto put = [&](std::string_view t) {
        const std::size_t k = std::min(t.size(), sizeof buf - n);
        std::copy_n(t.data(), k, buf + n);
        n += k;
      };
      const auto padTo = [&](std::size_t col) {
        while (n < col && n < sizeof buf) buf[n++] = ' ';
      };
      put(AddressText(dl.offset, lower_, digits_));
      for (int s = 0; s < dl.count; ++s) {
        padTo(ByteCol(s, extra_));
        put(ByteText(dl.bytes[s], lower_));
      }
      padTo(kCharCol + extra_);
      const std::size_t start = out_.size();
      out_.append(buf, n);
      // The cells are read as one text, as they are drawn side by side.
      std::size_t c = 0;
      for (int i = 0; i < dl.cellCount; ++i) {
        const std::string_view t = dl.cells[i].Text();
        std::copy(t.begin(), t.end(), chars_ + c);
        c += t.size();
      }
      AppendUtf8(out_, {chars_, c});
      while (out_.size() > start && out_.back() == ' ') out_.pop_back();
      out_.push_back('\n');
    }
  }

 private:
  std::string& out_;
  bool lower_;
  int digits_;
  int extra_;
  char chars_[2 * kLineBytes] = {};
};

// Appends the text of one page to out; body is scratch space, kept between pages.
void AppendPageText(std::string& out, std::string& body, const settings::BinaryPageFormat& fmt,
                    const DumpSource& source, std::int64_t page, const PageTextOptions& options) {
  body.clear();
  TextVisitor visitor(body, fmt.BinHexCase == 1, AddressDigits(static_cast<std::int64_t>(source.data.size())));
  const PageOffsets offsets = WalkPage(source.data, source.marks, fmt, page, visitor);

  out += "=== page " + std::to_string(page + 1) + " ===\n";
  AppendUtf8(out, RangeLineText(offsets.first, offsets.last,
                                static_cast<std::int64_t>(source.data.size()), source.docName));
  out += "\n";
  out += body;
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
  std::string body;
  AppendPageText(out, body, fmt, source, page, options);
  return out;
}

std::string BinaryDocumentText(const settings::BinaryPageFormat& fmt, const DumpSource& source,
                               const PageTextOptions& options) {
  std::string out;
  std::string body;
  const std::int32_t pages = DumpPaging(static_cast<std::int64_t>(source.data.size()), fmt).PageCount();
  for (std::int32_t p = 0; p < pages; ++p) AppendPageText(out, body, fmt, source, p, options);
  return out;
}

}  // namespace tyld::binary
