#pragma once
// The ASCII screen's state apart from its window: the text model, the sheets and the
// display switches, rebuilt from the document, the live settings and the printer. The
// view and tyld-render drive it through the paged-screen interface, so both lay out and
// draw the same sheets.
#include <string>
#include <vector>

#include "ascii/ascii_layout.h"
#include "ascii/sheet_painter.h"
#include "ascii/text_model.h"
#include "pages/paged_screen.h"
#include "pages/workspace.h"

class QPrinter;

namespace tyld::ascii {

class AsciiScreen final : public pages::PagedScreen {
 public:
  // Lays out the workspace's document with its live settings.
  explicit AsciiScreen(const pages::Workspace& workspace) : workspace_(workspace) {}

  // Layout from the printer, text model from the document, sheet count. Returns the
  // messages the build asks to show.
  std::vector<BuildFailure> Build(QPrinter& printer);

  // What a build does with the text model. Defer: the model is left empty (no sheets) and
  // the options it would be built with are kept in Deferred, for a build elsewhere; Keep:
  // the model installed is counted as it is. A proportional font is measured on the
  // printer, which only this thread may do: it is never deferred.
  enum class ModelStep { Build, Defer, Keep };
  ModelStep Step = ModelStep::Build;
  bool Deferred = false;  // the last Build left the model to be built elsewhere
  int DeferCount = 0;     // deferred builds so far: a later one makes an earlier one stale
  TextModelOptions DeferredOptions;
  std::string DeferredExt;  // what DeferredOptions.DocExt views
  // A new document: first sheet, the mail display from its extension, tables released.
  void NewDocument();

  // What a sheet is drawn from: names, font, footer name.
  [[nodiscard]] SheetDocument SheetSource() const;

  std::vector<pages::ScreenMessage> Rebuild(QPrinter& printer, int& currentPage) override;
  [[nodiscard]] int PageCount() const override { return SheetCount; }
  [[nodiscard]] int LinesDown() const override { return layout.area.linesDown; }
  [[nodiscard]] int CharsAcross() const override { return layout.area.charsAcross; }
  [[nodiscard]] const pages::PrintableArea& Area() const override { return layout.area; }
  [[nodiscard]] int EmptyPageNumber() const override { return 0; }
  void DrawPage(platform::Canvas& canvas, const pages::PageDraw& draw) override;
  [[nodiscard]] std::string PageText(int page, int number) override;
  [[nodiscard]] std::string Refusal() const override;
  [[nodiscard]] settings::FontState& Font() override;
  [[nodiscard]] int LineSpacing() const override;
  [[nodiscard]] settings::Orientation PageOrientation() const override;
  [[nodiscard]] int ShownFontSize() const override;
  void ResetFont() override;
  void ResetPageFormat() override;
  [[nodiscard]] QString TitleHead(int currentPage) const override;
  [[nodiscard]] QString TitleTail() const override;
  [[nodiscard]] QString JobName() const override;

  TextModel model;
  AsciiLayout layout;
  int CurrentSheet = 0;
  int SheetCount = 0;
  MailView EmlMode = MailView::NotMail;
  int ForceUtf8 = 0;  // 1 UTF-8, 0 detected, -1 Shift-JIS (the buttons)

 private:
  pages::Workspace workspace_;
};

}  // namespace tyld::ascii
