#include "binary/page_geometry.h"

#include <cmath>
#include <limits>

#include "binary/binary_layout.h"

namespace tyld::binary {

int ToDevice(double v) {
  constexpr double kMax = std::numeric_limits<int>::max();
  constexpr double kMin = std::numeric_limits<int>::min();
  if (std::isnan(v)) return 0;
  if (v >= kMax) return std::numeric_limits<int>::max();
  if (v <= kMin) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

PageGeometry::PageGeometry(const settings::BinaryPageFormat& fmt, const BinaryLayout& layout, double cw,
                           double lh, double x0, double y0, bool screen, int addressExtra)
    : fmt_(fmt),
      layout_(layout),
      cw_(cw),
      lh_(lh),
      x0_(x0),
      y0_(y0),
      uL_(screen ? layout.area.unprintLeft * cw : 0),
      uT_(screen ? layout.area.unprintTop * lh : 0),
      addressExtra_(addressExtra) {}

double PageGeometry::PrintableWidth() const { return layout_.area.charsAcrossExact * cw_; }
double PageGeometry::PrintableHeight() const { return layout_.area.linesDownExact * lh_; }

double PageGeometry::TextX() const { return (layout_.leftChars + x0_) * cw_ + uL_; }
double PageGeometry::TextY() const { return (layout_.topLines + y0_) * lh_ + uT_; }

double PageGeometry::ColumnX(std::int32_t c) const {
  return TextX() + static_cast<double>(c) * (static_cast<double>(layout_.gapChars) + kColumnChars) * cw_;
}
double PageGeometry::ColumnFrameWidth() const { return (fmt_.BinCharsPerLine + 1.0) * cw_; }
double PageGeometry::ColumnFrameHeight() const { return layout_.textLines * lh_; }

double PageGeometry::RangeX() const { return TextX() + cw_; }
double PageGeometry::RangeY() const { return TextY(); }
double PageGeometry::HeaderY() const { return TextY() + 2 * lh_; }
double PageGeometry::AddressX(std::int32_t c) const { return ColumnX(c) + cw_; }

double PageGeometry::ByteX(std::int32_t c, int s) const {
  return ColumnX(c) + (9 + addressExtra_ + 3 * s + (s > 7 ? 1 : 0)) * cw_;
}

double PageGeometry::CellX(std::int32_t c, int cell) const {
  return ColumnX(c) + (59 + addressExtra_) * cw_ + cell * 1.2 * cw_;
}

double PageGeometry::BlockY(std::int32_t k) const {
  return TextY() + 0.5 * lh_ + k * (kBlockLines + layout_.blockGapLines) * lh_;
}
double PageGeometry::LineY(std::int32_t k, int r) const { return BlockY(k) + (r + 3) * lh_; }

double PageGeometry::FooterY() const {
  return y0_ * lh_ + PrintableHeight() - (layout_.bottomLines - 1.0) * lh_ + uT_;
}

double PageGeometry::PageNumberCentreX(std::int32_t columns) const {
  if (fmt_.BinPageNoMode == 1) return x0_ * cw_ + PrintableWidth() * 0.5 + uL_;
  const std::int64_t k = columns;
  const std::int64_t width = std::int64_t{fmt_.BinCharsPerLine} * k + std::int64_t{layout_.gapChars} * (k - 1);
  return (x0_ + layout_.leftChars + static_cast<double>(width / 2)) * cw_ + uL_;
}

double PageGeometry::FileNameX(int textLength, double sw) const {
  return x0_ * cw_ + PrintableWidth() - (textLength + 4) * sw -
         layout_.area.unprintRight * cw_ + uL_;
}

double PageGeometry::DateX() const { return (layout_.leftChars + x0_) * cw_ + uL_; }

double PageGeometry::SheetLeft() const { return x0_ * cw_; }
double PageGeometry::SheetTop() const { return y0_ * lh_; }
double PageGeometry::SheetRight() const {
  return SheetLeft() + uL_ + PrintableWidth() + layout_.area.unprintRight * cw_;
}
double PageGeometry::SheetBottom() const {
  return SheetTop() + uT_ + PrintableHeight() + layout_.area.unprintBottom * lh_;
}

}  // namespace tyld::binary
