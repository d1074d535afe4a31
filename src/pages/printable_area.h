#pragma once
// What both page layouts and both painters start from: the printer's page turned to the
// screen's orientation, the character grid a font gives on it, the non-printable margins
// and the page margins in grid units, and the font and grid a page is drawn with on its
// target. The guards live here once, so the two screens agree: nothing divides by zero,
// a character and a line are at least one pixel, and a negative margin counts as none.
#include "platform/canvas.h"
#include "platform/font_description.h"
#include "settings/page_format.h"

namespace tyld::pages {

struct PrintableArea {
  int width = 0;       // printable width after the orientation swap, pixels
  int height = 0;      // printable height, pixels
  int charWidth = 1;   // character width on the printer (at least 1)
  int linePitch = 1;   // line pitch on the printer (at least 1)
  int charsAcross = 0;
  double charsAcrossExact = 0;
  int linesDown = 0;
  double linesDownExact = 0;
  // Grid units per millimetre.
  double charsPerMm = 0;
  double linesPerMm = 0;
  // The non-printable margins in characters and lines.
  double unprintTop = 0;
  double unprintBottom = 0;
  double unprintLeft = 0;
  double unprintRight = 0;

  // A page margin or gap in mm as whole lines or characters (an exact half rounds down).
  [[nodiscard]] int MarginLines(int mm) const;
  [[nodiscard]] int MarginChars(int mm) const;
};

// Line pitch from a font's height (ascent + descent + leading) and the line spacing in
// tenths of that height; never below 1 so nothing divides by it.
int LinePitch(const platform::FontMetrics& font, int lineSpacing);

PrintableArea ComputePrintableArea(const platform::DeviceMetrics& printer, const platform::FontMetrics& font,
                                   int lineSpacing, settings::Orientation orientation,
                                   const settings::UnprintMargins& unprint);

// The font and grid one page is drawn with, and its origin in characters and lines.
struct PageTarget {
  platform::FontDescription font;
  int charWidth = 1;
  double linePitch = 1;
  double x0 = 0;
  double y0 = 0;
};

// What a screen passes for drawing on itself: its scaled font and grid. The line pitch
// keeps the printer's proportion of line to character, so the sheet has the paper's shape.
struct ScreenGrid {
  platform::FontDescription font;
  int charWidth = 1;
  double linePitch = 1;
};

// The screen's line pitch for its character width on the grid of a printer: as many
// screen pixels per printer pixel down as across.
double ScreenLinePitchFor(int screenCharWidth, const PrintableArea& printer);

// On screen, the screen's font and grid, with the page moved one character right and half a
// line down off the window's edge. On the printer, the stored font at its point size for the
// printer, selected on the canvas and measured (a font that cannot be made leaves a grid
// of one pixel).
PageTarget OpenPageTarget(platform::Canvas& canvas, bool screen, const ScreenGrid& grid, double x0, double y0,
                          const platform::FontDescription& storedFont, int pointTenths, int lineSpacing);

// The footer's font: six points, on screen times the screen's scale (whole points).
platform::FontDescription FooterFont(const platform::FontDescription& storedFont, double scale, bool screen,
                                     int dpiY);

}  // namespace tyld::pages
