#include "ascii/ascii_view.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <vector>

#include "ascii/ascii_page_format_dialog.h"
#include "document/document_buffer.h"
#include "pages/page_dialogs.h"
#include "search/search_state.h"
#include "settings/page_format.h"
#include "settings/settings_file.h"
#include "settings/side_options.h"
#include "tools/dialog_support.h"
#include "tools/string_search_dialog.h"

namespace tyld::ascii {
using pages::ScreenAction;
namespace {
// The string search needs every row and is refused until they are there; printing and the
// page jump wait for them.
bool RefusedWhileBuilding(ScreenAction action) {
  return action == ScreenAction::StringSearch || action == ScreenAction::CancelStringSearch;
}
bool WaitsForRows(ScreenAction action) {
  return action == ScreenAction::PrintMono || action == ScreenAction::PrintColour || action == ScreenAction::GoToPage;
}
}  // namespace

AsciiView::AsciiView(const pages::Workspace& workspace, QWidget* parent)
    : PagedView(workspace, screen_, parent), screen_(workspace) {
  setWindowTitle(QStringLiteral("アスキー画面"));
  viewport()->setAutoFillBackground(false);
  connect(&Shared().document, &document::DocumentBuffer::Loaded, this, &AsciiView::ShowNewDocument);
  connect(&Shared().document, &document::DocumentBuffer::Changed, this, &AsciiView::ShowChangedBytes);
  connect(&Shared().document, &document::DocumentBuffer::AboutToReplace, this, &AsciiView::StopModelBuild);
  poll_ = new QTimer(this);
  poll_->setInterval(50);
  connect(poll_, &QTimer::timeout, this, &AsciiView::PollModelBuild);
  screen_.NewDocument();
  Start();
}

AsciiView::~AsciiView() { StopModelBuild(); }

void AsciiView::ShowNewDocument() {
  StopModelBuild();
  sheetsPainted_ = false;
  SetCurrentPage(0);
  screen_.NewDocument();
  if (Shared().document.DocLength >= BackgroundFrom) screen_.Step = AsciiScreen::ModelStep::Defer;
  FullRebuild();
  if (screen_.Deferred) {
    StartModelBuild();
  } else {
    screen_.Step = AsciiScreen::ModelStep::Build;
  }
}

// While the worker builds, every rebuild of the screen (a font, a page format, UTF-8) is
// deferred as well; the poll then sees the build it runs is stale, stops it and starts
// one for the new settings.
void AsciiView::StartModelBuild() {
  document::DocumentBuffer& doc = Shared().document;
  if (!holding_) doc.Hold(true);
  holding_ = true;
  next_ = std::make_unique<TextModel>();
  start_ = std::make_unique<TextModel>();
  built_.store(false);
  startBuilt_.store(false);
  stop_.store(false);
  rowsFound_.store(0);
  buildOf_ = screen_.DeferCount;
  TextModelOptions options = screen_.DeferredOptions;
  options.RowsFound = &rowsFound_;
  options.Stop = &stop_;
  worker_ = std::thread([this, options, data = std::as_const(doc).Data(), model = next_.get(),
                         start = start_.get(), startBytes = StartBytes, hold = BeforeWholeBuild] {
    if (BuildTextModelStart(*start, data, options, startBytes)) startBuilt_.store(true, std::memory_order_release);
    if (hold) hold(stop_);
    BuildTextModel(*model, data, options);
    built_.store(true, std::memory_order_release);
  });
  poll_->start();
  ShowStatus(QStringLiteral("行計算中… 0行"));
}

void AsciiView::PollModelBuild() {
  if (!Building()) return;
  if (buildOf_ != screen_.DeferCount) {
    // Built on the spot meanwhile (a proportional font): nothing is left to build here.
    if (!screen_.Deferred) {
      StopModelBuild();
      return;
    }
    // Settings changed meanwhile: the stale rows are not waited for, the new start's
    // sheets come as soon as they are built.
    stop_.store(true, std::memory_order_relaxed);
    worker_.join();
    StartModelBuild();
    return;
  }
  if (!built_.load(std::memory_order_acquire)) {
    if (start_ && startBuilt_.load(std::memory_order_acquire)) ShowStart();
    ShowStatus(QStringLiteral("行計算中… %1行").arg(rowsFound_.load(std::memory_order_relaxed)));
    return;
  }
  worker_.join();
  poll_->stop();
  start_.reset();
  screen_.model = std::move(*next_);
  next_.reset();
  screen_.Step = AsciiScreen::ModelStep::Keep;
  FullRebuild();
  screen_.Step = AsciiScreen::ModelStep::Build;
  LetGo();
}

// Shown as the whole build's sheets are, on the current sheet; rebuilds meanwhile are
// deferred as before, so a changed setting drops these rows for the build it restarts.
void AsciiView::ShowStart() {
  screen_.model = std::move(*start_);
  start_.reset();
  screen_.Step = AsciiScreen::ModelStep::Keep;
  FullRebuild();
  screen_.Step = AsciiScreen::ModelStep::Defer;
}

void AsciiView::paintEvent(QPaintEvent* event) {
  PagedView::paintEvent(event);
  if (sheetsPainted_ || screen_.SheetCount <= 0) return;
  sheetsPainted_ = true;
  emit SheetsPainted();
}

bool AsciiView::WaitForRows() {
  // The build lands through the view's own poll.
  return pages::WaitWithProgress(
      this, QStringLiteral("アスキー画面"), [this] { return !Building(); },
      [this] { return pages::WaitProgress{QStringLiteral("行計算中… %1行").arg(rowsFound_.load(std::memory_order_relaxed))}; });
}

void AsciiView::StopModelBuild() {
  if (!Building()) return;
  stop_.store(true, std::memory_order_relaxed);
  worker_.join();
  next_.reset();
  start_.reset();
  poll_->stop();
  screen_.Step = AsciiScreen::ModelStep::Build;
  LetGo();
}

void AsciiView::LetGo() {
  if (!holding_) return;
  holding_ = false;
  Shared().document.Hold(false);
}

void AsciiView::ShowStatus(const QString& text) {
  if (auto* main = qobject_cast<QMainWindow*>(window())) main->statusBar()->showMessage(text);
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
  if (Building() && RefusedWhileBuilding(action)) return true;
  if (Building() && WaitsForRows(action) && !WaitForRows()) return true;
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
  if (Building() && RefusedWhileBuilding(action)) return false;
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
