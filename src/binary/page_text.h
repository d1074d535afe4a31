#pragma once
// The dump pages as UTF-8 text, built from the same page walk as the painter: one block
// per page with the range line, each column's heading and dump lines, and the footer.
#include <cstdint>
#include <string>
#include <string_view>

#include "binary/page_painter.h"

namespace tyld::binary {

struct PageTextOptions {
  std::string_view footerName;  // Shift-JIS printed name
  FooterTime time;
  bool pageNumbers = true;  // whether the footer carries a page number
  int pageNumber = 0;       // the number it carries; 0: the page's own (index + 1)
};

// Text of one page (0-based index; printed as page index + 1).
std::string BinaryPageText(const settings::BinaryPageFormat& fmt, const DumpSource& source,
                           std::int64_t page, const PageTextOptions& options);
// Text of every page of the data.
std::string BinaryDocumentText(const settings::BinaryPageFormat& fmt, const DumpSource& source,
                               const PageTextOptions& options);

}  // namespace tyld::binary
