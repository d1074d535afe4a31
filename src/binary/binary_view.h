#pragma once
// The binary screen's view: the paged view over the hex dump pages, with the binary
// screen's own commands (byte search, the tool windows, saving, jumping to a position).
#include <QPointer>
#include <QString>
#include <string>

#include "binary/binary_screen.h"
#include "tools/position_calculator_window.h"
#include "pages/paged_view.h"
#include "tools/byte_editor_window.h"
#include "tools/sequence_search_window.h"

namespace tyld::binary {

class BinaryView : public pages::PagedView {
  Q_OBJECT
 public:
  explicit BinaryView(const pages::Workspace& workspace, QWidget* parent = nullptr);

  bool Run(pages::ScreenAction action) override;
  [[nodiscard]] bool CanRun(pages::ScreenAction action) const override;
  [[nodiscard]] pages::ScreenKind Kind() const override { return pages::ScreenKind::Binary; }
  // New document content: back to the first page.
  void ShowNewDocument();
  // A read under way: laid out for the file's size at its start, then each page shown is
  // drawn as soon as its bytes are in.
  void ShowReadProgress();
  // Bytes changed in place: the searches shown are marked again for the new bytes.
  void ShowChangedBytes();
  // Shows the page of a 1-based byte position, or says it is past the last page.
  // Positions are unsigned 32-bit: 4294967295 is a position past any data, never -1.
  void JumpToPosition(std::uint32_t position);
  // Shows the page of a search hit (bytes [offset, offset + length)), marks its bytes as
  // a sequence hit and frames them; past the data it says so and stays.
  void ShowSequenceHit(qint64 offset, int length);
  // F3 / Shift+F3: the next or previous marked byte, from the framed hit when it is on the
  // current page, else from the current page; at either end a message and no move.
  void StepByteHit(bool forward);
  // The byte search over the loaded data with the stored entries, and its title.
  void ApplyByteSearch();

  [[nodiscard]] BinaryScreen& Screen() { return screen_; }
  // Extra title text while a byte search is active (set by the search tools).
  void SetSearchTitle(const QString& text) { searchTitle_ = text; }
  // The open tool windows, or nullptr.
  [[nodiscard]] tools::ByteEditorWindow* ByteEditor() const { return byteEditor_; }
  [[nodiscard]] tools::SequenceSearchWindow* SequenceSearch() const { return sequenceSearch_; }
  [[nodiscard]] tools::PositionCalculatorWindow* PositionCalculator() const { return positionCalculator_; }

 signals:
  // A page of a new document was painted with its bytes (once per document, also when the
  // document is still being read).
  void FirstPagePainted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool ExecPageFormatDialog() override;
  [[nodiscard]] QString TitleExtra() const override { return searchTitle_; }
  void keyPressEvent(QKeyEvent* event) override;

 private:
  [[nodiscard]] bool RefuseWithoutData();
  void ByteSearch();
  void CancelByteSearch();
  void OpenByteEditor();
  void OpenSequenceSearch();
  void RunSequenceSearch();
  void OpenPositionCalculator();
  void ShowHit(std::int64_t first, std::int64_t end);
  void ClearHit();

  BinaryScreen screen_;
  QString searchTitle_;
  bool sequenceShown_ = false;  // the marks hold a byte-sequence search
  // The file whose read is shown (empty: none); `shownIn_` has a bit for each of the three
  // pages from the current one whose bytes were in when last drawn.
  std::string readPath_;
  int shownIn_ = 0;
  bool pagePainted_ = false;
  QPointer<tools::ByteEditorWindow> byteEditor_;
  QPointer<tools::SequenceSearchWindow> sequenceSearch_;
  QPointer<tools::PositionCalculatorWindow> positionCalculator_;
};

}  // namespace tyld::binary
