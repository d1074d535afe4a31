#include "search/sequence_search.h"

#include <cstdio>

#include "search/byte_finder.h"
#include "search/hex_text.h"
#include "search/mark_ops.h"

namespace tyld::search {

std::int32_t StepPatternLength(std::int32_t count, bool up) {
  if (up && count < kPatternBytes) ++count;
  if (!up && count > 1) --count;
  return count < 1 ? 1 : count > kPatternBytes ? kPatternBytes : count;
}

std::optional<Notice> ConfirmSequenceSearch(const SequenceSearchRequest& request,
                                            SequenceSearchState& state) {
  if (request.text[0].empty()) return kFirstByteEmpty;
  for (int i = 0; i < kPatternBytes; ++i) state.PatternByte[i] = ParseHexByte(request.text[i]);
  if (request.count < 1 || request.count > kPatternBytes) return kInvalidByteCount;
  state.PatternLength = request.count;
  return std::nullopt;
}

std::optional<Notice> RunSequenceSearch(std::span<const std::uint8_t> data,
                                        std::span<std::uint8_t> marks,
                                        SequenceSearchState& state) {
  state.ResultAddress.clear();
  ClearMarkBits(marks, kSequenceMarkBit);
  const std::int32_t length = state.PatternLength;
  if (length < 1 || length > kPatternBytes) return kNoOccurrence;
  const auto n = static_cast<std::size_t>(length);
  // Marks shorter than the data limit the search: never write past them.
  if (marks.size() < data.size()) data = data.first(marks.size());
  const ByteFinder finder(std::span(state.PatternByte).first(n));
  for (std::size_t p = finder.Find(data, 0); p != ByteFinder::npos; p = finder.Find(data, p + 1)) {
    for (std::size_t k = p; k < p + n; ++k) marks[k] |= kSequenceMarkBit;
    state.ResultAddress.push_back(p);
    if (state.ResultCount() >= SequenceSearchState::ResultLimit) {
      return ResultLimitNotice(SequenceSearchState::ResultLimit);
    }
  }
  if (state.ResultAddress.empty()) return kNoOccurrence;
  return std::nullopt;
}

Notice ResultLimitNotice(int limit) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "該当数が想定数(%d) に達しましたので途中で打ち切りました", limit);
  return {buf, kCaptionConfirm};
}

namespace {
std::string ResultLine(const char* format, int index, std::size_t address) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, index, static_cast<unsigned long long>(address));
  return buf;
}
}  // namespace

std::string ResultListLine(int index, std::size_t address) {
  return ResultLine("Sr=%3d  Adr= 0x%06llX", index, address);
}

std::string ResultFileText(const SequenceSearchState& state) {
  std::string text;
  for (int i = 0; i < state.ResultCount(); ++i) {
    text += ResultLine("Sr=%3d Adr= 0x%06llX\r\n", i, state.ResultAddress[i]);
  }
  return text;
}

platform::FileWriteResult WriteResultFile(const std::string& path,
                                          const SequenceSearchState& state) {
  const std::string text = ResultFileText(state);
  return platform::WriteFileAtomically(
      path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

}  // namespace tyld::search
