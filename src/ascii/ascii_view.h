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
  ~AsciiView() override;

  bool OnCommand(int id, std::intptr_t param) override;
  [[nodiscard]] bool IsCommandEnabled(int id) const override;

  [[nodiscard]] const AsciiScreen& Screen() const { return screen_; }
  [[nodiscard]] AsciiScreen& Screen() { return screen_; }

 protected:
  bool ExecPageFormatDialog() override;

 private:
  void StringSearch();
  void CancelStringSearch();

  AsciiScreen screen_;
};

}  // namespace tyld::ascii
