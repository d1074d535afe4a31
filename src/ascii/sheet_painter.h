#pragma once
// Draws one sheet of the ASCII screen on a canvas: the paper and column frames on screen,
// the footer items, line numbers and the coloured, highlighted rows; or the message shown
// when there is nothing to draw. One routine for the screen and the printer.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ascii/ascii_layout.h"
#include "ascii/text_model.h"
#include "platform/canvas.h"
#include "platform/font_description.h"
#include "settings/page_format.h"

namespace tyld::ascii {

enum class DrawTarget { Screen = 1, Printer = 2 };

struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};
// The local time now.
LocalDateTime CurrentLocalTime();

// The document and font state a sheet is drawn from.
struct SheetDocument {
  std::string docName;        // UTF-8; empty: no file defined
  std::int64_t docLength = 0;
  std::string footerName;     // UTF-8, shown as "[%s]" (print name or file name)
  platform::FontDescription asciiFont = {};  // the stored ASCII font description
  int pointTenths = 80;
  double scale = 1.0;         // screen scale of the footer font
  std::function<LocalDateTime()> clock;  // null: CurrentLocalTime
};

struct SheetRequest {
  DrawTarget target = DrawTarget::Screen;
  int x0 = 0;           // sheet origin in characters (screen: -HScrollPos)
  int y0 = 0;           // sheet origin in lines (screen: -VScrollPos + s * SheetPitch)
  int sheet = 0;        // sheet index
  int pageNumber = 0;   // "- %d -" when non-zero
  bool colorPrint = true;  // printer only: false prints everything black
  // Screen text font and its metrics (ignored on the printer, which builds its own).
  platform::FontDescription screenFont = {};
  int screenCharWidth = 0;
  double screenLinePitch = 0;
};

// The line-range footer values of the sheet, for the window title.
struct SheetDrawResult {
  bool lineRangeComputed = false;
  std::int64_t firstRow = 0;
  std::int64_t lastRow = 0;
};

// Footer texts (Shift-JIS) of a sheet, empty for an item that is off.
struct FooterTexts {
  std::string date, pageNumber, lineRange, fileName;
};
FooterTexts MakeFooterTexts(const settings::AsciiPageFormat& fmt, const AsciiLayout& layout,
                            const TextModel& model, const SheetDocument& doc, int sheet, int pageNumber);

// "%06d" line number text of a 0-based row.
std::string LineNumberText(std::int64_t row);

// True when line numbers are drawn on this target.
bool DrawsLineNumbers(const settings::AsciiPageFormat& fmt, DrawTarget target);

// The message drawn instead of rows when there are none (UTF-8), each line with its
// vertical offset in message-line heights; empty when nothing is to be said.
struct MessageLine {
  int lineOffset = 0;
  std::string text;
};
inline constexpr char kMissingOrEmptyFileMessage[] =
    "ファイルがないか空です。他で使用中かアクセス不能かもしれません。";
std::vector<MessageLine> EmptySheetMessage(const TextModel& model, const SheetDocument& doc);

SheetDrawResult DrawSheet(platform::Canvas& canvas, const TextModel& model,
                          const settings::AsciiPageFormat& fmt, const AsciiLayout& layout,
                          const SheetDocument& doc, const SheetRequest& request);

}  // namespace tyld::ascii
