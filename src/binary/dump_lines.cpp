#include "binary/dump_lines.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "binary/binary_layout.h"
#include "platform/codepage.h"

namespace tyld::binary {
namespace {

using platform::codepage::IsLeadByte;
using platform::codepage::IsTrailByte;

// The code page's lead and trail byte tests as plain range arithmetic, which the compiler
// can do for many bytes side by side.
// They give 0 or 1 and are combined with bitwise operators: no short cut, so no branch.
constexpr unsigned Bit(bool b) { return static_cast<unsigned>(b); }
constexpr unsigned LeadByte(std::uint8_t b) {
  return Bit(static_cast<std::uint8_t>(b - 0x81) < 31) | Bit(static_cast<std::uint8_t>(b - 0xE0) < 29);
}
constexpr unsigned TrailByte(std::uint8_t n) { return Bit(static_cast<std::uint8_t>(n - 0x40) < 189) & Bit(n != 0x7F); }
constexpr bool SameAsCodePage() {
  for (int b = 0; b < 256; ++b) {
    const auto u = static_cast<std::uint8_t>(b);
    if (LeadByte(u) != Bit(IsLeadByte(u)) || TrailByte(u) != Bit(IsTrailByte(u))) return false;
  }
  return true;
}
static_assert(SameAsCodePage());

// The mask of two-cell steps reads the bytes of a word in memory order.
static_assert(std::endian::native == std::endian::little);

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
  // Runs for every dump line of a hex text: direct cell writes, no per-cell helpers.
  const std::uint8_t* p = window.data.data() + BlockWindow::kBefore + row * kLineBytes;
  const std::string_view mark = CrLfMark(crLfMark);
  DumpCell* cell = line.cells;
  int i = 0;
  if (carry && count > 0) {
    *cell++ = DumpCell{0, 1, {' ', 0}};
    carry = false;
    i = 1;
  }
  // Random data makes "pair or not" unpredictable, and each step waits on the one before.
  // So the cell that would start at each byte is worked out first, for all 16 bytes alike
  // in plain byte arithmetic (no branches, no look-ups; the compiler may do them side by
  // side), and the walk from cell to cell only follows a mask of the two-cell steps.
  const auto m0 = static_cast<std::uint8_t>(mark[0]);
  const auto m1 = static_cast<std::uint8_t>(mark[1]);
  std::uint8_t two[kLineBytes];
  std::uint8_t t0[kLineBytes];
  std::uint8_t t1[kLineBytes];
  for (int j = 0; j < kLineBytes; ++j) {
    const std::uint8_t b = p[j];
    const std::uint8_t n = p[j + 1];
    const unsigned pair = LeadByte(b) & TrailByte(n);
    const unsigned crLf = Bit(b == 0x0D) & Bit(n == 0x0A);
    // A byte shown alone: itself when printable (ASCII, half-width katakana), "･" for
    // ESC, else ".".
    const unsigned printable = Bit(static_cast<std::uint8_t>(b - 0x20) < 0x60) | Bit(static_cast<std::uint8_t>(b - 0xA0) < 0x40);
    const std::uint8_t alone = b == 0x1B ? std::uint8_t{0xA5} : printable != 0 ? b : std::uint8_t{'.'};
    two[j] = static_cast<std::uint8_t>(pair | crLf);
    t0[j] = crLf != 0 ? m0 : pair != 0 ? b : alone;
    t1[j] = crLf != 0 ? m1 : n;
  }
  // Bit j of the mask is two[j] (each 0 or 1): eight bytes at a time gathered into the
  // top byte of a product.
  constexpr std::uint64_t kGather = 0x0102040810204080u;
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  std::memcpy(&low, two, 8);
  std::memcpy(&high, two + 8, 8);
  const auto twoCells = static_cast<std::uint32_t>((low * kGather) >> 56 | ((high * kGather) >> 56) << 8);
  while (i < count) {
    *cell++ = DumpCell{static_cast<std::int8_t>(i), static_cast<std::uint8_t>(1 + two[i]),
                       {static_cast<char>(t0[i]), static_cast<char>(t1[i])}};
    i += 1 + static_cast<int>((twoCells >> i) & 1u);
  }
  // A two-cell step that began on the line's last byte hands its second byte on.
  carry = i > kLineBytes;
  line.cellCount = static_cast<std::int32_t>(cell - line.cells);
}

ByteRange PagesBytes(std::int64_t length, const settings::BinaryPageFormat& fmt, std::int64_t first,
                     std::int64_t last) {
  const DumpPaging paging(length, fmt);
  ByteRange r;
  r.begin = std::clamp<std::int64_t>(paging.FirstOffset(first) - BlockWindow::kBefore, 0, length);
  r.end = std::clamp<std::int64_t>(paging.FirstOffset(last) + paging.BytesPerPage() + 1, r.begin, length);
  return r;
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
        const std::size_t at = BlockWindow::kBefore + static_cast<std::size_t>(r) * kLineBytes;
        std::memcpy(line.bytes, window.data.data() + at, kLineBytes);
        std::memcpy(line.marks, window.marks.data() + at, kLineBytes);
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
