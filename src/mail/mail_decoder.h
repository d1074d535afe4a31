#pragma once
// Turns a saved mail (.eml) into Shift-JIS display text with CR LF line ends: header
// fields unfolded onto one line each with their encoded words and file names decoded,
// text parts decoded by transfer encoding and charset (an HTML part that is not an
// alternative to plain text shown as its text), everything else passed through line
// by line.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tyld::mail {

class Charset;

// PartKind
inline constexpr int kPartNone = 0;
inline constexpr int kPartText = 1;
inline constexpr int kPartMultipart = 2;
inline constexpr int kPartImage = 3;
inline constexpr int kPartOther = 9;

// TransferEncoding
inline constexpr int kEncodingNone = 0;
inline constexpr int kEncodingQuotedPrintable = 1;
inline constexpr int kEncodingBase64 = 2;
inline constexpr int kEncoding7bit = 7;
inline constexpr int kEncoding8bit = 8;
inline constexpr int kEncodingOther = 9;

// One line of the mail (after its line ends were made CR LF).
struct MailLine {
  std::size_t LineStart = 0;
  std::size_t LineLength = 0;  // without the CR LF
  int PartKind = kPartNone;    // of the part whose header block holds the line
  int PartCharset = 0;         // kCharsetNone (none or US-ASCII), kCharsetOther or kCharsetUtf8
  int TransferEncoding = kEncodingNone;
  int BoundaryMark = 0;        // k: opening line of boundary k (from 1); -k: its closing line
  bool EmbeddedMessage = false;  // message/rfc822: the body starts with another header
};

// Where a text part's decoded body stands in the output.
struct TextBody {
  std::size_t Offset = 0;
  std::size_t Length = 0;
};

class MailDecoder {
 public:
  // Decodes a whole mail; the result replaces the previous one.
  void Decode(std::string_view raw);

  const std::string& Output() const { return output_; }
  const std::vector<MailLine>& Lines() const { return lines_; }
  // The multipart boundaries in the order their headers occur.
  const std::vector<std::string>& Boundaries() const { return boundaries_; }
  // The decoded body of each text part, in the order of the parts.
  const std::vector<TextBody>& TextBodies() const { return bodies_; }
  // Charsets named in the mail that cannot be converted, each once.
  const std::vector<std::string>& UnknownCharsets() const { return unknown_; }

 private:
  struct Part {
    std::size_t First = 0;  // first header line
    std::size_t End = 0;    // the line after the header block (its empty line, when it has a body)
    bool HasBody = false;
    int Kind = kPartNone;
    int Encoding = kEncodingNone;
    bool Embedded = false;
    std::string Type;     // media type, lower case
    std::string CharsetName;  // as named; empty when none
    int Parent = -1;      // the multipart or message part holding this one
    bool HasPlain = false;  // a multipart with a text/plain part somewhere inside
    bool HtmlAsText = false;
  };

  void ReadLines();
  void MarkParts();
  void ChooseHtmlText();
  void Emit();

  std::string_view Text(const MailLine& line) const {
    return std::string_view(input_).substr(line.LineStart, line.LineLength);
  }
  std::size_t LineEnd(std::size_t i) const;  // offset after line i's CR LF
  int MatchBoundary(std::string_view line) const;
  void AddBoundary(std::string_view value, int owner);
  std::size_t FieldEnd(std::size_t first, std::size_t end) const;
  std::string Unfolded(std::size_t first, std::size_t last) const;
  void EmitRaw(std::string_view text);
  void EmitDecoded(std::string_view text);
  void EmitField(std::string_view field);
  void AppendConverted(std::string& out, const Charset& charset, std::string_view name, std::string_view bytes);
  void NoteUnknown(std::string_view charset);
  std::size_t EmitPart(const Part& part);
  std::size_t EmitTextBody(const Part& part);
  void AddBody(std::size_t offset);

  std::string input_;
  std::string output_;
  std::string scratch_;
  std::vector<MailLine> lines_;
  std::vector<std::string> boundaries_;
  std::vector<int> boundaryOwner_;  // the part that declared each boundary
  std::unordered_map<std::string, int> boundaryIndex_;  // boundary -> k, the last one wins
  std::vector<Part> parts_;
  std::vector<TextBody> bodies_;
  std::vector<std::string> unknown_;
};

// The decoded display text of a mail file's bytes.
std::string DecodeMail(std::string_view raw);

}  // namespace tyld::mail
