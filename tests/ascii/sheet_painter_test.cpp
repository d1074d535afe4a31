#include "ascii/sheet_painter.h"

#include <gtest/gtest.h>

#include <map>

#include "ascii/sheet_text.h"
#include "platform/codepage.h"
#include "platform/highlight_colour.h"
#include "platform/recording_canvas.h"

namespace tyld::ascii {
namespace {

using platform::RecordingCanvas;
using Op = RecordingCanvas::Op;

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// A hand-set grid so every position follows from the numbers here.
settings::AsciiPageFormat Grid() {
  settings::AsciiPageFormat f;
  f.AscCharsPerLine = 20;
  f.AscLinesPerPage = 12;
  f.AscColumns = 2;
  f.AscDateMode = f.AscPageNoMode = f.AscLineNoMode = f.AscFileNameMode = 0;
  return f;
}

AsciiLayout GridLayout() {
  AsciiLayout l;
  l.leftChars = 9;
  l.topLines = 5;
  l.gapChars = 3;
  l.area.charsAcross = 60;
  l.area.charsAcrossExact = 60.5;
  l.area.linesDownExact = 40.25;
  l.bottomLines = 4;
  return l;
}

// On the 600 dpi recording printer the 8-point font is 33 x 67 and the 6-point footer
// font has cells of 25.
constexpr int kCw = 33, kLh = 67, kSw = 25;

struct Fixture {
  TextModel model;
  settings::AsciiPageFormat fmt = Grid();
  AsciiLayout layout = GridLayout();
  SheetDocument doc;
  RecordingCanvas canvas;

  explicit Fixture(const std::string& text, int tags = 0) {
    TextModelOptions o;
    o.AscCharsPerLine = fmt.AscCharsPerLine;
    o.AscLinesPerPage = fmt.AscLinesPerPage;
    o.ColourTagMode = tags;
    if (!text.empty()) {
      EXPECT_TRUE(BuildTextModel(model, Bytes(text), o));
    }
    doc.docName = "a.txt";
    doc.footerName = "a.txt";
    doc.docLength = static_cast<std::int64_t>(text.size());
    doc.clock = [] { return LocalDateTime{2024, 3, 7, 9, 5}; };
  }
  SheetDrawResult Print(int sheet, bool colour = true, int pageNumber = 1) {
    SheetRequest r;
    r.target = DrawTarget::Printer;
    r.sheet = sheet;
    r.colorPrint = colour;
    r.pageNumber = pageNumber;
    return DrawSheet(canvas, model, fmt, layout, doc, r);
  }
  std::vector<RecordingCanvas::Call> Texts() const { return canvas.Texts(); }
};

std::string Lines(int from, int to) {
  std::string s;
  for (int i = from; i <= to; ++i) s += "r" + std::to_string(i) + "\n";
  return s;
}

TEST(SheetPainter, PrinterPlacesRowsColumnsAndLineNumbers) {
  Fixture f(Lines(1, 30));
  f.fmt.AscLineNoMode = 2;
  f.Print(0);
  std::vector<RecordingCanvas::Call> rows, numbers;
  for (const auto& c : f.Texts()) {
    if (c.text[0] == 'r') rows.push_back(c);
    if (c.text[0] == '0') numbers.push_back(c);
  }
  ASSERT_EQ(rows.size(), 24u);  // two column pages of 12
  EXPECT_EQ(rows[0].x, 9 * kCw);
  EXPECT_EQ(rows[0].y, 5 * kLh);
  EXPECT_EQ(rows[11].y, (5 + 11) * kLh);
  EXPECT_EQ(rows[12].text, "r13");
  EXPECT_EQ(rows[12].x, (9 + 20 + 3) * kCw);
  EXPECT_EQ(rows[12].y, 5 * kLh);
  // Line numbers in column 0 only, every tenth in its own colour.
  ASSERT_EQ(numbers.size(), 12u);
  EXPECT_EQ(numbers[0].text, "000001");
  EXPECT_EQ(numbers[0].x, 0);
  EXPECT_EQ(numbers[0].color, 0u);
  EXPECT_EQ(numbers[9].color, 0x00FF6400u);
  // No paper or frames on paper.
  for (const auto& c : f.canvas.Calls()) EXPECT_NE(c.op, Op::Rect);

  // Screen-only line numbers stay off the paper; the second sheet holds rows 25-30.
  f.fmt.AscLineNoMode = 1;
  f.canvas.Clear();
  f.Print(1);
  const auto texts = f.Texts();
  ASSERT_EQ(texts.size(), 7u);
  EXPECT_EQ(texts[0].text, "[L=25-30/30]");
  EXPECT_EQ(texts[1].text, "r25");
  EXPECT_EQ(texts[6].text, "r30");
}

TEST(SheetPainter, ScreenDrawsPaperFramesAndShiftsTheOrigin) {
  Fixture f("abc");
  f.layout.area.unprintLeft = 2;
  f.layout.area.unprintTop = 1.5;
  f.layout.area.unprintRight = 1;
  f.layout.area.unprintBottom = 1;
  SheetRequest r;
  r.screenCharWidth = 8;
  r.screenLinePitch = 16;
  r.screenFont.height = -16;
  r.x0 = -3;
  r.y0 = 10;
  DrawSheet(f.canvas, f.model, f.fmt, f.layout, f.doc, r);
  const double x0 = -3 + 1, y0 = 10 + 0.5, uL = 2 * 8, uT = 1.5 * 16;
  std::vector<RecordingCanvas::Call> rects;
  for (const auto& c : f.canvas.Calls())
    if (c.op == Op::Rect) rects.push_back(c);
  ASSERT_EQ(rects.size(), 4u);  // paper, printable area, two columns
  EXPECT_EQ(rects[0].x, static_cast<int>(x0 * 8));
  EXPECT_EQ(rects[0].y2, static_cast<int>(y0 * 16 + uT + 40.25 * 16 + 16));
  EXPECT_EQ(rects[0].brush.style, platform::BrushStyle::LightGrey);
  EXPECT_EQ(rects[1].pen.style, platform::PenStyle::Dotted);
  EXPECT_EQ(rects[1].x, static_cast<int>(uL + x0 * 8));
  EXPECT_EQ(rects[3].x, static_cast<int>(uL + (9 + x0) * 8 + 23 * 8));
  EXPECT_EQ(rects[3].x2 - rects[3].x, 21 * 8);
  EXPECT_EQ(rects[3].brush.style, platform::BrushStyle::White);
  const auto texts = f.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].x, static_cast<int>(uL + (9 + x0) * 8));
  EXPECT_EQ(texts[0].y, static_cast<int>(uT + (5 + y0) * 16));
  EXPECT_EQ(texts[0].font.height, -16);
}

TEST(SheetPainter, HighlightsInRunsAndMonochromeIgnoresColours) {
  Fixture f("<font color=#00ff00>abcdefg", 1);
  auto marks = f.model.LcMark();
  marks[2] = marks[3] = marks[4] = 0b0110;  // lowest bit 1: colour index 2
  f.Print(0);
  auto texts = f.Texts();
  ASSERT_EQ(texts.size(), 3u);
  const platform::Colour green = platform::Rgb(0, 255, 0);
  EXPECT_EQ(texts[0].text, "ab");
  EXPECT_EQ(texts[0].color, green);
  EXPECT_EQ(texts[1].text, "cde");
  EXPECT_EQ(texts[1].color, platform::HighlightColour[2]);
  EXPECT_EQ(texts[1].x, texts[0].x + 2 * kCw);
  EXPECT_EQ(texts[2].text, "fg");
  EXPECT_EQ(texts[2].color, green);
  EXPECT_EQ(texts[2].x, texts[0].x + 5 * kCw);

  f.fmt.AscLineNoMode = 2;
  f.canvas.Clear();
  f.Print(0, false);
  texts = f.Texts();
  ASSERT_EQ(texts.size(), 3u);  // line number, line range, the row
  EXPECT_EQ(texts[2].text, "abcdefg");
  EXPECT_EQ(texts[2].color, 0u);
}

TEST(SheetPainter, FooterItems) {
  Fixture f(Lines(1, 30));
  f.fmt.AscDateMode = 1;
  f.fmt.AscPageNoMode = 2;
  f.fmt.AscLineNoMode = 1;
  f.fmt.AscFileNameMode = 1;
  f.doc.footerName = "表.txt";
  f.canvas.SetTextColor(0x000000FF);  // left over from an earlier sheet
  const SheetDrawResult res = f.Print(1, true, 7);
  const int yF = static_cast<int>(40.25 * kLh - kLh * 3);
  const int xc = (9 + (2 * 20 + 3) / 2) * kCw;
  std::map<std::string, RecordingCanvas::Call> byText;
  for (const auto& c : f.Texts()) byText[c.text] = c;
  const std::string name = "[" + platform::codepage::FromUtf8("表.txt") + "]";
  ASSERT_EQ(byText.count("[2024/03/07,09:05]"), 1u);
  ASSERT_EQ(byText.count("- 7 -"), 1u);
  ASSERT_EQ(byText.count("[L=25-30/30]"), 1u);
  ASSERT_EQ(byText.count(name), 1u);
  EXPECT_EQ(byText["[2024/03/07,09:05]"].x, 9 * kCw);
  EXPECT_EQ(byText["- 7 -"].x, xc - (5 * kSw) / 2 - 2 * kSw);
  EXPECT_EQ(byText["[L=25-30/30]"].x, xc + (5 * kSw) / 2 + 2 * kSw);
  EXPECT_EQ(byText[name].x, static_cast<int>(60.5 * kCw - kSw * (static_cast<int>(name.size()) + 4)));
  for (const auto& [text, call] : byText) {
    if (text[0] == 'r') continue;
    EXPECT_EQ(call.y, yF) << text;
    EXPECT_EQ(call.color, 0u) << text;
    EXPECT_EQ(call.font.height, -50) << text;
  }
  EXPECT_TRUE(res.lineRangeComputed);
  EXPECT_EQ(res.firstRow, 25);
  EXPECT_EQ(res.lastRow, 30);
}

TEST(SheetPainter, MessagesWhenThereIsNothingToShow) {
  const auto sjis = platform::codepage::FromUtf8;
  {
    Fixture f("");
    f.doc.docName.clear();
    f.Print(0);
    const auto texts = f.Texts();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[0].text, sjis("ファイルが定義されていません。"));
    EXPECT_EQ(texts[0].color, 0x000000FFu);
    EXPECT_EQ(texts[0].x, 10 * kCw);
    EXPECT_EQ(texts[0].y, 6 * kLh);
    const int d = 75;  // 9 points at 600 dpi
    EXPECT_EQ(texts[7].y, 6 * kLh + 10 * d);
  }
  {
    Fixture f("");
    f.Print(0);
    ASSERT_EQ(f.Texts().size(), 1u);
    EXPECT_EQ(f.Texts()[0].text,
              sjis("ファイルがないか空です。他で使用中かアクセス不能かもしれません。"));
  }
  {
    Fixture f("");
    const std::string bad = std::string(300, 'a') + "\x07";
    EXPECT_FALSE(BuildTextModel(f.model, Bytes(bad), {}));
    f.doc.docLength = static_cast<std::int64_t>(bad.size());
    f.Print(0);
    ASSERT_EQ(f.Texts().size(), 1u);
    EXPECT_EQ(f.Texts()[0].text,
              sjis("300(0x012c) ﾊﾞｲﾄ目がアスキー状態ではなくアスキー表示できません。"));
  }
}

TEST(SheetText, ColumnsRowsAndFooter) {
  Fixture f(platform::codepage::FromUtf8("日本\n") + Lines(2, 14));
  f.fmt.AscLineNoMode = 2;
  f.fmt.AscPageNoMode = 1;
  const std::string text = SheetText(f.model, f.fmt, f.layout, f.doc, 0, 1);
  std::string expected = "=== sheet 1 ===\n--- column 1 ---\n000001 日本\n";
  for (int i = 2; i <= 12; ++i) expected += LineNumberText(i - 1) + " r" + std::to_string(i) + "\n";
  expected += "--- column 2 ---\nr13\nr14\n--- footer ---\n- 1 -\n[L=1-14/14]\n";
  EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace tyld::ascii
