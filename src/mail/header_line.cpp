#include "mail/header_line.h"

#include <algorithm>
#include <cstdint>

#include "mail/ascii_case.h"
#include "mail/charset.h"
#include "mail/transfer_decoding.h"

namespace tyld::mail {
namespace {

enum Kind { kNone = 0, kJis = 1, kShiftJis = 2, kUtf8 = 3 };

Kind CharsetKind(std::string_view name) {
  if (EqualsNoCase(name, "iso-2022-jp")) return kJis;
  if (EqualsNoCase(name, "shift_jis")) return kShiftJis;
  if (EqualsNoCase(name, "utf-8")) return kUtf8;
  return kNone;
}

struct Word {
  Kind kind = kNone;
  std::string bytes;    // the transfer-decoded text, still in its charset
  std::size_t end = 0;  // position after the closing "?="
};

// The encoded word starting at t[p] == '=', if there is a complete one of a known charset.
bool ReadWord(std::string_view t, std::size_t p, Word& word) {
  const std::size_t n = t.size();
  if (p + 1 >= n || t[p + 1] != '?') return false;
  const std::size_t charsetStart = p + 2;
  const std::size_t q1 = t.substr(0, std::min(n, charsetStart + 41)).find('?', charsetStart);
  if (q1 == std::string_view::npos) return false;
  const Kind kind = CharsetKind(t.substr(charsetStart, q1 - charsetStart));
  if (kind == kNone || q1 + 2 >= n || t[q1 + 2] != '?') return false;
  const char enc = t[q1 + 1];
  const bool base64 = enc == 'B' || enc == 'b';
  if (!base64 && enc != 'Q' && enc != 'q') return false;
  // The text is printable ASCII without "?" and ends at "?=". Stopping at the first
  // byte that cannot belong to it keeps long lines without the end linear.
  const std::size_t textStart = q1 + 3;
  std::size_t e = textStart;
  while (e < n && t[e] > 0x20 && t[e] < 0x7F && t[e] != '?') ++e;
  if (e + 1 >= n || t[e] != '?' || t[e + 1] != '=') return false;
  const std::string_view text = t.substr(textStart, e - textStart);
  if (base64) {
    word.bytes = DecodeBase64(text);
  } else {
    std::string spaced(text);
    std::replace(spaced.begin(), spaced.end(), '_', ' ');  // "_" is the Q form of a space
    word.bytes = DecodeQuotedPrintable(spaced);
  }
  word.kind = kind;
  word.end = e + 2;
  return true;
}

void AppendConverted(std::string& out, Kind kind, std::string_view bytes) {
  if (kind == kUtf8) {
    AppendUtf8AsSjis(out, bytes);
  } else {
    AppendJisAsSjis(out, bytes);  // plain Shift_JIS has no ESC and passes unchanged
  }
}

bool IsUtf8Continuation(char c) { return (static_cast<std::uint8_t>(c) & 0xC0) == 0x80; }

}  // namespace

void AppendDecodedHeaderLine(std::string& out, std::string_view t) {
  const std::size_t n = t.size();
  Kind previous = kNone;       // kind of the last encoded word seen
  std::size_t spaces = 0;      // spaces since the last other byte, after some word
  std::string pending;         // bytes of adjacent words not yet converted
  Kind pendingKind = kNone;
  std::size_t heldSpaces = 0;  // spaces read after the pending words
  auto flush = [&] {
    if (pendingKind != kNone) AppendConverted(out, pendingKind, pending);
    pending.clear();
    pendingKind = kNone;
    out.append(heldSpaces, ' ');
    heldSpaces = 0;
  };
  Word word;
  std::size_t p = 0;
  while (p < n) {
    const char c = t[p];
    if (c == '=' && ReadWord(t, p, word)) {
      if (pendingKind == word.kind) {
        heldSpaces = 0;  // only spaces stood between: the two words join
        pending += word.bytes;
      } else {
        flush();
        if (previous == word.kind && spaces != 0 && out.size() > spaces) out.resize(out.size() - spaces);
        pending = std::move(word.bytes);
        pendingKind = word.kind;
      }
      previous = word.kind;
      spaces = 0;
      p = word.end;
      continue;
    }
    if (c == ' ' && pendingKind != kNone) {
      ++heldSpaces;
      ++spaces;
      ++p;
      continue;
    }
    flush();
    const auto b = static_cast<std::uint8_t>(c);
    if ((b & 0xF0) == 0xE0 && p + 2 < n && IsUtf8Continuation(t[p + 1]) && IsUtf8Continuation(t[p + 2])) {
      AppendUtf8AsSjis(out, t.substr(p, 3));
      spaces = 0;
      p += 3;
      continue;
    }
    out += c;
    spaces = (previous != kNone && c == ' ') ? spaces + 1 : 0;
    ++p;
  }
  flush();
}

std::string DecodeHeaderLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendDecodedHeaderLine(out, text);
  return out;
}

}  // namespace tyld::mail
