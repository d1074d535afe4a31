#pragma once
// Splitting text into lines. A line ends at CR LF, at LF alone or at CR alone, so mails
// saved on any system read alike; a last line without an end still counts.
#include <cstddef>
#include <string_view>

namespace tyld::mail {

struct TextLine {
  std::size_t start = 0;
  std::size_t length = 0;  // without the line end
  std::size_t next = 0;    // start of the following line
};

// The line starting at `start` (which must be below text.size()).
inline TextLine LineAt(std::string_view text, std::size_t start) {
  std::size_t end = start;
  const std::size_t n = text.size();
  while (end < n && text[end] != '\r' && text[end] != '\n') ++end;
  std::size_t next = end;
  if (next < n && text[next] == '\r') ++next;
  if (next < n && text[next] == '\n' && (next == end || text[end] == '\r')) ++next;
  return {start, end - start, next};
}

template <typename F>
void ForEachLine(std::string_view text, F&& f) {
  for (std::size_t p = 0; p < text.size();) {
    const TextLine line = LineAt(text, p);
    f(text.substr(line.start, line.length));
    p = line.next;
  }
}

}  // namespace tyld::mail
