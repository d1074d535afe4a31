#pragma once
// Draws one hex dump page on a canvas, for the screen and the printer alike.
#include <cstdint>
#include <span>
#include <string_view>

#include "binary/binary_layout.h"
#include "binary/dump_lines.h"
#include "binary/dump_texts.h"
#include "platform/canvas.h"
#include "platform/font_description.h"
#include "settings/page_format.h"

namespace tyld::binary {

enum class DrawTarget { Screen = 1, Printer = 2 };

// Text colours of the dump (COLORREF).
inline constexpr platform::Colour kHeadingColour = 0x00FF6400;
inline constexpr platform::Colour kEvenLineColour = 0x00000000;
inline constexpr platform::Colour kOddLineColour = 0x00285A00;
inline constexpr platform::Colour kPlainColour = 0x00000000;  // range line, footer

// The data of the document as the painter reads it.
struct DumpSource {
  std::span<const std::uint8_t> data;
  std::span<const std::uint8_t> marks;  // highlight marks parallel to data (may be shorter)
  std::string_view docName;             // Shift-JIS name for the range line
};

struct PagePaint {
  DrawTarget target = DrawTarget::Screen;
  bool colour = true;     // printer: false is monochrome (all black, no highlights)
  double x0 = 0;          // origin, characters
  double y0 = 0;          // origin, lines
  std::int64_t page = 0;  // 0-based
  int pageNumber = 0;     // printed in the footer, 0 = none
  std::string_view footerName;  // Shift-JIS printed name for the file-name footer
  FooterTime time;

  platform::FontDescription binFont;  // the binary font description
  int pointTenths = 80;       // its point size, tenths
  double scale = 1.0;         // screen scale (footer font size)
  // Screen only: the scaled screen font and its metrics.
  platform::FontDescription screenFont;
  int screenCharWidth = 0;
  double screenLinePitch = 0;
  // Screen only: the bytes [hitFirst, hitEnd) of the search hit the user went to, framed.
  std::int64_t hitFirst = 0;
  std::int64_t hitEnd = 0;
  // The page's bytes are still being read: the sheet, its footer and range line, and
  // "読込中…" in place of the dump; no byte of the data is read.
  bool pending = false;
};

// Draws the page and returns the first and last data offset it drew.
PageOffsets DrawBinaryPage(platform::Canvas& canvas, const settings::BinaryPageFormat& fmt,
                           const BinaryLayout& layout, const DumpSource& source, const PagePaint& paint);

}  // namespace tyld::binary
