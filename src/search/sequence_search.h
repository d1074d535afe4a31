#pragma once
// Byte-sequence search of the binary screen: every occurrence of 1..8 bytes, overlapping
// ones included, marked with highlight bit 1 and listed (at most ResultLimit of them).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "search/notice.h"

namespace tyld::search {

inline constexpr int kPatternBytes = 8;
inline constexpr std::uint8_t kSequenceMarkBit = 0x02;

struct SequenceSearchState {
  static constexpr int ResultLimit = 200;
  std::array<std::uint8_t, kPatternBytes> PatternByte{};
  std::int32_t PatternLength = 1;           // always 1..8
  std::vector<std::size_t> ResultAddress;   // ascending; its size is the result count

  [[nodiscard]] int ResultCount() const { return static_cast<int>(ResultAddress.size()); }
};

// The window's eight byte texts and its typed byte count.
struct SequenceSearchRequest {
  std::array<std::string, kPatternBytes> text;
  std::int32_t count = 1;
};

inline const Notice kFirstByteEmpty{"先頭キャラクタが空です。", kCaptionConfirm};
inline const Notice kInvalidByteCount{"バイト数指定が無効です", kCaptionConfirm};
inline const Notice kNoOccurrence{"該当バイト列はありませんでした。", kCaptionConfirm};
inline const Notice kResultFileWritten{"指定ファイルに書き込みました", kCaptionConfirm};
inline const Notice kResultFileOpenFailed{"結果書き込み用txtファイルのオープンに失敗しました",
                                          kCaptionConfirm};

// The byte-count scroll bar: one up or down, never leaving 1..8.
std::int32_t StepPatternLength(std::int32_t count, bool up);

// The search button: refuses an empty first byte, then stores all eight bytes, then
// refuses a count outside 1..8 (kept out of the state) — else the search may run.
std::optional<Notice> ConfirmSequenceSearch(const SequenceSearchRequest& request,
                                            SequenceSearchState& state);

// Clears bit 1 of every mark (other bits stay), then records and marks occurrences from
// the start until the data ends or ResultLimit is reached. Returns the message to show:
// the limit message when the limit was reached, kNoOccurrence when nothing was found.
std::optional<Notice> RunSequenceSearch(std::span<const std::uint8_t> data,
                                        std::span<std::uint8_t> marks,
                                        SequenceSearchState& state);

// "該当数が想定数(200) に達しましたので途中で打ち切りました".
Notice ResultLimitNotice(int limit);

// One line of the window's list, "Sr=%3d  Adr= 0x%06X".
std::string ResultListLine(int index, std::size_t address);

// The whole result file: "Sr=%3d Adr= 0x%06X\r\n" per result, nothing else.
std::string ResultFileText(const SequenceSearchState& state);

// Writes the result file so that a failure never leaves a half-written one; the dialog
// shows kResultFileWritten or kResultFileOpenFailed (with the error) after it.
platform::FileWriteResult WriteResultFile(const std::string& path,
                                          const SequenceSearchState& state);

}  // namespace tyld::search
