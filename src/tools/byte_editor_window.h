#pragma once
// The byte maintenance window of the binary screen (modeless): ten bytes from a typed
// address, four stepping bars, and "データ書替" overwriting them in the loaded data.
// Every write emits DataChanged; closing emits Closed and the window deletes itself.
#include <QDialog>
#include <array>
#include <cstdint>

#include "document/document_buffer.h"
#include "pages/dialog_parts.h"
#include "search/byte_maintenance.h"

class QLabel;
class QLineEdit;

namespace tyld::tools {

class ByteEditorWindow : public QDialog {
  Q_OBJECT
 public:
  // Controls by object name: the address edit address, the bars by1Bar, by10Bar,
  // by100Bar and by1000Bar (steps of 1, 0x10, 0x100, 0x1000), the range text
  // addressRange, current bytes currentByte0..9, new values newByte0..9, the button write.
  // `start` is the first address shown, kept between windows.
  ByteEditorWindow(document::DocumentBuffer& doc, std::uint32_t& start, QWidget* parent = nullptr);

  // Reads the address edit into the start and shows it and the bytes there.
  void EnterAddress();
  // One event of a bar (as its arrows send them).
  void Scroll(search::AddressBar bar, search::ScrollStep step);
  // "データ書替".
  void WriteValues();

 signals:
  void Closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override { close(); }  // Escape closes like the close box

 private:
  void ReadAddress();
  void ShowAddress();
  void ShowCurrentBytes();
  void ClearNewValues();

  document::DocumentBuffer& doc_;
  std::uint32_t& start_;
  QLineEdit* address_ = nullptr;
  QLabel* range_ = nullptr;
  std::array<QLabel*, search::kMaintenanceBytes> current_{};
  std::array<QLineEdit*, search::kMaintenanceBytes> newValues_{};
};

}  // namespace tyld::tools
