#pragma once
// One block of the data copied for drawing, with two bytes of look-back and one of
// look-ahead, so a character pair or CR+LF crossing the block's end is seen.
#include <array>
#include <cstdint>
#include <span>

namespace tyld::binary {

struct BlockWindow {
  static constexpr int kBefore = 2;
  static constexpr int kSize = kBefore + 256 + 1;
  std::array<std::uint8_t, kSize> data{};
  std::array<std::uint8_t, kSize> marks{};
  // Byte i of the block (-2..256); 0 beyond the data.
  [[nodiscard]] std::uint8_t At(int i) const { return data[static_cast<std::size_t>(i + kBefore)]; }
  [[nodiscard]] std::uint8_t MarkAt(int i) const {
    return marks[static_cast<std::size_t>(i + kBefore)];
  }
};

// Fills the window for a block; bytes outside the data (and marks beyond the marks span)
// are 0. Returns 1 when the whole block and its look-ahead byte lie inside the data,
// else 0 (last, possibly partial, block or a block past the end).
int LoadBlockWindow(std::span<const std::uint8_t> data, std::span<const std::uint8_t> marks,
                    std::int64_t block, BlockWindow& window);

}  // namespace tyld::binary
