#include "ascii/ascii_view.h"

#include <algorithm>

#include "ascii/ascii_page_format_dialog.h"
#include "document/document_buffer.h"
#include "search/search_state.h"
#include "settings/page_format.h"
#include "tools/dialog_support.h"
#include "tools/string_search_dialog.h"

namespace tyld::ascii {
using pages::ScreenAction;

AsciiView::AsciiView(QWidget* parent) : PagedView(screen_, parent) {
  setWindowTitle(QStringLiteral("アスキー画面"));
  viewport()->setAutoFillBackground(false);
  connect(&document::Document(), &document::DocumentBuffer::Loaded, this, &AsciiView::ShowNewDocument);
  connect(&document::Document(), &document::DocumentBuffer::Changed, this, &AsciiView::ShowChangedBytes);
  screen_.NewDocument();
  Start();
}

void AsciiView::ShowNewDocument() {
  SetCurrentPage(0);
  screen_.NewDocument();
  FullRebuild();
}

void AsciiView::ShowChangedBytes() {
  FullRebuild();  // keeps the current sheet, clamped to the new count
  // The rebuilt text has blank marks; a search with a colour marks them again.
  const auto& colours = search::Searches().strings.SearchColour;
  if (std::any_of(colours.begin(), colours.end(), [](std::int32_t c) { return c != 0; })) MarkStrings();
}

bool AsciiView::ExecPageFormatDialog() {
  settings::LiveSettings& live = settings::Live();
  AsciiPageFormatDialog dialog(live.ascii, live.unprint, screen_.layout, this);
  ConnectReadjust(dialog);
  return dialog.exec() == QDialog::Accepted;
}

void AsciiView::StringSearch() {
  if (document::Document().DocName.empty()) {
    tools::ShowNotice(this, search::kNoFileLoaded);
    return;
  }
  tools::StringSearchDialog dialog(search::Searches().strings);
  if (dialog.exec() != QDialog::Accepted) return;
  MarkStrings();
}

void AsciiView::MarkStrings() {
  const std::string_view text = screen_.model.LcBuf();
  search::MatchStrings({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, screen_.model.LcMark(),
                       search::Searches().strings);
  viewport()->update();
}

void AsciiView::CancelStringSearch() {
  search::CancelStringSearch(screen_.model.LcMark(), search::Searches().strings);
  viewport()->update();
}

bool AsciiView::Run(ScreenAction action) {
  if (PagedView::Run(action)) return true;
  switch (action) {
    case ScreenAction::Utf8On: screen_.ForceUtf8 = 1; FullRebuild(); return true;
    case ScreenAction::Utf8Off: screen_.ForceUtf8 = -1; FullRebuild(); return true;
    case ScreenAction::MailDecoded: screen_.EmlMode = MailView::Decoded; FullRebuild(); return true;
    case ScreenAction::MailRaw: screen_.EmlMode = MailView::Raw; FullRebuild(); return true;
    case ScreenAction::StringSearch: StringSearch(); return true;
    case ScreenAction::CancelStringSearch: CancelStringSearch(); return true;
    default: return false;
  }
}

bool AsciiView::CanRun(ScreenAction action) const {
  const bool utf8 = screen_.ForceUtf8 == 1 || screen_.model.Utf8Applied() == 1;
  switch (action) {
    case ScreenAction::Utf8On: return !utf8;
    case ScreenAction::Utf8Off: return utf8;
    case ScreenAction::MailDecoded: return screen_.EmlMode == MailView::Raw;
    case ScreenAction::MailRaw: return screen_.EmlMode == MailView::Decoded;
    case ScreenAction::StringSearch: case ScreenAction::CancelStringSearch: return true;
    default: return PagedView::CanRun(action);
  }
}

}  // namespace tyld::ascii
