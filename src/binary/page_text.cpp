#include "binary/page_text.h"

#include "binary/binary_layout.h"
#include "platform/codepage.h"

namespace tyld::binary {
namespace {

using platform::codepage::ToUtf8;

// Character positions within a column as drawn, less the column's leading cell: address
// at 0, byte s at 8 + 3s (one more after the eighth), the character column at 58.
constexpr std::size_t kByteCol = 8;
constexpr std::size_t kCharCol = 58;
std::size_t ByteCol(int s, int extra) { return kByteCol + extra + 3 * s + (s > 7 ? 1 : 0); }

void PadTo(std::string& line, std::size_t col) {
  if (line.size() < col) line.append(col - line.size(), ' ');
}

void TrimRight(std::string& line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
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

  void Block(const DumpBlock& block) override {
    for (int l = 0; l < block.lineCount; ++l) {
      const DumpLine& dl = block.lines[l];
      std::string line = AddressText(dl.offset, lower_, digits_);
      for (int s = 0; s < dl.count; ++s) {
        PadTo(line, ByteCol(s, extra_));
        line += ByteText(dl.bytes[s], lower_);
      }
      PadTo(line, kCharCol + extra_);
      std::string chars;
      for (int i = 0; i < dl.cellCount; ++i) chars.append(dl.cells[i].Text());
      line += ToUtf8(chars);
      TrimRight(line);
      out_ += line + "\n";
    }
  }

 private:
  std::string& out_;
  bool lower_;
  int digits_;
  int extra_;
};

}  // namespace

std::string BinaryPageText(const settings::BinaryPageFormat& fmt, const DumpSource& source,
                           std::int64_t page, const PageTextOptions& options) {
  std::string body;
  TextVisitor visitor(body, fmt.BinHexCase == 1, AddressDigits(static_cast<std::int64_t>(source.data.size())));
  const PageOffsets offsets = WalkPage(source.data, source.marks, fmt, page, visitor);

  std::string out = "=== page " + std::to_string(page + 1) + " ===\n";
  out += ToUtf8(RangeLineText(offsets.first, offsets.last,
                              static_cast<std::int64_t>(source.data.size()), source.docName));
  out += "\n";
  out += body;
  out += "--- footer ---\n";
  if (fmt.BinPageNoMode != 0 && options.pageNumbers)
    out += PageNumberText(options.pageNumber != 0 ? options.pageNumber : static_cast<int>(page + 1)) + "\n";
  if (fmt.BinFileNameMode != 0) out += ToUtf8(FileNameText(options.footerName)) + "\n";
  if (fmt.BinDateMode != 0) out += DateText(options.time) + "\n";
  return out;
}

std::string BinaryDocumentText(const settings::BinaryPageFormat& fmt, const DumpSource& source,
                               const PageTextOptions& options) {
  std::string out;
  const std::int32_t pages = DumpPaging(static_cast<std::int64_t>(source.data.size()), fmt).PageCount();
  for (std::int32_t p = 0; p < pages; ++p) out += BinaryPageText(fmt, source, p, options);
  return out;
}

}  // namespace tyld::binary
