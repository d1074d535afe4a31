#pragma once
// The binary screen's state apart from its window: layout and page count from the
// printer, and what a page is drawn from. The view and tyld-render drive it through the
// paged-screen interface.
#include <string>

#include "binary/binary_layout.h"
#include "binary/page_painter.h"
#include "pages/paged_screen.h"
#include "pages/workspace.h"

class QPrinter;

namespace tyld::binary {

class BinaryScreen final : public pages::PagedScreen {
 public:
  // Lays out the workspace's document with its live settings.
  explicit BinaryScreen(const pages::Workspace& workspace) : workspace_(workspace) {}

  // Layout from the printer, then the page count of the document.
  void Build(QPrinter& printer);
  // The document's bytes and marks, with the names in Shift-JIS.
  [[nodiscard]] DumpSource Source();
  // The page settings of the live binary font. Its footer name refers to the names the
  // latest Source() took, so call Source() first.
  [[nodiscard]] PagePaint BasePaint() const;
  [[nodiscard]] DumpPaging Paging() const;
  // The length the pages are laid out for: the file's size while it is being read (its
  // pages are shown as their bytes come in), else the data's.
  [[nodiscard]] std::int64_t ShownLength() const;
  // The page's bytes can be drawn: always once the data is in; during a read, when every
  // byte its walk reads is in and the page does not reach the file's end (the final byte
  // is settled only when the read ends).
  [[nodiscard]] bool PageIn(std::int64_t page) const;

  std::vector<pages::ScreenMessage> Rebuild(QPrinter& printer, int& currentPage) override;
  [[nodiscard]] int PageCount() const override { return view.BinPageCount; }
  [[nodiscard]] int LinesDown() const override { return layout.area.linesDown; }
  [[nodiscard]] int CharsAcross() const override { return layout.area.charsAcross; }
  [[nodiscard]] const pages::PrintableArea& Area() const override { return layout.area; }
  [[nodiscard]] int EmptyPageNumber() const override { return 1; }
  void DrawPage(platform::Canvas& canvas, const pages::PageDraw& draw) override;
  [[nodiscard]] std::string PageText(int page, int number) override;
  [[nodiscard]] settings::FontState& Font() override;
  [[nodiscard]] int LineSpacing() const override;
  [[nodiscard]] settings::Orientation PageOrientation() const override;
  [[nodiscard]] int ShownFontSize() const override;
  void ResetFont() override;
  void ResetPageFormat() override;
  [[nodiscard]] QString TitleHead(int currentPage) const override;
  [[nodiscard]] QString JobName() const override;

  BinaryLayout layout;
  BinaryViewState view;
  // The search hit the view went to last, framed on screen: bytes [hitFirst, hitEnd).
  std::int64_t hitFirst = 0;
  std::int64_t hitEnd = 0;

 private:
  pages::Workspace workspace_;
  std::string docNameSjis_;
  std::string footerNameSjis_;
};

}  // namespace tyld::binary
