#pragma once
// The ASCII screen's state apart from its window: the text model, the sheets and the
// display switches, rebuilt from the document, the live settings and the printer. The
// view and tyld-render share it, so both lay out and draw the same sheets.
#include <vector>

#include "ascii/ascii_layout.h"
#include "ascii/sheet_painter.h"
#include "ascii/text_model.h"

class QPrinter;

namespace tyld::ascii {

class AsciiScreen {
 public:
  // Layout from the printer, text model from the document, sheet count. Returns the
  // messages the build asks to show.
  std::vector<BuildFailure> Rebuild(QPrinter& printer);
  // A new document: first sheet, the mail display from its extension, tables released.
  void NewDocument();

  // What a sheet is drawn from: names, font, footer name.
  [[nodiscard]] SheetDocument Document() const;

  TextModel model;
  AsciiLayout layout;
  int CurrentSheet = 0;
  int SheetCount = 0;
  int EmlMode = 0;    // 0 not a mail, 1 mail shown raw, 2 mail shown decoded
  int ForceUtf8 = 0;
};

}  // namespace tyld::ascii
