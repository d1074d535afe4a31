// libFuzzer target: any bytes as a document, laid out and drawn by both screens under a
// page format and font metrics taken from the first bytes, so absurd formats meet odd data.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "ascii/ascii_layout.h"
#include "ascii/sheet_painter.h"
#include "ascii/sheet_text.h"
#include "ascii/text_model.h"
#include "binary/binary_layout.h"
#include "binary/page_painter.h"
#include "binary/page_text.h"
#include "platform/recording_canvas.h"
#include "search/string_search.h"

namespace {

constexpr std::size_t kHeader = 16;

using namespace tyld;

void Ascii(const std::uint8_t* h, std::span<const std::uint8_t> doc) {
  settings::AsciiPageFormat fmt;
  fmt.AscColumns = h[0] % 6;
  fmt.AscLineSpacing = static_cast<std::int8_t>(h[1]) % 40;
  fmt.AscMarginTop = h[2] * 4;
  fmt.AscMarginLeft = h[3] * 4;
  fmt.AscTabWidth = h[4] % 10;
  fmt.AscLineNoMode = h[5] % 3;
  fmt.AscPageNoMode = h[5] / 3 % 3;
  platform::FontMetrics font;
  font.cellWidth = h[6] % 40;
  font.height = h[7] % 90;
  platform::DeviceMetrics caps{h[8] * 40, h[9] * 40, 600, 600};
  const ascii::AsciiLayout layout =
      ascii::ComputeAsciiLayout(caps, font, settings::UnprintMargins{}, settings::OrientationFromCode(1 + h[10] % 2), fmt);
  ascii::ApplyLayoutLimits(layout, fmt);

  ascii::TextModelOptions options;
  options.ColourTagMode = h[11] & 1;
  options.ForceUtf8 = (h[11] >> 1) & 1;
  options.DocExt = (h[11] & 4) != 0 ? ".htm" : ".txt";
  options.AscCharsPerLine = fmt.AscCharsPerLine;
  options.AscLinesPerPage = fmt.AscLinesPerPage;
  options.AscTabWidth = fmt.AscTabWidth;
  ascii::TextModel model;
  ascii::BuildTextModel(model, doc, options);
  int current = 0;
  const int sheets = ascii::UpdateSheetCount(model.ColumnPageCount(), fmt, layout, current);

  search::StringSearchState strings;
  strings.SearchText[0][0] = doc.empty() ? 'a' : static_cast<char>(doc[0]);
  strings.SearchLength[0] = 1;
  strings.SearchColour[0] = 1 + h[12] % 4;
  const std::string_view lc = model.LcBuf();
  search::MatchStrings({reinterpret_cast<const std::uint8_t*>(lc.data()), lc.size()}, model.LcMark(), strings);

  ascii::SheetDocument sheetDoc;
  sheetDoc.docName = "f.txt";
  sheetDoc.docLength = static_cast<std::int64_t>(doc.size());
  sheetDoc.clock = [] { return ascii::LocalDateTime{2026, 12, 10, 1, 2}; };
  for (int sheet : {0, sheets - 1}) {
    platform::RecordingCanvas canvas;
    ascii::SheetRequest req;
    req.target = (h[13] & 1) != 0 ? ascii::DrawTarget::Printer : ascii::DrawTarget::Screen;
    req.sheet = sheet < 0 ? 0 : sheet;
    req.pageNumber = sheet + 1;
    req.screenCharWidth = h[6] % 20;
    req.screenLinePitch = h[7] % 30;
    ascii::DrawSheet(canvas, model, fmt, layout, sheetDoc, req);
    if (sheet >= 0) ascii::SheetText(model, fmt, layout, sheetDoc, sheet, sheet + 1);
  }
}

void Binary(const std::uint8_t* h, std::span<const std::uint8_t> doc) {
  settings::BinaryPageFormat fmt;
  fmt.BinColumns = h[0] % 5;
  fmt.BinLineSpacing = static_cast<std::int8_t>(h[1]) % 40;
  fmt.BinMarginTop = h[2] * 4;
  fmt.BinColumnGap = static_cast<std::int8_t>(h[3]);
  fmt.BinBlockGap = static_cast<std::int8_t>(h[4]) % 30;
  fmt.BinCrLfMark = h[5] % 4;
  fmt.BinHexCase = h[5] & 1;
  binary::LayoutInput in;
  in.caps = {h[8] * 40, h[9] * 40, 600, 600};
  in.font.cellWidth = h[6] % 40;
  in.font.height = h[7] % 90;
  in.orientation = settings::OrientationFromCode(1 + h[10] % 2);
  const binary::BinaryLayout layout = binary::ComputeBinaryLayout(in, fmt);
  binary::ApplyLayoutLimits(layout, fmt);
  const binary::DumpPaging paging(static_cast<std::int64_t>(doc.size()), fmt);
  std::vector<std::uint8_t> marks(doc.size(), static_cast<std::uint8_t>(h[12] & 0x0F));
  binary::DumpSource source{doc, marks, "f.bin"};
  for (std::int64_t page : {std::int64_t{0}, std::int64_t{paging.PageCount()} - 1}) {
    if (page < 0) continue;
    platform::RecordingCanvas canvas;
    binary::PagePaint paint;
    paint.target = (h[13] & 1) != 0 ? binary::DrawTarget::Printer : binary::DrawTarget::Screen;
    paint.page = page;
    paint.pageNumber = static_cast<int>(page) + 1;
    paint.screenCharWidth = h[6] % 20;
    paint.screenLinePitch = h[7] % 30;
    binary::DrawBinaryPage(canvas, fmt, layout, source, paint);
    binary::BinaryPageText(fmt, source, page, binary::PageTextOptions{});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeader) return 0;
  const std::span<const std::uint8_t> doc(data + kHeader, size - kHeader);
  Ascii(data, doc);
  Binary(data, doc);
  return 0;
}
