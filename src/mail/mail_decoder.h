#pragma once
// Turns a saved mail (.eml) into Shift-JIS display text with CR LF line ends: header
// lines with their encoded words decoded, text parts decoded by transfer encoding and
// charset, everything else passed through line by line.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tyld::mail {

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
  int PartCharset = 0;         // kCharsetNone, kCharsetOther or kCharsetUtf8
  int TransferEncoding = kEncodingNone;
  int BoundaryMark = 0;        // k: opening line of boundary k (from 1); -k: its closing line
  bool EmbeddedMessage = false;  // message/rfc822: the body starts with another header
};

class MailDecoder {
 public:
  // Decodes a whole mail; the result replaces the previous one.
  void Decode(std::string_view raw);

  const std::string& Output() const { return output_; }
  const std::vector<MailLine>& Lines() const { return lines_; }
  // The multipart boundaries in the order their headers occur.
  const std::vector<std::string>& Boundaries() const { return boundaries_; }

 private:
  void ReadLines();
  void ClassifyLines();
  void MarkParts();
  void Emit();

  std::string_view Text(const MailLine& line) const {
    return std::string_view(input_).substr(line.LineStart, line.LineLength);
  }
  std::size_t LineEnd(std::size_t i) const;  // offset after line i's CR LF
  int MatchBoundary(std::string_view line) const;
  void AddBoundaries(std::string_view line);
  void EmitRaw(std::string_view text);
  void EmitDecoded(std::string_view text);
  std::size_t EmitTextPart(std::size_t a);

  std::string input_;
  std::string output_;
  std::string scratch_;
  std::vector<MailLine> lines_;
  std::vector<std::string> boundaries_;
  std::unordered_map<std::string, int> boundaryIndex_;  // boundary -> k, the last one wins
};

// The decoded display text of a mail file's bytes.
std::string DecodeMail(std::string_view raw);

}  // namespace tyld::mail
