#pragma once
// The ASCII screen's view: the paged view over the text sheets, with the ASCII screen's own
// commands (UTF-8 and mail display, the string search).
#include "ascii/ascii_screen.h"
#include "pages/paged_view.h"

namespace tyld::ascii {

class AsciiView : public pages::PagedView {
  Q_OBJECT
 public:
  explicit AsciiView(QWidget* parent = nullptr);

  bool Run(pages::ScreenAction action) override;
  [[nodiscard]] bool CanRun(pages::ScreenAction action) const override;
  [[nodiscard]] pages::ScreenKind Kind() const override { return pages::ScreenKind::Ascii; }
  // New document content: back to the first sheet.
  void ShowNewDocument();
  // Bytes changed in place: the sheets again from them, on the same sheet (or the last),
  // with the string search marked again.
  void ShowChangedBytes();

  [[nodiscard]] const AsciiScreen& Screen() const { return screen_; }
  [[nodiscard]] AsciiScreen& Screen() { return screen_; }

 protected:
  bool ExecPageFormatDialog() override;

 private:
  void StringSearch();
  void CancelStringSearch();
  void MarkStrings();

  AsciiScreen screen_;
};

}  // namespace tyld::ascii
