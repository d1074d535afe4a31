#include "binary/page_painter.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "binary/binary_layout.h"
#include "platform/highlight_colour.h"
#include "platform/recording_canvas.h"

namespace tyld::binary {
namespace {

using platform::RecordingCanvas;
using Call = RecordingCanvas::Call;

// The recording printer: 600 dpi, 6800 x 4800 landscape; 8 points = 33 x 67 pixel cells.
// Layout: text origin (7, 4) characters/lines -> (231, 268); gap 4 characters.
constexpr platform::DeviceMetrics kPrinter{4800, 6800, 600, 600};

struct Fixture {
  settings::BinaryPageFormat fmt;
  BinaryLayout layout;
  std::vector<std::uint8_t> data;
  std::vector<std::uint8_t> marks;
  PagePaint paint;

  explicit Fixture(std::size_t length, int columns = 1, int blocks = 1) : data(length), marks(length + 1) {
    RecordingCanvas printer(kPrinter);
    layout = ComputeBinaryLayout(printer, settings::FontState::DefaultLogFont(), 80, settings::Orientation::Landscape,
                                 {}, fmt);
    fmt.BinColumns = columns;
    fmt.BinBlocksPerColumn = blocks;
    for (std::size_t i = 0; i < length; ++i) data[i] = static_cast<std::uint8_t>('A' + i % 26);
    paint.target = DrawTarget::Printer;
    paint.binFont = settings::FontState::DefaultLogFont();
    paint.pointTenths = 80;
    paint.footerName = "a.bin";
    paint.time = {2026, 12, 8, 23, 45};
  }
  // Screen metrics: a 20-pixel font in 10 x 20 cells.
  void OnScreen() {
    paint.target = DrawTarget::Screen;
    paint.screenFont = paint.binFont;
    paint.screenFont.height = -20;
    paint.screenCharWidth = 10;
    paint.screenLinePitch = 20;
  }
  PageOffsets Draw(RecordingCanvas& canvas) {
    return DrawBinaryPage(canvas, fmt, layout, {data, marks, "a.bin"}, paint);
  }
};

const Call* FindText(const RecordingCanvas& c, const std::string& text, int nth = 0) {
  for (const Call& call : c.Calls())
    if (call.op == RecordingCanvas::Op::Text && call.text == text && nth-- == 0) return &call;
  return nullptr;
}

std::vector<Call> Rects(const RecordingCanvas& c) {
  std::vector<Call> out;
  for (const Call& call : c.Calls())
    if (call.op == RecordingCanvas::Op::Rect) out.push_back(call);
  return out;
}

TEST(DrawBinaryPage, PrinterPositionsTextsAndColours) {
  Fixture f(300);
  f.paint.page = 1;
  f.paint.pageNumber = 2;
  RecordingCanvas printer(kPrinter);
  const PageOffsets o = f.Draw(printer);
  EXPECT_EQ(o.first, 256);
  EXPECT_EQ(o.last, 299);

  struct Expect {
    std::string text;
    int nth;
    int x, y;
    platform::Colour colour;
  };
  const Expect expects[] = {
      {"Address", 0, 264, 402, kHeadingColour},
      {"+8", 0, 231 + 34 * 33, 402, kHeadingColour},      // one more cell after +7
      {"1", 0, 2217, 402, kHeadingColour},                // 231 + 59 * 33 + 1.2 * 33
      {"000100:", 0, 264, 502, kHeadingColour},           // 268 + 0.5 * 67 + 3 * 67
      {"000110:", 0, 264, 569, kHeadingColour},
      {"000120:", 0, 264, 636, kHeadingColour},
      {"57", 0, 231 + 9 * 33, 502, kEvenLineColour},      // byte 256 = 'W'
      {"45", 0, 231 + 34 * 33, 502, kEvenLineColour},     // byte 264 = 'E'
      {"4D", 0, 231 + 9 * 33, 569, kOddLineColour},       // byte 272 = 'M'
      {"W", 0, 231 + 59 * 33, 502, kEvenLineColour},
      {"X", 0, 2217, 502, kEvenLineColour},
      {"M", 0, 231 + 59 * 33, 569, kOddLineColour},
      {"[000100-00012B/00012C]H [a.bin] [300]\xCA\xDE\xB2\xC4", 0, 264, 268, 0},
  };
  for (const Expect& e : expects) {
    const Call* call = FindText(printer, e.text, e.nth);
    ASSERT_NE(call, nullptr) << e.text;
    EXPECT_EQ(call->x, e.x) << e.text;
    EXPECT_EQ(call->y, e.y) << e.text;
    EXPECT_EQ(call->color, e.colour) << e.text;
    EXPECT_EQ(call->font.height, -67) << e.text;
  }
  // 44 bytes: 3 addresses, 44 byte texts, 44 cells, nothing beyond the data.
  EXPECT_EQ(FindText(printer, "000130:"), nullptr);
  EXPECT_EQ(printer.Texts().back().text.substr(0, 8), "[000100-");
  EXPECT_TRUE(Rects(printer).empty());  // no paper on the printer
}

TEST(DrawBinaryPage, HighlightsByTargetAndColourMode) {
  struct Case {
    const char* name;
    DrawTarget target;
    bool colour;
    platform::Colour expected;
    int italic;
  };
  const Case cases[] = {
      {"colour printer", DrawTarget::Printer, true, platform::HighlightColour[1], 1},
      {"monochrome printer", DrawTarget::Printer, false, 0, 0},
      {"screen", DrawTarget::Screen, true, platform::HighlightColour[1], 0},
  };
  for (const Case& c : cases) {
    Fixture f(32);
    f.marks[17] = 0x05;  // bits 0 and 2: the lowest wins
    f.marks[18] = 0x08;
    if (c.target == DrawTarget::Screen) f.OnScreen();
    f.paint.colour = c.colour;
    RecordingCanvas canvas(kPrinter);
    f.Draw(canvas);
    const Call* marked = FindText(canvas, "52");  // byte 17 = 'R', line 1
    const Call* blue = FindText(canvas, "53");
    const Call* plain = FindText(canvas, "54");
    ASSERT_TRUE(marked && blue && plain) << c.name;
    EXPECT_EQ(marked->color, c.expected) << c.name;
    EXPECT_EQ(marked->font.italic, c.italic) << c.name;
    EXPECT_EQ(blue->color, c.colour ? platform::HighlightColour[4] : 0u) << c.name;
    const platform::Colour line = c.colour ? kOddLineColour : 0;
    EXPECT_EQ(plain->color, line) << c.name;
    EXPECT_EQ(plain->font.italic, 0) << c.name;
    EXPECT_EQ(plain->font.height, marked->font.height) << c.name;
    // A line goes out in runs of one colour: a highlight class is a run of its own.
    const Call* before = FindText(canvas, "51");
    const Call* after = FindText(canvas, "55");
    ASSERT_TRUE(before && after) << c.name;
    EXPECT_EQ(after->run, plain->run) << c.name;
    EXPECT_GE(plain->run, 0) << c.name;
    if (c.colour) {
      EXPECT_NE(marked->run, blue->run) << c.name;
      EXPECT_NE(before->run, marked->run) << c.name;
      EXPECT_NE(marked->run, plain->run) << c.name;
    } else {
      EXPECT_EQ(before->run, plain->run) << c.name;
    }
  }
}

TEST(DrawBinaryPage, MonochromePrintingIsAllBlack) {
  Fixture f(600, 2, 1);
  f.paint.colour = false;
  f.marks[3] = 1;
  RecordingCanvas printer(kPrinter);
  f.Draw(printer);
  for (const Call& t : printer.Texts()) EXPECT_EQ(t.color, 0u) << t.text;
}

TEST(DrawBinaryPage, FooterItems) {
  struct Case {
    const char* name;
    int pageNoMode, pageNumber;
    std::string pageText;
    int pageX;
  };
  // Footer font 6 points: 25 x 50 pixels. Mode 2 centres on two columns and their gap:
  // (7 + (80 * 2 + 4) / 2) * 33 = 2937; mode 1 on the printable width: 3400.
  const Case cases[] = {
      {"centre of the columns", 2, 1, "- 1 -", 2937 - 62 - 50},
      {"centre of the page", 1, 12, "- 12 -", 3400 - 75 - 50},
      {"no page number", 1, 0, "", 0},
  };
  for (const Case& c : cases) {
    Fixture f(300, 2, 1);
    f.fmt.BinPageNoMode = c.pageNoMode;
    f.paint.pageNumber = c.pageNumber;
    RecordingCanvas printer(kPrinter);
    f.Draw(printer);
    const double footerY = f.layout.area.linesDownExact * 67 - (f.layout.bottomLines - 1) * 67;
    const Call* date = FindText(printer, "[2026/12/08,23:45]");
    const Call* name = FindText(printer, "[a.bin]");
    ASSERT_TRUE(date && name) << c.name;
    EXPECT_EQ(date->x, 231) << c.name;
    EXPECT_NEAR(date->y, footerY, 1) << c.name;
    EXPECT_EQ(date->font.height, -50) << c.name;
    EXPECT_EQ(name->x, 6406) << c.name;  // 6800 - (7 + 4) * 25 - 5 mm of 33-pixel cells
    const Call* page = c.pageText.empty() ? nullptr : FindText(printer, c.pageText);
    if (c.pageText.empty()) {
      EXPECT_EQ(FindText(printer, "- 0 -"), nullptr) << c.name;
    } else {
      ASSERT_NE(page, nullptr) << c.name;
      EXPECT_EQ(page->x, c.pageX) << c.name;
    }
  }
}

TEST(DrawBinaryPage, ScreenPaperFramesAndOrigin) {
  Fixture f(40, 2, 1);
  f.OnScreen();
  RecordingCanvas screen(kPrinter);
  f.Draw(screen);
  // Origin (1, 0.5) plus the non-printable margins: 3.58 characters and 1.76 lines.
  const auto rects = Rects(screen);
  ASSERT_EQ(rects.size(), 4u);
  struct R { int l, t, r, b; platform::PenStyle pen; platform::BrushStyle brush; };
  const R expected[] = {
      {10, 10, 2142, 1513, platform::PenStyle::Solid, platform::BrushStyle::LightGrey},
      {45, 45, 2106, 1478, platform::PenStyle::Dotted, platform::BrushStyle::LightGrey},
      {115, 125, 925, 1365, platform::PenStyle::Solid, platform::BrushStyle::White},
      {935, 125, 1745, 1365, platform::PenStyle::Solid, platform::BrushStyle::White},
  };
  for (std::size_t i = 0; i < rects.size(); ++i) {
    EXPECT_EQ(rects[i].x, expected[i].l) << i;
    EXPECT_EQ(rects[i].y, expected[i].t) << i;
    EXPECT_EQ(rects[i].x2, expected[i].r) << i;
    EXPECT_EQ(rects[i].y2, expected[i].b) << i;
    EXPECT_EQ(rects[i].pen.style, expected[i].pen) << i;
    EXPECT_EQ(rects[i].brush.style, expected[i].brush) << i;
  }
  const Call* address = FindText(screen, "000000:");
  ASSERT_NE(address, nullptr);
  EXPECT_EQ(address->x, 125);
  EXPECT_EQ(address->y, 195);
  EXPECT_EQ(address->font.height, -20);
}

// The hit the user went to is framed on screen, in the hex part and the character
// column of every line it touches; never on paper.
TEST(DrawBinaryPage, TheCurrentHitIsFramedOnScreenOnly) {
  Fixture f(40);
  f.paint.hitFirst = 14;
  f.paint.hitEnd = 18;  // bytes 14-15 of the first line, 16-17 of the second
  RecordingCanvas printer(kPrinter);
  f.Draw(printer);
  EXPECT_TRUE(Rects(printer).empty());
  f.OnScreen();
  RecordingCanvas screen(kPrinter);
  f.Draw(screen);
  std::vector<Call> frames;
  for (const Call& r : Rects(screen))
    if (r.brush.style == platform::BrushStyle::Hollow) frames.push_back(r);
  ASSERT_EQ(frames.size(), 4u);
  const Call* first = FindText(screen, "4F");   // byte 14, 'O'
  const Call* last = FindText(screen, "52");    // byte 17, 'R'
  ASSERT_NE(first, nullptr);
  ASSERT_NE(last, nullptr);
  EXPECT_LT(frames[0].x, first->x);
  EXPECT_EQ(frames[0].y, first->y);
  EXPECT_EQ(frames[0].y2, first->y + 20);
  EXPECT_LT(frames[2].x, last->x);
  EXPECT_GT(frames[2].x2, last->x + 20);
  EXPECT_EQ(frames[2].y, last->y);
}

// At the smallest scales the footer keeps a minimum size instead of none (which would be
// drawn in a large default font).
TEST(DrawBinaryPage, FooterKeepsAMinimumSizeAtSmallScales) {
  Fixture f(40);
  f.paint.target = DrawTarget::Screen;
  f.paint.scale = 0.125;  // 6 * 0.125 truncates to 0 points
  f.paint.pageNumber = 1;
  f.paint.screenFont.height = -2;
  f.paint.screenCharWidth = 1;
  f.paint.screenLinePitch = 2;
  RecordingCanvas screen(kPrinter);
  f.Draw(screen);
  const auto* name = FindText(screen, "[a.bin]");
  ASSERT_NE(name, nullptr);
  EXPECT_NE(name->font.height, 0);
  EXPECT_NE(FindText(screen, "- 1 -"), nullptr);
  EXPECT_NE(FindText(screen, "000000:"), nullptr);
}

// Only the page's bytes (and the two before it) are read: everything else of a large
// reserved span is unreadable, so a stray read faults.
TEST(DrawBinaryPage, ReadsOnlyThePage) {
  const std::size_t reserved = std::size_t{256} << 20;
  const long pageSize = sysconf(_SC_PAGESIZE);
  void* base = mmap(nullptr, reserved, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(base, MAP_FAILED);
  auto* bytes = static_cast<std::uint8_t*>(base);
  Fixture f(0, 2, 3);
  const std::int64_t perPage = 256 * 6;
  for (const std::int64_t page : {std::int64_t{1000}, static_cast<std::int64_t>(reserved) / perPage - 1}) {
    const std::size_t first = static_cast<std::size_t>(page * perPage) - 2;
    const std::size_t from = first / pageSize * pageSize;
    const std::size_t to = std::min(reserved, static_cast<std::size_t>(page * perPage + perPage + 1));
    ASSERT_EQ(mprotect(bytes + from, to - from, PROT_READ), 0);
    RecordingCanvas printer(kPrinter);
    f.paint.page = page;
    const PageOffsets o = DrawBinaryPage(printer, f.fmt, f.layout, {{bytes, reserved}, {}, "big"}, f.paint);
    EXPECT_EQ(o.first, page * perPage);
    EXPECT_EQ(o.last, page * perPage + perPage - 1);
    mprotect(bytes + from, to - from, PROT_NONE);
  }
  munmap(base, reserved);
}

// A page still being read is a sheet with its range line and footer and no dump: none of
// its bytes is touched (they are all unreadable here).
TEST(DrawBinaryPage, PendingPageReadsNoByte) {
  const std::size_t reserved = std::size_t{1} << 20;
  void* base = mmap(nullptr, reserved, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(base, MAP_FAILED);
  Fixture f(0);
  f.OnScreen();
  f.paint.page = 2;
  f.paint.pageNumber = 3;
  f.paint.pending = true;
  RecordingCanvas screen(kPrinter);
  const PageOffsets o = DrawBinaryPage(screen, f.fmt, f.layout, {{static_cast<std::uint8_t*>(base), reserved}, {}, "big"}, f.paint);
  EXPECT_EQ(o.first, 512);
  EXPECT_EQ(o.last, 767);
  EXPECT_NE(FindText(screen, "\x93\xC7\x8D\x9E\x92\x86\x81\x63"), nullptr);  // 読込中…
  EXPECT_NE(FindText(screen, "[000200-0002FF/100000]H [big] [1048576]\xCA\xDE\xB2\xC4"), nullptr);
  EXPECT_EQ(FindText(screen, "00"), nullptr);
  munmap(base, reserved);
}

}  // namespace
}  // namespace tyld::binary
