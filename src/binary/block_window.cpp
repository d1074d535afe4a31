#include "binary/block_window.h"

#include <algorithm>
#include <cstring>

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

// Copies a window that lies wholly inside src; false (nothing copied) otherwise.
bool CopyWhole(std::span<const std::uint8_t> src, std::int64_t from, std::uint8_t* dst) {
  if (from < 0 || from + BlockWindow::kSize > static_cast<std::int64_t>(src.size())) return false;
  std::memcpy(dst, src.data() + from, BlockWindow::kSize);
  return true;
}

}  // namespace

int LoadBlockWindow(std::span<const std::uint8_t> data, std::span<const std::uint8_t> marks,
                    std::int64_t block, BlockWindow& window) {
  const auto length = static_cast<std::int64_t>(data.size());
  if (block < 0 || block >= length / kBlockBytes + 1) {
    window.data.fill(0);
    window.marks.fill(0);
    return 0;
  }
  const std::int64_t start = block * kBlockBytes;
  const std::int64_t from = start - BlockWindow::kBefore;
  // Marks never reach past the data, even when the marks buffer is longer.
  const std::span<const std::uint8_t> ownMarks = marks.first(std::min(marks.size(), data.size()));
  // Inside the data (nearly every block) the window is one copy each, with no clearing.
  if (CopyWhole(data, from, window.data.data())) {
    if (!CopyWhole(ownMarks, from, window.marks.data())) {
      window.marks.fill(0);
      CopyClipped(ownMarks, from, BlockWindow::kSize, window.marks.data());
    }
    return start + kBlockBytes < length ? 1 : 0;
  }
  window.data.fill(0);
  window.marks.fill(0);
  if (start >= length) return 0;
  CopyClipped(data, from, BlockWindow::kSize, window.data.data());
  CopyClipped(ownMarks, from, BlockWindow::kSize, window.marks.data());
  return start + kBlockBytes < length ? 1 : 0;
}

}  // namespace tyld::binary
