#pragma once
// The ASCII screen: shows the data as Shift-JIS text sheets, exactly as they print.
#include <QString>

#include "ascii/ascii_screen.h"
#include "platform/font_description.h"
#include "pages/paged_view.h"

namespace tyld::ascii {

class AsciiView : public pages::PagedView {
  Q_OBJECT
 public:
  explicit AsciiView(QWidget* parent = nullptr);
  ~AsciiView() override;

  bool OnCommand(int id, std::intptr_t param) override;
  [[nodiscard]] bool IsCommandEnabled(int id) const override;

  // Layout, text model, sheet count and scroll ranges from scratch.
  void FullRebuild();
  [[nodiscard]] const AsciiScreen& Screen() const { return screen_; }
  [[nodiscard]] AsciiScreen& Screen() { return screen_; }
  [[nodiscard]] QString TitleText() const;
  [[nodiscard]] int ScreenCharWidth() const { return charWidth_; }
  [[nodiscard]] int ScreenLinePitch() const { return linePitch_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  [[nodiscard]] int LinePitchPx() const override { return linePitch_ > 0 ? linePitch_ : 1; }
  [[nodiscard]] int CharWidthPx() const override { return charWidth_ > 0 ? charWidth_ : 1; }
  void PageChanged() override;

 private:
  void MakeScreenFonts();
  void Print(bool colour);
  void RunPrintJob();
  void PageJump();
  void FontDialog();
  void PageFormatDialog();
  void SetScale(double scale);
  void StringSearch();
  void CancelStringSearch();

  AsciiScreen screen_;
  platform::FontDescription screenFont_;
  bool fixedPitch_ = true;
  int charWidth_ = 8;
  int linePitch_ = 16;
  int colorPrint_ = 1;
  int printFirst_ = 1, printLast_ = 1, printNumber_ = 0;
};

}  // namespace tyld::ascii
