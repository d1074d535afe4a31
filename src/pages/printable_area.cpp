#include "pages/printable_area.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "platform/page_units.h"

namespace tyld::pages {
namespace {
constexpr double kMmPerInch = 25.4;
}  // namespace

int PrintableArea::MarginLines(int mm) const { return platform::RoundHalfDown(linesPerMm * std::max(0, mm)); }
int PrintableArea::MarginChars(int mm) const { return platform::RoundHalfDown(charsPerMm * std::max(0, mm)); }

int LinePitch(const platform::FontMetrics& font, int lineSpacing) {
  const std::int64_t h = std::clamp<std::int64_t>(std::int64_t{font.height} + font.leading, 1,
                                                  std::numeric_limits<int>::max());
  return static_cast<int>(std::clamp<std::int64_t>(h + h * lineSpacing / 10, 1, std::numeric_limits<int>::max()));
}

PrintableArea ComputePrintableArea(const platform::DeviceMetrics& printer, const platform::FontMetrics& font,
                                   int lineSpacing, settings::Orientation orientation,
                                   const settings::UnprintMargins& unprint) {
  PrintableArea a;
  int w = std::max(0, printer.width);
  int h = std::max(0, printer.height);
  const bool landscape = orientation == settings::Orientation::Landscape;
  if ((landscape && w < h) || (!landscape && h < w)) std::swap(w, h);
  a.width = w;
  a.height = h;

  a.charWidth = std::max(1, font.cellWidth);
  a.linePitch = LinePitch(font, lineSpacing);
  a.charsAcrossExact = static_cast<double>(w) / a.charWidth;
  a.charsAcross = w / a.charWidth;
  a.linesDownExact = static_cast<double>(h) / a.linePitch;
  a.linesDown = h / a.linePitch;

  a.charsPerMm = std::max(0, printer.dpiX) / kMmPerInch / a.charWidth;
  a.linesPerMm = std::max(0, printer.dpiY) / kMmPerInch / a.linePitch;
  a.unprintTop = a.linesPerMm * unprint.top;
  a.unprintBottom = a.linesPerMm * unprint.bottom;
  a.unprintLeft = a.charsPerMm * unprint.left;
  a.unprintRight = a.charsPerMm * unprint.right;
  return a;
}

PageTarget OpenPageTarget(platform::Canvas& canvas, bool screen, const ScreenGrid& grid, double x0, double y0,
                          const platform::FontDescription& storedFont, int pointTenths, int lineSpacing) {
  PageTarget t;
  t.x0 = x0;
  t.y0 = y0;
  if (screen) {
    t.font = grid.font;
    t.charWidth = std::max(1, grid.charWidth);
    t.linePitch = std::max(1.0, grid.linePitch);
    t.x0 += 1;
    t.y0 += 0.5;
  } else {
    t.font = platform::FontForDevice(storedFont, pointTenths, canvas.Device().dpiY);
    if (canvas.SelectFont(t.font)) {
      const platform::FontMetrics m = canvas.Metrics();
      t.charWidth = std::max(1, m.cellWidth);
      t.linePitch = LinePitch(m, lineSpacing);
    }
  }
  return t;
}

double ScreenLinePitchFor(int screenCharWidth, const PrintableArea& printer) {
  return static_cast<double>(std::max(1, screenCharWidth)) * std::max(1, printer.linePitch) /
         std::max(1, printer.charWidth);
}

platform::FontDescription FooterFont(const platform::FontDescription& storedFont, double scale, bool screen,
                                     int dpiY) {
  // A small scale must not shrink the footer to nothing: a font of 0 points is drawn in a
  // large default size instead.
  constexpr double kMinPoints = 3;
  const double points = screen ? std::trunc(scale * 6) : 6;
  return platform::FontForDevice(storedFont, static_cast<int>(std::clamp(points, kMinPoints, 1e6)) * 10, dpiY);
}

}  // namespace tyld::pages
