#pragma once
// A sheet of the ASCII screen as plain UTF-8 text, for the headless renderer.
#include <string>

#include "ascii/sheet_painter.h"

namespace tyld::ascii {

// "=== sheet N ===" (N 1-based), then per column "--- column C ---" and its rows as drawn
// (with "%06d " line numbers where the format prints them on paper), then
// "--- footer ---" and the footer items that are on. Lines end with "\n".
std::string SheetText(const TextModel& model, const settings::AsciiPageFormat& fmt, const AsciiLayout& layout,
                      const SheetDocument& doc, int sheet, int pageNumber);

}  // namespace tyld::ascii
