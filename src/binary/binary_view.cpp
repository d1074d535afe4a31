#include "binary/binary_view.h"

#include <QKeyEvent>
#include <algorithm>
#include <utility>

#include "document/document_buffer.h"
#include "tools/position_calculator_window.h"
#include "tools/save_data.h"
#include "binary/binary_page_format_dialog.h"
#include "platform/message_box.h"
#include "tools/byte_editor_window.h"
#include "tools/byte_search_dialog.h"
#include "tools/dialog_support.h"
#include "tools/sequence_search_window.h"
#include "search/search_state.h"
#include "settings/page_format.h"

namespace tyld::binary {
namespace {
using pages::ScreenAction;

std::span<std::uint8_t> Marks(document::DocumentBuffer& doc) {
  return {doc.HighlightMarks.data(), doc.HighlightMarks.size()};
}

// A tool window that is already open is only brought forward.
bool Raise(QWidget* window) {
  if (window == nullptr) return false;
  window->show();
  window->raise();
  window->activateWindow();
  return true;
}
}  // namespace

BinaryView::BinaryView(const pages::Workspace& workspace, QWidget* parent)
    : PagedView(workspace, screen_, parent), screen_(workspace) {
  setWindowTitle(QStringLiteral("バイナリ画面"));
  connect(&Shared().document, &document::DocumentBuffer::Loaded, this, &BinaryView::ShowNewDocument);
  connect(&Shared().document, &document::DocumentBuffer::Changed, this, &BinaryView::ShowChangedBytes);
  connect(&Shared().document, &document::DocumentBuffer::ReadProgress, this, &BinaryView::ShowReadProgress);
  Start();
}

void BinaryView::ShowReadProgress() {
  const document::DocumentBuffer& doc = Shared().document;
  if (!doc.Reading()) return;
  if (readPath_ != doc.ReadPath()) {
    readPath_ = doc.ReadPath();
    shownIn_ = 0;
    FullRebuild();  // the pages of the whole file, none of them in yet
    return;
  }
  int in = 0;
  for (int k = 0; k < 3; ++k)
    if (screen_.PageIn(CurrentPage() + k)) in |= 1 << k;
  if (in == shownIn_) return;
  shownIn_ = in;
  viewport()->update();
}

void BinaryView::paintEvent(QPaintEvent* event) {
  PagedView::paintEvent(event);
  if (pagePainted_ || PageCount() <= 0 || !screen_.PageIn(CurrentPage())) return;
  pagePainted_ = true;
  emit FirstPagePainted();
}

void BinaryView::ShowNewDocument() {
  // The end of a read whose pages were shown keeps the page the user turned to.
  const document::DocumentBuffer& doc = Shared().document;
  const bool endOfShownRead = !readPath_.empty() && !doc.Reading() && doc.DocFullPath == readPath_ && doc.DocLength > 0;
  readPath_.clear();
  // New data comes without marks: nothing of an earlier search is left to name, frame or
  // mark again after an edit (the entries stay for the dialog).
  Shared().searches.bytes.ByteSearchActive = 0;
  SetSearchTitle(QString());
  ClearHit();
  sequenceShown_ = false;
  if (!endOfShownRead) {
    SetCurrentPage(0);
    pagePainted_ = false;
  }
  FullRebuild();  // a page past the data's end goes back to the first
}

void BinaryView::ShowChangedBytes() {
  // Both searches mark from the bytes alone, so running them again in the order they
  // were run gives the marks the new bytes call for.
  const std::span<const std::uint8_t> data = std::as_const(Shared().document).Data();
  if (Shared().searches.bytes.ByteSearchActive != 0) search::MatchBytes(data, Marks(Shared().document), Shared().searches.bytes);
  if (sequenceShown_) {
    // The notices (none found, limit reached) answered the search itself, not an edit.
    (void)search::RunSequenceSearch(data, Marks(Shared().document), Shared().searches.sequence);
    if (sequenceSearch_) sequenceSearch_->RefreshList();
  }
  viewport()->update();
}

bool BinaryView::ExecPageFormatDialog() {
  settings::LiveSettings& live = Shared().live;
  BinaryPageFormatDialog dialog(live.binary, live.unprint, screen_.layout, this);
  ConnectReadjust(dialog);
  return dialog.exec() == QDialog::Accepted;
}

void BinaryView::JumpToPosition(std::uint32_t u) {
  const std::int64_t page = PageOfPosition(static_cast<std::int64_t>(u), Shared().live.binary);
  if (page < 0 || page >= screen_.view.BinPageCount) {
    platform::MessageBox(this,
                         QStringLiteral("指定位置=%1 (%2H) 頁=%3\n\n　 は最大頁=%4 を越えます。")
                             .arg(u)
                             .arg(QString::number(u, 16))
                             .arg(page + 1)
                             .arg(screen_.view.BinPageCount),
                         QStringLiteral("確認"));
    return;
  }
  SetCurrentPage(static_cast<int>(page));
  ShowCurrentPage();
}

bool BinaryView::RefuseWithoutData() {
  if (!Shared().document.DocName.empty()) return false;
  tools::ShowNotice(this, search::kNoFileLoaded);
  return true;
}

void BinaryView::ByteSearch() {
  if (RefuseWithoutData()) return;
  search::ByteSearchState& state = Shared().searches.bytes;
  tools::ByteSearchDialog dialog(state);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyByteSearch();
}

void BinaryView::ApplyByteSearch() {
  search::ByteSearchState& state = Shared().searches.bytes;
  search::MatchBytes(Shared().document.Data(), Marks(Shared().document), state);
  sequenceShown_ = false;  // matching bytes sets every mark afresh
  SetSearchTitle(tools::Q(search::ByteSearchTitle(state)));
  ClearHit();
  viewport()->update();
}

void BinaryView::CancelByteSearch() {
  search::CancelByteSearch(Marks(Shared().document), Shared().searches.bytes);
  sequenceShown_ = false;
  SetSearchTitle(QString());
  ClearHit();
  viewport()->update();
}

void BinaryView::ClearHit() {
  screen_.hitFirst = 0;
  screen_.hitEnd = 0;
}

void BinaryView::ShowHit(std::int64_t first, std::int64_t end) {
  screen_.hitFirst = first;
  screen_.hitEnd = end;
  SetCurrentPage(static_cast<int>(PageOfPosition(first + 1, Shared().live.binary)));
  ShowCurrentPage();
}

void BinaryView::ShowSequenceHit(qint64 offset, int length) {
  const std::span<std::uint8_t> marks = Marks(Shared().document);
  const auto size = static_cast<qint64>(std::min(marks.size(), Shared().document.Data().size()));
  if (offset < 0 || length < 1 || offset >= size) {
    // The list outlives the data it was made from: new data may be shorter.
    tools::ShowNotice(this, search::kNoOccurrence);
    return;
  }
  const qint64 end = std::min(size, offset + length);
  for (qint64 k = offset; k < end; ++k) marks[static_cast<std::size_t>(k)] |= search::kSequenceMarkBit;
  ShowHit(offset, end);
}

void BinaryView::StepByteHit(bool forward) {
  if (RefuseWithoutData()) return;
  const std::span<std::uint8_t> all = Marks(Shared().document);
  const std::span<const std::uint8_t> marks = all.first(std::min(all.size(), Shared().document.Data().size()));
  const DumpPaging paging = screen_.Paging();
  const int page = CurrentPage();
  std::size_t from = 0;
  const bool hitShown = screen_.hitEnd > screen_.hitFirst && paging.PageCount() > 0 &&
                        screen_.hitFirst >= paging.FirstOffset(page) && screen_.hitFirst <= paging.LastOffset(page);
  if (hitShown) {
    if (!forward && screen_.hitFirst == 0) {
      tools::ShowNotice(this, search::kNoEarlierHit);
      return;
    }
    from = static_cast<std::size_t>(forward ? screen_.hitFirst + 1 : screen_.hitFirst - 1);
  } else if (paging.PageCount() > 0) {
    from = static_cast<std::size_t>(forward ? paging.FirstOffset(page) : paging.LastOffset(page));
  }
  const search::HitStep step = search::StepToMarkedByte(marks, from, forward);
  switch (step.result) {
    case search::HitStep::Result::Found:
      ShowHit(static_cast<std::int64_t>(step.position), static_cast<std::int64_t>(step.position) + 1);
      break;
    case search::HitStep::Result::NoneAtAll: tools::ShowNotice(this, search::kNoMarkedBytes); break;
    case search::HitStep::Result::NoneFurther:
      tools::ShowNotice(this, forward ? search::kNoLaterHit : search::kNoEarlierHit);
      break;
  }
}

void BinaryView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F3) {
    StepByteHit(!(event->modifiers() & Qt::ShiftModifier));
    event->accept();
    return;
  }
  PagedView::keyPressEvent(event);
}

void BinaryView::OpenByteEditor() {
  if (!Raise(byteEditor_)) {
    byteEditor_ = new tools::ByteEditorWindow(Shared().document, Shared().searches.ByteMaintenanceStart, this);
    connect(byteEditor_, &tools::ByteEditorWindow::Closed, this, [this] {
      byteEditor_ = nullptr;
      Repaint();
    });
    byteEditor_->show();
  }
}

void BinaryView::OpenSequenceSearch() {
  if (!Raise(sequenceSearch_)) {
    sequenceSearch_ = new tools::SequenceSearchWindow(Shared().searches.sequence, this);
    connect(sequenceSearch_, &tools::SequenceSearchWindow::SearchRequested, this, &BinaryView::RunSequenceSearch);
    connect(sequenceSearch_, &tools::SequenceSearchWindow::JumpRequested, this, &BinaryView::ShowSequenceHit);
    connect(sequenceSearch_, &tools::SequenceSearchWindow::Closed, this, [this] { sequenceSearch_ = nullptr; });
    sequenceSearch_->show();
  }
  ShowCurrentPage();
}

void BinaryView::RunSequenceSearch() {
  search::SequenceSearchState& state = Shared().searches.sequence;
  ClearHit();
  if (const std::optional<search::Notice> notice = search::RunSequenceSearch(Shared().document.Data(), Marks(Shared().document), state))
    tools::ShowNotice(this, *notice);
  sequenceShown_ = true;
  if (sequenceSearch_) sequenceSearch_->RefreshList();
  viewport()->update();
}

void BinaryView::OpenPositionCalculator() {
  if (!Raise(positionCalculator_)) {
    positionCalculator_ = new tools::PositionCalculatorWindow(this);
    connect(positionCalculator_, &tools::PositionCalculatorWindow::JumpRequested, this, &BinaryView::JumpToPosition);
    connect(positionCalculator_, &tools::PositionCalculatorWindow::Closed, this, [this] { positionCalculator_ = nullptr; });
    positionCalculator_->show();
  }
}

bool BinaryView::Run(ScreenAction action) {
  if (PagedView::Run(action)) return true;
  switch (action) {
    case ScreenAction::ByteSearch: ByteSearch(); return true;
    case ScreenAction::CancelByteSearch: CancelByteSearch(); return true;
    case ScreenAction::ByteEditor: OpenByteEditor(); return true;
    case ScreenAction::SequenceSearch: OpenSequenceSearch(); return true;
    case ScreenAction::PositionCalculator: OpenPositionCalculator(); return true;
    case ScreenAction::Save: tools::SaveOverwrite(this, Shared().document); return true;
    case ScreenAction::SaveAs: tools::SaveAs(this, Shared().document); return true;
    default: return false;
  }
}

bool BinaryView::CanRun(ScreenAction action) const {
  switch (action) {
    case ScreenAction::ByteSearch: case ScreenAction::CancelByteSearch: case ScreenAction::ByteEditor:
    case ScreenAction::SequenceSearch: case ScreenAction::PositionCalculator: case ScreenAction::SaveAs:
      return true;
    case ScreenAction::Save: return !Shared().document.DocPath.empty();  // nothing loaded: nowhere to write
    default:
      return PagedView::CanRun(action);
  }
}

}  // namespace tyld::binary
