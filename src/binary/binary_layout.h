#pragma once
// The hex dump's grid: how the printer's printable area, the binary font and the binary
// page format turn into characters across, lines down, blocks per column and columns per
// page, and how byte offsets map to pages. Always computed from the printer, so the screen
// shows what will be printed.
#include <cstdint>

#include "platform/canvas.h"
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
  platform::DeviceMetrics caps;         // HORZRES, VERTRES, LOGPIXELSX/Y of the printer
  platform::FontMetrics font;        // binary font on the printer
  std::int32_t orientation = 2;      // 1 portrait, 2 landscape
  settings::UnprintMargins unprint;  // non-printable margins, mm
};

// Line pitch from a font's cell height and the line spacing (tenths of the height); never
// below 1 so nothing divides by it.
std::int32_t LinePitch(std::int32_t charHeight, std::int32_t lineSpacing);

// Computes every layout result into the computed fields of fmt, sets BinBlocksPerColumn to
// BinMaxBlocksPerColumn and lowers BinColumns to BinMaxColumns when it exceeds it.
void ComputeBinaryLayout(const LayoutInput& in, settings::BinaryPageFormat& fmt);
// The same, measuring the binary font on the printer canvas (the font stays selected).
void ComputeBinaryLayout(platform::Canvas& printer, const platform::FontDescription& binFont,
                         int pointTenths, std::int32_t orientation,
                         const settings::UnprintMargins& unprint,
                         settings::BinaryPageFormat& fmt);

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
