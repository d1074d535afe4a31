#include "binary/dump_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binary/binary_layout.h"

namespace tyld::binary {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Collects each drawn line as "address|cells", the cells written at their cell index
// ('_' for cells nothing was drawn in), so alignment shows in the expectation.
class Collect final : public PageVisitor {
 public:
  std::vector<std::string> lines;
  std::vector<std::int32_t> columns;
  void Column(std::int32_t c) override { columns.push_back(c); }
  void Block(const DumpBlock& block) override {
    for (int l = 0; l < block.lineCount; ++l) {
      const DumpLine& line = block.lines[l];
      std::string cells;
      for (int i = 0; i < line.cellCount; ++i) {
        const DumpCell& c = line.cells[i];
        if (cells.size() < static_cast<std::size_t>(c.cell)) cells.resize(c.cell, '_');
        cells += c.Text();
      }
      lines.push_back(std::to_string(line.offset) + "|" + cells);
    }
  }
};

settings::BinaryPageFormat Grid(int columns, int blocks, int crLf = 0) {
  settings::BinaryPageFormat f;
  f.BinColumns = columns;
  f.BinBlocksPerColumn = blocks;
  f.BinCrLfMark = crLf;
  return f;
}

std::vector<std::string> Walk(const Bytes& data, std::int64_t page,
                              const settings::BinaryPageFormat& fmt = Grid(1, 1)) {
  Collect c;
  WalkPage(data, {}, fmt, page, c);
  return c.lines;
}

Bytes Filled(std::size_t n, std::uint8_t fill = 'a') { return Bytes(n, fill); }

TEST(CharacterColumn, SingleBytes) {
  const Bytes data = {'A', 'z', 0x7F, 0x80, 0xA0, 0xDF, 0x1B, 0x0D, 0x00, 0xFF, 0xFD,
                      0xA5, 0x20, 0xE0, 0x0A, 0xF0};
  // 0x80, lone CR, controls, 0xFD.., a lead without a trail and 0xF0 are dots; ESC is ･.
  EXPECT_EQ(Walk(data, 0)[0], "0|Az\x7F.\xA0\xDF\xA5...."
                              "\xA5 ...");
}

TEST(CharacterColumn, PairsAndCrLfMarks) {
  struct Case {
    const char* name;
    Bytes bytes;
    int crLf;
    std::string line;
  };
  const Case cases[] = {
      {"pair", {'A', 0x82, 0xA0, 'B'}, 0, "0|A\x82\xA0" "B"},
      {"pair with 0x80 trail", {0x88, 0x80}, 0, "0|\x88\x80"},
      {"lead 0xE0..0xEF", {0xEA, 0x40}, 0, "0|\xEA\x40"},
      {"user-defined lead 0xF0", {0xF0, 0x40}, 0, "0|\xF0\x40"},
      {"IBM extension 0xFA", {0xFA, 0x40}, 0, "0|\xFA\x40"},
      {"IBM extension 0xFB 0xFC", {'x', 0xFB, 0xFC}, 0, "0|x\xFB\xFC"},
      {"IBM extension 0xFC", {0xFC, 0x4B}, 0, "0|\xFC\x4B"},
      {"0xFD is no lead", {0xFD, 0x40}, 0, "0|.@"},
      {"no trail after lead", {0x82, 0x0A, 'x'}, 0, "0|..x"},
      {"0x7F is no trail", {0x82, 0x7F}, 0, "0|.\x7F"},
      {"CR LF down arrow", {0x0D, 0x0A, 'x'}, 0, "0|\x81\xAB" "x"},
      {"CR LF dots", {0x0D, 0x0A}, 1, "0|.."},
      {"CR LF left arrow", {0x0D, 0x0A}, 2, "0|\x81\xA9"},
      {"CR LF blank", {0x0D, 0x0A, 'x'}, 3, "0|  x"},
      {"lone CR", {0x0D, 'x'}, 2, "0|.x"},
      {"lead as the last byte of the file", {'x', 0x82}, 0, "0|x."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Walk(c.bytes, 0, Grid(1, 1, c.crLf))[0], c.line) << c.name;
}

// A pair or CR+LF beginning on a line's last byte is drawn there; the next line (or block,
// or column) starts with a blank cell for its second byte.
TEST(CharacterColumn, CarryAcrossLinesBlocksAndColumns) {
  struct Case {
    const char* name;
    std::size_t at;  // offset of the first byte of the two-byte step
    std::uint8_t first, second;
    settings::BinaryPageFormat fmt;
    std::size_t lineBefore, lineAfter;  // indexes into the walked lines
  };
  const Case cases[] = {
      {"pair across lines", 15, 0x82, 0xA0, Grid(1, 1), 0, 1},
      {"CR LF across lines", 15, 0x0D, 0x0A, Grid(1, 1, 2), 0, 1},
      {"pair across blocks", 255, 0x82, 0xA0, Grid(1, 2), 15, 16},
      {"pair across columns", 255, 0x82, 0xA0, Grid(2, 1), 15, 16},
      {"IBM extension across lines", 15, 0xFB, 0xFC, Grid(1, 1), 0, 1},
      {"IBM extension across blocks", 255, 0xFA, 0x40, Grid(1, 2), 15, 16},
  };
  for (const Case& c : cases) {
    Bytes data = Filled(600);
    data[c.at] = c.first;
    data[c.at + 1] = c.second;
    const auto lines = Walk(data, 0, c.fmt);
    const std::string mark = c.first == 0x0D ? "\x81\xA9" : std::string{char(c.first), char(c.second)};
    EXPECT_EQ(lines[c.lineBefore].substr(lines[c.lineBefore].size() - 2), mark) << c.name;
    const std::string after = lines[c.lineAfter];
    EXPECT_EQ(after.substr(after.find('|')), "| aaaaaaaaaaaaaaa") << c.name;
  }
  // Two-byte steps that end on the line's last byte hand nothing on.
  Bytes data = Filled(40);
  data[14] = 0x82;
  data[15] = 0xA0;
  EXPECT_EQ(Walk(data, 0)[1], "16|aaaaaaaaaaaaaaaa");
}

TEST(CharacterColumn, CarryAtThePageStart) {
  struct Case {
    const char* name;
    std::uint8_t before2, before1, first;
    std::string firstLine;
  };
  const Case cases[] = {
      {"lead before the page", 0x41, 0x82, 0xA0, "256| aaaaaaaaaaaaaaa"},
      {"pair already before", 0x82, 0x82, 0xA0, "256|\xA0" "aaaaaaaaaaaaaaa"},
      // The byte before could not pair with the first one: nothing is hidden.
      {"no trail on the page", 0x41, 0x82, 0x0A, "256|.aaaaaaaaaaaaaaa"},
      {"no lead before", 0x41, 0x41, 0xA0, "256|\xA0" "aaaaaaaaaaaaaaa"},
      {"IBM extension lead before", 0x41, 0xFB, 0xFC, "256| aaaaaaaaaaaaaaa"},
      {"IBM extension pair already before", 0xFB, 0xFB, 0xFC, "256|\xFC" "aaaaaaaaaaaaaaa"},
  };
  for (const Case& c : cases) {
    Bytes data = Filled(300);
    data[254] = c.before2;
    data[255] = c.before1;
    data[256] = c.first;
    EXPECT_EQ(Walk(data, 1)[0], c.firstLine) << c.name;
  }
  // The previous page draws the pair whole on its last line.
  Bytes data = Filled(300);
  data[255] = 0x82;
  data[256] = 0xA0;
  EXPECT_EQ(Walk(data, 0).back(), "240|aaaaaaaaaaaaaaa\x82\xA0");
}

TEST(PageWalk, StopsAtTheEndOfTheData) {
  struct Case {
    std::size_t length;
    std::int64_t page;
    int columns, blocks;
    std::size_t lines;
    std::string lastLine;
    PageOffsets offsets;
  };
  const Case cases[] = {
      {0, 0, 1, 1, 0, "", {0, 0}},
      {1, 0, 1, 1, 1, "0|a", {0, 0}},
      {255, 0, 1, 1, 16, "240|aaaaaaaaaaaaaaa", {0, 254}},
      {256, 0, 1, 1, 16, "240|aaaaaaaaaaaaaaaa", {0, 255}},
      {257, 1, 1, 1, 1, "256|a", {256, 256}},
      {300, 1, 1, 1, 3, "288|aaaaaaaaaaaa", {256, 299}},
      {511, 1, 1, 1, 16, "496|aaaaaaaaaaaaaaa", {256, 510}},
      {1536, 0, 2, 3, 96, "1520|aaaaaaaaaaaaaaaa", {0, 1535}},
      {1537, 1, 2, 3, 1, "1536|a", {1536, 1536}},
      {300, 5, 1, 1, 0, "", {1280, 1280}},  // a page past the end draws nothing
  };
  for (const Case& c : cases) {
    const Bytes data = Filled(c.length);
    Collect col;
    const PageOffsets o = WalkPage(data, {}, Grid(c.columns, c.blocks), c.page, col);
    ASSERT_EQ(col.lines.size(), c.lines) << c.length;
    if (c.lines > 0) {
      EXPECT_EQ(col.lines.back(), c.lastLine) << c.length;
    }
    EXPECT_EQ(o.first, c.offsets.first) << c.length;
    EXPECT_EQ(o.last, c.offsets.last) << c.length;
  }
}

TEST(PageWalk, HeadingsOnlyForColumnsWithData) {
  Collect c;
  const Bytes data = Filled(300);
  WalkPage(data, {}, Grid(3, 1), 0, c);
  EXPECT_EQ(c.columns, (std::vector<std::int32_t>{0, 1}));
  Collect empty;
  WalkPage({}, {}, Grid(3, 1), 0, empty);
  EXPECT_EQ(empty.columns, (std::vector<std::int32_t>{0}));
}

}  // namespace
}  // namespace tyld::binary
