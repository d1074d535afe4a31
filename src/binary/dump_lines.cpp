#include "binary/dump_lines.h"

#include <algorithm>

#include "binary/binary_layout.h"
#include "platform/codepage.h"

namespace tyld::binary {
namespace {

using platform::codepage::IsLeadByte;
using platform::codepage::IsTrailByte;

void SetCell(DumpCell& cell, int index, std::string_view text) {
  cell.cell = static_cast<std::int8_t>(index);
  cell.len = static_cast<std::uint8_t>(std::min<std::size_t>(text.size(), 2));
  std::copy_n(text.begin(), cell.len, cell.text);
}

}  // namespace

std::string_view CrLfMark(std::int32_t mode) {
  switch (mode) {
    case 1: return "..";
    case 2: return "\x81\xA9";  // ←
    case 3: return "  ";
    default: return "\x81\xAB";  // ↓
  }
}

bool CarryAtPageStart(std::span<const std::uint8_t> data, std::int64_t firstOffset) {
  const auto length = static_cast<std::int64_t>(data.size());
  if (firstOffset < 1 || firstOffset >= length) return false;
  const std::uint8_t before = data[static_cast<std::size_t>(firstOffset - 1)];
  const std::uint8_t first = data[static_cast<std::size_t>(firstOffset)];
  const bool pairBefore = firstOffset >= 2 && IsLeadByte(data[static_cast<std::size_t>(firstOffset - 2)]);
  // Only a byte the previous page drew as the first half of a pair hides this page's first
  // byte; anything else would make a byte vanish from the dump.
  return IsLeadByte(before) && IsTrailByte(first) && !pairBefore;
}

void BuildCells(const BlockWindow& window, int row, int count, std::int32_t crLfMark,
                bool& carry, DumpLine& line) {
  line.cellCount = 0;
  const int base = row * kLineBytes;
  int i = 0;
  while (i < count) {
    DumpCell& cell = line.cells[line.cellCount++];
    if (carry) {
      SetCell(cell, i, " ");
      carry = false;
      ++i;
      continue;
    }
    const std::uint8_t b = window.At(base + i);
    const std::uint8_t n = window.At(base + i + 1);
    if (IsLeadByte(b) && IsTrailByte(n)) {
      const char pair[2] = {static_cast<char>(b), static_cast<char>(n)};
      SetCell(cell, i, {pair, 2});
      i += 2;
    } else if (b == 0x0D && n == 0x0A) {
      SetCell(cell, i, CrLfMark(crLfMark));
      i += 2;
    } else {
      char c = '.';
      if (b == 0x1B) {
        c = static_cast<char>(0xA5);  // ･
      } else if ((b >= 0x20 && b <= 0x7F) || (b >= 0xA0 && b <= 0xDF)) {
        c = static_cast<char>(b);
      }
      SetCell(cell, i, {&c, 1});
      ++i;
      continue;
    }
    // A two-cell step that began on the line's last byte hands its second byte on.
    carry = i > kLineBytes;
  }
}

PageOffsets WalkPage(std::span<const std::uint8_t> data, std::span<const std::uint8_t> marks,
                     const settings::BinaryPageFormat& fmt, std::int64_t page,
                     PageVisitor& visitor) {
  const auto length = static_cast<std::int64_t>(data.size());
  const DumpPaging paging(length, fmt);
  const std::int64_t firstBlock = paging.FirstBlock(page);
  PageOffsets result;
  result.first = firstBlock * kBlockBytes;
  result.last = result.first;

  bool carry = CarryAtPageStart(data, result.first);
  BlockWindow window;
  DumpBlock block;
  std::int64_t drawn = 0;
  bool more = true;
  for (std::int32_t c = 0; c < paging.Columns() && more; ++c) {
    visitor.Column(c);
    for (std::int32_t k = 0; k < paging.BlocksPerColumn(); ++k) {
      const std::int64_t index = firstBlock + std::int64_t{c} * paging.BlocksPerColumn() + k;
      more = LoadBlockWindow(data, marks, index, window) == 1;
      block.column = c;
      block.slot = k;
      block.block = index;
      block.lineCount = 0;
      for (int r = 0; r < kBlockLines; ++r) {
        const std::int64_t offset = index * kBlockBytes + std::int64_t{r} * kLineBytes;
        if (offset >= length) break;
        DumpLine& line = block.lines[block.lineCount++];
        line.row = r;
        line.offset = offset;
        line.count = static_cast<std::int32_t>(std::min<std::int64_t>(kLineBytes, length - offset));
        for (int s = 0; s < kLineBytes; ++s) {
          line.bytes[s] = window.At(r * kLineBytes + s);
          line.marks[s] = window.MarkAt(r * kLineBytes + s);
        }
        BuildCells(window, r, line.count, fmt.BinCrLfMark, carry, line);
      }
      if (block.lineCount > 0) {
        visitor.Block(block);
        ++drawn;
      }
      if (!more) break;
    }
  }
  if (drawn > 0) result.last = std::min(result.first + drawn * kBlockBytes, length) - 1;
  return result;
}

}  // namespace tyld::binary
