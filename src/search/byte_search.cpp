#include "search/byte_search.h"

#include <algorithm>

#include "search/colour_index.h"
#include "search/hex_text.h"

namespace tyld::search {

std::optional<Notice> ConfirmByteSearch(const ByteSearchRequest& request, ByteSearchState& state) {
  state.ByteColour = request.colour;
  for (int i = 0; i < kByteSearchEntries; ++i) {
    if (request.colour[i] != 0 && request.text[i].empty()) return kUndefinedCharacter;
  }
  bool active = false;
  for (int i = 0; i < kByteSearchEntries; ++i) {
    state.SearchByte[i] = ParseHexByte(request.text[i]);
    active = active || request.colour[i] != 0;
  }
  state.ByteSearchActive = active ? 1 : 0;
  return std::nullopt;
}

void MatchBytes(std::span<const std::uint8_t> data, std::span<std::uint8_t> marks,
                const ByteSearchState& state) {
  // An entry that is not searched gets bit 0, so it can never equal-and-mark anything.
  std::array<std::uint8_t, kByteSearchEntries> bit{};
  for (int i = 0; i < kByteSearchEntries; ++i) bit[i] = HighlightBit(state.ByteColour[i]);
  const std::uint8_t v0 = state.SearchByte[0], v1 = state.SearchByte[1];
  const std::uint8_t v2 = state.SearchByte[2], v3 = state.SearchByte[3];
  const std::size_t n = std::min(data.size(), marks.size());
  const std::uint8_t* d = data.data();
  std::uint8_t* m = marks.data();
  // Branch-free compares over the whole buffer; this loop vectorises.
  for (std::size_t k = 0; k < n; ++k) {
    const std::uint8_t b = d[k];
    m[k] = static_cast<std::uint8_t>((b == v0 ? bit[0] : 0) | (b == v1 ? bit[1] : 0) |
                                     (b == v2 ? bit[2] : 0) | (b == v3 ? bit[3] : 0));
  }
  std::fill(marks.begin() + static_cast<std::ptrdiff_t>(n), marks.end(), std::uint8_t{0});
}

void CancelByteSearch(std::span<std::uint8_t> marks, ByteSearchState& state) {
  state.ByteSearchActive = 0;
  state.ByteColour.fill(0);
  std::fill(marks.begin(), marks.end(), std::uint8_t{0});
}

std::string ByteSearchTitle(const ByteSearchState& state) {
  if (state.ByteSearchActive != 1) return {};
  std::string title = "ﾊﾞｲﾄｻｰﾁ中 [";
  for (int i = 0; i < kByteSearchEntries; ++i) {
    if (state.ByteColour[i] != 0) title += HexByteText(state.SearchByte[i]) + " h";
  }
  return title + "]";
}

}  // namespace tyld::search
