#include "ascii/ascii_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/page_units.h"

namespace tyld::ascii {
namespace {

constexpr double kMmPerInch = 25.4;

int SaturateInt(double x) {
  if (!(x == x)) return 0;  // NaN
  constexpr double lo = std::numeric_limits<int>::min();
  constexpr double hi = std::numeric_limits<int>::max();
  return static_cast<int>(std::clamp(x, lo, hi));
}

int SaturateInt(long long x) {
  return static_cast<int>(std::clamp<long long>(x, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

}  // namespace

platform::FontDescription PrinterFontFor(const platform::FontDescription& asciiFont, int pointTenths,
                                 int dpiY) {
  return platform::FontForDevice(asciiFont, pointTenths, dpiY);
}

AsciiLayout ComputeAsciiLayout(const platform::DeviceMetrics& printer,
                               const platform::FontMetrics& font,
                               const settings::UnprintMargins& unprint, int ascOrientation,
                               settings::AsciiPageFormat& fmt) {
  AsciiLayout out;
  int w = std::max(0, printer.width);
  int hd = std::max(0, printer.height);
  if ((ascOrientation != 2 && hd < w) || (ascOrientation == 2 && w < hd)) std::swap(w, hd);
  out.width = w;
  out.height = hd;

  // A zero width or pitch (no font, or line spacing -10) would divide by zero; one pixel
  // keeps the grid defined.
  const int cw = std::max(1, font.cellWidth);
  const long long h = std::max(1, font.height + font.leading);
  const int lh = std::max(1, SaturateInt(h + h * fmt.AscLineSpacing / 10));
  out.charWidth = cw;
  out.linePitch = lh;

  fmt.AscCharsAcrossExact = static_cast<double>(w) / cw;
  fmt.AscCharsAcross = w / cw;
  fmt.AscLinesDown = hd / lh;
  fmt.AscLinesDownExact = static_cast<double>(hd) / lh;

  const double cx = std::max(0, printer.dpiX) / kMmPerInch / cw;
  const double ly = std::max(0, printer.dpiY) / kMmPerInch / lh;
  fmt.AscUnprintTopLines = ly * unprint.top;
  fmt.AscUnprintBottomLines = ly * unprint.bottom;
  fmt.AscUnprintLeftChars = cx * unprint.left;
  fmt.AscUnprintRightChars = cx * unprint.right;

  // Negative margins make no sense on paper; they count as none.
  fmt.AscTopLines = platform::RoundHalfDown(ly * std::max(0, fmt.AscMarginTop));
  fmt.AscBottomLines = platform::RoundHalfDown(ly * std::max(0, fmt.AscMarginBottom));
  if (fmt.AscDateMode != 0 || fmt.AscPageNoMode != 0 || fmt.AscFileNameMode != 0)
    fmt.AscBottomLines = SaturateInt(static_cast<long long>(fmt.AscBottomLines) + 2);

  const long long lines =
      static_cast<long long>(fmt.AscLinesDown) - fmt.AscTopLines - fmt.AscBottomLines;
  fmt.AscMaxLinesPerPage = std::max(1, SaturateInt(lines));
  fmt.AscLinesPerPage = fmt.AscMaxLinesPerPage;

  fmt.AscLeftChars = platform::RoundHalfDown(cx * std::max(0, fmt.AscMarginLeft));
  fmt.AscGapChars = platform::RoundHalfDown(cx * std::max(0, fmt.AscColumnGap));

  const int k = ColumnsPerSheet(fmt);
  out.columns = k;
  long long q = (static_cast<long long>(fmt.AscCharsAcross) -
                 static_cast<long long>(fmt.AscGapChars) * (k - 1) - fmt.AscLeftChars) /
                k;
  q = q == 2 ? 1 : q - 2;
  fmt.AscMaxCharsPerLine = std::max(1, SaturateInt(q));
  fmt.AscCharsPerLine = fmt.AscMaxCharsPerLine;
  return out;
}

AsciiLayout ComputeAsciiLayout(platform::Canvas& printer, const platform::FontDescription& asciiFont,
                               int pointTenths, const settings::UnprintMargins& unprint,
                               int ascOrientation, settings::AsciiPageFormat& fmt) {
  const platform::DeviceMetrics caps = printer.Device();
  platform::FontMetrics metrics;  // zero when no font can be made: the pure layout copes
  if (printer.SelectFont(PrinterFontFor(asciiFont, pointTenths, caps.dpiY)))
    metrics = printer.Metrics();
  return ComputeAsciiLayout(caps, metrics, unprint, ascOrientation, fmt);
}

int ColumnsPerSheet(const settings::AsciiPageFormat& fmt) {
  // More columns than characters across cannot stand on the sheet.
  return std::clamp(fmt.AscColumns, 1, std::max(1, fmt.AscCharsAcross));
}

int UpdateSheetCount(int columnPageCount, const settings::AsciiPageFormat& fmt,
                     int& currentSheet) {
  const int k = ColumnsPerSheet(fmt);
  const int sheets = columnPageCount <= 0 ? 0 : (columnPageCount - 1) / k + 1;
  if (currentSheet >= sheets) currentSheet = sheets - 1;
  return sheets;
}

bool HasFooter(const settings::AsciiPageFormat& fmt) {
  return fmt.AscDateMode != 0 || fmt.AscPageNoMode != 0 || fmt.AscLineNoMode != 0 ||
         fmt.AscFileNameMode != 0;
}

SheetRowRange SheetRows(const settings::AsciiPageFormat& fmt, int sheet, int totalRows) {
  const std::int64_t perSheet =
      static_cast<std::int64_t>(std::max(1, fmt.AscLinesPerPage)) * ColumnsPerSheet(fmt);
  SheetRowRange r;
  r.first = sheet * perSheet + 1;
  r.last = std::min<std::int64_t>((sheet + 1) * perSheet, totalRows);
  return r;
}

SheetGeometry::SheetGeometry(const settings::AsciiPageFormat& fmt, double cw, double lh,
                             double sw, double x0, double y0, bool screen)
    : fmt_(fmt), cw_(cw), lh_(lh), sw_(sw), x0_(x0), y0_(y0), columns_(ColumnsPerSheet(fmt)) {
  if (screen) {
    uL_ = fmt.AscUnprintLeftChars * cw;
    uT_ = fmt.AscUnprintTopLines * lh;
  }
}

int SheetGeometry::TextX() const { return SaturateInt(uL_ + (fmt_.AscLeftChars + x0_) * cw_); }
int SheetGeometry::TextY() const { return SaturateInt(uT_ + (fmt_.AscTopLines + y0_) * lh_); }

int SheetGeometry::ColumnLeft(int column) const {
  return SaturateInt(uL_ + (fmt_.AscLeftChars + x0_) * cw_ +
                     static_cast<double>(column) * (fmt_.AscCharsPerLine + fmt_.AscGapChars) * cw_);
}

int SheetGeometry::ColumnWidth() const { return SaturateInt((fmt_.AscCharsPerLine + 1.0) * cw_); }
int SheetGeometry::ColumnHeight() const { return SaturateInt(fmt_.AscLinesPerPage * lh_); }

int SheetGeometry::RowY(int row) const {
  return SaturateInt(uT_ + (fmt_.AscTopLines + y0_) * lh_ + row * lh_);
}

int SheetGeometry::LineNumberX() const {
  return SaturateInt(uL_ + (fmt_.AscLeftChars + x0_) * cw_ - 9 * cw_);
}

SheetGeometry::Box SheetGeometry::Paper() const {
  const double left = x0_ * cw_;
  const double top = y0_ * lh_;
  const double width = uL_ + fmt_.AscCharsAcrossExact * cw_ + fmt_.AscUnprintRightChars * cw_;
  const double height = uT_ + fmt_.AscLinesDownExact * lh_ + fmt_.AscUnprintBottomLines * lh_;
  return {SaturateInt(left), SaturateInt(top), SaturateInt(left + width), SaturateInt(top + height)};
}

SheetGeometry::Box SheetGeometry::Printable() const {
  const double left = uL_ + x0_ * cw_;
  const double top = uT_ + y0_ * lh_;
  return {SaturateInt(left), SaturateInt(top), SaturateInt(left + fmt_.AscCharsAcrossExact * cw_),
          SaturateInt(top + fmt_.AscLinesDownExact * lh_)};
}

int SheetGeometry::FooterY() const {
  return SaturateInt(uT_ + y0_ * lh_ + fmt_.AscLinesDownExact * lh_ -
                     lh_ * (fmt_.AscBottomLines - 1));
}

double SheetGeometry::PageNumberCentre() const {
  if (fmt_.AscPageNoMode == 1) return uL_ + x0_ * cw_ + fmt_.AscCharsAcrossExact * cw_ * 0.5;
  const long long span = static_cast<long long>(columns_) * fmt_.AscCharsPerLine +
                         static_cast<long long>(fmt_.AscGapChars) * (columns_ - 1);
  return uL_ + (x0_ + fmt_.AscLeftChars + static_cast<double>(span / 2)) * cw_;
}

int SheetGeometry::PageNumberX(int textLength) const {
  const int sw = SaturateInt(sw_);
  return SaturateInt(PageNumberCentre() - (textLength * sw) / 2 - 2 * sw_);
}

int SheetGeometry::LineRangeX(int textLength, int pageNumberLength) const {
  if (fmt_.AscPageNoMode != 0) {
    const int sw = SaturateInt(sw_);
    return SaturateInt(PageNumberCentre() + (pageNumberLength * sw) / 2 + 2 * sw_);
  }
  return SaturateInt(PageNumberCentre() - textLength * cw_ * 0.5 - 2 * cw_);
}

int SheetGeometry::FileNameX(int textLength) const {
  return SaturateInt(uL_ + x0_ * cw_ + fmt_.AscCharsAcrossExact * cw_ - sw_ * (textLength + 4) -
                     fmt_.AscUnprintRightChars * cw_);
}

int SheetGeometry::DateX() const { return SaturateInt(uL_ + (fmt_.AscLeftChars + x0_) * cw_); }

}  // namespace tyld::ascii
