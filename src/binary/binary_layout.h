#pragma once
// The hex dump's grid: how the printer's printable area, the binary font and the binary
// page format turn into characters across, lines down, blocks per column and columns per
// page, and how byte offsets map to pages. Always computed from the printer, so the screen
// shows what will be printed.
#include <cstdint>

#include "platform/canvas.h"
#include "pages/printable_area.h"
#include "platform/font_description.h"
#include "settings/page_format.h"

namespace tyld::binary {

// Fixed dump units.
inline constexpr int kLineBytes = 16;
inline constexpr int kBlockLines = 16;
inline constexpr int kBlockBytes = kLineBytes * kBlockLines;  // 256
inline constexpr int kColumnChars = 78;
inline constexpr int kHeadingLines = 3;  // range line, blank, column header

// Upper bound for columns and blocks per column: more blocks than data of 2^31 - 1 bytes
// can hold change nothing, and the bound keeps every product within int64.
inline constexpr std::int32_t kMaxBlocks = 1 << 23;

// Everything the layout needs from the printer.
struct LayoutInput {
  platform::DeviceMetrics caps;      // printable size and resolution of the printer
  platform::FontMetrics font;        // binary font on the printer
  settings::Orientation orientation = settings::Orientation::Landscape;
  settings::UnprintMargins unprint;  // non-printable margins, mm
};

// The dump grid of a page format on a printer: the printable area, the margins and gaps in
// grid units, and how many blocks and columns fit.
struct BinaryLayout {
  pages::PrintableArea area;
  std::int32_t topLines = 0;
  std::int32_t bottomLines = 0;  // with three lines for the footer when it shows anything
  std::int32_t leftChars = 0;
  std::int32_t gapChars = 0;     // between columns
  std::int32_t textLines = 0;    // lines between the top and bottom margins
  double blockGapLines = 0;
  std::int32_t maxBlocksPerColumn = 1;
  std::int32_t maxColumns = 1;
};

BinaryLayout ComputeBinaryLayout(const LayoutInput& in, const settings::BinaryPageFormat& fmt);
// The same, measuring the binary font on the printer canvas (the font stays selected).
BinaryLayout ComputeBinaryLayout(platform::Canvas& printer, const platform::FontDescription& binFont,
                                 int pointTenths, settings::Orientation orientation,
                                 const settings::UnprintMargins& unprint, const settings::BinaryPageFormat& fmt);

// A page holds as many blocks per column as fit, and no more columns than fit (the
// settings file carries both values so bounded).
void ApplyLayoutLimits(const BinaryLayout& layout, settings::BinaryPageFormat& fmt);

// Columns and blocks per column as paging and drawing use them: a stored 0 (or less)
// counts as 1, and both are capped at kMaxBlocks.
std::int32_t EffectiveColumns(const settings::BinaryPageFormat& fmt);
std::int32_t EffectiveBlocksPerColumn(const settings::BinaryPageFormat& fmt);

// Page arithmetic of a data length under a page format (int64 throughout).
class DumpPaging {
 public:
  DumpPaging(std::int64_t length, const settings::BinaryPageFormat& fmt);

  [[nodiscard]] std::int64_t Length() const { return length_; }
  [[nodiscard]] std::int32_t Columns() const { return columns_; }
  [[nodiscard]] std::int32_t BlocksPerColumn() const { return blocks_; }
  [[nodiscard]] std::int64_t BlocksPerPage() const;
  [[nodiscard]] std::int64_t BytesPerPage() const;
  // 0 when there is no data.
  [[nodiscard]] std::int32_t PageCount() const;
  [[nodiscard]] std::int64_t FirstBlock(std::int64_t page) const;
  // Offsets a page covers: n * P to min((n + 1) * P, L) - 1 (first > last for an empty page).
  [[nodiscard]] std::int64_t FirstOffset(std::int64_t page) const;
  [[nodiscard]] std::int64_t LastOffset(std::int64_t page) const;
  // Page holding a 1-based byte number u (0 gives page 0).
  [[nodiscard]] std::int64_t PageOfPosition(std::int64_t u) const;

 private:
  std::int64_t length_;
  std::int32_t columns_;
  std::int32_t blocks_;
};

// Page status of the binary view.
struct BinaryViewState {
  std::int32_t BinPageCount = 0;
  std::int32_t BinCurrentPage = 0;
  std::int32_t BinPageStride = 80;
  std::int64_t PageFirstOffset = 0;
  std::int64_t PageLastOffset = 0;
};

// Page count for the data length; a current page beyond it goes back to 0.
void UpdateBinaryPageCount(std::int64_t length, const settings::BinaryPageFormat& fmt,
                           BinaryViewState& view);

std::int64_t PageOfPosition(std::int64_t u, const settings::BinaryPageFormat& fmt);

}  // namespace tyld::binary
