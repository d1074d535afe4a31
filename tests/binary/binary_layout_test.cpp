#include "binary/binary_layout.h"

#include <gtest/gtest.h>

#include <climits>

#include "binary/block_window.h"
#include "platform/page_units.h"
#include "platform/recording_canvas.h"

namespace tyld::binary {
namespace {

using settings::BinaryPageFormat;

// A 600 dpi printer, 6800 x 4800 pixels printable, with an 8-point font of 33 x 67 pixels.
constexpr platform::DeviceMetrics kCaps{4800, 6800, 600, 600};
constexpr platform::FontMetrics kFont{33, 67, 54, 0, true};

LayoutInput Input(int orientation = 2) {
  LayoutInput in;
  in.caps = kCaps;
  in.font = kFont;
  in.orientation = settings::OrientationFromCode(orientation);
  return in;
}

// The layout as the screen takes it: computed, then its limits applied to the format.
BinaryLayout Layout(const LayoutInput& in, BinaryPageFormat& fmt) {
  const BinaryLayout l = ComputeBinaryLayout(in, fmt);
  ApplyLayoutLimits(l, fmt);
  return l;
}

TEST(BinaryLayout, LandscapePageFromPrinterAndFont) {
  BinaryPageFormat fmt;  // margins 10/5/10 mm, gap 5 mm, block gap 5 mm, date and page no on
  fmt.BinColumns = 9;
  fmt.BinBlocksPerColumn = 0;
  const BinaryLayout l = Layout(Input(2), fmt);
  // Landscape swaps to 6800 x 4800.
  EXPECT_EQ(l.area.charsAcross, 206);
  EXPECT_NEAR(l.area.charsAcrossExact, 6800.0 / 33, 1e-9);
  EXPECT_EQ(l.area.linesDown, 71);
  EXPECT_NEAR(l.area.linesDownExact, 4800.0 / 67, 1e-9);
  EXPECT_EQ(l.topLines, 4);     // 3.53 lines
  EXPECT_EQ(l.bottomLines, 5);  // 1.76 lines + 3 footer lines
  EXPECT_EQ(l.textLines, 62);
  EXPECT_NEAR(l.blockGapLines, 1.7628, 1e-4);
  EXPECT_EQ(l.maxBlocksPerColumn, 3);  // (62 - 3 + 1.76) / 17.76
  EXPECT_EQ(fmt.BinBlocksPerColumn, 3);
  EXPECT_EQ(l.leftChars, 7);  // 7.16 characters
  EXPECT_EQ(l.gapChars, 4);   // 3.58 characters
  EXPECT_EQ(l.maxColumns, 2);  // (4 - 7 + 206) / 82
  EXPECT_EQ(fmt.BinColumns, 2);     // lowered to the maximum
  EXPECT_NEAR(l.area.unprintLeft, 600 / 25.4 / 33 * 5, 1e-9);
  EXPECT_NEAR(l.area.unprintTop, 600 / 25.4 / 67 * 5, 1e-9);
}

TEST(BinaryLayout, OrientationDecidesTheLongSide) {
  struct Case { int orientation; int w, h; int across; };
  const Case cases[] = {
      {1, 6800, 4800, 4800 / 33},  // portrait forces W <= H
      {1, 4800, 6800, 4800 / 33},
      {2, 4800, 6800, 6800 / 33},  // landscape forces W >= H
      {2, 6800, 4800, 6800 / 33},
  };
  for (const Case& c : cases) {
    LayoutInput in = Input(c.orientation);
    in.caps.width = c.w;
    in.caps.height = c.h;
    BinaryPageFormat fmt;
    const BinaryLayout l = Layout(in, fmt);
    EXPECT_EQ(l.area.charsAcross, c.across) << c.orientation << " " << c.w;
  }
}

TEST(BinaryLayout, RoundingHalvesDown) {
  EXPECT_EQ(platform::RoundHalfDown(2.5), 2);
  EXPECT_EQ(platform::RoundHalfDown(2.5000001), 3);
  EXPECT_EQ(platform::RoundHalfDown(2.4999), 2);
  EXPECT_EQ(platform::RoundHalfDown(0.0), 0);
  EXPECT_EQ(platform::RoundHalfDown(1e300), INT_MAX);
  EXPECT_EQ(platform::RoundHalfDown(-1e300), INT_MIN);
}

// Absurd inputs never divide by zero, overflow, or leave less than one block or column.
TEST(BinaryLayout, AbsurdInputsKeepOneColumnAndOneBlock) {
  struct Case {
    const char* name;
    void (*apply)(LayoutInput&, BinaryPageFormat&);
  };
  const Case cases[] = {
      {"zero line pitch", [](LayoutInput&, BinaryPageFormat& f) { f.BinLineSpacing = -10; }},
      {"negative line pitch", [](LayoutInput&, BinaryPageFormat& f) { f.BinLineSpacing = -500; }},
      {"huge line spacing", [](LayoutInput&, BinaryPageFormat& f) { f.BinLineSpacing = INT_MAX; }},
      {"column gap of -78 chars", [](LayoutInput&, BinaryPageFormat& f) { f.BinColumnGap = -109; }},
      {"column gap far below", [](LayoutInput&, BinaryPageFormat& f) { f.BinColumnGap = INT_MIN; }},
      {"block gap of -16 lines", [](LayoutInput&, BinaryPageFormat& f) { f.BinBlockGap = -46; }},
      {"block gap far below", [](LayoutInput&, BinaryPageFormat& f) { f.BinBlockGap = INT_MIN; }},
      {"margins beyond the page",
       [](LayoutInput&, BinaryPageFormat& f) {
         f.BinMarginTop = f.BinMarginBottom = f.BinMarginLeft = 100000;
       }},
      {"margins at the int limits",
       [](LayoutInput&, BinaryPageFormat& f) {
         f.BinMarginTop = INT_MAX;
         f.BinMarginBottom = INT_MAX;
         f.BinMarginLeft = INT_MIN;
       }},
      {"zero columns and blocks",
       [](LayoutInput&, BinaryPageFormat& f) { f.BinColumns = f.BinBlocksPerColumn = 0; }},
      {"no printer", [](LayoutInput& in, BinaryPageFormat&) { in.caps = {0, 0, 0, 0}; }},
      {"no font metrics", [](LayoutInput& in, BinaryPageFormat&) { in.font = {}; }},
  };
  for (const Case& c : cases) {
    LayoutInput in = Input();
    BinaryPageFormat fmt;
    c.apply(in, fmt);
    const BinaryLayout l = Layout(in, fmt);
    EXPECT_GE(l.maxBlocksPerColumn, 1) << c.name;
    EXPECT_LE(l.maxBlocksPerColumn, kMaxBlocks) << c.name;
    EXPECT_GE(l.maxColumns, 1) << c.name;
    EXPECT_LE(l.maxColumns, kMaxBlocks) << c.name;
    EXPECT_EQ(fmt.BinBlocksPerColumn, l.maxBlocksPerColumn) << c.name;
    EXPECT_GE(EffectiveColumns(fmt), 1) << c.name;
    EXPECT_GT(DumpPaging(1000, fmt).PageCount(), 0) << c.name;
  }
}

TEST(BinaryLayout, MeasuresTheBinaryFontOnThePrinter) {
  platform::RecordingCanvas printer(kCaps);
  const BinaryPageFormat fmt;
  const BinaryLayout viaCanvas =
      ComputeBinaryLayout(printer, settings::FontState::DefaultLogFont(), 80, settings::Orientation::Landscape, {}, fmt);
  const BinaryLayout direct = ComputeBinaryLayout(Input(2), fmt);
  // 8 points at 600 dpi: 67 pixels high, 33 wide on the recording canvas.
  ASSERT_FALSE(printer.Calls().empty());
  EXPECT_EQ(printer.Calls().back().font.height, -67);
  EXPECT_EQ(viaCanvas.area.charsAcross, direct.area.charsAcross);
  EXPECT_EQ(viaCanvas.textLines, direct.textLines);
}

BinaryPageFormat Grid(int columns, int blocks) {
  BinaryPageFormat f;
  f.BinColumns = columns;
  f.BinBlocksPerColumn = blocks;
  return f;
}

TEST(DumpPaging, PagesAndRanges) {
  struct Case {
    std::int64_t length;
    int columns, blocks;
    std::int32_t pages;
    std::int64_t lastFirst, lastLast;  // range of the last page
  };
  const Case cases[] = {
      {0, 1, 1, 0, 0, -1},
      {1, 1, 1, 1, 0, 0},
      {255, 1, 1, 1, 0, 254},
      {256, 1, 1, 1, 0, 255},
      {257, 1, 1, 2, 256, 256},
      {300, 1, 1, 2, 256, 299},
      {511, 1, 1, 2, 256, 510},
      {1536, 2, 3, 1, 0, 1535},     // exactly one page
      {1537, 2, 3, 2, 1536, 1536},  // one byte more
      {1000, 0, 0, 4, 768, 999},    // stored 0 counts as 1
      {INT_MAX, 1, 1, 1 << 23, (std::int64_t{1} << 31) - 256, INT_MAX - 1},
      {INT_MAX, kMaxBlocks * 4, kMaxBlocks * 4, 1, 0, INT_MAX - 1},
  };
  for (const Case& c : cases) {
    const DumpPaging p(c.length, Grid(c.columns, c.blocks));
    EXPECT_EQ(p.PageCount(), c.pages) << c.length;
    const std::int64_t last = c.pages > 0 ? c.pages - 1 : 0;
    EXPECT_EQ(p.FirstOffset(last), c.lastFirst) << c.length;
    EXPECT_EQ(p.LastOffset(last), c.lastLast) << c.length;
  }
}

TEST(DumpPaging, PageOfPosition) {
  struct Case { std::int64_t u; int columns, blocks; std::int64_t page; };
  const Case cases[] = {
      {0, 1, 1, 0}, {1, 1, 1, 0}, {256, 1, 1, 0}, {257, 1, 1, 1}, {513, 1, 1, 2},
      {1536, 2, 3, 0}, {1537, 2, 3, 1}, {257, 0, 0, 1}, {INT_MAX, 1, 1, (1 << 23) - 1},
      {0xFFFFFFFF, 1, 1, 0xFFFFFF},  // the largest typed position
  };
  for (const Case& c : cases)
    EXPECT_EQ(PageOfPosition(c.u, Grid(c.columns, c.blocks)), c.page) << c.u;
}

TEST(DumpPaging, FarPagesStayPastTheEndWithoutOverflow) {
  const DumpPaging p(INT_MAX, Grid(kMaxBlocks, kMaxBlocks));
  EXPECT_GT(p.FirstOffset(INT64_MAX), p.Length());
  EXPECT_LT(p.LastOffset(INT64_MAX), p.FirstOffset(INT64_MAX));
}

TEST(DumpPaging, PageCountResetsACurrentPageBeyondIt) {
  BinaryViewState view;
  view.BinCurrentPage = 5;
  UpdateBinaryPageCount(300, Grid(1, 1), view);
  EXPECT_EQ(view.BinPageCount, 2);
  EXPECT_EQ(view.BinCurrentPage, 0);
  view.BinCurrentPage = 1;
  UpdateBinaryPageCount(300, Grid(1, 1), view);
  EXPECT_EQ(view.BinCurrentPage, 1);
  UpdateBinaryPageCount(0, Grid(1, 1), view);
  EXPECT_EQ(view.BinPageCount, 0);
  EXPECT_EQ(view.BinCurrentPage, 0);
}

TEST(BlockWindow, CopiesTheBlockWithLookBackAndLookAhead) {
  std::vector<std::uint8_t> data(300);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i + 1);
  std::vector<std::uint8_t> marks(100, 3);  // shorter than the data: the rest counts as 0
  BlockWindow w;

  EXPECT_EQ(LoadBlockWindow(data, marks, 0, w), 1);
  EXPECT_EQ(w.At(-2), 0);
  EXPECT_EQ(w.At(-1), 0);
  EXPECT_EQ(w.At(0), 1);
  EXPECT_EQ(w.At(256), data[256]);
  EXPECT_EQ(w.MarkAt(99), 3);
  EXPECT_EQ(w.MarkAt(100), 0);

  EXPECT_EQ(LoadBlockWindow(data, marks, 1, w), 0);  // partial last block
  EXPECT_EQ(w.At(-2), data[254]);
  EXPECT_EQ(w.At(-1), data[255]);
  EXPECT_EQ(w.At(43), data[299]);
  EXPECT_EQ(w.At(44), 0);
  EXPECT_EQ(w.At(256), 0);

  EXPECT_EQ(LoadBlockWindow(data, marks, 2, w), 0);  // past the end: all zero
  for (int i = -2; i <= 256; ++i) ASSERT_EQ(w.At(i), 0) << i;

  const std::vector<std::uint8_t> twoBlocks(512, 7);
  EXPECT_EQ(LoadBlockWindow(twoBlocks, {}, 0, w), 1);
  EXPECT_EQ(LoadBlockWindow(twoBlocks, {}, 1, w), 0);  // no look-ahead byte
  EXPECT_EQ(LoadBlockWindow({}, {}, 0, w), 0);
  EXPECT_EQ(LoadBlockWindow(twoBlocks, {}, -1, w), 0);
}

}  // namespace
}  // namespace tyld::binary
