#pragma once
// The binary screen: shows the data as hex dump pages, exactly as they print.
#include <QPointer>
#include <QString>

#include "binary/binary_screen.h"
#include "tools/position_calculator_window.h"
#include "platform/font_description.h"
#include "pages/paged_view.h"
#include "tools/byte_editor_window.h"
#include "tools/sequence_search_window.h"

namespace tyld::binary {

class BinaryView : public pages::PagedView {
  Q_OBJECT
 public:
  explicit BinaryView(QWidget* parent = nullptr);
  ~BinaryView() override;

  bool OnCommand(int id, std::intptr_t param) override;
  [[nodiscard]] bool IsCommandEnabled(int id) const override;

  // Layout, page count and scroll ranges from scratch.
  void FullRebuild();
  [[nodiscard]] QString TitleText() const;
  [[nodiscard]] BinaryScreen& Screen() { return screen_; }
  // Extra title text while a byte search is active (set by the search tools).
  void SetSearchTitle(const QString& text) { searchTitle_ = text; }
  // The open tool windows, or nullptr.
  [[nodiscard]] tools::ByteEditorWindow* ByteMentWindow() const { return byteMent_; }
  [[nodiscard]] tools::SequenceSearchWindow* GroupSearchWindow() const { return groupSearch_; }
  [[nodiscard]] tools::PositionCalculatorWindow* PositionCalculator() const { return hexPosCal_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  [[nodiscard]] int LinePitchPx() const override { return linePitch_; }
  [[nodiscard]] int CharWidthPx() const override { return charWidth_; }

 private:
  void MakeScreenFonts();
  void Print(bool colour);
  void RunPrintJob();
  void PageJump();
  void JumpToPosition(std::uint32_t u);
  [[nodiscard]] bool RefuseWithoutData();
  void ByteSearch();
  void CancelByteSearch();
  void OpenByteMent();
  void OpenGroupSearch();
  void RunGroupSearch();
  void OpenHexPosCal();
  void FontDialog();
  void PageFormatDialog();
  void SetScale(double scale);

  BinaryScreen screen_;
  platform::FontDescription screenFont_;
  bool fixedPitch_ = true;
  int charWidth_ = 8;
  int linePitch_ = 16;
  int colorPrint_ = 1;
  int printFirst_ = 1, printLast_ = 1, printNumber_ = 0;
  QString searchTitle_;
  QPointer<tools::ByteEditorWindow> byteMent_;
  QPointer<tools::SequenceSearchWindow> groupSearch_;
  QPointer<tools::PositionCalculatorWindow> hexPosCal_;
};

}  // namespace tyld::binary
