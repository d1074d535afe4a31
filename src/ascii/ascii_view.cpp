#include "ascii/ascii_view.h"

#include <algorithm>
#include <vector>

#include "ascii/ascii_page_format_dialog.h"
#include "document/document_buffer.h"
#include "search/search_state.h"
#include "settings/page_format.h"
#include "settings/settings_file.h"
#include "settings/side_options.h"
#include "tools/dialog_support.h"
#include "tools/string_search_dialog.h"

namespace tyld::ascii {
using pages::ScreenAction;

AsciiView::AsciiView(const pages::Workspace& workspace, QWidget* parent)
    : PagedView(workspace, screen_, parent), screen_(workspace) {
  setWindowTitle(QStringLiteral("アスキー画面"));
  viewport()->setAutoFillBackground(false);
  connect(&Shared().document, &document::DocumentBuffer::Loaded, this, &AsciiView::ShowNewDocument);
  connect(&Shared().document, &document::DocumentBuffer::Changed, this, &AsciiView::ShowChangedBytes);
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
  const auto& colours = Shared().searches.strings.SearchColour;
  if (std::any_of(colours.begin(), colours.end(), [](std::int32_t c) { return c != 0; })) MarkStrings();
}

bool AsciiView::ExecPageFormatDialog() {
  settings::LiveSettings& live = Shared().live;
  AsciiPageFormatDialog dialog(live.ascii, live.unprint, screen_.layout, this, &live.AscLineBreakRules);
  ConnectReadjust(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  // The switch lives outside the settings record; OK keeps it for the next start.
  if (const std::string& path = Shared().paths.SettingsPath; !path.empty())
    settings::WriteLineBreakRules(settings::SideOptionsPath(path), live.AscLineBreakRules);
  return true;
}

void AsciiView::StringSearch() {
  if (Shared().document.DocName.empty()) {
    tools::ShowNotice(this, search::kNoFileLoaded);
    return;
  }
  tools::StringSearchDialog dialog(Shared().searches.strings);
  if (dialog.exec() != QDialog::Accepted) return;
  MarkStrings();
}

void AsciiView::MarkStrings() {
  const std::string_view text = screen_.model.LcBuf();
  // Each row starts on a whole character, whatever the row before it ended with.
  std::vector<std::int32_t> rowStarts;
  rowStarts.reserve(static_cast<std::size_t>(screen_.model.RowCount()));
  const auto blocks = screen_.model.TextBlocks();
  for (const TextRow& row : screen_.model.TextRows())
    if (row.BlockCount > 0) rowStarts.push_back(blocks[static_cast<std::size_t>(row.FirstBlock)].Offset);
  search::MatchStrings({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, screen_.model.LcMark(),
                       Shared().searches.strings, rowStarts);
  viewport()->update();
}

void AsciiView::CancelStringSearch() {
  search::CancelStringSearch(screen_.model.LcMark(), Shared().searches.strings);
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
