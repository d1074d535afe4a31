#pragma once
// The ASCII screen's text model: the document's bytes turned into display rows of coloured
// blocks and a page index, ready for the sheet painter and the string search.
#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/large_block.h"

namespace tyld::ascii {

using platform::Colour;

// One run of text of one colour; its bytes are LcBuf[Offset, Offset + Length).
struct TextBlock {
  std::int32_t Offset = 0;
  std::int32_t Length = 0;
  Colour Color = 0;
};

// One display row: blocks FirstBlock .. FirstBlock + BlockCount - 1 (none for an empty row).
struct TextRow {
  std::int32_t FirstBlock = 0;
  std::int32_t BlockCount = 0;
};

// Turns the bytes of a mail file into displayable Shift-JIS text.
using MailDecoder = std::function<std::string(std::string_view)>;

// How a mail file is shown.
enum class MailView : std::int32_t { NotMail, Raw, Decoded };

struct TextModelOptions {
  std::string_view DocExt;          // extension of the loaded file, with the dot
  std::int32_t ColourTagMode = 0;   // 1: a print file, FONT COLOR tags colour the text
  MailView EmlMode = MailView::NotMail;
  // 1: convert the whole document from UTF-8; 0: convert when it looks like UTF-8;
  // -1: read it as Shift-JIS whatever it looks like.
  std::int32_t ForceUtf8 = 0;
  std::int32_t AscCharsPerLine = 80;
  std::int32_t AscLinesPerPage = 80;
  std::int32_t AscTabWidth = 8;
  // No row starts with closing punctuation or small kana nor ends with an opening bracket.
  bool LineBreakRules = false;
  // A proportional font: rows are cut where their measured width would pass RowWidth
  // (device units of TextWidth, which measures Shift-JIS text). Null keeps the cut by
  // AscCharsPerLine, which is exact for a fixed pitch.
  std::function<int(std::string_view sjis)> TextWidth;
  int RowWidth = 0;
  MailDecoder DecodeMail;           // null: a decoded mail view shows the raw bytes
  // Rows cut so far, now and then, for a build on another thread to show its progress.
  std::atomic<std::int32_t>* RowsFound = nullptr;
  // Set from another thread to give a build up: it returns false soon after, with an empty
  // model and no failures, as its rows are no longer wanted.
  const std::atomic<bool>* Stop = nullptr;
};

// A message the caller shows in a message box after a failed build (texts UTF-8).
struct BuildFailure {
  std::string text;
  std::string caption;
};

class TextModel {
 public:
  // Rows of the last successful build; 0 when there is nothing to show.
  [[nodiscard]] std::int32_t TotalRows() const { return totalRows_; }
  [[nodiscard]] std::int32_t RowCount() const { return static_cast<std::int32_t>(rows_.size()); }
  [[nodiscard]] std::int32_t BlockCount() const { return static_cast<std::int32_t>(blocks_.size()); }
  // Column pages: PageStarts() has ColumnPageCount() + 1 entries, the last one RowCount().
  [[nodiscard]] std::int32_t ColumnPageCount() const { return columnPageCount_; }
  [[nodiscard]] std::int32_t NonAsciiPos() const { return nonAsciiPos_; }
  [[nodiscard]] std::int32_t Utf8Applied() const { return utf8Applied_; }
  [[nodiscard]] std::int32_t LastBuildWasText() const { return lastBuildWasText_; }
  // True when the last build refused the document (a control byte at NonAsciiPos()).
  [[nodiscard]] bool Rejected() const { return rejected_; }
  // True when the rows are those of the document's start only (BuildTextModelStart): the
  // totals are not known yet.
  [[nodiscard]] bool Partial() const { return partial_; }
  // Messages of the last build's failure, in the order they are to be shown.
  [[nodiscard]] const std::vector<BuildFailure>& Failures() const { return failures_; }

  [[nodiscard]] std::span<const TextRow> TextRows() const { return rows_; }
  [[nodiscard]] std::span<const TextBlock> TextBlocks() const { return blocks_; }
  [[nodiscard]] std::span<const std::int32_t> PageStarts() const { return pageStarts_; }

  // The visible bytes of all rows (Shift-JIS, no line ends, no tags) and their marks.
  [[nodiscard]] std::string_view LcBuf() const { return {lcBuf_.data(), lcBuf_.size()}; }
  [[nodiscard]] std::int32_t LcBufUsed() const { return static_cast<std::int32_t>(lcBuf_.size()); }
  // One mark byte per LcBuf byte; bits 0-3 are the search highlights.
  [[nodiscard]] std::span<std::uint8_t> LcMark() { return lcMark_; }
  [[nodiscard]] std::span<const std::uint8_t> LcMark() const { return lcMark_; }
  void ClearMarks();

  [[nodiscard]] std::string_view BlockText(const TextBlock& b) const;
  [[nodiscard]] std::span<const std::uint8_t> BlockMarks(const TextBlock& b) const;
  // Rows [first, end) of a column page; empty when the page does not exist.
  struct RowRange {
    std::int32_t first = 0;
    std::int32_t end = 0;
  };
  [[nodiscard]] RowRange ColumnPageRows(std::int64_t columnPage) const;

  // A new document was loaded: give back the memory of the tables and the text buffers.
  void ReleaseTables();

 private:
  friend bool BuildTextModel(TextModel&, std::span<const std::uint8_t>, const TextModelOptions&);
  friend bool BuildTextModelStart(TextModel&, std::span<const std::uint8_t>, const TextModelOptions&, std::size_t);
  friend class TextModelBuilder;

  // Big per-document buffers, zeroed by the system: marks cost memory only where set.
  template <class T>
  using Table = std::vector<T, platform::LargeBlockAllocator<T>>;
  Table<char> lcBuf_;
  Table<std::uint8_t> lcMark_;
  Table<TextBlock> blocks_;
  Table<TextRow> rows_;
  Table<std::int32_t> pageStarts_;
  std::int32_t totalRows_ = 0;
  std::int32_t columnPageCount_ = 0;
  std::int32_t nonAsciiPos_ = 0;
  std::int32_t utf8Applied_ = 0;
  std::int32_t lastBuildWasText_ = 0;
  bool rejected_ = false;
  bool partial_ = false;
  std::vector<BuildFailure> failures_;
};

// Rebuilds the model from the document bytes. False for a rejected document, after a
// failure (see Failures()) and when stopped; the result is kept as LastBuildWasText().
bool BuildTextModel(TextModel& model, std::span<const std::uint8_t> doc,
                    const TextModelOptions& options);

// The rows of the document's start only, to show while the whole build runs: the lines
// that end within its first `bytes` bytes (of the UTF-8 text for a converted one), shown
// as the whole document is (its conversion is chosen from all of it). These are the first
// rows the whole build gives. False, and an empty model, for a mail, a document no longer
// than `bytes`, a start without a line end or with a byte the whole build refuses.
bool BuildTextModelStart(TextModel& model, std::span<const std::uint8_t> doc,
                         const TextModelOptions& options, std::size_t bytes);

// How a newly loaded document is shown: decoded for ".eml" (any case), else not a mail.
MailView EmlModeForExtension(std::string_view docExt);

// The bytes the screen shows when they are not the document itself: the UTF-8 conversion
// (byte-order mark, forced, an HTML file declaring UTF-8, or a file that looks like UTF-8)
// or the decoded mail. Returns
// false when the document is shown as it is; utf8Applied tells whether UTF-8 was converted.
bool ConvertForDisplay(std::span<const std::uint8_t> doc, const TextModelOptions& options,
                       std::string& converted, std::int32_t& utf8Applied);

// Position of the first byte that makes the document unfit for text display, or -1 (also
// when `stop` turned true meanwhile: the caller checks it).
std::int64_t FindNonTextByte(std::span<const std::uint8_t> doc, const std::atomic<bool>* stop = nullptr);

// How much of a document the UTF-8 detection reads: enough for a sure answer, cheap on
// big files.
inline constexpr std::size_t kUtf8ProbeBytes = 64 * 1024;

// True when the start of the document (kUtf8ProbeBytes) is well-formed UTF-8 with at least
// one multi-byte character and is not as plausibly Shift-JIS.
bool LooksLikeUtf8(std::span<const std::uint8_t> doc);

// UTF-8 to the display form: each converted character becomes its CP932 code (one or two
// bytes) or the substitute "・"; bytes that are not valid UTF-8 are kept as they are.
std::string Utf8ToDisplay(std::span<const std::uint8_t> utf8);

}  // namespace tyld::ascii
