#pragma once
// Where every element of a dump page stands on a target, in device units (real numbers,
// truncated when drawn). Screen and printer use the same geometry with their own character
// width and line pitch; on screen every position also gets the non-printable margins.
#include <cstdint>

#include "pages/printable_area.h"
#include "settings/page_format.h"

namespace tyld::binary {

struct BinaryLayout;

// A device coordinate from a real position: truncated toward zero, saturated to int.
int ToDevice(double v);

class PageGeometry {
 public:
  // cw, lh: the target's character width and line pitch; x0 (characters), y0 (lines): the
  // page origin; screen adds the non-printable left/top margins to every position.
  // addressExtra: columns the address field needs beyond six; the bytes and characters
  // move right by as many.
  PageGeometry(const settings::BinaryPageFormat& fmt, const BinaryLayout& layout, double cw, double lh,
               double x0, double y0, bool screen, int addressExtra = 0);

  [[nodiscard]] double CharWidth() const { return cw_; }
  [[nodiscard]] double LinePitch() const { return lh_; }
  // The page inside the non-printable margins.
  [[nodiscard]] double PrintableWidth() const;
  [[nodiscard]] double PrintableHeight() const;
  // The non-printable margins added on the screen (0 on the printer).
  [[nodiscard]] double UnprintLeft() const { return uL_; }
  [[nodiscard]] double UnprintTop() const { return uT_; }

  // Where the text area starts: printable area plus the page margins.
  [[nodiscard]] double TextX() const;
  [[nodiscard]] double TextY() const;
  [[nodiscard]] double ColumnX(std::int32_t c) const;
  [[nodiscard]] double ColumnFrameWidth() const;   // 80 characters + 1
  [[nodiscard]] double ColumnFrameHeight() const;  // the text lines
  [[nodiscard]] double RangeX() const;
  [[nodiscard]] double RangeY() const;
  [[nodiscard]] double HeaderY() const;
  [[nodiscard]] double AddressX(std::int32_t c) const;
  [[nodiscard]] double ByteX(std::int32_t c, int s) const;  // also the "+%X" labels
  [[nodiscard]] double CellX(std::int32_t c, int cell) const;  // also the header digits
  [[nodiscard]] double BlockY(std::int32_t k) const;
  [[nodiscard]] double LineY(std::int32_t k, int r) const;

  // Footer: baseline row, page number centre (K columns), file name and date positions.
  [[nodiscard]] double FooterY() const;
  [[nodiscard]] double PageNumberCentreX(std::int32_t columns) const;
  [[nodiscard]] double FileNameX(int textLength, double sw) const;
  [[nodiscard]] double DateX() const;

  // The sheet on screen: from (SheetLeft, SheetTop) over the non-printable margins and
  // the printable area.
  [[nodiscard]] double SheetLeft() const;
  [[nodiscard]] double SheetTop() const;
  [[nodiscard]] double SheetRight() const;
  [[nodiscard]] double SheetBottom() const;

 private:
  const settings::BinaryPageFormat& fmt_;
  const BinaryLayout& layout_;
  double cw_, lh_, x0_, y0_, uL_, uT_;
  int addressExtra_;
};

}  // namespace tyld::binary
