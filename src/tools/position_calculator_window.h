#pragma once
// The position calculator of the binary screen (modeless): converts a byte position
// between decimal and hexadecimal and asks the screen to show its page (349). Closing
// tells the screen (350); the window deletes itself.
#include <QDialog>

#include "pages/dialog_parts.h"

namespace tyld::tools {

class PositionCalculatorWindow : public QDialog {
  Q_OBJECT
 public:
  // Edits 344 (decimal) and 343 (hexadecimal); buttons 346 (16進数計算), 345 (10進数計算),
  // 348 (decimal 頁Jump), 347 (hexadecimal 頁Jump).
  explicit PositionCalculatorWindow(QWidget* parent = nullptr);

  template <class T>
  [[nodiscard]] T* Control(int id) const {
    return controls_.Get<T>(id);
  }

  // Conversions; each returns the position it converted.
  std::uint32_t DecimalToHex();
  std::uint32_t HexToDecimal();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override { close(); }  // Escape closes like the close box

 private:
  pages::ControlMap controls_;
};

}  // namespace tyld::tools
