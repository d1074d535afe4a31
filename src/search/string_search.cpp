#include "search/string_search.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/codepage.h"

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

namespace {
// true at every second byte of a double-byte character.
std::vector<bool> TrailBytes(std::span<const std::uint8_t> text, std::span<const std::int32_t> rowStarts) {
  std::vector<bool> trail(text.size(), false);
  std::size_t next = 0;  // index into rowStarts
  for (std::size_t i = 0; i < text.size();) {
    while (next < rowStarts.size() && static_cast<std::size_t>(std::max(rowStarts[next], 0)) <= i) ++next;
    const std::size_t rowEnd =
        next < rowStarts.size() ? std::min(static_cast<std::size_t>(rowStarts[next]), text.size()) : text.size();
    if (platform::codepage::IsLeadByte(text[i]) && i + 1 < rowEnd) {
      trail[i + 1] = true;
      i += 2;
    } else {
      ++i;
    }
  }
  return trail;
}
}  // namespace

void MatchStrings(std::span<const std::uint8_t> text, std::span<std::uint8_t> marks,
                  const StringSearchState& state, std::span<const std::int32_t> rowStarts) {
  std::fill(marks.begin(), marks.end(), std::uint8_t{0});
  text = text.first(std::min(text.size(), marks.size()));
  std::vector<bool> trail;
  for (int i = 0; i < kStringSearchEntries; ++i) {
    const std::uint8_t bit = HighlightBit(state.SearchColour[i]);
    const std::string_view s = state.Text(i);
    if (bit == 0 || s.empty()) continue;
    if (trail.empty()) trail = TrailBytes(text, rowStarts);
    const ByteFinder finder({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
    for (std::size_t p = finder.Find(text, 0); p != ByteFinder::npos;) {
      const std::size_t end = p + s.size();
      if (trail[p] || (end < text.size() && trail[end])) {
        p = finder.Find(text, p + 1);  // half a character: no occurrence
        continue;
      }
      for (std::size_t k = p; k < end; ++k) marks[k] |= bit;
      p = finder.Find(text, end);
    }
  }
}

void CancelStringSearch(std::span<std::uint8_t> marks, StringSearchState& state) {
  state.SearchColour.fill(0);
  ClearMarkBits(marks, 0x0F);
}

}  // namespace tyld::search
