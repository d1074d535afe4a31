#pragma once
// The binary screen: shows the data as hex dump pages, exactly as they print.
#include <QString>

#include "binary/binary_screen.h"
#include "platform/log_font.h"
#include "platform/paged_view.h"

namespace tyld::binary {

class CTyldView : public platform::PagedView {
  Q_OBJECT
 public:
  explicit CTyldView(QWidget* parent = nullptr);
  ~CTyldView() override;

  bool OnCommand(int id, std::intptr_t param) override;
  [[nodiscard]] bool IsCommandEnabled(int id) const override;

  // Layout, page count and scroll ranges from scratch.
  void FullRebuild();
  [[nodiscard]] QString TitleText() const;
  [[nodiscard]] BinaryScreen& Screen() { return screen_; }
  // Extra title text while a byte search is active (set by the search tools).
  void SetSearchTitle(const QString& text) { searchTitle_ = text; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  [[nodiscard]] int LinePitchPx() const override { return linePitch_; }
  [[nodiscard]] int CharWidthPx() const override { return charWidth_; }

 private:
  void MakeScreenFonts();
  void Print(bool colour);
  void RunPrintJob();
  void PageJump();
  void JumpToPosition(std::int64_t u);
  void FontDialog();
  void PageFormatDialog();
  void SetScale(double scale);

  BinaryScreen screen_;
  platform::LogFont screenFont_;
  bool fixedPitch_ = true;
  int charWidth_ = 8;
  int linePitch_ = 16;
  int colorPrint_ = 1;
  int printFirst_ = 1, printLast_ = 1, printNumber_ = 0;
  QString searchTitle_;
};

}  // namespace tyld::binary
