#pragma once
// The byte maintenance window of the binary screen (modeless): ten bytes from a typed
// address, four stepping bars, and "データ書替" overwriting them in the loaded data.
// Every write tells the screen (281); closing tells it (280) and the window deletes itself.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <span>

#include "pages/dialog_parts.h"
#include "search/byte_maintenance.h"

namespace tyld::tools {

// The loaded data, fetched at every use (a load may replace it while the window is open).
using MaintenanceData = std::function<std::span<std::uint8_t>()>;

class ByteEditorWindow : public QDialog {
  Q_OBJECT
 public:
  // Address edit 252, bars 263 (1), 277 (0x10), 278 (0x100), 279 (0x1000), range 264,
  // current bytes 265-274, new values 253-262, button 275.
  explicit ByteEditorWindow(MaintenanceData data, QWidget* parent = nullptr);

  template <class T>
  [[nodiscard]] T* Control(int id) const {
    return controls_.Get<T>(id);
  }

  // Reads the address edit into the start and shows it and the bytes there.
  void EnterAddress();
  // One event of a bar (as its arrows send them).
  void Scroll(search::AddressBar bar, search::ScrollStep step);
  // "データ書替".
  void WriteValues();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override { close(); }  // Escape closes like the close box

 private:
  void ReadAddress();
  void ShowAddress();
  void ShowCurrentBytes();
  void ClearNewValues();

  MaintenanceData data_;
  pages::ControlMap controls_;
};

}  // namespace tyld::tools
