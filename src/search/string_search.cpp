#include "search/string_search.h"

#include <algorithm>
#include <cstring>

#include "search/colour_index.h"
#include "search/byte_finder.h"
#include "search/mark_ops.h"

namespace tyld::search {

std::string TrimSearchText(std::string_view text) {
  std::string_view kept = text.substr(0, kSearchTextBytes);
  const std::size_t end = kept.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(kept.substr(0, end + 1));
}

std::optional<Notice> ConfirmStringSearch(const StringSearchRequest& request,
                                          StringSearchState& state) {
  state.SearchColour = request.colour;
  for (int i = 0; i < kStringSearchEntries; ++i) {
    if (request.colour[i] != 0 && request.text[i].empty()) return kUndefinedCharacter;
  }
  for (int i = 0; i < kStringSearchEntries; ++i) {
    const std::string kept = TrimSearchText(request.text[i]);
    state.SearchText[i].fill('\0');
    std::memcpy(state.SearchText[i].data(), kept.data(), kept.size());
    state.SearchLength[i] = static_cast<std::int32_t>(kept.size());
  }
  return std::nullopt;
}

void MatchStrings(std::span<const std::uint8_t> text, std::span<std::uint8_t> marks,
                  const StringSearchState& state) {
  std::fill(marks.begin(), marks.end(), std::uint8_t{0});
  text = text.first(std::min(text.size(), marks.size()));
  for (int i = 0; i < kStringSearchEntries; ++i) {
    const std::uint8_t bit = HighlightBit(state.SearchColour[i]);
    const std::string_view s = state.Text(i);
    if (bit == 0 || s.empty()) continue;
    const ByteFinder finder({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
    for (std::size_t p = finder.Find(text, 0); p != ByteFinder::npos;
         p = finder.Find(text, p + s.size())) {
      for (std::size_t k = p; k < p + s.size(); ++k) marks[k] |= bit;
    }
  }
}

void CancelStringSearch(std::span<std::uint8_t> marks, StringSearchState& state) {
  state.SearchColour.fill(0);
  ClearMarkBits(marks, 0x0F);
}

}  // namespace tyld::search
