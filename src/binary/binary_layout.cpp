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

BinaryLayout ComputeBinaryLayout(const LayoutInput& in, const settings::BinaryPageFormat& fmt) {
  BinaryLayout out;
  out.area = pages::ComputePrintableArea(in.caps, in.font, fmt.BinLineSpacing, in.orientation, in.unprint);
  const pages::PrintableArea& a = out.area;

  out.topLines = a.MarginLines(fmt.BinMarginTop);
  std::int64_t bottom = a.MarginLines(fmt.BinMarginBottom);
  // Every footer item needs the footer's lines, the file name as much as the others.
  if (fmt.BinPageNoMode != 0 || fmt.BinDateMode != 0 || fmt.BinFileNameMode != 0) bottom += 3;
  out.bottomLines = Saturate(bottom);
  out.textLines = Saturate(std::int64_t{a.linesDown} - out.bottomLines - out.topLines);

  // A block takes 16 lines and a gap; a gap that swallows a whole block leaves one block.
  out.blockGapLines = a.linesPerMm * fmt.BinBlockGap;
  const double perBlock = out.blockGapLines + kBlockLines;
  std::int64_t blocks = 1;
  if (perBlock > 0) blocks = ToDevice((out.textLines - kHeadingLines + out.blockGapLines) / perBlock);
  out.maxBlocksPerColumn = CountOf(blocks);

  out.leftChars = a.MarginChars(fmt.BinMarginLeft);
  out.gapChars = a.MarginChars(fmt.BinColumnGap);
  const std::int64_t perColumn = std::int64_t{out.gapChars} + kColumnChars;
  std::int64_t columns = 1;
  if (perColumn > 0) columns = (std::int64_t{out.gapChars} - out.leftChars + a.charsAcross) / perColumn;
  out.maxColumns = CountOf(columns);
  return out;
}

BinaryLayout ComputeBinaryLayout(platform::Canvas& printer, const platform::FontDescription& binFont,
                                 int pointTenths, settings::Orientation orientation,
                                 const settings::UnprintMargins& unprint, const settings::BinaryPageFormat& fmt) {
  LayoutInput in;
  in.caps = printer.Device();
  printer.SelectFont(platform::FontForDevice(binFont, pointTenths, in.caps.dpiY));
  in.font = printer.Metrics();
  in.orientation = orientation;
  in.unprint = unprint;
  return ComputeBinaryLayout(in, fmt);
}

void ApplyLayoutLimits(const BinaryLayout& layout, settings::BinaryPageFormat& fmt) {
  fmt.BinBlocksPerColumn = layout.maxBlocksPerColumn;
  if (fmt.BinColumns > layout.maxColumns) fmt.BinColumns = layout.maxColumns;
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
