#pragma once
// Whole-buffer operations on highlight marks, written so the compiler vectorises them.
#include <cstdint>
#include <span>

namespace tyld::search {

inline void ClearMarkBits(std::span<std::uint8_t> marks, std::uint8_t bits) {
  const auto keep = static_cast<std::uint8_t>(~bits);
  for (auto& m : marks) m &= keep;
}

}  // namespace tyld::search
