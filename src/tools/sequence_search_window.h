#pragma once
// The byte-sequence search window of the binary screen (modeless). Its search button
// stores the pattern and asks the binary screen to search (329); the screen then calls
// RefreshList. Closing tells the screen (330); the window deletes itself.
#include <QDialog>

#include "pages/dialog_parts.h"
#include "search/sequence_search.h"

class QLineEdit;
class QLabel;
class QComboBox;

namespace tyld::tools {

class SequenceSearchWindow : public QDialog {
  Q_OBJECT
 public:
  // Edits 287-294 and 295 (byte count), spin 296, buttons 326 (サーチ) and 331 (DF出力),
  // result count 327, result list 328.
  explicit SequenceSearchWindow(search::SequenceSearchState& state, QWidget* parent = nullptr);

  template <class T>
  [[nodiscard]] T* Control(int id) const {
    return controls_.Get<T>(id);
  }

  // The search button: refusals as message boxes, else request 329.
  void Search();
  // The result count and list from the state, first line selected.
  void RefreshList();
  // The output button: asks for a file and writes the results safely.
  void WriteResults();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override { close(); }  // Escape closes like the close box

 private:
  search::SequenceSearchState& state_;
  pages::ControlMap controls_;
};

}  // namespace tyld::tools
