#pragma once
// Colour indexes as the search dialogs' colour combo boxes hold them: the items list the
// highlight colours in table order, and index c (1..4) owns highlight bit c - 1.
#include <cstdint>
#include <string_view>

namespace tyld::search {

inline constexpr int kColourIndexCount = 5;

inline constexpr std::string_view HighlightColourName[kColourIndexCount] = {
    "通常色", "赤", "紫", "水色", "青"};

// The highlight bit owned by colour index 1..4; 0 for any other index (not searched).
constexpr std::uint8_t HighlightBit(int colourIndex) {
  return colourIndex >= 1 && colourIndex <= 4 ? static_cast<std::uint8_t>(1u << (colourIndex - 1))
                                              : 0;
}

// A stored colour index as a combo box selection: anything outside 0..4 shows 0.
constexpr int ComboColourIndex(std::int32_t stored) {
  return stored >= 0 && stored < kColourIndexCount ? stored : 0;
}

}  // namespace tyld::search
