#pragma once
// The byte-sequence search window of the binary screen (modeless). Its search button
// stores the pattern and emits SearchRequested; the screen searches and calls
// RefreshList. Choosing a result in the list emits JumpRequested with its bytes. Closing
// emits Closed; the window deletes itself.
#include <QDialog>
#include <array>

#include "pages/dialog_parts.h"
#include "search/sequence_search.h"

class QLineEdit;
class QLabel;
class QComboBox;

namespace tyld::tools {

class SequenceSearchWindow : public QDialog {
  Q_OBJECT
 public:
  // Controls by object name: edits patternByte0..7 and patternLength (with
  // patternLengthSpin), buttons search (サーチ) and writeResults (DF出力), the result count
  // resultCount and the result list results.
  explicit SequenceSearchWindow(search::SequenceSearchState& state, QWidget* parent = nullptr);

  // The search button: refusals as message boxes, else the search request to the screen.
  void Search();
  // The result count and list from the state, first line selected.
  void RefreshList();
  // The output button: asks for a file and writes the results safely.
  void WriteResults();

 signals:
  // The pattern in the state was confirmed; the screen searches and calls RefreshList.
  void SearchRequested();
  // A result was chosen: the screen shows the page of bytes [offset, offset + length).
  void JumpRequested(qint64 offset, int length);
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override { close(); }  // Escape closes like the close box

 private:
  search::SequenceSearchState& state_;
  std::array<QLineEdit*, search::kPatternBytes> pattern_{};
  QLineEdit* length_ = nullptr;
  QLabel* resultCount_ = nullptr;
  QComboBox* results_ = nullptr;
};

}  // namespace tyld::tools
