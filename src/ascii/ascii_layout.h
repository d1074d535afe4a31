#pragma once
// The ASCII page grid: characters per line, lines per page and the margins in grid units,
// always computed from the printer so the screen shows what will be printed; and where
// every element of a sheet stands on a target of given character width and line pitch.
#include <cstdint>

#include "platform/canvas.h"
#include "platform/font_description.h"
#include "settings/page_format.h"

namespace tyld::ascii {

// What the layout used, besides the results it writes into the page format.
struct AsciiLayout {
  int width = 0;       // printable width after the orientation swap, pixels
  int height = 0;      // printable height, pixels
  int charWidth = 1;   // printer character width (at least 1)
  int linePitch = 1;   // printer line pitch (at least 1)
  int columns = 1;     // columns per sheet in use
};

// The printer font of the ASCII screen: the stored description at the point size for the
// printer's vertical resolution.
platform::FontDescription PrinterFontFor(const platform::FontDescription& asciiFont, int pointTenths,
                                 int dpiY);

// Pure layout from the printer's metrics and the printer font's metrics. Writes the
// computed fields of fmt (AscCharsPerLine and AscLinesPerPage become the maxima). Never
// divides by zero and always leaves at least one line and one character.
AsciiLayout ComputeAsciiLayout(const platform::DeviceMetrics& printer,
                               const platform::FontMetrics& font,
                               const settings::UnprintMargins& unprint, int ascOrientation,
                               settings::AsciiPageFormat& fmt);

// The same, measuring the printer font on the printer's canvas (the font stays selected).
AsciiLayout ComputeAsciiLayout(platform::Canvas& printer, const platform::FontDescription& asciiFont,
                               int pointTenths, const settings::UnprintMargins& unprint,
                               int ascOrientation, settings::AsciiPageFormat& fmt);

// Columns per sheet the format asks for (0 counts as 1), within what the grid can hold.
int ColumnsPerSheet(const settings::AsciiPageFormat& fmt);

// Sheets for the column pages; currentSheet is pulled back to the last sheet (-1: none).
int UpdateSheetCount(int columnPageCount, const settings::AsciiPageFormat& fmt,
                     int& currentSheet);

// True when any footer item is on (the line-number item counts here, not for the margin).
bool HasFooter(const settings::AsciiPageFormat& fmt);

// Positions of one sheet's elements in device units of the target. cw and lh are the
// target's character width and line pitch, sw the footer font's average width, x0/y0 the
// sheet origin in characters and lines; on screen the non-printable margins are added.
class SheetGeometry {
 public:
  SheetGeometry(const settings::AsciiPageFormat& fmt, double cw, double lh, double sw,
                double x0, double y0, bool screen);

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
  double cw_, lh_, sw_, x0_, y0_;
  double uL_ = 0, uT_ = 0;
  int columns_ = 1;
};

// Rows of a sheet for the line-range footer item, 1-based, last clipped to totalRows.
struct SheetRowRange {
  std::int64_t first = 0;
  std::int64_t last = 0;
};
SheetRowRange SheetRows(const settings::AsciiPageFormat& fmt, int sheet, int totalRows);

}  // namespace tyld::ascii
