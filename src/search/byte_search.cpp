#include "search/byte_search.h"

#include <algorithm>

#include "search/colour_index.h"
#include "search/hex_text.h"
#include "search/mark_ops.h"

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
  std::array<std::uint8_t, kByteSearchEntries> bits{};
  for (int i = 0; i < kByteSearchEntries; ++i) bits[i] = HighlightBit(state.ByteColour[i]);
  SetValueMarks(data, marks, state.SearchByte, bits);
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

HitStep StepToMarkedByte(std::span<const std::uint8_t> marks, std::size_t from, bool forward) {
  const auto marked = [](std::uint8_t m) { return (m & 0x0F) != 0; };
  HitStep step;
  if (forward && from < marks.size()) {
    const auto it = std::find_if(marks.begin() + static_cast<std::ptrdiff_t>(from), marks.end(), marked);
    if (it != marks.end()) return {HitStep::Result::Found, static_cast<std::size_t>(it - marks.begin())};
  } else if (!forward && !marks.empty()) {
    const std::size_t end = std::min(from + 1, marks.size());
    const auto rit = std::find_if(std::make_reverse_iterator(marks.begin() + static_cast<std::ptrdiff_t>(end)),
                                  marks.rend(), marked);
    if (rit != marks.rend()) return {HitStep::Result::Found, static_cast<std::size_t>(marks.rend() - rit) - 1};
  }
  // Only a miss pays for looking at the whole buffer.
  step.result = std::any_of(marks.begin(), marks.end(), marked) ? HitStep::Result::NoneFurther
                                                                : HitStep::Result::NoneAtAll;
  return step;
}

}  // namespace tyld::search
