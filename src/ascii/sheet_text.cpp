#include "ascii/sheet_text.h"

#include "ascii/ascii_layout.h"
#include "platform/codepage.h"

namespace tyld::ascii {

std::string SheetText(const TextModel& model, const settings::AsciiPageFormat& fmt, const AsciiLayout& layout,
                      const SheetDocument& doc, int sheet, int pageNumber) {
  namespace cp = platform::codepage;
  std::string out = "=== sheet " + std::to_string(sheet + 1) + " ===\n";
  for (const MessageLine& line : EmptySheetMessage(model, doc)) out += line.text + "\n";

  const int columns = ColumnsPerSheet(fmt, layout);
  const bool lineNumbers = DrawsLineNumbers(fmt, DrawTarget::Printer);
  const auto blocks = model.TextBlocks();
  const auto rows = model.TextRows();
  std::string sjis;
  for (int c = 0; c < columns; ++c) {
    out += "--- column " + std::to_string(c + 1) + " ---\n";
    if (doc.docLength == 0) continue;
    const auto range = model.ColumnPageRows(static_cast<std::int64_t>(sheet) * columns + c);
    for (std::int32_t r = range.first; r < range.end; ++r) {
      if (c == 0 && lineNumbers) out += LineNumberText(r) + " ";
      const TextRow& row = rows[static_cast<std::size_t>(r)];
      sjis.clear();
      for (std::int32_t b = 0; b < row.BlockCount; ++b)
        sjis += model.BlockText(blocks[static_cast<std::size_t>(row.FirstBlock + b)]);
      out += cp::ToUtf8(sjis) + "\n";
    }
  }

  out += "--- footer ---\n";
  if (HasFooter(fmt)) {
    const FooterTexts t = MakeFooterTexts(fmt, layout, model, doc, sheet, pageNumber);
    for (const std::string* item : {&t.date, &t.pageNumber, &t.lineRange, &t.fileName})
      if (!item->empty()) out += cp::ToUtf8(*item) + "\n";
  }
  return out;
}

}  // namespace tyld::ascii
