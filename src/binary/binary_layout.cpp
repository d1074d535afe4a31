#include "binary/binary_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "binary/page_geometry.h"
#include "platform/page_units.h"

namespace tyld::binary {
namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

std::int32_t Saturate(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, kIntMin, kIntMax));
}

// At least one, at most kMaxBlocks.
std::int32_t CountOf(std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 1, kMaxBlocks)); }

}  // namespace

std::int32_t LinePitch(std::int32_t charHeight, std::int32_t lineSpacing) {
  const std::int64_t ch = charHeight;
  const std::int64_t lh = ch + (lineSpacing * ch) / 10;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(lh, 1, kIntMax));
}

void ComputeBinaryLayout(const LayoutInput& in, settings::BinaryPageFormat& fmt) {
  std::int32_t w = std::max(in.caps.width, 0);
  std::int32_t h = std::max(in.caps.height, 0);
  if ((in.orientation == 2 && w < h) || (in.orientation != 2 && w > h)) std::swap(w, h);

  const std::int32_t cw = std::max(in.font.cellWidth, 1);
  const auto ch = static_cast<std::int32_t>(std::clamp<std::int64_t>(
      std::int64_t{in.font.height} + in.font.leading, 1, kIntMax));
  const std::int32_t lh = LinePitch(ch, fmt.BinLineSpacing);
  const double dpiX = in.caps.dpiX > 0 ? in.caps.dpiX : 1;
  const double dpiY = in.caps.dpiY > 0 ? in.caps.dpiY : 1;

  fmt.BinCharsAcrossExact = static_cast<double>(w) / cw;
  fmt.BinCharsAcross = w / cw;
  fmt.BinLinesDown = h / lh;
  fmt.BinLinesDownExact = static_cast<double>(h) / lh;

  const double cx = dpiX / 25.4 / cw;
  const double ly = dpiY / 25.4 / lh;
  fmt.BinUnprintTopLines = ly * in.unprint.top;
  fmt.BinUnprintBottomLines = ly * in.unprint.bottom;
  fmt.BinUnprintLeftChars = cx * in.unprint.left;
  fmt.BinUnprintRightChars = cx * in.unprint.right;

  fmt.BinTopLines = platform::RoundHalfDown(ly * fmt.BinMarginTop);
  std::int64_t bottom = platform::RoundHalfDown(ly * fmt.BinMarginBottom);
  if (fmt.BinPageNoMode != 0 || fmt.BinDateMode != 0) bottom += 3;
  fmt.BinBottomLines = Saturate(bottom);
  fmt.BinTextLines =
      Saturate(std::int64_t{fmt.BinLinesDown} - fmt.BinBottomLines - fmt.BinTopLines);

  // A block takes 16 lines and a gap; a gap that swallows a whole block leaves one block.
  fmt.BinBlockGapLines = ly * fmt.BinBlockGap;
  const double perBlock = fmt.BinBlockGapLines + kBlockLines;
  std::int64_t blocks = 1;
  if (perBlock > 0) {
    blocks = ToDevice((fmt.BinTextLines - kHeadingLines + fmt.BinBlockGapLines) / perBlock);
  }
  fmt.BinMaxBlocksPerColumn = CountOf(blocks);
  fmt.BinBlocksPerColumn = fmt.BinMaxBlocksPerColumn;

  fmt.BinLeftChars = platform::RoundHalfDown(cx * fmt.BinMarginLeft);
  fmt.BinGapChars = platform::RoundHalfDown(cx * fmt.BinColumnGap);
  const std::int64_t perColumn = std::int64_t{fmt.BinGapChars} + kColumnChars;
  std::int64_t columns = 1;
  if (perColumn > 0) {
    columns = (std::int64_t{fmt.BinGapChars} - fmt.BinLeftChars + fmt.BinCharsAcross) / perColumn;
  }
  fmt.BinMaxColumns = CountOf(columns);
  if (fmt.BinColumns > fmt.BinMaxColumns) fmt.BinColumns = fmt.BinMaxColumns;
}

void ComputeBinaryLayout(platform::Canvas& printer, const platform::FontDescription& binFont,
                         int pointTenths, std::int32_t orientation,
                         const settings::UnprintMargins& unprint,
                         settings::BinaryPageFormat& fmt) {
  LayoutInput in;
  in.caps = printer.Device();
  printer.SelectFont(platform::FontForDevice(binFont, pointTenths, in.caps.dpiY));
  in.font = printer.Metrics();
  in.orientation = orientation;
  in.unprint = unprint;
  ComputeBinaryLayout(in, fmt);
}

std::int32_t EffectiveColumns(const settings::BinaryPageFormat& fmt) {
  return CountOf(fmt.BinColumns);
}

std::int32_t EffectiveBlocksPerColumn(const settings::BinaryPageFormat& fmt) {
  return CountOf(fmt.BinBlocksPerColumn);
}

DumpPaging::DumpPaging(std::int64_t length, const settings::BinaryPageFormat& fmt)
    : length_(std::max<std::int64_t>(length, 0)),
      columns_(EffectiveColumns(fmt)),
      blocks_(EffectiveBlocksPerColumn(fmt)) {}

std::int64_t DumpPaging::BlocksPerPage() const { return std::int64_t{columns_} * blocks_; }

std::int64_t DumpPaging::BytesPerPage() const { return BlocksPerPage() * kBlockBytes; }

std::int32_t DumpPaging::PageCount() const {
  if (length_ == 0) return 0;
  return Saturate((length_ - 1) / kBlockBytes / columns_ / blocks_ + 1);
}

std::int64_t DumpPaging::FirstBlock(std::int64_t page) const {
  // Every page past the data's end is as empty as the first one past it; clamping there
  // keeps the products within int64 for any page index.
  const std::int64_t blocks = std::max<std::int64_t>(length_, std::int64_t{1} << 31) / kBlockBytes;
  const std::int64_t limit = blocks / BlocksPerPage() + 1;
  return std::clamp<std::int64_t>(page, 0, limit) * BlocksPerPage();
}

std::int64_t DumpPaging::FirstOffset(std::int64_t page) const {
  return FirstBlock(page) * kBlockBytes;
}

std::int64_t DumpPaging::LastOffset(std::int64_t page) const {
  return std::min(FirstOffset(page) + BytesPerPage(), length_) - 1;
}

std::int64_t DumpPaging::PageOfPosition(std::int64_t u) const {
  // C division truncates toward zero, so u = 0 gives page 0.
  return ((u - 1) / kBlockBytes) / columns_ / blocks_;
}

void UpdateBinaryPageCount(std::int64_t length, const settings::BinaryPageFormat& fmt,
                           BinaryViewState& view) {
  view.BinPageCount = DumpPaging(length, fmt).PageCount();
  if (view.BinCurrentPage >= view.BinPageCount || view.BinCurrentPage < 0) view.BinCurrentPage = 0;
}

std::int64_t PageOfPosition(std::int64_t u, const settings::BinaryPageFormat& fmt) {
  return DumpPaging(0, fmt).PageOfPosition(u);
}

}  // namespace tyld::binary
