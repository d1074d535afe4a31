#include "binary/page_painter.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "binary/binary_layout.h"
#include "binary/page_geometry.h"
#include "platform/highlight_colour.h"
#include "platform/page_units.h"

namespace tyld::binary {
namespace {

using platform::Brush;
using platform::BrushStyle;
using platform::Canvas;
using platform::Colour;
using platform::Pen;
using platform::PenStyle;

// "読込中…" in Shift-JIS, drawn where the dump of a page still being read will be.
constexpr std::string_view kPendingText = "\x93\xC7\x8D\x9E\x92\x86\x81\x63";

// Draws the walked page on the canvas: headings per column, then per block the addresses
// and bytes of its lines, then its character column.
class PaintVisitor final : public PageVisitor {
 public:
  PaintVisitor(Canvas& canvas, const PageGeometry& geo, const settings::BinaryPageFormat& fmt,
               bool plain, bool highlights, const platform::FontDescription& mainFont,
               const platform::FontDescription& highlightFont, int addressDigits, std::int64_t hitFirst,
               std::int64_t hitEnd)
      : canvas_(canvas),
        geo_(geo),
        addressDigits_(addressDigits),
        lower_(fmt.BinHexCase == 1),
        plain_(plain),
        highlights_(highlights),
        mainFont_(mainFont),
        highlightFont_(highlightFont),
        hitFirst_(hitFirst),
        hitEnd_(hitEnd) {}

  void Column(std::int32_t c) override {
    canvas_.SetTextColor(Shown(kHeadingColour));
    const int y = ToDevice(geo_.HeaderY());
    pieces_.clear();
    pieces_.push_back({ToDevice(geo_.AddressX(c)), kAddressHeading});
    for (int i = 0; i < kLineBytes; ++i) pieces_.push_back({ToDevice(geo_.ByteX(c, i)), HeaderLabel(i, lower_)});
    for (int j = 0; j < kLineBytes; ++j) {
      digits_[j] = HeaderDigit(j, lower_);
      pieces_.push_back({ToDevice(geo_.CellX(c, j)), {&digits_[j], 1}});
    }
    canvas_.PutTexts(y, pieces_);
  }

  // Each line goes out as runs of one colour: the bytes between highlights in one call, each
  // stretch of bytes of one highlight class in another.
  void Block(const DumpBlock& block) override {
    const std::int32_t c = block.column;
    for (int l = 0; l < block.lineCount; ++l) {
      const DumpLine& line = block.lines[l];
      const int y = ToDevice(geo_.LineY(block.slot, line.row));
      canvas_.SetTextColor(Shown(kHeadingColour));
      canvas_.PutText(ToDevice(geo_.AddressX(c)), y, AddressText(line.offset, lower_, addressDigits_));
      const platform::Colour lineColour = LineColour(line.row);
      canvas_.SetTextColor(lineColour);
      int s = 0;
      while (s < line.count) {
        const int mark = highlights_ ? platform::HighlightClass(line.marks[s]) : 0;
        pieces_.clear();
        for (; s < line.count && (highlights_ ? platform::HighlightClass(line.marks[s]) : 0) == mark; ++s)
          pieces_.push_back({ToDevice(geo_.ByteX(c, s)), ByteText(line.bytes[s], lower_)});
        if (mark != 0) {
          canvas_.SelectFont(highlightFont_);
          canvas_.SetTextColor(platform::HighlightColour[static_cast<std::size_t>(mark)]);
          canvas_.PutTexts(y, pieces_);
          canvas_.SetTextColor(lineColour);
          canvas_.SelectFont(mainFont_);
        } else {
          canvas_.PutTexts(y, pieces_);
        }
      }
      FrameHit(c, line, y);
    }
    for (int l = 0; l < block.lineCount; ++l) {
      const DumpLine& line = block.lines[l];
      const int y = ToDevice(geo_.LineY(block.slot, line.row));
      canvas_.SetTextColor(LineColour(line.row));
      pieces_.clear();
      for (int i = 0; i < line.cellCount; ++i) {
        const DumpCell& cell = line.cells[i];
        pieces_.push_back({ToDevice(geo_.CellX(c, cell.cell)), cell.Text()});
      }
      canvas_.PutTexts(y, pieces_);
    }
  }

 private:
  // The hit's bytes of the line, framed in the hex part and in the character column.
  void FrameHit(std::int32_t c, const DumpLine& line, int y) {
    const std::int64_t first = std::max(hitFirst_, line.offset);
    const std::int64_t end = std::min(hitEnd_, line.offset + line.count);
    if (first >= end) return;
    const int s0 = static_cast<int>(first - line.offset);
    const int s1 = static_cast<int>(end - line.offset) - 1;
    const double cw = geo_.CharWidth();
    const int bottom = y + ToDevice(geo_.LinePitch());
    const Pen pen{PenStyle::Solid, kPlainColour};
    canvas_.Rectangle(ToDevice(geo_.ByteX(c, s0) - cw / 2), y, ToDevice(geo_.ByteX(c, s1) + 2.5 * cw), bottom, pen,
                      Brush{BrushStyle::Hollow, 0});
    canvas_.Rectangle(ToDevice(geo_.CellX(c, s0) - cw / 4), y, ToDevice(geo_.CellX(c, s1) + 1.25 * cw), bottom, pen,
                      Brush{BrushStyle::Hollow, 0});
  }

  [[nodiscard]] platform::Colour Shown(platform::Colour c) const { return plain_ ? kPlainColour : c; }
  [[nodiscard]] platform::Colour LineColour(int row) const {
    return Shown(row % 2 == 0 ? kEvenLineColour : kOddLineColour);
  }

  Canvas& canvas_;
  const PageGeometry& geo_;
  int addressDigits_;
  bool lower_;
  bool plain_;
  bool highlights_;
  const platform::FontDescription& mainFont_;
  const platform::FontDescription& highlightFont_;
  std::vector<platform::TextPiece> pieces_;  // the run being drawn, reused line after line
  char digits_[kLineBytes] = {};
  std::int64_t hitFirst_;
  std::int64_t hitEnd_;
};

void DrawPaper(Canvas& canvas, const PageGeometry& geo, std::int32_t columns) {
  canvas.Rectangle(ToDevice(geo.SheetLeft()), ToDevice(geo.SheetTop()),
                   ToDevice(geo.SheetRight()), ToDevice(geo.SheetBottom()), Pen{},
                   Brush{BrushStyle::LightGrey, 0});
  const double left = geo.SheetLeft() + geo.UnprintLeft();
  const double top = geo.SheetTop() + geo.UnprintTop();
  canvas.Rectangle(ToDevice(left), ToDevice(top), ToDevice(left + geo.PrintableWidth()),
                   ToDevice(top + geo.PrintableHeight()), Pen{PenStyle::Dotted, 0},
                   Brush{BrushStyle::LightGrey, 0});
  for (std::int32_t c = 0; c < columns; ++c) {
    const double x = geo.ColumnX(c);
    const double y = geo.TextY();
    canvas.Rectangle(ToDevice(x), ToDevice(y), ToDevice(x + geo.ColumnFrameWidth()),
                     ToDevice(y + geo.ColumnFrameHeight()), Pen{}, Brush{BrushStyle::White, 0});
  }
}

void DrawFooter(Canvas& canvas, const PageGeometry& geo, const settings::BinaryPageFormat& fmt,
                const PagePaint& paint, std::int32_t columns, const platform::FontDescription& font) {
  const bool any = (fmt.BinPageNoMode != 0 && paint.pageNumber != 0) ||
                   fmt.BinFileNameMode != 0 || fmt.BinDateMode != 0;
  // A footer font of no height cannot be made; the footer is left out.
  if (!any || font.height == 0 || !canvas.SelectFont(font)) return;
  const platform::FontMetrics m = canvas.Metrics();
  const int sw = m.cellWidth;
  const int sh = m.height + m.leading;
  if (sh < 1) return;
  canvas.SetTextColor(kPlainColour);
  const int y = ToDevice(geo.FooterY());
  if (fmt.BinPageNoMode != 0 && paint.pageNumber != 0) {
    const std::string text = PageNumberText(paint.pageNumber);
    const int n = static_cast<int>(text.size());
    canvas.PutText(ToDevice(geo.PageNumberCentreX(columns) - (n * sw) / 2 - 2 * sw), y, text);
  }
  if (fmt.BinFileNameMode != 0) {
    const std::string text = FileNameText(paint.footerName);
    canvas.PutText(ToDevice(geo.FileNameX(static_cast<int>(text.size()), sw)), y, text);
  }
  if (fmt.BinDateMode != 0) canvas.PutText(ToDevice(geo.DateX()), y, DateText(paint.time));
}

}  // namespace

PageOffsets DrawBinaryPage(Canvas& canvas, const settings::BinaryPageFormat& fmt, const BinaryLayout& layout,
                           const DumpSource& source, const PagePaint& paint) {
  const bool screen = paint.target == DrawTarget::Screen;
  const int dpiY = canvas.Device().dpiY;

  // 1. Metrics of the target.
  const pages::PageTarget target =
      pages::OpenPageTarget(canvas, screen, {paint.screenFont, paint.screenCharWidth, paint.screenLinePitch},
                            paint.x0, paint.y0, paint.binFont, paint.pointTenths, fmt.BinLineSpacing);
  const platform::FontDescription& mainFont = target.font;

  // 2. Per-page fonts.
  platform::FontDescription highlightFont = mainFont;
  highlightFont.width = 0;
  highlightFont.charSet = platform::kShiftJisCharSet;
  highlightFont.italic = screen ? 0 : 1;
  const platform::FontDescription footerFont = pages::FooterFont(paint.binFont, paint.scale, screen, dpiY);

  const int addressDigits = AddressDigits(static_cast<std::int64_t>(source.data.size()));
  const PageGeometry geo(fmt, layout, target.charWidth, target.linePitch, target.x0, target.y0, screen,
                         AddressExtra(addressDigits));
  const std::int32_t columns = EffectiveColumns(fmt);

  // 3. The sheet, the printable area and the column frames.
  if (screen) DrawPaper(canvas, geo, columns);

  // 4. Footer.
  DrawFooter(canvas, geo, fmt, paint, columns, footerFont);

  // 5. The dump.
  canvas.SelectFont(mainFont);
  const bool plain = !screen && !paint.colour;
  PageOffsets offsets;
  if (paint.pending) {
    const DumpPaging paging(static_cast<std::int64_t>(source.data.size()), fmt);
    offsets = {paging.FirstOffset(paint.page), paging.LastOffset(paint.page)};
    canvas.SetTextColor(kPlainColour);
    canvas.PutText(ToDevice(geo.AddressX(0)), ToDevice(geo.HeaderY()), kPendingText);
  } else {
    PaintVisitor visitor(canvas, geo, fmt, plain, !plain, mainFont, highlightFont, addressDigits,
                         screen ? paint.hitFirst : 0, screen ? paint.hitEnd : 0);
    offsets = WalkPage(source.data, source.marks, fmt, paint.page, visitor);
  }

  // 6. The range line.
  canvas.SetTextColor(kPlainColour);
  canvas.PutText(ToDevice(geo.RangeX()), ToDevice(geo.RangeY()),
                 RangeLineText(offsets.first, offsets.last,
                               static_cast<std::int64_t>(source.data.size()), source.docName));
  return offsets;
}

}  // namespace tyld::binary
