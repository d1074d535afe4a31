#include "ascii/ascii_layout.h"

#include <gtest/gtest.h>

#include "platform/page_units.h"
#include "platform/recording_canvas.h"

namespace tyld::ascii {
namespace {

using platform::DeviceMetrics;
using platform::FontMetrics;
using settings::AsciiPageFormat;
using settings::UnprintMargins;

// A4 at 600 dpi, a font of 25 x 50 pixels.
constexpr DeviceMetrics kA4{4800, 6800, 600, 600};
constexpr FontMetrics kFont{25, 50, 40, 0, true};

// The layout as the screen takes it: computed, then its limits applied to the format.
AsciiLayout Layout(const DeviceMetrics& caps, const FontMetrics& font, const UnprintMargins& unprint,
                   int orientation, AsciiPageFormat& f) {
  const AsciiLayout l = ComputeAsciiLayout(caps, font, unprint, settings::OrientationFromCode(orientation), f);
  ApplyLayoutLimits(l, f);
  return l;
}

TEST(AsciiLayout, DefaultFormatOnA4) {
  AsciiPageFormat f;
  const AsciiLayout l = Layout(kA4, kFont, UnprintMargins{}, 1, f);
  const double cx = 600 / 25.4 / 25, ly = 600 / 25.4 / 50;
  EXPECT_EQ(l.area.width, 4800);
  EXPECT_EQ(l.area.charsAcross, 192);
  EXPECT_EQ(l.area.linesDown, 136);
  EXPECT_DOUBLE_EQ(l.area.unprintLeft, 5 * cx);
  EXPECT_DOUBLE_EQ(l.area.unprintTop, 5 * ly);
  EXPECT_EQ(l.topLines, 5);         // 4.72
  EXPECT_EQ(l.bottomLines, 2 + 2);  // 2.36, plus the footer lines
  EXPECT_EQ(f.AscLinesPerPage, 136 - 5 - 4);
  EXPECT_EQ(l.maxLinesPerPage, f.AscLinesPerPage);
  EXPECT_EQ(l.leftChars, 9);  // 9.45
  EXPECT_EQ(l.gapChars, 5);   // 4.72
  EXPECT_EQ(f.AscCharsPerLine, (192 - 9) - 2);
}

TEST(AsciiLayout, OrientationSwap) {
  const struct {
    DeviceMetrics caps;
    int orientation;
    int width, height;
  } cases[] = {
      {{6800, 4800, 600, 600}, 1, 4800, 6800},  // portrait asked, landscape reported
      {{4800, 6800, 600, 600}, 1, 4800, 6800},
      {{4800, 6800, 600, 600}, 2, 6800, 4800},
      {{6800, 4800, 600, 600}, 2, 6800, 4800},
  };
  for (const auto& c : cases) {
    AsciiPageFormat f;
    const AsciiLayout l = Layout(c.caps, kFont, {}, c.orientation, f);
    EXPECT_EQ(l.area.width, c.width);
    EXPECT_EQ(l.area.height, c.height);
    EXPECT_EQ(l.area.charsAcross, c.width / 25);
  }
}

TEST(AsciiLayout, RoundingHalfGoesDown) {
  const struct {
    double x;
    int r;
  } cases[] = {{0.5, 0}, {0.51, 1}, {1.5, 1}, {2.0, 2}, {2.7, 3}, {1e30, INT32_MAX}};
  for (const auto& c : cases) EXPECT_EQ(platform::RoundHalfDown(c.x), c.r) << c.x;

  // 10 pixels per mm and a pitch of 20: half a line per millimetre.
  AsciiPageFormat f;
  f.AscMarginTop = 1;
  f.AscMarginBottom = 5;
  f.AscDateMode = f.AscPageNoMode = f.AscFileNameMode = f.AscLineNoMode = 0;
  const AsciiLayout l = Layout({2540, 2540, 254, 254}, {10, 20, 16, 0, true}, {}, 1, f);
  EXPECT_EQ(l.topLines, 0);
  EXPECT_EQ(l.bottomLines, 2);
}

// With margins of 0 the footer and the printed line numbers still stand inside the
// printable area, whichever footer item is on.
TEST(AsciiLayout, FooterAndLineNumbersStayInsideThePrintableArea) {
  const struct {
    int date, page, line, name;
  } cases[] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}, {1, 1, 2, 1}};
  for (const auto& c : cases) {
    for (int left : {0, 3, 20}) {
      SCOPED_TRACE(testing::Message() << c.date << c.page << c.line << c.name << " left " << left);
      AsciiPageFormat f;
      f.AscMarginBottom = 0;
      f.AscMarginLeft = left;
      f.AscDateMode = c.date;
      f.AscPageNoMode = c.page;
      f.AscLineNoMode = c.line;
      f.AscFileNameMode = c.name;
      const AsciiLayout l = Layout(kA4, kFont, {}, 1, f);
      const double lh = l.area.linePitch;
      const SheetGeometry geo(f, l, l.area.charWidth, lh, 25, 0, 0, false);
      const auto area = geo.Printable();
      EXPECT_GE(geo.FooterY(), geo.RowY(f.AscLinesPerPage - 1) + lh);  // below the last row
      EXPECT_LE(geo.FooterY() + lh, area.bottom);
      EXPECT_GE(geo.LineNumberX(), area.left);
    }
  }
}

TEST(AsciiLayout, CharsPerLineRule) {
  // One character per mm, no margins: the width in mm is the width in characters.
  const struct {
    int widthChars, columns, gap;
    int perLine;
  } cases[] = {{2, 1, 0, 1}, {3, 1, 0, 1}, {10, 1, 0, 8}, {1, 1, 0, 1}, {0, 1, 0, 1},
               {25, 2, 5, 8}};  // (25 - 5) / 2 = 10
  for (const auto& c : cases) {
    AsciiPageFormat f;
    f.AscMarginLeft = 0;
    f.AscColumnGap = c.gap;
    f.AscColumns = c.columns;
    Layout({c.widthChars * 10, 10000, 254, 254}, {10, 20, 16, 0, true}, {}, 1, f);
    EXPECT_EQ(f.AscCharsPerLine, c.perLine) << c.widthChars << " " << c.columns;
  }
}

TEST(AsciiLayout, FooterLines) {
  const struct {
    int date, page, line, name;
    int bottom;
  } cases[] = {{0, 0, 0, 0, 2}, {1, 0, 0, 0, 4}, {0, 1, 0, 0, 4}, {0, 0, 0, 1, 4}, {0, 0, 2, 0, 4}};  // the row range is a footer item
  for (const auto& c : cases) {
    AsciiPageFormat f;
    f.AscDateMode = c.date;
    f.AscPageNoMode = c.page;
    f.AscLineNoMode = c.line;
    f.AscFileNameMode = c.name;
    const AsciiLayout l = Layout(kA4, kFont, {}, 1, f);
    EXPECT_EQ(l.bottomLines, c.bottom);
    EXPECT_EQ(f.AscLinesPerPage, 136 - 5 - c.bottom);
  }
}

TEST(AsciiLayout, SheetsFromColumnPages) {
  AsciiPageFormat f;
  const AsciiLayout l = Layout(kA4, kFont, {}, 1, f);
  const struct {
    int columns, pages, current;
    int sheets, currentAfter;
  } cases[] = {{2, 3, 5, 2, 1}, {0, 3, 0, 3, 0}, {1, 0, 0, 0, -1}, {2, 4, 1, 2, 1}};
  for (const auto& c : cases) {
    f.AscColumns = c.columns;
    int current = c.current;
    EXPECT_EQ(UpdateSheetCount(c.pages, f, l, current), c.sheets);
    EXPECT_EQ(current, c.currentAfter);
  }
  // The second sheet of two columns ends at the last row.
  f.AscColumns = 2;
  f.AscLinesPerPage = 10;
  const SheetRowRange r = SheetRows(f, l, 1, 25);
  EXPECT_EQ(r.first, 21);
  EXPECT_EQ(r.last, 25);
}

TEST(AsciiLayout, AbsurdFormatsStayDefined) {
  const struct {
    const char* name;
    DeviceMetrics caps;
    FontMetrics font;
    int spacing, margin, columns;
  } cases[] = {
      {"line spacing -10", kA4, kFont, -10, 10, 1},
      {"margins of 1000 mm", kA4, kFont, 0, 1000, 1},
      {"negative margins", kA4, kFont, 0, -1000, 1},
      {"no columns", kA4, kFont, 0, 10, 0},
      {"absurd columns", kA4, kFont, 0, 10, 1 << 30},
      {"zero font", kA4, {0, 0, 0, 0, true}, 0, 10, 1},
      {"zero device", {0, 0, 0, 0}, kFont, 0, 10, 1},
      {"huge spacing", kA4, kFont, 1 << 30, 10, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AsciiPageFormat f;
    f.AscLineSpacing = c.spacing;
    f.AscMarginTop = f.AscMarginBottom = f.AscMarginLeft = f.AscColumnGap = c.margin;
    f.AscColumns = c.columns;
    const AsciiLayout l = Layout(c.caps, c.font, {}, 1, f);
    EXPECT_GE(l.area.charWidth, 1);
    EXPECT_GE(l.area.linePitch, 1);
    EXPECT_GE(f.AscLinesPerPage, 1);
    EXPECT_GE(f.AscCharsPerLine, 1);
    EXPECT_GE(ColumnsPerSheet(f, l), 1);
    int current = 0;
    EXPECT_GE(UpdateSheetCount(1, f, l, current), 1);
  }
}

TEST(AsciiLayout, MeasuresThePrinterFont) {
  platform::RecordingCanvas printer(kA4);
  settings::FontState font;
  AsciiPageFormat f;
  const AsciiLayout l =
      ComputeAsciiLayout(printer, font.logFont, font.PointTenths(), {}, settings::Orientation::Portrait, f);
  // 8 points at 600 dpi: 67 pixels high, 33 wide on the recording canvas.
  ASSERT_FALSE(printer.Calls().empty());
  EXPECT_EQ(printer.Calls().back().font.height, -67);
  EXPECT_EQ(printer.Calls().back().font.charSet, platform::kShiftJisCharSet);
  EXPECT_EQ(l.area.charWidth, 33);
  EXPECT_EQ(l.area.linePitch, 67);
  EXPECT_EQ(l.area.charsAcross, 4800 / 33);
}

}  // namespace
}  // namespace tyld::ascii
