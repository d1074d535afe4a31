#pragma once
// Search highlight colours shared by both screens. Index 0 is the normal colour; colour
// index c (1 to 4) owns mark bit c - 1 of a highlight mark byte.
#include <array>
#include <cstdint>

#include "platform/canvas.h"

namespace tyld::platform {

inline constexpr std::array<Colour, 5> HighlightColour = {
    Rgb(0, 0, 0), Rgb(255, 0, 0), Rgb(255, 50, 255), Rgb(60, 180, 255), Rgb(0, 0, 255)};

// Colour index of a mark byte: the lowest set bit of bits 0-3 gives 1-4, none gives 0.
constexpr int HighlightClass(std::uint8_t mark) {
  for (int bit = 0; bit < 4; ++bit)
    if (mark & (1u << bit)) return bit + 1;
  return 0;
}

}  // namespace tyld::platform
