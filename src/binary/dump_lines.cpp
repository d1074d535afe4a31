#include "binary/dump_lines.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

#include "binary/binary_layout.h"
#include "platform/codepage.h"

namespace tyld::binary {
namespace {

using platform::codepage::IsLeadByte;
using platform::codepage::IsTrailByte;

// What a byte that is neither half of a pair nor of CR+LF shows: itself when printable
// (ASCII and half-width katakana), "･" for ESC, else ".".
constexpr std::array<char, 256> ShownAloneTable() {
  std::array<char, 256> t{};
  for (int b = 0; b < 256; ++b) {
    char c = '.';
    if (b == 0x1B) {
      c = static_cast<char>(0xA5);
    } else if ((b >= 0x20 && b <= 0x7F) || (b >= 0xA0 && b <= 0xDF)) {
      c = static_cast<char>(b);
    }
    t[static_cast<std::size_t>(b)] = c;
  }
  return t;
}
constexpr std::array<char, 256> kShownAlone = ShownAloneTable();

constexpr std::uint8_t kLead = 1;
constexpr std::uint8_t kTrail = 2;
constexpr std::array<std::uint8_t, 256> ByteKindTable() {
  std::array<std::uint8_t, 256> t{};
  for (int b = 0; b < 256; ++b) {
    const auto u = static_cast<std::uint8_t>(b);
    t[static_cast<std::size_t>(b)] =
        static_cast<std::uint8_t>((IsLeadByte(u) ? kLead : 0) | (IsTrailByte(u) ? kTrail : 0));
  }
  return t;
}
constexpr std::array<std::uint8_t, 256> kByteKind = ByteKindTable();
// A cell is stored as one 32-bit word: cell, len, text[0], text[1] in memory order.
static_assert(sizeof(DumpCell) == 4 && offsetof(DumpCell, len) == 1 && offsetof(DumpCell, text) == 2);
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
  // So the cell that would start at each byte is worked out first, independently and
  // without branches, and the walk from cell to cell only follows a mask of the two-cell
  // steps.
  const auto m0 = static_cast<std::uint8_t>(mark[0]);
  const auto m1 = static_cast<std::uint8_t>(mark[1]);
  std::uint32_t packed[kLineBytes];
  std::uint32_t twoCells = 0;
  for (int j = 0; j < kLineBytes; ++j) {
    const std::uint32_t b = p[j];
    const std::uint32_t n = p[j + 1];
    const std::uint32_t pair = kByteKind[b] & (kByteKind[n] >> 1) & 1u;
    const std::uint32_t crLf = static_cast<std::uint32_t>(b == 0x0D) & static_cast<std::uint32_t>(n == 0x0A);
    const std::uint32_t pairMask = 0u - pair;
    const std::uint32_t crLfMask = 0u - crLf;
    std::uint32_t t0 = (b & pairMask) | (static_cast<std::uint8_t>(kShownAlone[b]) & ~pairMask);
    t0 = (m0 & crLfMask) | (t0 & ~crLfMask);
    const std::uint32_t t1 = (m1 & crLfMask) | (n & ~crLfMask);
    const std::uint32_t two = pair | crLf;
    packed[j] = static_cast<std::uint32_t>(j) | ((1u + two) << 8) | (t0 << 16) | (t1 << 24);
    twoCells |= two << j;
  }
  while (i < count) {
    *cell++ = std::bit_cast<DumpCell>(packed[i]);
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
