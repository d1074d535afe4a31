#include "binary/block_window.h"

#include <algorithm>

#include "binary/binary_layout.h"

namespace tyld::binary {
namespace {

// Copies src[from, from + count) into dst at index at, clipped to the source; the rest
// of dst keeps its zeros.
void CopyClipped(std::span<const std::uint8_t> src, std::int64_t from, std::int64_t count,
                 std::uint8_t* dst) {
  const auto size = static_cast<std::int64_t>(src.size());
  const std::int64_t begin = std::max<std::int64_t>(from, 0);
  const std::int64_t end = std::min(from + count, size);
  if (begin >= end) return;
  std::copy(src.begin() + begin, src.begin() + end, dst + (begin - from));
}

}  // namespace

int LoadBlockWindow(std::span<const std::uint8_t> data, std::span<const std::uint8_t> marks,
                    std::int64_t block, BlockWindow& window) {
  window.data.fill(0);
  window.marks.fill(0);
  const auto length = static_cast<std::int64_t>(data.size());
  if (block < 0) return 0;
  const std::int64_t start = block * kBlockBytes;
  if (start >= length) return 0;
  const std::int64_t from = start - BlockWindow::kBefore;
  CopyClipped(data, from, BlockWindow::kSize, window.data.data());
  // Marks never reach past the data, even when the marks buffer is longer.
  CopyClipped(marks.first(std::min(marks.size(), data.size())), from, BlockWindow::kSize,
              window.marks.data());
  return start + kBlockBytes < length ? 1 : 0;
}

}  // namespace tyld::binary
