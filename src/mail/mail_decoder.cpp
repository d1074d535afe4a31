#include "mail/mail_decoder.h"

#include <algorithm>

#include "mail/ascii_case.h"
#include "mail/charset.h"
#include "mail/header_line.h"
#include "mail/text_lines.h"
#include "mail/transfer_decoding.h"

namespace tyld::mail {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The media type of a Content-Type value ("text/plain; ..." -> kind of "text/plain").
int MediaKind(std::string_view value, bool& embedded) {
  value = Trim(value);
  std::size_t end = 0;
  while (end < value.size() && value[end] != ';' && !IsBlank(value[end])) ++end;
  const std::string_view type = value.substr(0, end);
  embedded = StartsWithNoCase(type, "message/rfc822");
  if (type.empty()) return kPartNone;
  if (StartsWithNoCase(type, "text/") || (type.size() == 4 && StartsWithNoCase(type, "text"))) return kPartText;
  if (StartsWithNoCase(type, "multipart/")) return kPartMultipart;
  if (StartsWithNoCase(type, "image/")) return kPartImage;
  return kPartOther;
}

int CharsetOf(std::string_view text) {
  const std::size_t at = FindNoCase(text, "charset=");
  if (at == std::string_view::npos) return kCharsetNone;
  std::string_view value = text.substr(at + 8);
  if (!value.empty() && value.front() == '"') value.remove_prefix(1);
  return StartsWithNoCase(value, "utf-8") ? kCharsetUtf8 : kCharsetOther;
}

int EncodingOf(std::string_view value) {
  value = Trim(value);
  std::size_t start = value.size();
  while (start > 0 && !IsBlank(value[start - 1])) --start;
  const std::string_view word = value.substr(start);
  auto is = [&](std::string_view name) { return EqualsNoCase(word, name); };
  if (is("quoted-printable")) return kEncodingQuotedPrintable;
  if (is("base64")) return kEncodingBase64;
  if (is("7bit")) return kEncoding7bit;
  if (is("8bit")) return kEncoding8bit;
  return kEncodingOther;
}

// Appends text with every line end (CR LF, LF or CR alone) made CR LF.
void AppendWithCrLf(std::string& out, std::string_view text) {
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    out.append(text.substr(run, i - run));
    out += "\r\n";
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    run = i + 1;
  }
  out.append(text.substr(run));
}

}  // namespace

void MailDecoder::Decode(std::string_view raw) {
  // Files saved with LF alone (or CR alone) read like the usual CR LF ones.
  input_.clear();
  input_.reserve(raw.size() + raw.size() / 32 + 2);
  AppendWithCrLf(input_, raw);
  output_.clear();
  output_.reserve(input_.size() + 1024);
  lines_.clear();
  boundaries_.clear();
  boundaryIndex_.clear();
  ReadLines();
  ClassifyLines();
  MarkParts();
  Emit();
}

void MailDecoder::ReadLines() {
  ForEachLine(input_, [&](std::string_view line) {
    MailLine entry;
    entry.LineStart = static_cast<std::size_t>(line.data() - input_.data());
    entry.LineLength = line.size();
    lines_.push_back(entry);
  });
}

std::size_t MailDecoder::LineEnd(std::size_t i) const {
  return std::min(lines_[i].LineStart + lines_[i].LineLength + 2, input_.size());
}

// Content-Type and Content-Transfer-Encoding lines, wherever they stand; the header
// blocks are found afterwards. A line that is only "." ends the mail (the end mark of
// a transferred message).
void MailDecoder::ClassifyLines() {
  bool continuing = false;  // the previous line belongs to a Content-Type field
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    MailLine& line = lines_[i];
    const std::string_view text = Text(line);
    if (continuing && !text.empty() && IsBlank(text.front())) {
      const MailLine& prev = lines_[i - 1];
      line.PartKind = prev.PartKind;
      line.EmbeddedMessage = prev.EmbeddedMessage;
      if (line.PartKind == kPartNone) line.PartKind = MediaKind(text, line.EmbeddedMessage);
      const int charset = CharsetOf(text);
      line.PartCharset = charset == kCharsetUtf8 ? charset : (prev.PartCharset != 0 ? prev.PartCharset : charset);
      // The type may stand alone on the folded line; keep the field open for it.
      if (line.PartKind == kPartNone) line.PartKind = kPartOther;
    } else {
      continuing = false;
      if (StartsWithNoCase(text, "Content-Type:")) {
        const std::string_view value = text.substr(13);
        line.PartKind = MediaKind(value, line.EmbeddedMessage);
        line.PartCharset = CharsetOf(value);
        continuing = true;
      } else if (StartsWithNoCase(text, "Content-Transfer-Encoding:")) {
        line.TransferEncoding = EncodingOf(text.substr(26));
      }
    }
    if (text == ".") {
      lines_.resize(i + 1);
      break;
    }
  }
}

void MailDecoder::AddBoundaries(std::string_view line) {
  const std::size_t at = FindNoCase(line, "boundary=");
  if (at == std::string_view::npos) return;
  std::string_view value = line.substr(at + 9);
  if (!value.empty() && value.front() == '"') {
    value.remove_prefix(1);
    value = value.substr(0, value.find('"'));
  } else {
    std::size_t end = 0;
    while (end < value.size() && value[end] != ';' && !IsBlank(value[end])) ++end;
    value = value.substr(0, end);
  }
  if (value.empty()) return;
  boundaries_.emplace_back(value);
  boundaryIndex_[boundaries_.back()] = static_cast<int>(boundaries_.size());
}

int MailDecoder::MatchBoundary(std::string_view line) const {
  if (boundaryIndex_.empty() || !line.starts_with("--")) return 0;
  line.remove_prefix(2);
  while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
  if (line.ends_with("--")) {
    const auto it = boundaryIndex_.find(std::string(line.substr(0, line.size() - 2)));
    if (it != boundaryIndex_.end()) return -it->second;
  }
  const auto it = boundaryIndex_.find(std::string(line));
  return it != boundaryIndex_.end() ? it->second : 0;
}

// Walks the parts: a header block starts the mail, follows each opening boundary line
// and starts the body of an embedded message; it runs to the first empty line. Its
// Content-Type and Content-Transfer-Encoding count wherever they stand in it. Lines
// outside header blocks keep no classification, so header-like text in a body changes
// nothing; a block that never reaches an empty line has no body to decode.
void MailDecoder::MarkParts() {
  std::size_t i = 0;
  bool atHeader = true;
  while (i < lines_.size()) {
    if (!atHeader) {
      MailLine& line = lines_[i];
      line = MailLine{line.LineStart, line.LineLength};
      line.BoundaryMark = MatchBoundary(Text(line));
      atHeader = line.BoundaryMark > 0;
      ++i;
      continue;
    }
    std::size_t end = i;
    int kind = kPartNone, charset = kCharsetNone, encoding = kEncodingNone;
    bool embedded = false;
    for (; end < lines_.size(); ++end) {
      const MailLine& line = lines_[end];
      const std::string_view text = Text(line);
      if (text.empty() || MatchBoundary(text) != 0) break;
      if (kind == kPartNone && line.PartKind != kPartNone) {
        kind = line.PartKind;
        embedded = line.EmbeddedMessage;
      }
      if (charset == kCharsetNone) charset = line.PartCharset;
      if (encoding == kEncodingNone) encoding = line.TransferEncoding;
      if (line.PartKind == kPartMultipart) AddBoundaries(text);
    }
    const bool hasBody = end < lines_.size() && lines_[end].LineLength == 0;
    for (std::size_t k = i; k < end; ++k) {
      MailLine& line = lines_[k];
      line = MailLine{line.LineStart, line.LineLength};
      if (hasBody) {
        line.PartKind = kind;
        line.PartCharset = charset;
        line.TransferEncoding = encoding;
        line.EmbeddedMessage = embedded;
      }
    }
    i = end;
    atHeader = false;
    if (hasBody && embedded) {
      lines_[i] = MailLine{lines_[i].LineStart, lines_[i].LineLength};
      ++i;
      atHeader = true;
    }
  }
}

void MailDecoder::EmitRaw(std::string_view text) {
  output_ += text;
  output_ += "\r\n";
}

void MailDecoder::EmitDecoded(std::string_view text) {
  scratch_.clear();
  AppendDecodedHeaderLine(scratch_, text);
  if (std::count(scratch_.begin(), scratch_.end(), '\x1b') > 1) {
    AppendJisAsSjis(output_, scratch_);
  } else {
    output_ += scratch_;
  }
  output_ += "\r\n";
}

// Emits a text part from the first line of its header block; returns the next line.
std::size_t MailDecoder::EmitTextPart(std::size_t a) {
  const MailLine& head = lines_[a];
  const int encoding = head.TransferEncoding;
  const int charset = head.PartCharset;
  const std::size_t count = lines_.size();
  std::size_t e = a;
  for (; e < count && lines_[e].LineLength != 0; ++e) EmitDecoded(Text(lines_[e]));
  if (e == count) return e;  // a header block always ends in an empty line; be safe

  auto bodyEnd = [&](std::size_t from) {  // first boundary line at or after `from`
    std::size_t t = from;
    while (t < count && lines_[t].BoundaryMark == 0) ++t;
    return t;
  };

  switch (encoding) {
    case kEncodingBase64: {
      std::size_t b = e;
      for (; b < count && lines_[b].LineLength == 0; ++b) EmitRaw({});
      std::size_t t = b;
      while (t < count && lines_[t].LineLength != 0 && lines_[t].BoundaryMark == 0) ++t;
      if (t > b) {
        const std::string_view encoded =
            std::string_view(input_).substr(lines_[b].LineStart, LineEnd(t - 1) - lines_[b].LineStart);
        AppendWithCrLf(output_, DecodeBase64Text(encoded, charset));
        output_ += "\r\n";
      }
      return t;
    }
    case kEncodingQuotedPrintable:
    case kEncoding7bit:
    case kEncoding8bit: {
      const std::size_t t = bodyEnd(e + 1);
      const std::size_t from = lines_[e].LineStart;
      const std::string_view block = std::string_view(input_).substr(from, LineEnd(t - 1) - from);
      if (encoding == kEncodingQuotedPrintable) {
        output_ += DecodeQuotedPrintableBlock(block, charset);
        output_ += "\r\n";
      } else if (charset == kCharsetUtf8) {
        AppendWithCrLf(output_, Utf8ToSjis(block));
        output_ += "\r\n";
      } else {
        // The whole block at once, so an ISO-2022-JP run may span lines.
        scratch_.clear();
        AppendDecodedHeaderLine(scratch_, block);
        output_ += ConvertJisIfEscaped(scratch_);
        output_ += "\r\n";
      }
      return t;
    }
    default: {  // no transfer encoding: line by line
      const std::size_t t = bodyEnd(e);
      for (std::size_t k = e; k < t; ++k) {
        if (charset == kCharsetUtf8) {
          AppendUtf8AsSjis(output_, Text(lines_[k]));
          output_ += "\r\n";
        } else {
          EmitDecoded(Text(lines_[k]));
        }
      }
      return t;
    }
  }
}

void MailDecoder::Emit() {
  std::size_t a = 0;
  while (a < lines_.size()) {
    const MailLine& line = lines_[a];
    if (line.BoundaryMark != 0) {
      EmitRaw(Text(line));
      ++a;
    } else if (line.PartKind == kPartText && line.TransferEncoding != kEncodingOther) {
      a = EmitTextPart(a);
    } else {
      EmitDecoded(Text(line));
      ++a;
    }
  }
}

std::string DecodeMail(std::string_view raw) {
  MailDecoder decoder;
  decoder.Decode(raw);
  return decoder.Output();
}

}  // namespace tyld::mail
