#pragma once
// Byte search of the binary screen: up to four byte values, each with a highlight colour,
// marked wherever they occur in the loaded data.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "search/notice.h"

namespace tyld::search {

inline constexpr int kByteSearchEntries = 4;

struct ByteSearchState {
  std::array<std::uint8_t, kByteSearchEntries> SearchByte{};
  std::array<std::int32_t, kByteSearchEntries> ByteColour{};
  std::int32_t ByteSearchActive = 0;
};

// The dialog's four edit texts and four selected colour indexes.
struct ByteSearchRequest {
  std::array<std::string, kByteSearchEntries> text;
  std::array<std::int32_t, kByteSearchEntries> colour{};
};

// Confirms the dialog: colours stored at once; a colour chosen for an empty text refuses
// with kUndefinedCharacter; else every text's ParseHexByte is stored and the active flag
// follows the colours.
std::optional<Notice> ConfirmByteSearch(const ByteSearchRequest& request, ByteSearchState& state);

// Sets every mark from scratch (removing byte-sequence marks too): the bits of the
// entries whose value equals the data byte. Marks past the data are cleared.
void MatchBytes(std::span<const std::uint8_t> data, std::span<std::uint8_t> marks,
                const ByteSearchState& state);

// Cancels: flag and colours back to 0 (the values stay), every mark cleared.
void CancelByteSearch(std::span<std::uint8_t> marks, ByteSearchState& state);

// F3 / Shift+F3 after a search: the next marked byte at or after `from`, or the previous
// one at or before it (any of the four highlight bits, whichever search set it).
struct HitStep {
  enum class Result { Found, NoneAtAll, NoneFurther } result = Result::NoneAtAll;
  std::size_t position = 0;
};
HitStep StepToMarkedByte(std::span<const std::uint8_t> marks, std::size_t from, bool forward);

inline const Notice kNoMarkedBytes{"サーチされたバイトがありません。", kCaptionConfirm};
inline const Notice kNoLaterHit{"これより後に該当バイトはありません。", kCaptionConfirm};
inline const Notice kNoEarlierHit{"これより前に該当バイトはありません。", kCaptionConfirm};

// The window-title part while the search is active, "ﾊﾞｲﾄｻｰﾁ中 [0A h0D h]"; empty otherwise.
std::string ByteSearchTitle(const ByteSearchState& state);

}  // namespace tyld::search
