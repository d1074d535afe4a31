#include "pages/printable_area.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/recording_canvas.h"

namespace tyld::pages {
namespace {

using settings::Orientation;

// 600 dpi, 4800 x 6800 pixels; a font of 25 x 50 pixels.
constexpr platform::DeviceMetrics kA4{4800, 6800, 600, 600};
constexpr platform::FontMetrics kFont{25, 50, 40, 0, true};

TEST(PrintableArea, GridMarginsAndGuards) {
  const PrintableArea a = ComputePrintableArea(kA4, kFont, 0, Orientation::Landscape, {5, 5, 5, 5});
  EXPECT_EQ(a.width, 6800);
  EXPECT_EQ(a.charsAcross, 272);
  EXPECT_EQ(a.linesDown, 96);
  EXPECT_DOUBLE_EQ(a.unprintLeft, 600 / 25.4 / 25 * 5);
  EXPECT_EQ(a.MarginLines(10), 5);  // 4.72 lines
  EXPECT_EQ(a.MarginChars(-30), 0) << "a negative margin counts as none";

  const struct {
    const char* name;
    platform::DeviceMetrics device;
    platform::FontMetrics font;
    int spacing;
  } cases[] = {
      {"no device", {0, 0, 0, 0}, kFont, 0},
      {"no font", kA4, {}, 0},
      {"line spacing -10", kA4, kFont, -10},
      {"huge line spacing", kA4, kFont, INT_MAX},
      {"negative device", {-5, -5, -600, -600}, kFont, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PrintableArea g = ComputePrintableArea(c.device, c.font, c.spacing, Orientation::Portrait, {});
    EXPECT_GE(g.charWidth, 1);
    EXPECT_GE(g.linePitch, 1);
    EXPECT_GE(g.charsAcross, 0);
    EXPECT_GE(g.linesDown, 0);
    EXPECT_GE(g.MarginLines(INT_MAX), 0);
  }
}

TEST(PageTarget, ScreenTakesItsGridAndPrinterMeasuresTheStoredFont) {
  platform::RecordingCanvas printer(kA4);
  const ScreenGrid grid{{}, 0, 16};
  const PageTarget screen = OpenPageTarget(printer, true, grid, -3, 10, {}, 80, 0);
  EXPECT_EQ(screen.charWidth, 1) << "a zero width is one pixel";
  EXPECT_EQ(screen.linePitch, 16);
  EXPECT_DOUBLE_EQ(screen.x0, -2);
  EXPECT_DOUBLE_EQ(screen.y0, 10.5);
  EXPECT_TRUE(printer.Calls().empty());

  // 8 points at 600 dpi: 67 pixels high, 33 wide on the recording canvas; 20% line spacing.
  const PageTarget paper = OpenPageTarget(printer, false, grid, 0, 0, settings::FontState::DefaultLogFont(), 80, 2);
  EXPECT_EQ(paper.font.height, -67);
  EXPECT_EQ(paper.charWidth, 33);
  EXPECT_EQ(paper.linePitch, LinePitch(printer.Metrics(), 2));
  EXPECT_DOUBLE_EQ(paper.x0, 0);
}

}  // namespace
}  // namespace tyld::pages
