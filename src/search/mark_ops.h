#pragma once
// Whole-buffer operations on highlight marks. They run over every byte of the data (up
// to gigabytes), so they work sixteen bytes at a time.
#include <array>
#include <cstdint>
#include <span>

namespace tyld::search {

// Clears `bits` in every mark.
void ClearMarkBits(std::span<std::uint8_t> marks, std::uint8_t bits);

// marks[k] = OR of bits[i] over the entries i with values[i] == data[k], for k below
// min(data, marks); an entry with bit 0 marks nothing. Marks past the data are cleared.
void SetValueMarks(std::span<const std::uint8_t> data, std::span<std::uint8_t> marks,
                   const std::array<std::uint8_t, 4>& values, const std::array<std::uint8_t, 4>& bits);

}  // namespace tyld::search
