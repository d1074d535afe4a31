#pragma once
// The ASCII page grid: characters per line, lines per page and the margins in grid units,
// always computed from the printer so the screen shows what will be printed; and where
// every element of a sheet stands on a target of given character width and line pitch.
#include <cstdint>

#include "platform/canvas.h"
#include "pages/printable_area.h"
#include "platform/font_description.h"
#include "settings/page_format.h"

namespace tyld::ascii {

// The sheet grid of a page format on a printer: the printable area and the margins, gap and
// maxima in grid units.
struct AsciiLayout {
  pages::PrintableArea area;
  int topLines = 0;
  int bottomLines = 0;    // with two lines for the footer when it shows anything
  int leftChars = 0;
  int gapChars = 0;       // between columns
  int maxCharsPerLine = 1;
  int maxLinesPerPage = 1;
};

// The printer font of the ASCII screen: the stored description at the point size for the
// printer's vertical resolution.
platform::FontDescription PrinterFontFor(const platform::FontDescription& asciiFont, int pointTenths,
                                 int dpiY);

// Pure layout from the printer's metrics and the printer font's metrics. Never divides by
// zero and always leaves at least one line and one character.
AsciiLayout ComputeAsciiLayout(const platform::DeviceMetrics& printer,
                               const platform::FontMetrics& font,
                               const settings::UnprintMargins& unprint, settings::Orientation orientation,
                               const settings::AsciiPageFormat& fmt);

// The same, measuring the printer font on the printer's canvas (the font stays selected).
AsciiLayout ComputeAsciiLayout(platform::Canvas& printer, const platform::FontDescription& asciiFont,
                               int pointTenths, const settings::UnprintMargins& unprint,
                               settings::Orientation orientation, const settings::AsciiPageFormat& fmt);

// The text always fills the grid: characters per line and lines per page become the
// layout's maxima (the settings file carries both).
void ApplyLayoutLimits(const AsciiLayout& layout, settings::AsciiPageFormat& fmt);

// Columns per sheet the format asks for (0 counts as 1), within what the grid can hold.
int ColumnsPerSheet(const settings::AsciiPageFormat& fmt, const AsciiLayout& layout);

// Sheets for the column pages; currentSheet is pulled back to the last sheet (-1: none).
int UpdateSheetCount(int columnPageCount, const settings::AsciiPageFormat& fmt, const AsciiLayout& layout,
                     int& currentSheet);

// True when any footer item is on, the row range (line-number item) included.
bool HasFooter(const settings::AsciiPageFormat& fmt);

// Positions of one sheet's elements in device units of the target. cw and lh are the
// target's character width and line pitch, sw the footer font's average width, x0/y0 the
// sheet origin in characters and lines; on screen the non-printable margins are added.
class SheetGeometry {
 public:
  SheetGeometry(const settings::AsciiPageFormat& fmt, const AsciiLayout& layout, double cw, double lh,
                double sw, double x0, double y0, bool screen);

  [[nodiscard]] int Columns() const { return columns_; }
  [[nodiscard]] int TextX() const;
  [[nodiscard]] int TextY() const;
  [[nodiscard]] int ColumnLeft(int column) const;
  [[nodiscard]] int ColumnWidth() const;   // AscCharsPerLine + 1 characters
  [[nodiscard]] int ColumnHeight() const;  // AscLinesPerPage lines
  [[nodiscard]] int RowY(int row) const;
  [[nodiscard]] int LineNumberX() const;
  // Paper (with the non-printable margins) and printable area; screen only.
  struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
  };
  [[nodiscard]] Box Paper() const;
  [[nodiscard]] Box Printable() const;

  [[nodiscard]] int FooterY() const;
  [[nodiscard]] int PageNumberX(int textLength) const;
  // pageNumberLength: length of the formatted page-number text; it places the range beside
  // the page number whenever that item is on.
  [[nodiscard]] int LineRangeX(int textLength, int pageNumberLength) const;
  [[nodiscard]] int FileNameX(int textLength) const;
  [[nodiscard]] int DateX() const;

 private:
  [[nodiscard]] double PageNumberCentre() const;

  settings::AsciiPageFormat fmt_;
  AsciiLayout layout_;
  double cw_, lh_, sw_, x0_, y0_;
  double uL_ = 0, uT_ = 0;
  int columns_ = 1;
};

// Rows of a sheet for the line-range footer item, 1-based, last clipped to totalRows.
struct SheetRowRange {
  std::int64_t first = 0;
  std::int64_t last = 0;
};
SheetRowRange SheetRows(const settings::AsciiPageFormat& fmt, const AsciiLayout& layout, int sheet,
                        int totalRows);

}  // namespace tyld::ascii
