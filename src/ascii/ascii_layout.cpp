#include "ascii/ascii_layout.h"

#include <algorithm>
#include <limits>

#include "platform/page_units.h"

namespace tyld::ascii {
namespace {

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
                               const settings::UnprintMargins& unprint, settings::Orientation orientation,
                               const settings::AsciiPageFormat& fmt) {
  AsciiLayout out;
  out.area = pages::ComputePrintableArea(printer, font, fmt.AscLineSpacing, orientation, unprint);
  const pages::PrintableArea& a = out.area;

  out.topLines = a.MarginLines(fmt.AscMarginTop);
  out.bottomLines = a.MarginLines(fmt.AscMarginBottom);
  // The row range is printed in the footer too: it needs the footer's lines as much.
  if (HasFooter(fmt))
    out.bottomLines = SaturateInt(static_cast<long long>(out.bottomLines) + 2);

  const long long lines = static_cast<long long>(a.linesDown) - out.topLines - out.bottomLines;
  out.maxLinesPerPage = std::max(1, SaturateInt(lines));

  out.leftChars = a.MarginChars(fmt.AscMarginLeft);
  out.gapChars = a.MarginChars(fmt.AscColumnGap);

  const int k = ColumnsPerSheet(fmt, out);
  long long q = (static_cast<long long>(a.charsAcross) - static_cast<long long>(out.gapChars) * (k - 1) -
                 out.leftChars) /
                k;
  q = q == 2 ? 1 : q - 2;
  out.maxCharsPerLine = std::max(1, SaturateInt(q));
  return out;
}

AsciiLayout ComputeAsciiLayout(platform::Canvas& printer, const platform::FontDescription& asciiFont,
                               int pointTenths, const settings::UnprintMargins& unprint,
                               settings::Orientation orientation, const settings::AsciiPageFormat& fmt) {
  const platform::DeviceMetrics caps = printer.Device();
  platform::FontMetrics metrics;  // zero when no font can be made: the pure layout copes
  if (printer.SelectFont(PrinterFontFor(asciiFont, pointTenths, caps.dpiY)))
    metrics = printer.Metrics();
  return ComputeAsciiLayout(caps, metrics, unprint, orientation, fmt);
}

void ApplyLayoutLimits(const AsciiLayout& layout, settings::AsciiPageFormat& fmt) {
  fmt.AscCharsPerLine = layout.maxCharsPerLine;
  fmt.AscLinesPerPage = layout.maxLinesPerPage;
}

int ColumnsPerSheet(const settings::AsciiPageFormat& fmt, const AsciiLayout& layout) {
  // More columns than characters across cannot stand on the sheet.
  return std::clamp(fmt.AscColumns, 1, std::max(1, layout.area.charsAcross));
}

int UpdateSheetCount(int columnPageCount, const settings::AsciiPageFormat& fmt, const AsciiLayout& layout,
                     int& currentSheet) {
  const int k = ColumnsPerSheet(fmt, layout);
  const int sheets = columnPageCount <= 0 ? 0 : (columnPageCount - 1) / k + 1;
  if (currentSheet >= sheets) currentSheet = sheets - 1;
  return sheets;
}

bool HasFooter(const settings::AsciiPageFormat& fmt) {
  return fmt.AscDateMode != 0 || fmt.AscPageNoMode != 0 || fmt.AscLineNoMode != 0 ||
         fmt.AscFileNameMode != 0;
}

SheetRowRange SheetRows(const settings::AsciiPageFormat& fmt, const AsciiLayout& layout, int sheet,
                        int totalRows) {
  const std::int64_t perSheet =
      static_cast<std::int64_t>(std::max(1, fmt.AscLinesPerPage)) * ColumnsPerSheet(fmt, layout);
  SheetRowRange r;
  r.first = sheet * perSheet + 1;
  r.last = std::min<std::int64_t>((sheet + 1) * perSheet, totalRows);
  return r;
}

SheetGeometry::SheetGeometry(const settings::AsciiPageFormat& fmt, const AsciiLayout& layout, double cw,
                             double lh, double sw, double x0, double y0, bool screen)
    : fmt_(fmt), layout_(layout), cw_(cw), lh_(lh), sw_(sw), x0_(x0), y0_(y0),
      columns_(ColumnsPerSheet(fmt, layout)) {
  if (screen) {
    uL_ = layout.area.unprintLeft * cw;
    uT_ = layout.area.unprintTop * lh;
  }
}

int SheetGeometry::TextX() const { return SaturateInt(uL_ + (layout_.leftChars + x0_) * cw_); }
int SheetGeometry::TextY() const { return SaturateInt(uT_ + (layout_.topLines + y0_) * lh_); }

int SheetGeometry::ColumnLeft(int column) const {
  return SaturateInt(uL_ + (layout_.leftChars + x0_) * cw_ +
                     static_cast<double>(column) * (fmt_.AscCharsPerLine + layout_.gapChars) * cw_);
}

int SheetGeometry::ColumnWidth() const { return SaturateInt((fmt_.AscCharsPerLine + 1.0) * cw_); }
int SheetGeometry::ColumnHeight() const { return SaturateInt(fmt_.AscLinesPerPage * lh_); }

int SheetGeometry::RowY(int row) const {
  return SaturateInt(uT_ + (layout_.topLines + y0_) * lh_ + row * lh_);
}

int SheetGeometry::LineNumberX() const {
  // Nine characters left of the text, but never left of the printable area.
  return SaturateInt(uL_ + (std::max(layout_.leftChars - 9.0, 0.0) + x0_) * cw_);
}

SheetGeometry::Box SheetGeometry::Paper() const {
  const double left = x0_ * cw_;
  const double top = y0_ * lh_;
  const double width = uL_ + layout_.area.charsAcrossExact * cw_ + layout_.area.unprintRight * cw_;
  const double height = uT_ + layout_.area.linesDownExact * lh_ + layout_.area.unprintBottom * lh_;
  return {SaturateInt(left), SaturateInt(top), SaturateInt(left + width), SaturateInt(top + height)};
}

SheetGeometry::Box SheetGeometry::Printable() const {
  const double left = uL_ + x0_ * cw_;
  const double top = uT_ + y0_ * lh_;
  return {SaturateInt(left), SaturateInt(top), SaturateInt(left + layout_.area.charsAcrossExact * cw_),
          SaturateInt(top + layout_.area.linesDownExact * lh_)};
}

int SheetGeometry::FooterY() const {
  return SaturateInt(uT_ + y0_ * lh_ + layout_.area.linesDownExact * lh_ -
                     lh_ * (layout_.bottomLines - 1));
}

double SheetGeometry::PageNumberCentre() const {
  if (fmt_.AscPageNoMode == 1) return uL_ + x0_ * cw_ + layout_.area.charsAcrossExact * cw_ * 0.5;
  const long long span = static_cast<long long>(columns_) * fmt_.AscCharsPerLine +
                         static_cast<long long>(layout_.gapChars) * (columns_ - 1);
  return uL_ + (x0_ + layout_.leftChars + static_cast<double>(span / 2)) * cw_;
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
  return SaturateInt(uL_ + x0_ * cw_ + layout_.area.charsAcrossExact * cw_ - sw_ * (textLength + 4) -
                     layout_.area.unprintRight * cw_);
}

int SheetGeometry::DateX() const { return SaturateInt(uL_ + (layout_.leftChars + x0_) * cw_); }

}  // namespace tyld::ascii
