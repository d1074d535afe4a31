#include "ascii/sheet_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "ascii/ascii_layout.h"
#include "platform/codepage.h"
#include "platform/highlight_colour.h"
#include "platform/page_units.h"

namespace tyld::ascii {
namespace {

namespace cp = platform::codepage;
using platform::Canvas;
using platform::Colour;
using platform::FontDescription;

constexpr Colour kBlack = 0x00000000;
constexpr Colour kRed = 0x000000FF;
constexpr Colour kTenthLine = 0x00FF6400;

// The ASCII font at whole points for the target's vertical resolution.
FontDescription FontAtPoints(const FontDescription& base, int points, int dpiY) {
  return platform::FontForDevice(base, points * 10, dpiY);
}

std::string Format(const char* fmt, long long a) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, a);
  return buf;
}

// Draws a block: in its colour, or in runs of equal highlight class.
int DrawBlock(Canvas& canvas, int x, int y, std::string_view text,
              std::span<const std::uint8_t> marks, Colour color, bool useColours) {
  if (!useColours) {
    canvas.SetTextColor(kBlack);
    canvas.PutText(x, y, text);
    return canvas.TextExtent(text);
  }
  const bool marked = std::any_of(marks.begin(), marks.end(),
                                  [](std::uint8_t m) { return (m & 0x0F) != 0; });
  if (!marked || marks.size() != text.size()) {
    canvas.SetTextColor(color);
    canvas.PutText(x, y, text);
    return canvas.TextExtent(text);
  }
  int advance = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    const int cls = platform::HighlightClass(marks[start]);
    std::size_t end = start + 1;
    while (end < text.size() && platform::HighlightClass(marks[end]) == cls) ++end;
    // Unmarked runs keep the block's own colour.
    canvas.SetTextColor(cls == 0 ? color : platform::HighlightColour[static_cast<std::size_t>(cls)]);
    const std::string_view run = text.substr(start, end - start);
    canvas.PutText(x + advance, y, run);
    advance += canvas.TextExtent(run);
    start = end;
  }
  return advance;
}

}  // namespace

LocalDateTime CurrentLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

std::string LineNumberText(std::int64_t row) { return Format("%06lld", row + 1); }

bool DrawsLineNumbers(const settings::AsciiPageFormat& fmt, DrawTarget target) {
  return target == DrawTarget::Screen ? fmt.AscLineNoMode != 0 : fmt.AscLineNoMode == 2;
}

FooterTexts MakeFooterTexts(const settings::AsciiPageFormat& fmt, const AsciiLayout& layout,
                            const TextModel& model, const SheetDocument& doc, int sheet, int pageNumber) {
  FooterTexts t;
  if (fmt.AscDateMode != 0) {
    const LocalDateTime now = doc.clock ? doc.clock() : CurrentLocalTime();
    char buf[64];
    std::snprintf(buf, sizeof buf, "[%02d/%02d/%02d,%02d:%02d]", now.year, now.month, now.day,
                  now.hour, now.minute);
    t.date = buf;
  }
  if (fmt.AscPageNoMode != 0 && pageNumber != 0) t.pageNumber = Format("- %lld -", pageNumber);
  if (fmt.AscLineNoMode != 0) {
    const SheetRowRange r = SheetRows(fmt, layout, std::max(0, sheet), model.TotalRows());
    char buf[96];
    // Rows of the document's start only: the total is not known yet.
    if (model.Partial())
      std::snprintf(buf, sizeof buf, "[L=%lld-%lld/?]", static_cast<long long>(r.first),
                    static_cast<long long>(r.last));
    else
      std::snprintf(buf, sizeof buf, "[L=%lld-%lld/%d]", static_cast<long long>(r.first),
                    static_cast<long long>(r.last), model.TotalRows());
    t.lineRange = buf;
  }
  if (fmt.AscFileNameMode != 0) {
    // Appended piece by piece: GCC 12 at -O3 misreads "[" + temporary as an overlapping
    // copy (-Wrestrict).
    const std::string name = cp::FromUtf8(doc.footerName);
    t.fileName.reserve(name.size() + 2);
    t.fileName.append(1, '[').append(name).append(1, ']');
  }
  return t;
}

std::vector<MessageLine> EmptySheetMessage(const TextModel& model, const SheetDocument& doc) {
  if (model.TotalRows() != 0) return {};
  if (doc.docName.empty()) {
    return {{0, "ファイルが定義されていません。"},
            {2, "「ファイルを開く」メニューでファイルを読み出すか"},
            {3, "ドラッグ&ドロップでファイルをこのウインドウ内に落とし込んでください。"},
            {5, "テキストの場合、他のソフトの「コピー」操作でクリップボードに取り込んでから"},
            {6, "本ソフトの「貼り付け」メニュー,「貼」ボタンで本ソフトに取り込むことができます。"},
            {7, "このときは、最後に改行用のCR+LFを追加します。連続して貼り付けることもできます。"},
            {8, "連続貼り付けのときは、データ間で２行空送りします。"},
            {10, "本ソフトは、アスキー、バイナリ形式不問のファイル印刷プログラムです。"}};
  }
  if (doc.docLength == 0)
    return {{0, kMissingOrEmptyFileMessage}};
  // A build that failed for memory has already said so; only a refusal is explained here.
  if (!model.Rejected()) return {};
  char buf[160];
  std::snprintf(buf, sizeof buf, "%d(0x%04x) ﾊﾞｲﾄ目がアスキー状態ではなくアスキー表示できません。",
                model.NonAsciiPos(), static_cast<unsigned>(model.NonAsciiPos()));
  return {{0, buf}};
}

SheetDrawResult DrawSheet(Canvas& canvas, const TextModel& model,
                          const settings::AsciiPageFormat& fmt, const AsciiLayout& layout,
                          const SheetDocument& doc, const SheetRequest& request) {
  const bool screen = request.target == DrawTarget::Screen;
  const int dpiY = canvas.Device().dpiY;

  // 1. Fonts and metrics of the target.
  const pages::PageTarget target =
      pages::OpenPageTarget(canvas, screen, {request.screenFont, request.screenCharWidth, request.screenLinePitch},
                            request.x0, request.y0, doc.asciiFont, doc.pointTenths, fmt.AscLineSpacing);
  const FontDescription& textFont = target.font;
  const int cw = target.charWidth;
  const double lh = target.linePitch;
  const double x0 = target.x0;
  const double y0 = target.y0;
  const FontDescription footerFont = pages::FooterFont(doc.asciiFont, doc.scale, screen, dpiY);
  int sw = cw;
  if (canvas.SelectFont(footerFont)) sw = std::max(1, canvas.Metrics().cellWidth);

  const SheetGeometry geo(fmt, layout, cw, lh, sw, x0, y0, screen);
  const int columns = geo.Columns();

  // 2. Paper, printable area and column frames, screen only.
  if (screen) {
    const auto paper = geo.Paper();
    canvas.Rectangle(paper.left, paper.top, paper.right, paper.bottom, {},
                     {platform::BrushStyle::LightGrey, 0});
    const auto area = geo.Printable();
    canvas.Rectangle(area.left, area.top, area.right, area.bottom,
                     {platform::PenStyle::Dotted, kBlack}, {platform::BrushStyle::LightGrey, 0});
    for (int c = 0; c < columns; ++c) {
      const int left = geo.ColumnLeft(c);
      const int top = geo.TextY();
      canvas.Rectangle(left, top, left + geo.ColumnWidth(), top + geo.ColumnHeight(),
                       {platform::PenStyle::Solid, kBlack}, {platform::BrushStyle::White, 0});
    }
  }

  // 3. Nothing to show: say why.
  const std::vector<MessageLine> message = EmptySheetMessage(model, doc);
  if (!message.empty()) {
    if (canvas.SelectFont(FontAtPoints(doc.asciiFont, 9, dpiY))) {
      const platform::FontMetrics m = canvas.Metrics();
      const int d = m.height + m.leading;
      const int x = static_cast<int>((x0 + 10) * cw);
      const int y = static_cast<int>((y0 + 6) * lh);
      canvas.SetTextColor(kRed);
      for (const MessageLine& line : message)
        canvas.PutText(x, y + line.lineOffset * d, cp::FromUtf8(line.text));
    }
  }

  // 4. Footer, in black whatever the previous sheet or message left as text colour.
  SheetDrawResult result;
  if (HasFooter(fmt)) {
    const FooterTexts t = MakeFooterTexts(fmt, layout, model, doc, request.sheet, request.pageNumber);
    canvas.SelectFont(footerFont);
    canvas.SetTextColor(kBlack);
    const int y = geo.FooterY();
    const auto len = [](const std::string& s) { return static_cast<int>(s.size()); };
    if (!t.date.empty()) canvas.PutText(geo.DateX(), y, t.date);
    if (!t.pageNumber.empty()) canvas.PutText(geo.PageNumberX(len(t.pageNumber)), y, t.pageNumber);
    if (!t.lineRange.empty()) {
      const int pageLen = len(Format("- %lld -", request.pageNumber));
      canvas.PutText(geo.LineRangeX(len(t.lineRange), pageLen), y, t.lineRange);
      const SheetRowRange r = SheetRows(fmt, layout, std::max(0, request.sheet), model.TotalRows());
      result = {true, r.first, r.last};
    }
    if (!t.fileName.empty()) canvas.PutText(geo.FileNameX(len(t.fileName)), y, t.fileName);
  }

  // 5. The rows of each column page of the sheet.
  if (doc.docLength == 0 || model.TotalRows() == 0) return result;
  canvas.SelectFont(textFont);
  const bool lineNumbers = DrawsLineNumbers(fmt, request.target);
  const bool useColours = screen || request.colorPrint;
  const auto blocks = model.TextBlocks();
  const auto rows = model.TextRows();
  for (int c = 0; c < columns; ++c) {
    const auto range =
        model.ColumnPageRows(static_cast<std::int64_t>(request.sheet) * columns + c);
    const int left = geo.ColumnLeft(c);
    for (std::int32_t r = range.first; r < range.end; ++r) {
      const int i = r - range.first;
      const int y = geo.RowY(i);
      if (c == 0 && lineNumbers) {
        canvas.SetTextColor(i % 10 == 9 ? kTenthLine : kBlack);
        canvas.PutText(geo.LineNumberX(), y, LineNumberText(r));
      }
      const TextRow& row = rows[static_cast<std::size_t>(r)];
      int x = left;
      for (std::int32_t b = 0; b < row.BlockCount; ++b) {
        const TextBlock& block = blocks[static_cast<std::size_t>(row.FirstBlock + b)];
        x += DrawBlock(canvas, x, y, model.BlockText(block), model.BlockMarks(block), block.Color,
                       useColours);
      }
    }
  }
  return result;
}

}  // namespace tyld::ascii
