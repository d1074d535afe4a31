#include "mail/mail_decoder.h"

#include <algorithm>

#include "mail/ascii_case.h"
#include "mail/charset.h"
#include "mail/content_field.h"
#include "mail/header_line.h"
#include "mail/html_text.h"
#include "mail/text_lines.h"
#include "mail/transfer_decoding.h"
#include "platform/codepage.h"

namespace tyld::mail {
namespace {

// "Name:" with a field name of printable ASCII, as header fields start.
bool IsFieldStart(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && line[i] > 0x20 && line[i] < 0x7F && line[i] != ':') ++i;
  return i > 0 && i < line.size() && line[i] == ':';
}

bool IsField(std::string_view field, std::string_view name) {
  return StartsWithNoCase(field, name) && field.size() > name.size() && field[name.size()] == ':';
}

int KindOf(std::string_view type) {
  if (type.empty()) return kPartNone;
  if (type.starts_with("text/") || type == "text") return kPartText;
  if (type.starts_with("multipart/")) return kPartMultipart;
  if (type.starts_with("image/")) return kPartImage;
  return kPartOther;
}

int EncodingOf(std::string_view value) {
  value = Trim(value);
  std::size_t end = 0;
  while (end < value.size() && !IsBlank(value[end]) && value[end] != ';' && value[end] != '(') ++end;
  const std::string_view word = value.substr(0, end);
  auto is = [&](std::string_view name) { return EqualsNoCase(word, name); };
  if (is("quoted-printable")) return kEncodingQuotedPrintable;
  if (is("base64")) return kEncodingBase64;
  if (is("7bit")) return kEncoding7bit;
  if (is("8bit")) return kEncoding8bit;
  return kEncodingOther;
}

// Base64 data lines: the alphabet, padding and white space only.
bool IsBase64Line(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/' ||
           c == '=' || IsBlank(c);
  });
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

// Said once at the top of the decoded view when some text could not be converted.
std::string UnknownCharsetNote(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size() && i < 5; ++i) {
    if (i > 0) list += "、";
    for (const char c : names[i].substr(0, 40)) list += (c > 0x20 && c < 0x7F) ? c : '?';
  }
  if (names.size() > 5) list += "、…";
  return platform::codepage::FromUtf8("変換できない文字コードがあります（" + list +
                                      "）。その部分は元のバイトのまま表示しています。") +
         "\r\n";
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
  boundaryOwner_.clear();
  boundaryIndex_.clear();
  parts_.clear();
  bodies_.clear();
  unknown_.clear();
  ReadLines();
  MarkParts();
  ChooseHtmlText();
  Emit();
  if (!unknown_.empty()) {
    const std::string note = UnknownCharsetNote(unknown_);
    output_.insert(0, note);
    for (TextBody& body : bodies_) body.Offset += note.size();
  }
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

void MailDecoder::AddBoundary(std::string_view value, int owner) {
  if (value.empty()) return;
  boundaries_.emplace_back(value);
  boundaryOwner_.push_back(owner);
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

// A header field runs over the lines that continue it (starting with a space or a
// tab). Only a line that is a field takes continuations, so indented text in a block
// that is no header keeps its lines.
std::size_t MailDecoder::FieldEnd(std::size_t first, std::size_t end) const {
  std::size_t last = first + 1;
  if (!IsFieldStart(Text(lines_[first]))) return last;
  while (last < end) {
    const std::string_view text = Text(lines_[last]);
    if (text.empty() || !IsBlank(text.front())) break;
    ++last;
  }
  return last;
}

std::string MailDecoder::Unfolded(std::size_t first, std::size_t last) const {
  std::string field;
  for (std::size_t k = first; k < last; ++k) field += Text(lines_[k]);
  return field;
}

// Walks the parts: a header block starts the mail, follows each opening boundary line
// and starts the body of an embedded message; it runs to the first empty line. Its
// Content-Type and Content-Transfer-Encoding count wherever they stand in it. Lines
// outside header blocks keep no classification, so header-like text in a body changes
// nothing; a block that never reaches an empty line has no body to decode.
void MailDecoder::MarkParts() {
  std::size_t i = 0;
  bool atHeader = true;
  int parent = -1;
  while (i < lines_.size()) {
    if (!atHeader) {
      MailLine& line = lines_[i];
      line.BoundaryMark = MatchBoundary(Text(line));
      if (line.BoundaryMark > 0) {
        atHeader = true;
        parent = boundaryOwner_[static_cast<std::size_t>(line.BoundaryMark - 1)];
      }
      ++i;
      continue;
    }
    Part part;
    part.First = i;
    part.Parent = parent;
    const int self = static_cast<int>(parts_.size());
    std::size_t end = i;
    while (end < lines_.size() && lines_[end].LineLength != 0 && MatchBoundary(Text(lines_[end])) == 0) ++end;
    bool typed = false;
    for (std::size_t f = i; f < end;) {
      const std::size_t next = FieldEnd(f, end);
      const std::string field = Unfolded(f, next);
      if (!typed && IsField(field, "Content-Type")) {
        typed = true;
        const ContentField content = ParseContentField(field);
        part.Type = MediaType(content.head);
        part.Kind = KindOf(part.Type);
        part.Embedded = part.Type == "message/rfc822";
        if (const FieldParam* charset = content.Find("charset")) part.CharsetName = Trim(charset->value);
        if (part.Kind == kPartMultipart)
          if (const FieldParam* boundary = content.Find("boundary")) AddBoundary(boundary->value, self);
      } else if (part.Encoding == kEncodingNone && IsField(field, "Content-Transfer-Encoding")) {
        part.Encoding = EncodingOf(std::string_view(field).substr(26));
      }
      f = next;
    }
    part.End = end;
    part.HasBody = end < lines_.size() && lines_[end].LineLength == 0;
    if (part.HasBody) {
      const Charset charset(part.CharsetName);
      const int code = charset.IsUtf8() ? kCharsetUtf8 : (charset.Declared() ? kCharsetOther : kCharsetNone);
      for (std::size_t k = i; k < end; ++k) {
        MailLine& line = lines_[k];
        line.PartKind = part.Kind;
        line.PartCharset = code;
        line.TransferEncoding = part.Encoding;
        line.EmbeddedMessage = part.Embedded;
      }
    }
    parts_.push_back(part);
    i = end;
    atHeader = false;
    if (part.HasBody && part.Embedded) {
      ++i;  // the empty line; the embedded message's header follows
      atHeader = true;
      parent = self;
    }
  }
}

// An HTML part is shown as its text unless it is one of the alternatives of a
// multipart/alternative that also holds plain text: then the plain part tells the text
// and the HTML keeps its markup.
void MailDecoder::ChooseHtmlText() {
  for (const Part& part : parts_) {
    if (part.Type != "text/plain" || !part.HasBody) continue;
    // Holders come before what they hold; once one is marked, so is everything above it.
    for (int p = part.Parent; p >= 0 && !parts_[static_cast<std::size_t>(p)].HasPlain;
         p = parts_[static_cast<std::size_t>(p)].Parent)
      parts_[static_cast<std::size_t>(p)].HasPlain = true;
  }
  std::vector<bool> belowPlainAlternative(parts_.size(), false);
  for (std::size_t k = 0; k < parts_.size(); ++k) {
    Part& part = parts_[k];
    if (part.Parent >= 0) {
      const auto p = static_cast<std::size_t>(part.Parent);
      belowPlainAlternative[k] =
          belowPlainAlternative[p] || (parts_[p].Type == "multipart/alternative" && parts_[p].HasPlain);
    }
    part.HtmlAsText = part.Type == "text/html" && !belowPlainAlternative[k];
  }
}

void MailDecoder::NoteUnknown(std::string_view charset) {
  if (std::none_of(unknown_.begin(), unknown_.end(), [&](const std::string& name) { return EqualsNoCase(name, charset); }))
    unknown_.emplace_back(charset);
}

void MailDecoder::EmitRaw(std::string_view text) {
  output_ += text;
  output_ += "\r\n";
}

void MailDecoder::EmitDecoded(std::string_view text) {
  scratch_.clear();
  std::vector<std::string> unknown;
  AppendDecodedHeaderLine(scratch_, text, &unknown);
  for (const std::string& name : unknown) NoteUnknown(name);
  if (std::count(scratch_.begin(), scratch_.end(), '\x1b') > 1) {
    AppendJisAsSjis(output_, scratch_);
  } else {
    output_ += scratch_;
  }
  output_ += "\r\n";
}

// One header field on one line. Content-Type and Content-Disposition show the
// parameters written in RFC 2231 form (file names above all) decoded and joined.
void MailDecoder::EmitField(std::string_view field) {
  if (!IsField(field, "Content-Type") && !IsField(field, "Content-Disposition")) {
    EmitDecoded(field);
    return;
  }
  const ContentField content = ParseContentField(field);
  if (!content.HasExtended()) {
    EmitDecoded(field);
    return;
  }
  std::string shown;
  std::vector<std::string> unknown;
  AppendDecodedHeaderLine(shown, content.head, &unknown);
  for (const FieldParam& param : content.params) {
    shown += "; ";
    if (!param.extended) {
      AppendDecodedHeaderLine(shown, param.written, &unknown);
      continue;
    }
    const Charset charset(param.charset);
    if (!charset.Known()) unknown.push_back(param.charset);
    shown += param.name + "=\"" + charset.Convert(param.value) + "\"";
  }
  for (const std::string& name : unknown) NoteUnknown(name);
  EmitRaw(shown);
}

void MailDecoder::AppendConverted(std::string& out, const Charset& charset, std::string_view name,
                                  std::string_view bytes) {
  if (!charset.Known()) NoteUnknown(name);
  charset.Append(out, bytes);
}

void MailDecoder::AddBody(std::size_t offset) { bodies_.push_back({offset, output_.size() - offset}); }

// Emits a part's header fields, and the body of a text part; returns the next line.
std::size_t MailDecoder::EmitPart(const Part& part) {
  for (std::size_t f = part.First; f < part.End;) {
    const std::size_t next = FieldEnd(f, part.End);
    if (next == f + 1) {
      EmitField(Text(lines_[f]));
    } else {
      EmitField(Unfolded(f, next));
    }
    f = next;
  }
  if (!part.HasBody || part.Kind != kPartText || part.Encoding == kEncodingOther) return part.End;
  return EmitTextBody(part);
}

std::size_t MailDecoder::EmitTextBody(const Part& part) {
  const std::size_t count = lines_.size();
  std::size_t e = part.End;  // the empty line after the header
  EmitRaw({});
  ++e;
  const Charset charset(part.CharsetName);
  std::string text;  // the body in Shift-JIS

  std::size_t next;  // the line after the body
  bool oneMore = true;  // an empty line follows a body that was decoded as a whole
  if (part.Encoding == kEncodingBase64) {
    for (; e < count && lines_[e].LineLength == 0; ++e) EmitRaw({});
    // The data runs over blank lines and white space up to its padding, the boundary,
    // or a line that cannot be base64 (a footer that a list added, say).
    std::string encoded;
    next = e;
    for (std::size_t t = e; t < count && lines_[t].BoundaryMark == 0; ++t) {
      const std::string_view line = Text(lines_[t]);
      if (line.empty()) continue;
      if (!IsBase64Line(line)) break;
      encoded += line;
      next = t + 1;
      if (line.find('=') != std::string_view::npos) break;
    }
    if (next == e) {
      AddBody(output_.size());
      return e;
    }
    const std::string bytes = DecodeBase64(encoded);
    if (charset.Declared()) {
      AppendConverted(text, charset, part.CharsetName, bytes);
    } else {
      AppendUndeclared(text, bytes);
    }
  } else {
    next = e;
    while (next < count && lines_[next].BoundaryMark == 0) ++next;
    const std::size_t from = e < count ? lines_[e].LineStart : input_.size();
    const std::string_view block =
        next > e ? std::string_view(input_).substr(from, LineEnd(next - 1) - from) : std::string_view();
    if (part.Encoding == kEncodingQuotedPrintable) {
      const std::string bytes = DecodeQuotedPrintableBlock(block);
      if (charset.Declared()) {
        AppendConverted(text, charset, part.CharsetName, bytes);
      } else {
        AppendUndeclared(text, bytes);
      }
      if (!part.HtmlAsText) text = ReplaceNumericReferences(text);
    } else if (charset.Declared()) {
      AppendConverted(text, charset, part.CharsetName, block);
    } else {
      // Text whose charset nobody named: encoded words and raw UTF-8 may stand anywhere.
      std::vector<std::string> unknown;
      AppendDecodedHeaderLine(text, block, &unknown);
      for (const std::string& name : unknown) NoteUnknown(name);
      text = ConvertJisIfEscaped(text);
    }
    oneMore = part.Encoding != kEncodingNone;
  }
  if (part.HtmlAsText) text = HtmlToText(text);
  const std::size_t offset = output_.size();
  AppendWithCrLf(output_, text);
  AddBody(offset);
  if (oneMore) output_ += "\r\n";
  return next;
}

void MailDecoder::Emit() {
  std::size_t a = 0;
  std::size_t partIndex = 0;
  while (a < lines_.size()) {
    while (partIndex < parts_.size() && parts_[partIndex].First < a) ++partIndex;
    if (partIndex < parts_.size() && parts_[partIndex].First == a) {
      a = EmitPart(parts_[partIndex++]);
      continue;
    }
    const MailLine& line = lines_[a];
    if (line.BoundaryMark != 0) {
      EmitRaw(Text(line));
    } else {
      EmitDecoded(Text(line));
    }
    ++a;
  }
}

std::string DecodeMail(std::string_view raw) {
  MailDecoder decoder;
  decoder.Decode(raw);
  return decoder.Output();
}

}  // namespace tyld::mail
