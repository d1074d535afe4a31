#pragma once
// The binary screen's view: the paged view over the hex dump pages, with the binary
// screen's own commands (byte search, the tool windows, saving, jumping to a position).
#include <QPointer>
#include <QString>

#include "binary/binary_screen.h"
#include "tools/position_calculator_window.h"
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

  [[nodiscard]] BinaryScreen& Screen() { return screen_; }
  // Extra title text while a byte search is active (set by the search tools).
  void SetSearchTitle(const QString& text) { searchTitle_ = text; }
  // The open tool windows, or nullptr.
  [[nodiscard]] tools::ByteEditorWindow* ByteMentWindow() const { return byteMent_; }
  [[nodiscard]] tools::SequenceSearchWindow* GroupSearchWindow() const { return groupSearch_; }
  [[nodiscard]] tools::PositionCalculatorWindow* PositionCalculator() const { return hexPosCal_; }

 protected:
  bool ExecPageFormatDialog() override;
  [[nodiscard]] QString TitleExtra() const override { return searchTitle_; }

 private:
  void JumpToPosition(std::uint32_t u);
  [[nodiscard]] bool RefuseWithoutData();
  void ByteSearch();
  void CancelByteSearch();
  void OpenByteMent();
  void OpenGroupSearch();
  void RunGroupSearch();
  void OpenHexPosCal();

  BinaryScreen screen_;
  QString searchTitle_;
  QPointer<tools::ByteEditorWindow> byteMent_;
  QPointer<tools::SequenceSearchWindow> groupSearch_;
  QPointer<tools::PositionCalculatorWindow> hexPosCal_;
};

}  // namespace tyld::binary
