#include "mail/header_line.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "mail/ascii_case.h"
#include "mail/charset.h"
#include "mail/transfer_decoding.h"
#include "platform/codepage.h"

namespace tyld::mail {
namespace {

struct Word {
  std::string_view charset;
  bool base64 = false;
  std::string_view text;
  std::size_t end = 0;  // position after the closing "?="
};

// The encoded word starting at t[p] == '=', if a complete one starts there.
bool ReadWord(std::string_view t, std::size_t p, Word& word) {
  const std::size_t n = t.size();
  if (p + 1 >= n || t[p + 1] != '?') return false;
  const std::size_t charsetStart = p + 2;
  std::size_t q1 = charsetStart;
  while (q1 < n && q1 < charsetStart + 64 && t[q1] > 0x20 && t[q1] < 0x7F && t[q1] != '?') ++q1;
  if (q1 == charsetStart || q1 + 2 >= n || t[q1] != '?' || t[q1 + 2] != '?') return false;
  const char enc = t[q1 + 1];
  const bool base64 = enc == 'B' || enc == 'b';
  if (!base64 && enc != 'Q' && enc != 'q') return false;
  // The text is printable ASCII without "?" and ends at "?=". Stopping at the first
  // byte that cannot belong to it keeps long lines without the end linear.
  const std::size_t textStart = q1 + 3;
  std::size_t e = textStart;
  while (e < n && t[e] > 0x20 && t[e] < 0x7F && t[e] != '?') ++e;
  if (e + 1 >= n || t[e] != '?' || t[e + 1] != '=') return false;
  word.charset = t.substr(charsetStart, q1 - charsetStart);
  word.base64 = base64;
  word.text = t.substr(textStart, e - textStart);
  word.end = e + 2;
  return true;
}

std::string WordBytes(const Word& word) {
  if (word.base64) return DecodeBase64(word.text);
  std::string spaced(word.text);
  std::replace(spaced.begin(), spaced.end(), '_', ' ');  // "_" is the Q form of a space
  return DecodeQuotedPrintable(spaced);
}

// Raw text, appended piece by piece; whether a line is UTF-8 is judged on the whole
// line, so an encoded word in it does not split the judgement.
class RawText {
 public:
  explicit RawText(std::string_view t) : t_(t) {}

  void Append(std::string& out, std::size_t from, std::size_t to) {
    while (from < to) {
      if (from >= lineEnd_) Judge(from);
      const std::size_t stop = std::min(to, lineEnd_);
      const std::string_view piece = t_.substr(from, stop - from);
      if (utf8_) {
        out += platform::codepage::FromUtf8(piece);
      } else {
        out += piece;
      }
      from = stop;
    }
  }

 private:
  // The line (with its line end) that holds `at`.
  void Judge(std::size_t at) {
    std::size_t end = at;
    bool high = false;
    while (end < t_.size() && t_[end] != '\n' && t_[end] != '\r') {
      high |= static_cast<std::uint8_t>(t_[end]) >= 0x80;
      ++end;
    }
    utf8_ = high && IsUtf8(t_.substr(at, end - at));
    while (end < t_.size() && (t_[end] == '\n' || t_[end] == '\r')) ++end;
    lineEnd_ = end;
  }

  std::string_view t_;
  std::size_t lineEnd_ = 0;
  bool utf8_ = false;
};

}  // namespace

void AppendDecodedHeaderLine(std::string& out, std::string_view t, std::vector<std::string>* unknown) {
  RawText raw(t);
  std::optional<Charset> charset;  // of the pending words
  std::string_view charsetName;
  std::string pending;             // bytes of adjacent words not yet converted
  bool havePending = false;
  auto flush = [&] {
    if (havePending) charset->Append(out, pending);
    pending.clear();
    havePending = false;
  };
  Word word;
  std::size_t p = 0;       // start of the text not yet appended
  std::size_t search = 0;  // where to look for the next word
  while (true) {
    const std::size_t q = t.find("=?", search);
    if (q == std::string_view::npos) break;
    if (!ReadWord(t, q, word)) {
      search = q + 1;
      continue;
    }
    const bool onlyBlanks = std::all_of(t.begin() + static_cast<std::ptrdiff_t>(p), t.begin() + static_cast<std::ptrdiff_t>(q), IsBlank);
    if (!(havePending && onlyBlanks)) {
      flush();
      raw.Append(out, p, q);
    }
    // White space between two words goes; the words join when their charsets do.
    if (!charset || !EqualsNoCase(word.charset, charsetName)) {
      Charset next(word.charset);
      if (havePending && next.Key() == charset->Key()) {
        charset = std::move(next);  // the same conversion under another name: keep joining
      } else {
        flush();
        charset = std::move(next);
      }
      charsetName = word.charset;
      if (!charset->Known() && unknown) unknown->emplace_back(word.charset.substr(0, word.charset.find('*')));
    }
    pending += WordBytes(word);
    havePending = true;
    p = search = word.end;
  }
  flush();
  raw.Append(out, p, t.size());
}

std::string DecodeHeaderLine(std::string_view text, std::vector<std::string>* unknown) {
  std::string out;
  out.reserve(text.size());
  AppendDecodedHeaderLine(out, text, unknown);
  return out;
}

}  // namespace tyld::mail
