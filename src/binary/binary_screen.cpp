#include "binary/binary_screen.h"

#include <QPrinter>

#include "binary/page_text.h"
#include "binary/dump_lines.h"
#include "document/command_line.h"
#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "platform/codepage.h"
#include "platform/fonts.h"
#include "platform/page_units.h"
#include "platform/printer.h"
#include "settings/page_format.h"

namespace tyld::binary {

void BinaryScreen::Build(QPrinter& printer) {
  settings::LiveSettings& live = workspace_.live;
  LayoutInput in;
  in.caps = platform::DeviceMetricsOf(printer);
  const platform::FontDescription font =
      platform::FontForDevice(live.binaryFont.logFont, live.binaryFont.PointTenths(), in.caps.dpiY);
  in.font = platform::MeasureFont(platform::ToQFont(font), &printer);
  in.orientation = live.BinOrientation;
  in.unprint = live.unprint;
  layout = ComputeBinaryLayout(in, live.binary);
  ApplyLayoutLimits(layout, live.binary);
  UpdateBinaryPageCount(ShownLength(), live.binary, view);
}

std::vector<pages::ScreenMessage> BinaryScreen::Rebuild(QPrinter& printer, int& currentPage) {
  // A current page past the new end goes back to the first one.
  view.BinCurrentPage = currentPage;
  Build(printer);
  currentPage = view.BinCurrentPage;
  return {};
}

std::int64_t BinaryScreen::ShownLength() const {
  const document::DocumentBuffer& doc = workspace_.document;
  return doc.Reading() ? doc.ReadTotal() : doc.DocLength;
}

bool BinaryScreen::PageIn(std::int64_t page) const {
  const document::DocumentBuffer& doc = workspace_.document;
  if (!doc.Reading()) return true;
  const std::int64_t total = doc.ReadTotal();
  const ByteRange bytes = PagesBytes(total, workspace_.live.binary, page, page);
  return bytes.end < total && bytes.end <= doc.ReadDone();
}

DumpSource BinaryScreen::Source() {
  document::DocumentBuffer& doc = workspace_.document;
  const document::StartupState& start = workspace_.startup;
  DumpSource s;
  if (doc.Reading()) {
    // The whole block, so that addresses and the range line are those of the file; only
    // pages that PageIn allows are walked.
    const std::string path = doc.ReadPath();
    const std::string name(document::FinalComponent(path));
    docNameSjis_ = platform::codepage::FromUtf8(name);
    footerNameSjis_ = platform::codepage::FromUtf8(document::PrintedName(start, path, name));
    s.data = std::span<const std::uint8_t>(doc.DocData.data(), static_cast<std::size_t>(doc.ReadTotal()));
    s.docName = docNameSjis_;
    return s;
  }
  docNameSjis_ = platform::codepage::FromUtf8(doc.DocName);
  footerNameSjis_ = platform::codepage::FromUtf8(document::PrintedName(start, doc));
  s.data = doc.Data();
  const std::size_t marks = std::min(doc.HighlightMarks.size(), s.data.size());
  s.marks = std::span<const std::uint8_t>(doc.HighlightMarks.data(), marks);
  s.docName = docNameSjis_;
  return s;
}

PagePaint BinaryScreen::BasePaint() const {
  const settings::LiveSettings& live = workspace_.live;
  PagePaint p;
  p.footerName = footerNameSjis_;
  p.time = LocalFooterTime();
  p.binFont = live.binaryFont.logFont;
  p.pointTenths = live.binaryFont.PointTenths();
  p.scale = live.binaryFont.scale;
  return p;
}

DumpPaging BinaryScreen::Paging() const { return DumpPaging(ShownLength(), workspace_.live.binary); }

void BinaryScreen::DrawPage(platform::Canvas& canvas, const pages::PageDraw& draw) {
  const DumpSource source = Source();
  PagePaint paint = BasePaint();
  paint.target = draw.screen ? DrawTarget::Screen : DrawTarget::Printer;
  paint.colour = draw.colour;
  paint.page = draw.page;
  paint.pageNumber = draw.number;
  paint.x0 = draw.x0;
  paint.y0 = draw.y0;
  paint.screenFont = draw.grid.font;
  paint.screenCharWidth = draw.grid.charWidth;
  paint.screenLinePitch = draw.grid.linePitch;
  paint.hitFirst = hitFirst;
  paint.hitEnd = hitEnd;
  paint.pending = !PageIn(draw.page);
  DrawBinaryPage(canvas, workspace_.live.binary, layout, source, paint);
}

std::string BinaryScreen::PageText(int page, int number) {
  const DumpSource source = Source();
  const PagePaint paint = BasePaint();
  PageTextOptions options;
  options.footerName = paint.footerName;
  options.time = paint.time;
  options.pageNumbers = number != 0;
  options.pageNumber = number;
  return BinaryPageText(workspace_.live.binary, source, page, options);
}

settings::FontState& BinaryScreen::Font() { return workspace_.live.binaryFont; }
int BinaryScreen::LineSpacing() const { return workspace_.live.binary.BinLineSpacing; }
settings::Orientation BinaryScreen::PageOrientation() const {
  return workspace_.live.BinOrientation;
}
int BinaryScreen::ShownFontSize() const { return workspace_.live.binaryFont.PointTenths() / 10; }

// The binary font reset keeps the scale.
void BinaryScreen::ResetFont() {
  const double scale = Font().scale;
  Font() = settings::FontState{};
  Font().scale = scale;
}

void BinaryScreen::ResetPageFormat() { workspace_.live.binary = settings::BinaryPageFormat{}; }

QString BinaryScreen::TitleHead(int currentPage) const {
  const DumpPaging paging = Paging();
  const std::int64_t firstOffset = paging.PageCount() > 0 ? paging.FirstOffset(currentPage) : 0;
  const std::int64_t lastOffset = paging.PageCount() > 0 ? paging.LastOffset(currentPage) : 0;
  return QStringLiteral("頁=%1/%2 A=[%3-%4 H] ")
      .arg(paging.PageCount() > 0 ? currentPage + 1 : 0)
      .arg(paging.PageCount())
      .arg(QString::number(firstOffset, 16).toUpper(), QString::number(lastOffset, 16).toUpper());
}

QString BinaryScreen::JobName() const { return QStringLiteral("バイナリ印刷"); }

}  // namespace tyld::binary
