#pragma once
// The position calculator of the binary screen (modeless): converts a byte position
// between decimal and hexadecimal and asks for its page (JumpRequested). Closing emits
// Closed; the window deletes itself.
#include <QDialog>

#include "pages/dialog_parts.h"

class QLineEdit;

namespace tyld::tools {

class PositionCalculatorWindow : public QDialog {
  Q_OBJECT
 public:
  // Controls by object name: edits decimalPosition and hexPosition; buttons toHex
  // (16進数計算), toDecimal (10進数計算), jumpDecimal and jumpHex (each 頁Jump).
  explicit PositionCalculatorWindow(QWidget* parent = nullptr);

  // Conversions; each returns the position it converted.
  std::uint32_t DecimalToHex();
  std::uint32_t HexToDecimal();

 signals:
  // A 頁Jump button: show the page of this position.
  void JumpRequested(std::uint32_t position);
  void Closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override { close(); }  // Escape closes like the close box

 private:
  QLineEdit* decimal_ = nullptr;
  QLineEdit* hex_ = nullptr;
};

}  // namespace tyld::tools
