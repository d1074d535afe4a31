#include "ascii/text_model.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <new>

#include "platform/codepage.h"

namespace tyld::ascii {
namespace {

namespace cp = platform::codepage;

// A piece holds at most this many source bytes (plus the trail byte of a pair begun at
// the limit); longer lines continue in the next piece on a new row.
constexpr std::size_t kPieceSourceBytes = 1024;
// TAB widths beyond this would only blow up memory; the dialog allows 1 to 8.
constexpr int kMaxTabWidth = 256;
// LcBuf offsets and row indices are int32; stop well before they could overflow (one
// piece adds far less than the margin).
constexpr std::size_t kMaxLcBuf = std::numeric_limits<std::int32_t>::max() - (8u << 20);

enum Kind : std::uint8_t { kSingle = 0, kLead = 1, kTrail = 2 };

// Acceptance step per byte: 2 for a lead byte, 1 for an accepted byte, 0 for a control
// byte that rejects the document.
constexpr std::array<std::uint8_t, 256> MakeAcceptSteps() {
  std::array<std::uint8_t, 256> t{};
  for (int b = 0; b < 256; ++b) {
    if (cp::IsLeadByte(static_cast<std::uint8_t>(b))) {
      t[b] = 2;
    } else if (b < 0x20) {
      const bool ok = b == 0x00 || b == 0x09 || b == 0x0A || b == 0x0D || b == 0x1A || b == 0x1B;
      t[b] = ok ? 1 : 0;
    } else {
      t[b] = 1;
    }
  }
  return t;
}
constexpr auto kAcceptSteps = MakeAcceptSteps();

// Piece reader classes: 0 plain byte, 1 possible lead byte, 2 TAB, 3 line end.
constexpr std::array<std::uint8_t, 256> MakeReadClasses() {
  std::array<std::uint8_t, 256> t{};
  for (int b = 0; b < 256; ++b) {
    // User-defined and IBM extension pairs (0xF0..0xFC) stay whole like any other.
    if (cp::IsLeadByte(static_cast<std::uint8_t>(b))) t[b] = 1;
  }
  t[0x09] = 2;
  t[0x0A] = 3;
  t[0x0D] = 3;
  t[0x1A] = 3;
  return t;
}
constexpr auto kReadClasses = MakeReadClasses();

// 1 for a byte that can follow a lead byte as its second byte.
constexpr std::array<std::uint8_t, 256> MakeTrailOk() {
  std::array<std::uint8_t, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = cp::IsTrailByte(static_cast<std::uint8_t>(b)) ? 1 : 0;
  return t;
}
constexpr auto kTrailOk = MakeTrailOk();

// 1 for the control bytes that can make a document unfit for text display.
constexpr std::array<std::uint8_t, 256> MakeSuspects() {
  std::array<std::uint8_t, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = kAcceptSteps[b] == 0 ? 1 : 0;
  return t;
}
constexpr auto kSuspects = MakeSuspects();

// Characters (CP932 codes) that may not begin a row and those that may not end one, for
// the optional line-breaking rules; half-width forms count like their full-width ones.
class LineBreakTables {
 public:
  LineBreakTables() {
    const std::u16string_view noStart =
        u"、。，．・：；？！ゝゞ々ー」』）］｝〕〉》"
        u"ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ"
        u"｡｣､･ｰｧｨｩｪｫｬｭｮｯﾞﾟ";
    const std::u16string_view noEnd = u"「『（［｛〔〈《｢";
    for (char16_t c : noStart) Set(c, kNoStart);
    for (char16_t c : noEnd) Set(c, kNoEnd);
  }
  [[nodiscard]] bool NoStart(unsigned code) const { return code < flags_.size() && (flags_[code] & kNoStart); }
  [[nodiscard]] bool NoEnd(unsigned code) const { return code < flags_.size() && (flags_[code] & kNoEnd); }

 private:
  static constexpr std::uint8_t kNoStart = 1;
  static constexpr std::uint8_t kNoEnd = 2;
  void Set(char16_t c, std::uint8_t flag) {
    const int code = cp::Encode(c);
    if (code >= 0) flags_[static_cast<std::size_t>(code)] |= flag;
  }
  std::vector<std::uint8_t> flags_ = std::vector<std::uint8_t>(65536, 0);
};

const LineBreakTables& LineBreakRuleTables() {
  static const LineBreakTables tables;
  return tables;
}

constexpr std::uint8_t Upper(std::uint8_t b) {
  return (b >= 'a' && b <= 'z') ? static_cast<std::uint8_t>(b - 32) : b;
}

// Case-insensitive search for an upper-case ASCII word in [from, end); end when absent.
std::size_t FindWord(const std::uint8_t* d, std::size_t from, std::size_t end,
                     std::string_view word) {
  const std::size_t n = word.size();
  if (end < n) return end;
  for (std::size_t i = from; i + n <= end; ++i) {
    std::size_t k = 0;
    while (k < n && Upper(d[i + k]) == static_cast<std::uint8_t>(word[k])) ++k;
    if (k == n) return i;
  }
  return end;
}

int HexValue(std::uint8_t b) {
  if (b >= '0' && b <= '9') return b - '0';
  const std::uint8_t u = Upper(b);
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  return -1;
}

bool HtmlDeclaresUtf8(std::span<const std::uint8_t> doc) {
  const std::size_t n = doc.size();
  static constexpr std::string_view kPlain = "CHARSET=UTF-8";
  static constexpr std::string_view kQuoted = "CHARSET=\"UTF-8\"";
  for (std::size_t at = FindWord(doc.data(), 0, n, "CHARSET="); at < n;
       at = FindWord(doc.data(), at + 1, n, "CHARSET=")) {
    if (FindWord(doc.data(), at, std::min(n, at + kPlain.size()), kPlain) == at) return true;
    if (FindWord(doc.data(), at, std::min(n, at + kQuoted.size()), kQuoted) == at) return true;
  }
  return false;
}

// Length of the well-formed UTF-8 sequence at s[i] (no overlong forms, no surrogates, at
// most U+10FFFF); 0 when there is none.
std::size_t Utf8SequenceAt(std::span<const std::uint8_t> s, std::size_t i) {
  const std::size_t n = s.size();
  const std::uint8_t b = s[i];
  if (b < 0x80) return 1;
  auto in = [&](std::size_t k, std::uint8_t lo, std::uint8_t hi) {
    return i + k < n && s[i + k] >= lo && s[i + k] <= hi;
  };
  if (b >= 0xC2 && b <= 0xDF) return in(1, 0x80, 0xBF) ? 2 : 0;
  if (b >= 0xE0 && b <= 0xEF) {
    const std::uint8_t lo = b == 0xE0 ? 0xA0 : 0x80;
    const std::uint8_t hi = b == 0xED ? 0x9F : 0xBF;
    return in(1, lo, hi) && in(2, 0x80, 0xBF) ? 3 : 0;
  }
  if (b >= 0xF0 && b <= 0xF4) {
    const std::uint8_t lo = b == 0xF0 ? 0x90 : 0x80;
    const std::uint8_t hi = b == 0xF4 ? 0x8F : 0xBF;
    return in(1, lo, hi) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
  }
  return 0;
}

// True when every character of s is a CP932 character (pairs and single bytes that have
// one); a lone lead byte at the very end counts, as the prefix may cut a pair.
bool ReadsAsShiftJis(std::span<const std::uint8_t> s) {
  const std::size_t n = s.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t b = s[i];
    if (cp::IsLeadByte(b)) {
      if (i + 1 >= n) return true;
      if (cp::DecodePair(b, s[i + 1]) == 0) return false;
      ++i;
    } else if (b >= 0x80 && cp::DecodeByte(b) == 0) {
      return false;
    }
  }
  return true;
}

bool StartsWithI(std::string_view s, std::string_view upperPrefix) {
  if (s.size() < upperPrefix.size()) return false;
  for (std::size_t i = 0; i < upperPrefix.size(); ++i)
    if (Upper(static_cast<std::uint8_t>(s[i])) != static_cast<std::uint8_t>(upperPrefix[i]))
      return false;
  return true;
}

}  // namespace

bool LooksLikeUtf8(std::span<const std::uint8_t> doc) {
  const std::span<const std::uint8_t> head = doc.first(std::min(doc.size(), kUtf8ProbeBytes));
  const bool cut = head.size() < doc.size();
  bool multiByte = false;
  bool twoByte = false;      // Latin, Greek, Cyrillic...: what Shift-JIS kana pairs decode to
  bool outsideCp932 = false;
  std::size_t i = 0;
  while (i < head.size()) {
    const std::size_t len = Utf8SequenceAt(head, i);
    if (len == 0) {
      // A sequence the probe's end cuts off is no evidence either way.
      if (cut && head.size() - i < 4) break;
      return false;
    }
    if (len > 1) {
      multiByte = true;
      twoByte = twoByte || len == 2;
      if (len == 4) {
        outsideCp932 = true;
      } else {
        const char32_t c = len == 2 ? ((head[i] & 0x1Fu) << 6) | (head[i + 1] & 0x3Fu)
                                    : ((head[i] & 0x0Fu) << 12) | ((head[i + 1] & 0x3Fu) << 6) |
                                          (head[i + 2] & 0x3Fu);
        outsideCp932 = outsideCp932 || cp::Encode(static_cast<char16_t>(c)) < 0;
      }
    }
    i += len;
  }
  if (!multiByte) return false;
  // Bytes that are good Shift-JIS and only look like UTF-8 by chance decode to short
  // sequences or to characters the Japanese code page lacks: those stay Shift-JIS.
  return !((twoByte || outsideCp932) && ReadsAsShiftJis(head));
}

MailView EmlModeForExtension(std::string_view docExt) {
  return docExt.size() == 4 && StartsWithI(docExt, ".EML") ? MailView::Decoded : MailView::NotMail;
}

namespace {

// What the screen shows of a document: the document itself, the UTF-8 text `utf8` (the
// document, or what follows its byte-order mark) converted, or the decoded mail.
struct DisplayChoice {
  enum class Kind { AsIs, Utf8, Mail } kind = Kind::AsIs;
  std::span<const std::uint8_t> utf8;
};

DisplayChoice ChooseDisplay(std::span<const std::uint8_t> doc, const TextModelOptions& options) {
  const bool bom = doc.size() >= 3 && doc[0] == 0xEF && doc[1] == 0xBB && doc[2] == 0xBF;
  const bool html = StartsWithI(options.DocExt, ".HTM");
  using Kind = DisplayChoice::Kind;
  if (options.ForceUtf8 < 0) {
    // Read as Shift-JIS on request; a mail is still decoded.
  } else if (bom) {
    return {Kind::Utf8, doc.subspan(3)};
  } else if (options.ForceUtf8 == 1 || (html && HtmlDeclaresUtf8(doc))) {
    return {Kind::Utf8, doc};
  }
  if (options.EmlMode == MailView::Decoded && options.DecodeMail) return {Kind::Mail, {}};
  if (options.ForceUtf8 == 0 && options.EmlMode == MailView::NotMail && LooksLikeUtf8(doc)) return {Kind::Utf8, doc};
  return {};
}

// The converted or decoded text of a choice; false when the document is shown as it is.
bool Convert(const DisplayChoice& choice, std::span<const std::uint8_t> doc, const TextModelOptions& options,
             std::string& converted) {
  switch (choice.kind) {
    case DisplayChoice::Kind::AsIs: return false;
    case DisplayChoice::Kind::Utf8: converted = Utf8ToDisplay(choice.utf8); return true;
    case DisplayChoice::Kind::Mail:
      converted = options.DecodeMail(std::string_view(reinterpret_cast<const char*>(doc.data()), doc.size()));
      return true;
  }
  return false;
}

}  // namespace

bool ConvertForDisplay(std::span<const std::uint8_t> doc, const TextModelOptions& options,
                       std::string& converted, std::int32_t& utf8Applied) {
  const DisplayChoice choice = ChooseDisplay(doc, options);
  utf8Applied = choice.kind == DisplayChoice::Kind::Utf8 ? 1 : 0;
  return Convert(choice, doc, options, converted);
}

std::int64_t FindNonTextByte(std::span<const std::uint8_t> doc, const std::atomic<bool>* stop) {
  const std::size_t n = doc.size();
  auto stopped = [stop] { return stop != nullptr && stop->load(std::memory_order_relaxed); };
  // Most documents hold no such byte at all: a quick look settles them without walking
  // the pairs. It goes a megabyte at a time, so a binary file is settled by its first
  // suspect byte, not by a look over all of it, and a stop waits for one megabyte at most.
  constexpr std::size_t kLookBytes = std::size_t{1} << 20;
  std::uint8_t suspect = 0;
  for (std::size_t start = 0; start < n && suspect == 0; start += kLookBytes) {
    if (stopped()) return -1;
    const std::size_t end = std::min(n, start + kLookBytes);
    for (std::size_t i = start; i < end; ++i) suspect |= kSuspects[doc[i]];
  }
  if (suspect == 0) return -1;
  std::size_t p = 0;
  while (p < n) {
    if (stopped()) return -1;
    const std::size_t end = std::min(n, p + kLookBytes);
    while (p < end) {
      const std::uint8_t step = kAcceptSteps[doc[p]];
      if (step == 0) return static_cast<std::int64_t>(p);
      p += step;
    }
  }
  return -1;
}

std::string Utf8ToDisplay(std::span<const std::uint8_t> s) {
  const std::size_t n = s.size();
  std::string out;
  out.reserve(n);
  auto cont = [&](std::size_t i) { return i < n && (s[i] & 0xC0) == 0x80; };
  auto emit = [&](char32_t c) {
    int code = c <= 0xFFFF ? cp::Encode(static_cast<char16_t>(c)) : -1;
    if (code < 0) code = cp::kSubstitute;
    if (code <= 0xFF) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  };
  std::size_t j = 0;
  while (j < n) {
    const std::uint8_t b = s[j];
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++j;
      continue;
    }
    if ((b & 0xE0) == 0xC0 && cont(j + 1)) {
      const char32_t c = (char32_t{b & 0x1Fu} << 6) | (s[j + 1] & 0x3Fu);
      if (c >= 0x80) {
        emit(c);
        j += 2;
        continue;
      }
    } else if ((b & 0xF0) == 0xE0 && cont(j + 1) && cont(j + 2)) {
      const char32_t c =
          (char32_t{b & 0x0Fu} << 12) | (char32_t{s[j + 1] & 0x3Fu} << 6) | (s[j + 2] & 0x3Fu);
      if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) {
        emit(c);
        j += 3;
        continue;
      }
    } else if ((b & 0xF8) == 0xF0 && cont(j + 1) && cont(j + 2) && cont(j + 3)) {
      const char32_t c = (char32_t{b & 0x07u} << 18) | (char32_t{s[j + 1] & 0x3Fu} << 12) |
                         (char32_t{s[j + 2] & 0x3Fu} << 6) | (s[j + 3] & 0x3Fu);
      if (c >= 0x10000 && c <= 0x10FFFF) {
        emit(c);  // outside the BMP: always the substitute
        j += 4;
        continue;
      }
    }
    // Not valid UTF-8: keep the byte, so Shift-JIS text shown this way stays readable.
    out.push_back(static_cast<char>(b));
    ++j;
  }
  return out;
}

void TextModel::ClearMarks() { std::fill(lcMark_.begin(), lcMark_.end(), std::uint8_t{0}); }

std::string_view TextModel::BlockText(const TextBlock& b) const {
  if (b.Offset < 0 || b.Length <= 0 || static_cast<std::size_t>(b.Offset) + b.Length > lcBuf_.size())
    return {};
  return {lcBuf_.data() + b.Offset, static_cast<std::size_t>(b.Length)};
}

std::span<const std::uint8_t> TextModel::BlockMarks(const TextBlock& b) const {
  if (b.Offset < 0 || b.Length <= 0 || static_cast<std::size_t>(b.Offset) + b.Length > lcMark_.size())
    return {};
  return {lcMark_.data() + b.Offset, static_cast<std::size_t>(b.Length)};
}

TextModel::RowRange TextModel::ColumnPageRows(std::int64_t columnPage) const {
  if (columnPage < 0 || columnPage >= columnPageCount_ ||
      static_cast<std::size_t>(columnPage) + 1 >= pageStarts_.size())
    return {};
  return {pageStarts_[static_cast<std::size_t>(columnPage)],
          pageStarts_[static_cast<std::size_t>(columnPage) + 1]};
}

void TextModel::ReleaseTables() {
  Table<TextRow>().swap(rows_);
  Table<std::int32_t>().swap(pageStarts_);
  // The text and its blocks keep their capacity across rebuilds of one document; a small
  // document loaded after a big one must not keep the big one's memory.
  Table<char>().swap(lcBuf_);
  Table<std::uint8_t>().swap(lcMark_);
  Table<TextBlock>().swap(blocks_);
  totalRows_ = 0;
  columnPageCount_ = 0;
}

// One build. Works piece by piece: a piece is one source line, or up to 1024 source bytes
// of a longer one, expanded (TABs) into a work array with a kind per byte; the piece is
// then cut into rows and coloured blocks that go to LcBuf.
class TextModelBuilder {
 public:
  TextModelBuilder(TextModel& m, const TextModelOptions& o)
      : m_(m),
        tagMode_(o.ColourTagMode == 1),
        perLine_(std::max<std::int32_t>(1, o.AscCharsPerLine)),
        linesPerPage_(std::max<std::int32_t>(1, o.AscLinesPerPage)),
        tab_(std::clamp<std::int32_t>(o.AscTabWidth, 1, kMaxTabWidth)),
        lineBreakRules_(o.LineBreakRules),
        textWidth_(o.TextWidth),
        rowWidth_(o.RowWidth),
        rowsFound_(o.RowsFound),
        stop_(o.Stop) {}

  enum class Stage { Buffers, Text, Blocks, Rows, Pages };

  void Prepare(std::size_t displayLength) {
    stage_ = Stage::Buffers;
    // Without TABs the visible bytes never outnumber the display bytes.
    m_.lcBuf_.reserve(displayLength + 1);
    const std::size_t pieceCap = (kPieceSourceBytes + 1) * static_cast<std::size_t>(tab_) + 2;
    chars_.resize(pieceCap);
    kinds_.resize(pieceCap);
    m_.blocks_.reserve(std::max<std::size_t>(4000, displayLength / 48));
    m_.rows_.reserve(std::max<std::size_t>(4000, displayLength / 48));
  }

  // Cuts the display data into rows; false when LcBuf or the rows would outgrow int32 or
  // when Stopped(). The data may come in parts that each end with a line end; `last` marks
  // the final one.
  bool Split(const std::uint8_t* d, std::size_t n, bool last = true) {
    // A final 0x1A marks the end of a DOS file; it is no line of its own.
    if (last && n > 0 && d[n - 1] == 0x1A) --n;
    std::size_t pos = 0;
    while (pos < n) {
      if (m_.lcBuf_.size() > kMaxLcBuf || m_.rows_.size() > kMaxLcBuf) return false;
      // A piece is at most a few kilobytes: a stop is seen within microseconds.
      if (Stopped()) return false;
      ReadPiece(d, n, pos);
      if (textWidth_) SplitPieceMeasured();
      else SplitPiece();
    }
    return true;
  }

  void IndexPages() {
    stage_ = Stage::Pages;
    const std::int64_t rows = m_.RowCount();
    m_.totalRows_ = static_cast<std::int32_t>(rows);
    const std::int64_t pages = rows == 0 ? 0 : (rows - 1) / linesPerPage_ + 1;
    m_.columnPageCount_ = static_cast<std::int32_t>(pages);
    m_.pageStarts_.assign(static_cast<std::size_t>(pages) + 1, 0);
    for (std::int64_t i = 0; i < pages; ++i)
      m_.pageStarts_[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(i * linesPerPage_);
    m_.pageStarts_[static_cast<std::size_t>(pages)] = static_cast<std::int32_t>(rows);
  }

  void AllocateMarks() {
    stage_ = Stage::Buffers;
    // A fresh block is zero already; pages stay untouched until a search marks them.
    TextModel::Table<std::uint8_t>(m_.lcBuf_.size()).swap(m_.lcMark_);
  }

  [[nodiscard]] Stage stage() const { return stage_; }
  // The caller gave the build up (TextModelOptions::Stop).
  [[nodiscard]] bool Stopped() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

 private:
  // Reads one piece starting at pos into chars_/kinds_; true when it was cut at the size
  // limit rather than ended by a line end or the end of the data.
  bool ReadPiece(const std::uint8_t* d, std::size_t n, std::size_t& pos) {
    const std::size_t start = pos;
    const std::size_t limit = std::min(n, start + kPieceSourceBytes);
    std::uint8_t* out = chars_.data();
    std::uint8_t* kind = kinds_.data();
    std::size_t len = 0;
    std::uint8_t inPair = 0;  // 1 when the previous byte began a pair
    for (;;) {
      // Byte by byte, carrying only whether a pair is open, so nothing waits on the
      // position of the next character and there is no branch on the kind of byte.
      while (pos + 1 < n) {
        const std::uint8_t b = d[pos];
        const auto cls = static_cast<std::uint8_t>(kReadClasses[b] & (inPair - 1u));
        if ((cls >= 2) | ((pos >= limit) & (inPair == 0))) break;
        const auto lead = static_cast<std::uint8_t>(cls & kTrailOk[d[pos + 1]]);
        out[len] = b;
        kind[len] = static_cast<std::uint8_t>(lead | (inPair << 1));
        inPair = lead;
        ++len;
        ++pos;
      }
      if (pos < n && inPair) {
        out[len] = d[pos];  // the trail byte that ends the data
        kind[len] = kTrail;
        ++len;
        ++pos;
        inPair = 0;
      }
      if (pos >= n) break;
      const std::uint8_t b = d[pos];
      const std::uint8_t cls = kReadClasses[b];
      if (cls == 3) {
        // A line end that follows a cut still belongs to this piece, so a line of exactly
        // the piece size gets no empty row of its own. 0x1A ends a line like LF.
        pos += (b == 0x0D && pos + 1 < n && d[pos + 1] == 0x0A) ? 2 : 1;
        break;
      }
      if (pos >= limit) {
        pieceLen_ = len;
        return true;
      }
      if (cls == 2) {
        const auto tab = static_cast<std::size_t>(tab_);
        const std::size_t spaces = tab - len % tab;
        std::memset(out + len, ' ', spaces);
        std::memset(kind + len, kSingle, spaces);
        len += spaces;
      } else {
        out[len] = b;  // the last byte of the data
        kind[len] = kSingle;
        ++len;
      }
      ++pos;
    }
    pieceLen_ = len;
    return false;
  }

  // A colour tag starting at the "<" at off: its end (after ">") and the colour it sets. A
  // tag is "<font ...color=#rrggbb...>" or "</font>" (back to black) and never reaches past
  // its own ">" nor over another "<", so no text is swallowed.
  bool ParseTag(std::size_t off, std::size_t& end, Colour& color) const {
    const std::uint8_t* d = chars_.data();
    const std::size_t n = pieceLen_;
    auto skipSpaces = [&](std::size_t p) {
      while (p < n && d[p] == ' ') ++p;
      return p;
    };
    std::size_t p = skipSpaces(off + 1);
    const bool closing = p < n && d[p] == '/';
    if (closing) p = skipSpaces(p + 1);
    if (FindWord(d, p, std::min(n, p + 4), "FONT") != p) return false;
    p += 4;
    if (closing) {
      p = skipSpaces(p);
      if (p >= n || d[p] != '>') return false;
      end = p + 1;
      color = 0;
      return true;
    }
    std::size_t close = p;
    while (close < n && d[close] != '>' && d[close] != '<') ++close;
    if (close >= n || d[close] != '>') return false;
    const std::size_t colour = FindWord(d, p, close, "COLOR");
    if (colour >= close) return false;
    p = colour + 5;
    while (p < close && d[p] != '#') ++p;
    if (p >= close) return false;
    ++p;
    std::uint32_t rgb = 0;
    for (int digits = 0; digits < 6 && p < close; ++digits, ++p) {
      const int v = HexValue(d[p]);
      if (v < 0) break;
      rgb = (rgb << 4) | static_cast<std::uint32_t>(v);
    }
    end = close + 1;
    color = platform::Rgb(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF),
                          static_cast<int>(rgb & 0xFF));
    return true;
  }

  // The character at i, as a code (lead << 8 | trail for a pair).
  [[nodiscard]] unsigned CodeAt(std::size_t i) const {
    if (kinds_[i] == kLead && i + 1 < pieceLen_) return (unsigned{chars_[i]} << 8) | chars_[i + 1];
    return chars_[i];
  }

  // Where a full row ending before `end` ends under the line-breaking rules: characters
  // move on to the next row while that row would start with a character that may not
  // begin a row, or this one would end with one that may not end it. Where no cut in the
  // row (after its first character, from) satisfies both, it is cut as it falls.
  [[nodiscard]] std::size_t BreakRulesEnd(std::size_t from, std::size_t end) const {
    const LineBreakTables& rules = LineBreakRuleTables();
    std::size_t at = end;
    while (at < pieceLen_) {
      const std::size_t last = kinds_[at - 1] == kTrail && at >= 2 ? at - 2 : at - 1;
      if (!rules.NoStart(CodeAt(at)) && !rules.NoEnd(CodeAt(last))) return at;
      if (last <= from) break;
      at = last;
    }
    return at >= pieceLen_ ? at : end;
  }

  void CloseBlock(std::size_t from, std::size_t to, Colour color) {
    stage_ = Stage::Blocks;
    const std::size_t offset = m_.lcBuf_.size();
    m_.blocks_.push_back({static_cast<std::int32_t>(offset), static_cast<std::int32_t>(to - from), color});
    stage_ = Stage::Text;
    m_.lcBuf_.insert(m_.lcBuf_.end(), reinterpret_cast<const char*>(chars_.data() + from),
                     reinterpret_cast<const char*>(chars_.data() + to));
  }

  void RecordRow() {
    stage_ = Stage::Rows;
    const auto blocks = static_cast<std::int32_t>(m_.blocks_.size());
    m_.rows_.push_back({rowFirstBlock_, blocks - rowFirstBlock_});
    rowFirstBlock_ = blocks;
    if (rowsFound_ != nullptr && (m_.rows_.size() & 0xFFFF) == 0)
      rowsFound_->store(static_cast<std::int32_t>(m_.rows_.size()), std::memory_order_relaxed);
  }

  void SplitPiece() {
    const std::size_t n = pieceLen_;
    const std::uint8_t* d = chars_.data();
    const std::size_t perLine = static_cast<std::size_t>(perLine_);
    rowFirstBlock_ = static_cast<std::int32_t>(m_.blocks_.size());
    std::size_t blockStart = 0;
    std::size_t k = 0;  // bytes placed in the current block
    std::size_t off = 0;
    bool filledAtEnd = false;
    const bool tagsPossible = tagMode_;
    std::size_t nextLt = 0;
    bool ltKnown = false;
    while (off < n) {
      const std::size_t fullAt = off + (perLine - k) - 1;  // where k reaches perLine
      if (tagsPossible && (!ltKnown || nextLt < off)) {
        ltKnown = true;
        const void* lt = std::memchr(d + off, '<', n - off);
        nextLt = lt ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(lt) - d) : n;
      }
      const std::size_t lt = tagsPossible ? nextLt : n;
      if (lt < n && lt <= fullAt) {
        k += lt - off;
        off = lt;
        std::size_t end = 0;
        Colour color = 0;
        if (ParseTag(off, end, color)) {
          if (k > 0) CloseBlock(blockStart, off, color_);
          color_ = color;
          off = end;
          blockStart = end;
          k = 0;
          filledAtEnd = false;
        } else {
          // Not a tag: the "<" is text, and the next "<" is looked at.
          ++off;
          ++k;
        }
        continue;
      }
      if (fullAt < n) {
        // The row is full: one more byte, two when that one begins a pair.
        std::size_t end = fullAt + 1;
        if (end < n) {
          ++end;
          if (kinds_[end - 1] == kLead && end < n) ++end;
        }
        if (lineBreakRules_) end = BreakRulesEnd(blockStart, end);
        CloseBlock(blockStart, end, color_);
        RecordRow();
        blockStart = end;
        off = end;
        k = 0;
        filledAtEnd = end == n;
        continue;
      }
      k += n - off;
      off = n;
    }
    if (blockStart < n) CloseBlock(blockStart, n, color_);
    // A line whose last row filled up exactly needs no empty row after it; neither does a
    // cut piece, whose line goes on in the next one.
    if (!(filledAtEnd && blockStart >= n)) RecordRow();
  }

  // The advance of the character at i (len bytes), measured once per character code.
  int Advance(std::size_t i, std::size_t len) {
    if (widths_.empty()) widths_.assign(0x10000, -1);
    const unsigned code = len == 2 ? (unsigned{chars_[i]} << 8) | chars_[i + 1] : chars_[i];
    int& w = widths_[code];
    if (w < 0) w = std::max(0, textWidth_({reinterpret_cast<const char*>(chars_.data() + i), len}));
    return w;
  }

  // As SplitPiece, but a row ends before the first character that would take its
  // measured width past rowWidth_ (a row holds at least one character).
  void SplitPieceMeasured() {
    const std::size_t n = pieceLen_;
    const std::uint8_t* d = chars_.data();
    rowFirstBlock_ = static_cast<std::int32_t>(m_.blocks_.size());
    std::size_t blockStart = 0;
    std::size_t off = 0;
    long long width = 0;
    bool rowHasText = false;
    while (off < n) {
      std::size_t tagEnd = 0;
      Colour color = 0;
      if (tagMode_ && d[off] == '<' && ParseTag(off, tagEnd, color)) {
        if (off > blockStart) CloseBlock(blockStart, off, color_);
        color_ = color;
        off = tagEnd;
        blockStart = tagEnd;
        continue;
      }
      const std::size_t len = kinds_[off] == kLead && off + 1 < n ? 2 : 1;
      const int w = Advance(off, len);
      if (rowHasText && width + w > rowWidth_) {
        std::size_t end = off;
        if (lineBreakRules_ && end > blockStart) end = BreakRulesEnd(blockStart, end);
        if (end > blockStart) CloseBlock(blockStart, end, color_);
        RecordRow();
        blockStart = std::max(blockStart, end);
        off = blockStart;
        width = 0;
        rowHasText = false;
        continue;
      }
      width += w;
      rowHasText = true;
      off += len;
    }
    if (blockStart < n) CloseBlock(blockStart, n, color_);
    RecordRow();
  }

  TextModel& m_;
  const bool tagMode_;
  const std::int32_t perLine_;
  const std::int32_t linesPerPage_;
  const std::int32_t tab_;
  const bool lineBreakRules_;
  const std::function<int(std::string_view)> textWidth_;
  const int rowWidth_;
  std::vector<int> widths_;  // per character code, -1 until measured
  std::vector<std::uint8_t> chars_;
  std::vector<std::uint8_t> kinds_;
  std::size_t pieceLen_ = 0;
  std::int32_t rowFirstBlock_ = 0;
  Colour color_ = 0;
  Stage stage_ = Stage::Buffers;
  std::atomic<std::int32_t>* rowsFound_ = nullptr;
  const std::atomic<bool>* stop_ = nullptr;
};

bool BuildTextModel(TextModel& m, std::span<const std::uint8_t> doc,
                    const TextModelOptions& options) {
  auto reset = [&m] {
    m.blocks_.clear();
    m.rows_.clear();
    m.pageStarts_.clear();
    m.lcBuf_.clear();
    // The marks are allocated afresh after the split; the old ones need not wait for it.
    TextModel::Table<std::uint8_t>().swap(m.lcMark_);
    m.totalRows_ = 0;
    m.columnPageCount_ = 0;
  };
  reset();
  m.failures_.clear();
  m.nonAsciiPos_ = 0;
  m.totalRows_ = 0;
  m.columnPageCount_ = 0;
  m.rejected_ = false;
  m.partial_ = false;
  // Only a build that converts says so; a refused or empty document shows no conversion.
  m.utf8Applied_ = 0;
  auto finish = [&m](bool ok) {
    m.lastBuildWasText_ = ok ? 1 : 0;
    return ok;
  };
  if (doc.empty()) return finish(true);

  const std::int64_t bad = FindNonTextByte(doc, options.Stop);
  TextModelBuilder builder(m, options);
  // Given up: nothing to show and nothing to tell, as the rows are no longer wanted.
  auto stopped = [&] {
    reset();
    return finish(false);
  };
  if (builder.Stopped()) return stopped();
  if (bad >= 0) {
    m.rejected_ = true;
    m.nonAsciiPos_ = static_cast<std::int32_t>(std::min<std::int64_t>(bad, std::numeric_limits<std::int32_t>::max()));
    return finish(false);
  }

  try {
    const DisplayChoice choice = ChooseDisplay(doc, options);
    m.utf8Applied_ = choice.kind == DisplayChoice::Kind::Utf8 ? 1 : 0;
    // UTF-8 text is converted and split a few megabytes at a time, each part ending after
    // an LF (no UTF-8 sequence, CR+LF or piece spans one), so no converted copy of the
    // whole text is held beside the document and LcBuf. The conversion is never longer
    // than its UTF-8, so a text within the LcBuf limit needs no size check first.
    if (choice.kind == DisplayChoice::Kind::Utf8 && choice.utf8.size() <= kMaxLcBuf) {
      constexpr std::size_t kPartBytes = std::size_t{4} << 20;
      const std::span<const std::uint8_t> utf8 = choice.utf8;
      builder.Prepare(utf8.size());
      for (std::size_t from = 0; from < utf8.size();) {
        std::size_t to = std::min(utf8.size(), from + kPartBytes);
        if (to < utf8.size()) {
          const auto* lf = static_cast<const std::uint8_t*>(std::memchr(utf8.data() + to, '\n', utf8.size() - to));
          to = lf == nullptr ? utf8.size() : static_cast<std::size_t>(lf - utf8.data()) + 1;
        }
        if (builder.Stopped()) return stopped();
        const std::string part = Utf8ToDisplay(utf8.subspan(from, to - from));
        if (!builder.Split(reinterpret_cast<const std::uint8_t*>(part.data()), part.size(), to == utf8.size())) {
          if (builder.Stopped()) return stopped();
          m.failures_.push_back({"バッファの再確保に失敗しました", "確認"});
          m.failures_.push_back({"ブロック割りに失敗しました", "確認"});
          reset();
          return finish(false);
        }
        from = to;
      }
      builder.IndexPages();
      builder.AllocateMarks();
      return finish(true);
    }

    // The display data: the document itself, or a converted or decoded copy.
    std::string converted;
    std::span<const std::uint8_t> display = doc;
    if (Convert(choice, doc, options, converted))
      display = {reinterpret_cast<const std::uint8_t*>(converted.data()), converted.size()};
    if (display.size() > kMaxLcBuf) {
      // Offsets into the text are int32.
      m.failures_.push_back({"バッファの確保に失敗しました", "確認"});
      reset();
      return finish(false);
    }

    builder.Prepare(display.size());
    if (!builder.Split(display.data(), display.size())) {
      if (builder.Stopped()) return stopped();
      m.failures_.push_back({"バッファの再確保に失敗しました", "確認"});
      m.failures_.push_back({"ブロック割りに失敗しました", "確認"});
      reset();
      return finish(false);
    }
    std::string().swap(converted);  // give the copy back before the marks are allocated
    builder.IndexPages();
    builder.AllocateMarks();
  } catch (const std::bad_alloc&) {
    reset();
    switch (builder.stage()) {
      case TextModelBuilder::Stage::Rows:
        m.failures_.push_back({"行データ用メモリの再割当てに失敗しました。", "確認要求"});
        break;
      case TextModelBuilder::Stage::Pages:
        m.failures_.push_back({"頁データのメモリの再割当てに失敗しました。", "確認要求"});
        break;
      case TextModelBuilder::Stage::Text:
        m.failures_.push_back({"バッファの再確保に失敗しました", "確認"});
        [[fallthrough]];
      case TextModelBuilder::Stage::Blocks:
        m.failures_.push_back({"ブロック割りに失敗しました", "確認"});
        break;
      case TextModelBuilder::Stage::Buffers:
        m.failures_.push_back({"バッファの確保に失敗しました", "確認"});
        break;
    }
    return finish(false);
  }
  return finish(true);
}

bool BuildTextModelStart(TextModel& m, std::span<const std::uint8_t> doc, const TextModelOptions& options,
                         std::size_t bytes) {
  m = TextModel();
  if (doc.size() <= bytes || options.TextWidth) return false;
  const DisplayChoice choice = ChooseDisplay(doc, options);
  if (choice.kind == DisplayChoice::Kind::Mail) return false;  // decoded from the whole mail only
  const bool utf8 = choice.kind == DisplayChoice::Kind::Utf8;
  const std::span<const std::uint8_t> text = utf8 ? choice.utf8 : doc;
  // Up to a line end, so the last row is the whole build's too (no UTF-8 sequence, CR+LF,
  // tag or piece spans an LF).
  const std::span<const std::uint8_t> head = text.first(std::min(bytes, text.size()));
  const auto lf = std::find(head.rbegin(), head.rend(), std::uint8_t{'\n'});
  if (lf == head.rend()) return false;
  const std::span<const std::uint8_t> start = head.first(static_cast<std::size_t>(head.rend() - lf));
  const std::size_t skipped = static_cast<std::size_t>(start.data() - doc.data());  // a byte-order mark
  if (FindNonTextByte(doc.first(skipped + start.size())) >= 0) return false;

  TextModelBuilder builder(m, options);
  try {
    const std::string part = utf8 ? Utf8ToDisplay(start) : std::string();
    const std::span<const std::uint8_t> display =
        utf8 ? std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(part.data()), part.size()) : start;
    builder.Prepare(display.size());
    if (!builder.Split(display.data(), display.size(), false)) {
      m = TextModel();
      return false;
    }
    builder.IndexPages();
    builder.AllocateMarks();
  } catch (const std::bad_alloc&) {
    m = TextModel();
    return false;
  }
  m.utf8Applied_ = utf8 ? 1 : 0;
  m.lastBuildWasText_ = 1;
  m.partial_ = true;
  return true;
}

}  // namespace tyld::ascii
