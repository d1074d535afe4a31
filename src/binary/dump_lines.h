#pragma once
// The content of one dump page, line by line, as both the painter and the page text use
// it: addresses, byte values with their marks, and the character column built by the
// character column rule (pairs, CR+LF marks, the carry across lines, blocks and columns).
#include <cstdint>
#include <span>
#include <string_view>

#include "binary/block_window.h"
#include "settings/page_format.h"

namespace tyld::binary {

// One drawn cell run of the character column: a single character, a space for the second
// half of a pair begun on the line before, or a two-cell pair / CR+LF mark.
struct DumpCell {
  std::int8_t cell = 0;  // 0-based cell index of the line (a pair starting at 15 spans 15-16)
  std::uint8_t len = 0;
  char text[2] = {};  // Shift-JIS bytes
  [[nodiscard]] std::string_view Text() const { return {text, len}; }
};

struct DumpLine {
  std::int32_t row = 0;     // 0..15 within the block
  std::int64_t offset = 0;  // offset of the line's first byte
  std::int32_t count = 0;   // bytes of the line inside the data (1..16)
  std::uint8_t bytes[16] = {};
  std::uint8_t marks[16] = {};
  DumpCell cells[16];
  std::int32_t cellCount = 0;
};

struct DumpBlock {
  std::int32_t column = 0;  // 0-based column of the page
  std::int32_t slot = 0;    // 0-based block within the column
  std::int64_t block = 0;   // block index in the data
  DumpLine lines[16];
  std::int32_t lineCount = 0;
};

// The CR+LF mark of BinCrLfMark 0..3 (other values draw as 0), Shift-JIS.
std::string_view CrLfMark(std::int32_t mode);

// The dump pairs a lead byte outside the user-defined area with a trail byte
// (platform/codepage.h); any other byte stands alone.

// Carry at a page start: the byte before the page begins a pair with the page's first
// byte, and the byte before that does not begin one itself.
bool CarryAtPageStart(std::span<const std::uint8_t> data, std::int64_t firstOffset);

// Builds the character cells of line `row` of the window's block (count bytes) by the
// character column rule; carry comes in from the previous line and goes out to the next.
void BuildCells(const BlockWindow& window, int row, int count, std::int32_t crLfMark,
                bool& carry, DumpLine& line);

class PageVisitor {
 public:
  virtual ~PageVisitor() = default;
  // A column starts: its headings go here. Only columns that hold data (and column 0).
  virtual void Column(std::int32_t column) = 0;
  // A block with at least one byte of data.
  virtual void Block(const DumpBlock& block) = 0;
};

struct PageOffsets {
  std::int64_t first = 0;
  std::int64_t last = 0;  // equals first when the page holds no data
};

// The bytes the walks of pages first..last (0-based) read: theirs, the two before the
// first (a pair carried over its start) and the one after the last (a pair or CR+LF
// across its end), within data of `length` bytes.
struct ByteRange {
  std::int64_t begin = 0;
  std::int64_t end = 0;  // one past the last
};
ByteRange PagesBytes(std::int64_t length, const settings::BinaryPageFormat& fmt, std::int64_t first,
                     std::int64_t last);

// Walks page `page` (0-based) of the data: columns left to right, blocks top to bottom,
// until the data ends. Only that page's bytes (and the two before it) are read.
PageOffsets WalkPage(std::span<const std::uint8_t> data, std::span<const std::uint8_t> marks,
                     const settings::BinaryPageFormat& fmt, std::int64_t page,
                     PageVisitor& visitor);

}  // namespace tyld::binary
