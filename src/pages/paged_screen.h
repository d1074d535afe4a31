#pragma once
// What a screen of pages is to the parts that show, print and render it: a layout rebuilt
// for a printer, a number of pages, each drawn on a canvas or given as text, and the
// screen's own part of the window title. The paged view, the print job and tyld-render
// drive both screens through this interface alone.
#include <QString>
#include <string>
#include <vector>

#include "pages/printable_area.h"
#include "platform/canvas.h"
#include "settings/page_format.h"

class QPrinter;

namespace tyld::pages {

// How one page is to be drawn.
struct PageDraw {
  int page = 0;         // 0-based
  int number = 0;       // the page number printed in the footer; 0 prints none
  bool screen = false;  // on the screen, or on the printer
  bool colour = true;   // printer only: colours, or all black
  // Screen only: the page origin in characters and lines, and the screen's font and grid.
  double x0 = 0;
  double y0 = 0;
  ScreenGrid grid;
};

// A message a rebuild asks to show (UTF-8).
struct ScreenMessage {
  std::string text;
  std::string caption;
};

class PagedScreen {
 public:
  virtual ~PagedScreen() = default;

  // Layout from the printer, pages from the document. currentPage (0-based) comes back
  // adjusted to the new page count.
  virtual std::vector<ScreenMessage> Rebuild(QPrinter& printer, int& currentPage) = 0;
  [[nodiscard]] virtual int PageCount() const = 0;
  // Lines one page takes down and characters across on the printer's grid.
  [[nodiscard]] virtual int LinesDown() const = 0;
  [[nodiscard]] virtual int CharsAcross() const = 0;
  // The printer's grid and page the layout was made for.
  [[nodiscard]] virtual const PrintableArea& Area() const = 0;
  // The number the single page shown for a document without pages carries.
  [[nodiscard]] virtual int EmptyPageNumber() const = 0;
  virtual void DrawPage(platform::Canvas& canvas, const PageDraw& draw) = 0;
  [[nodiscard]] virtual std::string PageText(int page, int number) = 0;
  // Why nothing can be printed although the document has data, or empty.
  [[nodiscard]] virtual std::string Refusal() const { return {}; }

  // The screen's font, its line spacing and its orientation.
  [[nodiscard]] virtual settings::FontState& Font() = 0;
  [[nodiscard]] virtual int LineSpacing() const = 0;
  [[nodiscard]] virtual settings::Orientation PageOrientation() const = 0;
  // The font size a failed screen font is reported with.
  [[nodiscard]] virtual int ShownFontSize() const = 0;
  // The font and page-format resets of the screen's menu.
  virtual void ResetFont() = 0;
  virtual void ResetPageFormat() = 0;

  // The title around the shared font part: what stands before it for the current page,
  // and what follows the orientation.
  [[nodiscard]] virtual QString TitleHead(int currentPage) const = 0;
  [[nodiscard]] virtual QString TitleTail() const { return {}; }
  // The print job's name.
  [[nodiscard]] virtual QString JobName() const = 0;
};

}  // namespace tyld::pages
