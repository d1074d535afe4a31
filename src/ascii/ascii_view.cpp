#include "ascii/ascii_view.h"

#include "ascii/ascii_page_format_dialog.h"
#include "document/document_buffer.h"
#include "platform/command_ids.h"
#include "search/search_state.h"
#include "settings/page_format.h"
#include "tools/dialog_support.h"
#include "tools/string_search_dialog.h"

namespace tyld::ascii {
namespace {
using platform::Role;
}  // namespace

AsciiView::AsciiView(QWidget* parent) : PagedView(screen_, parent) {
  setWindowTitle(QStringLiteral("アスキー画面"));
  viewport()->setAutoFillBackground(false);
  platform::Publish(Role::AscDraw, this);
  screen_.NewDocument();
  Start();
}

AsciiView::~AsciiView() { platform::Withdraw(Role::AscDraw, this); }

bool AsciiView::ExecPageFormatDialog() {
  settings::LiveSettings& live = settings::Live();
  AsciiPageFormatDialog dialog(live.ascii, live.unprint, screen_.layout, this);
  return dialog.exec() == QDialog::Accepted;
}

void AsciiView::StringSearch() {
  if (document::Document().DocName.empty()) {
    tools::ShowNotice(this, search::kNoFileLoaded);
    return;
  }
  tools::StringSearchDialog dialog(search::Searches().strings);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string_view text = screen_.model.LcBuf();
  search::MatchStrings({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, screen_.model.LcMark(),
                       search::Searches().strings);
  viewport()->update();
}

void AsciiView::CancelStringSearch() {
  search::CancelStringSearch(screen_.model.LcMark(), search::Searches().strings);
  viewport()->update();
}

bool AsciiView::OnCommand(int id, std::intptr_t param) {
  if (PagedView::OnCommand(id, param)) return true;
  switch (id) {
    case cmd::kRebuildFromForm:
      RebuildWithFonts();
      platform::SendCommand(Role::AscFormDialog, cmd::kRebuildDone);
      return true;
    case cmd::kDataLoaded:
      SetCurrentPage(0);
      screen_.NewDocument();
      FullRebuild();
      return true;
    case cmd::kUtf8On: screen_.ForceUtf8 = 1; FullRebuild(); return true;
    case cmd::kUtf8Off: screen_.ForceUtf8 = -1; FullRebuild(); return true;
    case cmd::kEmlDecoded: screen_.EmlMode = 2; FullRebuild(); return true;
    case cmd::kEmlRaw: screen_.EmlMode = 1; FullRebuild(); return true;
    case cmd::kStringSearch: StringSearch(); return true;
    case cmd::kStringSearchCancel: CancelStringSearch(); return true;
    case cmd::kPrintSetup:
      platform::SendCommand(Role::MainFrame, cmd::kPrinterSetup, 1);
      return true;
    default:
      return false;
  }
}

bool AsciiView::IsCommandEnabled(int id) const {
  const bool utf8 = screen_.ForceUtf8 == 1 || screen_.model.Utf8Applied() == 1;
  switch (id) {
    case cmd::kUtf8On: return !utf8;
    case cmd::kUtf8Off: return utf8;
    case cmd::kEmlDecoded: return screen_.EmlMode == 1;
    case cmd::kEmlRaw: return screen_.EmlMode == 2;
    case cmd::kStringSearch: case cmd::kStringSearchCancel: return true;
    default: return PagedView::IsCommandEnabled(id);
  }
}

}  // namespace tyld::ascii
