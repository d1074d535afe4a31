#pragma once
// String search of the ASCII screen: up to four byte strings, each with a highlight
// colour, marked wherever they occur in the ASCII text (LcBuf) through its marks (LcMark).
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "search/notice.h"

namespace tyld::search {

inline constexpr int kStringSearchEntries = 4;
inline constexpr int kSearchTextBytes = 20;

struct StringSearchState {
  std::array<std::array<char, kSearchTextBytes + 1>, kStringSearchEntries> SearchText{};
  std::array<std::int32_t, kStringSearchEntries> SearchLength{};
  std::array<std::int32_t, kStringSearchEntries> SearchColour{};

  [[nodiscard]] std::string_view Text(int i) const {
    const std::int32_t n = SearchLength[i];
    return {SearchText[i].data(),
            static_cast<std::size_t>(std::clamp<std::int32_t>(n, 0, kSearchTextBytes))};
  }
};

// What the dialog hands back on OK: the four edit texts (Shift-JIS bytes) and the four
// selected colour indexes.
struct StringSearchRequest {
  std::array<std::string, kStringSearchEntries> text;
  std::array<std::int32_t, kStringSearchEntries> colour{};
};

// A typed text as it is stored: its first 20 bytes (even when that splits a double-byte
// character) without trailing spaces; leading and inner spaces stay.
std::string TrimSearchText(std::string_view text);

// Confirms the dialog: the colours are stored at once; a colour chosen for an empty text
// refuses with kUndefinedCharacter (the dialog stays open), else the texts are stored.
std::optional<Notice> ConfirmStringSearch(const StringSearchRequest& request,
                                          StringSearchState& state);

// Clears every mark, then marks each searched string's occurrences with its colour's bit.
// Occurrences of one string never overlap (the scan goes on after a match); different
// strings combine their bits. Exact bytes: case matters. An occurrence must stand on whole
// characters: one that starts on the second byte of a double-byte character or ends on its
// first byte is no occurrence. Characters are read from each row start in `rowStarts`
// (ascending offsets; rows never split a character) and from 0. Only the first
// min(text, marks) bytes take part.
void MatchStrings(std::span<const std::uint8_t> text, std::span<std::uint8_t> marks,
                  const StringSearchState& state, std::span<const std::int32_t> rowStarts = {});

// Cancels the search: every colour back to 0 (the texts stay), the four highlight bits
// cleared from every mark.
void CancelStringSearch(std::span<std::uint8_t> marks, StringSearchState& state);

}  // namespace tyld::search
