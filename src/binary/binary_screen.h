#pragma once
// The binary screen's state apart from its window: layout and page count from the
// printer, and what a page is drawn from. The view and tyld-render share it.
#include <string>

#include "binary/binary_layout.h"
#include "binary/page_painter.h"

class QPrinter;

namespace tyld::binary {

class BinaryScreen {
 public:
  // Layout from the printer, then the page count of the document.
  void Rebuild(QPrinter& printer);
  // The document's bytes and marks, with the names in Shift-JIS.
  [[nodiscard]] DumpSource Source();
  // The page settings of the live binary font. Its footer name refers to the names the
  // latest Source() took, so call Source() first.
  [[nodiscard]] PagePaint BasePaint() const;
  [[nodiscard]] DumpPaging Paging() const;

  BinaryLayout layout;
  BinaryViewState view;

 private:
  std::string docNameSjis_;
  std::string footerNameSjis_;
};

}  // namespace tyld::binary
