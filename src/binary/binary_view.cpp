#include "binary/binary_view.h"

#include "document/document_buffer.h"
#include "tools/position_calculator_window.h"
#include "tools/save_data.h"
#include "binary/binary_page_format_dialog.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "tools/byte_editor_window.h"
#include "tools/byte_search_dialog.h"
#include "tools/dialog_support.h"
#include "tools/sequence_search_window.h"
#include "search/search_state.h"
#include "settings/page_format.h"

namespace tyld::binary {
namespace {
using platform::Role;

std::span<std::uint8_t> Marks() {
  document::DocumentBuffer& doc = document::Document();
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

BinaryView::BinaryView(QWidget* parent) : PagedView(screen_, parent) {
  setWindowTitle(QStringLiteral("バイナリ画面"));
  platform::Publish(Role::BinView, this);
  Start();
}

BinaryView::~BinaryView() { platform::Withdraw(Role::BinView, this); }

bool BinaryView::ExecPageFormatDialog() {
  settings::LiveSettings& live = settings::Live();
  BinaryPageFormatDialog dialog(live.binary, live.unprint, screen_.layout, this);
  return dialog.exec() == QDialog::Accepted;
}

void BinaryView::JumpToPosition(std::uint32_t u) {
  const std::int64_t page = PageOfPosition(static_cast<std::int64_t>(u), settings::Live().binary);
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
  if (!document::Document().DocName.empty()) return false;
  tools::ShowNotice(this, search::kNoFileLoaded);
  return true;
}

void BinaryView::ByteSearch() {
  if (RefuseWithoutData()) return;
  search::ByteSearchState& state = search::Searches().bytes;
  tools::ByteSearchDialog dialog(state);
  if (dialog.exec() != QDialog::Accepted) return;
  search::MatchBytes(document::Document().Data(), Marks(), state);
  SetSearchTitle(tools::Q(search::ByteSearchTitle(state)));
  viewport()->update();
}

void BinaryView::CancelByteSearch() {
  search::CancelByteSearch(Marks(), search::Searches().bytes);
  SetSearchTitle(QString());
  viewport()->update();
}

void BinaryView::OpenByteMent() {
  if (!Raise(byteMent_)) {
    byteMent_ = new tools::ByteEditorWindow([] { return document::Document().Data(); }, this);
    byteMent_->show();
  }
}

void BinaryView::OpenGroupSearch() {
  if (!Raise(groupSearch_)) {
    groupSearch_ = new tools::SequenceSearchWindow(search::Searches().sequence, this);
    groupSearch_->show();
  }
  ShowCurrentPage();
}

void BinaryView::RunGroupSearch() {
  search::SequenceSearchState& state = search::Searches().sequence;
  if (const std::optional<search::Notice> notice = search::RunSequenceSearch(document::Document().Data(), Marks(), state))
    tools::ShowNotice(this, *notice);
  if (groupSearch_) groupSearch_->RefreshList();
  viewport()->update();
}

void BinaryView::OpenHexPosCal() {
  if (!Raise(hexPosCal_)) {
    hexPosCal_ = new tools::PositionCalculatorWindow(this);
    hexPosCal_->show();
  }
}

bool BinaryView::OnCommand(int id, std::intptr_t param) {
  if (PagedView::OnCommand(id, param)) return true;
  switch (id) {
    case cmd::kByteDataChanged:
      viewport()->update();
      return true;
    case cmd::kByteSearch: ByteSearch(); return true;
    case cmd::kByteSearchCancel: CancelByteSearch(); return true;
    case cmd::kByteMent: OpenByteMent(); return true;
    case cmd::kByteMentClosed:
      byteMent_ = nullptr;
      viewport()->update();
      return true;
    case cmd::kGroupByteSearch: OpenGroupSearch(); return true;
    case cmd::kGroupSearch: RunGroupSearch(); return true;
    case cmd::kGroupSearchClosed: groupSearch_ = nullptr; return true;
    case cmd::kHexPosCal: OpenHexPosCal(); return true;
    case cmd::kHexPosCalClosed: hexPosCal_ = nullptr; return true;
    case cmd::kSave: tools::SaveOverwrite(this, document::Document()); return true;
    case cmd::kSaveAs: tools::SaveAs(this, document::Document()); return true;
    case cmd::kRebuildFromForm:
      RebuildWithFonts();
      platform::SendCommand(Role::BinFormDialog, cmd::kRebuildDone);
      return true;
    case cmd::kDataLoaded:
      SetCurrentPage(0);
      FullRebuild();
      return true;
    // Positions are unsigned 32-bit: 4294967295 is a position past any data, never -1.
    case cmd::kJumpToPosition: JumpToPosition(static_cast<std::uint32_t>(param)); return true;
    case cmd::kPrintSetup:
      platform::SendCommand(Role::MainFrame, cmd::kPrinterSetup, 2);
      return true;
    default:
      return false;
  }
}

bool BinaryView::IsCommandEnabled(int id) const {
  switch (id) {
    case cmd::kByteSearch: case cmd::kByteSearchCancel: case cmd::kByteMent: case cmd::kGroupByteSearch:
    case cmd::kHexPosCal: case cmd::kSaveAs:
      return true;
    case cmd::kSave: return !document::Document().DocPath.empty();  // nothing loaded: nowhere to write
    default:
      return PagedView::IsCommandEnabled(id);
  }
}

}  // namespace tyld::binary
