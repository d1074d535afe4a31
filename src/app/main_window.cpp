#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

#include "app/screen_frame.h"
#include "document/document_buffer.h"
#include "app/guide_dialogs.h"
#include "document/startup_state.h"
#include "app/window_metrics.h"
#include "pages/page_dialogs.h"
#include "pages/paged_view.h"
#include "platform/codepage.h"
#include "platform/version.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "settings/settings_file.h"
#include "tools/save_data.h"

namespace tyld::app {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using pages::ScreenKind;

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size())); }

// What would change, save or print data, or bring other data in: refused while a file is
// still being read (the document holds nothing yet) or its rows are being built.
bool RefusedWhileReading(Command id) {
  switch (id) {
    case Command::OpenGeneral: case Command::OpenPrintFile: case Command::Save: case Command::SaveAs:
    case Command::PrintMono: case Command::PrintColour: case Command::Paste: case Command::Print:
    case Command::Undo: case Command::Redo: case Command::ByteEditor:
      return true;
    default: return false;
  }
}

bool IsPrinting(Command id) {
  return id == Command::PrintMono || id == Command::PrintColour || id == Command::Print;
}

// Printing only reads the bytes: it waits for a read under way (MainWindow::WaitForRead) and
// goes on while a screen builds from them (the ASCII screen waits for its rows itself).
bool Refused(const document::DocumentBuffer& doc, Command id) {
  return doc.Busy() && RefusedWhileReading(id) && !IsPrinting(id);
}

QString ReadProgressText(qint64 done, qint64 total) {
  constexpr qint64 kMb = qint64{1} << 20;
  return QStringLiteral("読込中… %1/%2MB").arg(done / kMb).arg((total + kMb - 1) / kMb);
}

}  // namespace

QString MakeTitle(const pages::Workspace& workspace) {
  const document::StartupState& s = workspace.startup;
  const QString version = QString::fromLatin1(platform::kVersionText);
  const QString name = Q(workspace.document.DocDisplayName);
  QString title;
  if (s.StartMode == 0) {
    title = QStringLiteral("ﾖﾙﾀﾞﾑⅡバンドル版 V%1◆読込DF[%2]◆%3◆").arg(version, name, Q(kPublisher));
  } else {
    title = QStringLiteral("ﾖﾙﾀﾞﾑⅡバンドル版 V%1◆自動起動◆読込DF[%2]◆印刷名[%3]◆%4◆")
                .arg(version, name, Q(document::PrintedName(s, workspace.document)), Q(kPublisher));
  }
  title += workspace.printers.Name();
  // In front, where a shortened title in a task bar still shows it.
  if (workspace.document.Modified()) title.prepend(Q(kModifiedMark));
  return title;
}

MainWindow::MainWindow(const pages::Workspace& workspace) : workspace_(workspace) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  mdi_ = new QMdiArea(this);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  setAcceptDrops(true);
  CreateActions();
  BuildToolBar();
  auto* bar = statusBar();
  bar->showMessage(QStringLiteral("レディ"));
  for (const char* pane : {"ｶﾅ", "CAP", "NUM", "SCRL"}) bar->addPermanentWidget(new QLabel(Q(pane), bar));
  BuildMenus();
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) {
    BuildMenus();
    UpdateCommandUi();
  });
  // Undo and redo follow the edits; the title shows whether they are saved.
  const document::DocumentBuffer* doc = &workspace_.document;
  connect(doc, &document::DocumentBuffer::ModifiedChanged, this, &MainWindow::UpdateTitle);
  connect(doc, &document::DocumentBuffer::Changed, this, &MainWindow::UpdateCommandUi);
  connect(doc, &document::DocumentBuffer::ReadProgress, this,
          [this](qint64 done, qint64 total) { statusBar()->showMessage(ReadProgressText(done, total)); });
  connect(doc, &document::DocumentBuffer::BusyChanged, this, [this] {
    if (!workspace_.document.Busy()) statusBar()->showMessage(QStringLiteral("レディ"));
    UpdateCommandUi();
  });
  connect(doc, &document::DocumentBuffer::ReadFinished, this, [this](int error) {
    // The ASCII screen may go on building its rows and says so itself.
    if (!workspace_.document.Busy()) statusBar()->showMessage(QStringLiteral("レディ"));
    UpdateTitle();
    UpdateCommandUi();
    ShowLoadError(error);
  });
  // Esc stops a load under way (its read or its row build); the action is enabled only
  // then, so Esc means nothing else in the window.
  cancelRead_ = new QAction(this);
  cancelRead_->setShortcut(QKeySequence(Qt::Key_Escape));
  cancelRead_->setShortcutContext(Qt::WindowShortcut);
  cancelRead_->setEnabled(false);
  addAction(cancelRead_);
  connect(cancelRead_, &QAction::triggered, this, &MainWindow::CancelReading);
}

void MainWindow::CancelReading() {
  if (!workspace_.document.CancelReading()) return;
  statusBar()->showMessage(QStringLiteral("読込を中止しました。"));
}

bool MainWindow::WaitForRead() {
  const document::DocumentBuffer& doc = workspace_.document;
  // The read ends through the document's own poll.
  return pages::WaitWithProgress(
      this, ActiveScreenKind() == ScreenKind::Ascii ? QStringLiteral("アスキー画面") : QStringLiteral("バイナリ画面"),
      [&doc] { return !doc.Reading(); },
      [&doc] {
        const qint64 total = std::max<qint64>(doc.ReadTotal(), 1);
        return pages::WaitProgress{ReadProgressText(doc.ReadDone(), doc.ReadTotal()),
                                   static_cast<int>(doc.ReadDone() * 1000 / total)};
      });
}

MainWindow::~MainWindow() {
  // The screens go before the frame; their leaving must not rebuild menus of a frame
  // that is being destroyed.
  disconnect(mdi_, nullptr, this, nullptr);
  // A screen that lets go of the document as it goes must not reach this half-gone window.
  disconnect(&workspace_.document, nullptr, this, nullptr);
}

void MainWindow::CreateActions() {
  for (const CommandSpec& spec : Commands()) {
    auto* a = new QAction(Q(spec.text), this);
    a->setIcon(CommandIcon(spec.id, style()));
    a->setIconVisibleInMenu(false);
    const Command id = spec.id;
    connect(a, &QAction::triggered, this, [this, id] { Run(id); });
    actions_.insert(id, a);
  }
  actions_[Command::Paste]->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
  actions_[Command::Save]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  actions_[Command::Print]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  actions_[Command::OpenGeneral]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  actions_[Command::Undo]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  actions_[Command::Redo]->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  for (QAction* a : {actions_[Command::Paste], actions_[Command::Save], actions_[Command::Print],
                     actions_[Command::OpenGeneral], actions_[Command::Undo], actions_[Command::Redo]}) {
    a->setShortcutContext(Qt::ApplicationShortcut);
    addAction(a);
  }
  for (int k = 0; k < RecentFiles::kMax; ++k) {
    auto* a = new QAction(this);
    connect(a, &QAction::triggered, this, [this, k] {
      OpenRecent(k);
      UpdateCommandUi();
    });
    recentActions_ << a;
  }
}

void MainWindow::RefreshRecentMenu() {
  const QStringList& entries = recent_.Entries();
  for (int k = 0; k < RecentFiles::kMax; ++k) {
    QAction* a = recentActions_[k];
    a->setVisible(k < entries.size());
    if (k < entries.size()) a->setText(QStringLiteral("&%1 %2").arg(k + 1).arg(entries[k]));
  }
}

void MainWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->clear();
  const std::optional<ScreenKind> kind = ActiveScreenKind();
  // An empty entry is a separator.
  auto add = [this](QMenu* m, std::initializer_list<std::optional<Command>> ids) {
    for (const std::optional<Command>& id : ids) {
      if (!id) m->addSeparator();
      else m->addAction(actions_[*id]);
    }
  };
  auto addRecent = [this](QMenu* m) {
    m->addSeparator();
    RefreshRecentMenu();
    for (QAction* a : recentActions_) m->addAction(a);
    m->addSeparator();
  };
  if (!kind) {
    QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->addAction(QStringLiteral("名前をつけて保存(&A)..."))->setEnabled(false);
    file->addAction(QStringLiteral("開く(&O)...\tCtrl+O"))->setEnabled(false);
    file->addAction(QStringLiteral("ﾌﾟﾘﾝﾀの設定(&R)..."))->setEnabled(false);
    addRecent(file);
    file->addAction(actions_[Command::Close]);
  } else {
    QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    add(file, {Command::OpenGeneral, Command::OpenPrintFile, Command::FileTypeGuide, Command::Properties, {}});
    if (kind == ScreenKind::Binary) add(file, {Command::Save, Command::SaveAs, {}});
    add(file, {Command::PrintMono, Command::PrintColour, Command::PrinterSetup, Command::OrientationGuide, {},
               Command::SettingsReset});
    if (kind == ScreenKind::Ascii) add(file, {Command::SoftwareInfo});
    addRecent(file);
    file->addAction(actions_[Command::Close]);
    // Bytes are edited and saved on the binary screen; the keys work on both.
    if (kind == ScreenKind::Binary) add(bar->addMenu(QStringLiteral("編集(&E)")), {Command::Undo, Command::Redo});
    add(bar->addMenu(QStringLiteral("設定(&D)")),
        {Command::Font, Command::FontReset, {}, Command::PageFormat, Command::PageFormatReset, {}, Command::DefaultWindowSize});
    add(bar->addMenu(QStringLiteral("頁指定(&P)")),
        {Command::PrevPage, Command::NextPage, Command::FirstPage, Command::LastPage, {}, Command::Prev10, Command::Next10,
         Command::Prev50, Command::Next50, {}, Command::GoToPage, Command::PageTurnGuide});
    add(bar->addMenu(QStringLiteral("スケール(&S)")), {Command::ScaleDouble, Command::ScaleOriginal, Command::ScaleHalf});
    if (kind == ScreenKind::Ascii) {
      add(bar->addMenu(QStringLiteral("サーチ(&C)")), {Command::StringSearch, Command::CancelStringSearch});
      add(bar->addMenu(QStringLiteral("UTF8変換(&U)")), {Command::Utf8On, Command::Utf8Off});
      add(bar->addMenu(QStringLiteral("eml DF変換(&E)")), {Command::MailDecoded, Command::MailRaw});
    } else {
      add(bar->addMenu(QStringLiteral("サーチ(&S)")),
          {Command::ByteSearch, Command::SequenceSearch, Command::CancelByteSearch, {}, Command::PositionCalculator});
      bar->addAction(actions_[Command::ByteEditor]);
    }
  }
  QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
  QAction* tb = toolBar_->toggleViewAction();
  tb->setText(QStringLiteral("ﾂｰﾙ ﾊﾞｰ(&T)"));
  view->addAction(tb);
  QAction* sb = view->addAction(QStringLiteral("ｽﾃｰﾀｽ ﾊﾞｰ(&S)"));
  sb->setCheckable(true);
  sb->setChecked(statusBar()->isVisible());
  connect(sb, &QAction::toggled, statusBar(), &QWidget::setVisible);
  for (QMenu* m : bar->findChildren<QMenu*>())
    connect(m, &QMenu::aboutToShow, this, &MainWindow::UpdateCommandUi, Qt::UniqueConnection);
}

void MainWindow::BuildToolBar() {
  toolBar_ = addToolBar(QStringLiteral("Tool bar"));
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setIconSize(QSize(20, 20));
  const std::optional<Command> layout[] = {Command::OpenPrintFile, {}, Command::PrinterSetup, {}, Command::PrintMono, Command::PrintColour, {},
                        Command::Paste, {}, Command::Font, {}, Command::PageFormat, {}, Command::PrevPage, Command::Prev10,
                        Command::Prev50, Command::FirstPage, {}, Command::NextPage, Command::Next10, Command::Next50,
                        Command::LastPage, {}, Command::GoToPage, {}, Command::ScaleOriginal, Command::ScaleDouble,
                        Command::ScaleHalf, {}, Command::StringSearch, {}, Command::Utf8On, Command::Utf8Off};
  for (const std::optional<Command>& id : layout) {
    if (!id) toolBar_->addSeparator();
    else toolBar_->addAction(actions_[*id]);
  }
}

void MainWindow::CreateScreens(const ScreenFactory& binary, const ScreenFactory& ascii) {
  auto make = [this](const ScreenFactory& factory, QPointer<ScreenFrame>& frame, pages::ScreenCommands*& view) {
    frame = new ScreenFrame(mdi_);
    view = factory(frame);
    frame->setWidget(&view->Widget());
    if (auto* paged = qobject_cast<pages::PagedView*>(&view->Widget()))
      connect(paged, &pages::PagedView::PrinterSetupRequested, this, &MainWindow::PrinterSetup);
    mdi_->addSubWindow(frame);
    frame->show();
  };
  make(binary, binaryFrame_, binaryView_);
  make(ascii, asciiFrame_, asciiView_);
  ArrangeScreens();
  mdi_->setActiveSubWindow(asciiFrame_);
  BuildMenus();
  UpdateCommandUi();
}

void MainWindow::ArrangeScreens() {
  Metrics().MainClientRect = rect();
  Metrics().BarAreaHeight = height() - (mdi_->geometry().bottom() + 1);
  const QRect area = mdi_->viewport()->rect();
  if (area.width() < 2 || area.height() < 2) return;  // not laid out yet
  if (asciiFrame_) asciiFrame_->setGeometry(ScreenFrameRect(true, area));
  if (binaryFrame_) binaryFrame_->setGeometry(ScreenFrameRect(false, area));
  for (pages::ScreenCommands* screen : {Screen(ScreenKind::Ascii), Screen(ScreenKind::Binary)})
    if (screen != nullptr) screen->Repaint();
}

pages::ScreenCommands* MainWindow::Screen(ScreenKind kind) const {
  // A view goes with its frame.
  if (kind == ScreenKind::Ascii) return asciiFrame_ ? asciiView_ : nullptr;
  return binaryFrame_ ? binaryView_ : nullptr;
}

pages::ScreenCommands* MainWindow::ActiveScreen() const {
  const std::optional<ScreenKind> kind = ActiveScreenKind();
  return kind ? Screen(*kind) : nullptr;
}

std::optional<ScreenKind> MainWindow::ActiveScreenKind() const {
  QMdiSubWindow* sub = mdi_->activeSubWindow();
  if (sub == nullptr) return std::nullopt;
  if (sub == asciiFrame_) return ScreenKind::Ascii;
  if (sub == binaryFrame_) return ScreenKind::Binary;
  return std::nullopt;
}

bool MainWindow::CanRun(Command id) const {
  if (Refused(workspace_.document, id)) return false;
  if (const std::optional<pages::ScreenAction> action = ScreenActionOf(id)) {
    const pages::ScreenCommands* screen = ActiveScreen();
    return screen != nullptr && screen->CanRun(*action);
  }
  switch (id) {
    case Command::SoftwareInfo: return ActiveScreenKind() == ScreenKind::Ascii;
    case Command::Print: {
      const pages::ScreenCommands* bin = Screen(ScreenKind::Binary);
      return bin != nullptr && bin->CanRun(pages::ScreenAction::PrintMono);
    }
    case Command::Undo: return workspace_.document.CanUndo();
    case Command::Redo: return workspace_.document.CanRedo();
    default: return true;
  }
}

void MainWindow::UpdateCommandUi() {
  cancelRead_->setEnabled(workspace_.document.Busy());
  for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) it.value()->setEnabled(CanRun(it.key()));
}

void MainWindow::Run(Command id) {
  if (Refused(workspace_.document, id)) return;
  if (IsPrinting(id) && !WaitForRead()) return;
  if (const std::optional<pages::ScreenAction> action = ScreenActionOf(id)) {
    if (pages::ScreenCommands* screen = ActiveScreen()) screen->Run(*action);
  } else {
    RunOwn(id);
  }
  UpdateCommandUi();
}

void MainWindow::OpenRecent(int k) {
  if (k < 0 || k >= recent_.Entries().size() || workspace_.document.Busy()) return;
  if (!ConfirmDiscard()) return;
  workspace_.startup.RecentPath = recent_.Entries()[k].toStdString();
  // The recent-file list opens files as general files, as the DF type guide tells users.
  workspace_.startup.ColourTagMode = 0;
  Load(QString::fromStdString(workspace_.startup.RecentPath));
}

void MainWindow::RunOwn(Command id) {
  switch (id) {
    case Command::OpenGeneral: Open(false); return;
    case Command::OpenPrintFile: Open(true); return;
    case Command::FileTypeGuide: {
      std::unique_ptr<GuideDialog> d(MakeDfTypeGuide(this));
      d->exec();
      return;
    }
    case Command::OrientationGuide: {
      std::unique_ptr<GuideDialog> d(MakeOrientationGuide(this));
      d->exec();
      return;
    }
    case Command::SoftwareInfo: {
      std::unique_ptr<GuideDialog> d(MakeSwInfo(this));
      d->exec();
      if (pages::ScreenCommands* asc = Screen(ScreenKind::Ascii)) asc->Repaint();
      return;
    }
    case Command::PageTurnGuide: {
      pages::PageTurnGuideDialog guide(this);
      guide.exec();
      return;
    }
    case Command::Properties: Properties(); return;
    case Command::SettingsReset: SettingsReset(); return;
    case Command::DefaultWindowSize: DefaultWindowSize(); return;
    case Command::Paste: Paste(); return;
    case Command::Undo: workspace_.document.Undo(); return;
    case Command::Redo: workspace_.document.Redo(); return;
    case Command::Close: close(); return;
    // Ctrl+P: no screen prints without its print-range dialog, so it does nothing.
    case Command::Print: return;
    default: return;
  }
}

void MainWindow::UpdateTitle() { setWindowTitle(MakeTitle(workspace_)); }

void MainWindow::ShowLoadError(int error) {
  const document::BufferMessage m = MessageFor(static_cast<document::BufferError>(error));
  if (m.text.empty()) return;
  const bool askCancel = static_cast<document::BufferError>(error) == document::BufferError::AllocateFailed ||
                         static_cast<document::BufferError>(error) == document::BufferError::ReallocateFailed;
  platform::MessageBox(this, Q(m.text), Q(m.caption), askCancel ? Buttons::OkCancel : Buttons::Ok,
                       Icon::Warning);
}

bool MainWindow::ConfirmDiscard() {
  document::DocumentBuffer& doc = workspace_.document;
  if (!doc.Modified()) return true;
  switch (platform::MessageBox(this, QStringLiteral("変更を保存しますか？"), QStringLiteral("確認"), Buttons::YesNoCancel)) {
    // The save asks its own questions; a No there or a failed write keeps everything.
    case Answer::Yes: return tools::SaveOverwrite(this, doc);
    case Answer::No: return true;
    default: return false;
  }
}

bool MainWindow::LoadFile(const QString& path) { return ConfirmDiscard() && Load(path); }

bool MainWindow::Load(const QString& path) {
  // A big file comes in on a worker; the window answers meanwhile and ReadFinished ends it.
  const document::LoadResult r = workspace_.document.OpenDataFile(path.toStdString());
  if (!workspace_.document.Reading()) statusBar()->showMessage(QStringLiteral("レディ"));
  UpdateTitle();
  ShowLoadError(static_cast<int>(r.error));
  UpdateCommandUi();
  return r.ok;
}

void MainWindow::Open(bool printFile) {
  const QString filters = QtFilterString(printFile, workspace_.startup.ProgramType);
  QString initial = QString::fromStdString(settings::LastOpenPathUtf8(workspace_.record));
  const QFileInfo info(initial);
  if (!info.isFile() || info.size() == 0 || initial.size() > 256) initial.clear();
  const QString caption = printFile ? QStringLiteral("印刷用ファイルを開く") : QStringLiteral("一般ファイルを開く");
  QString path;
  if (openDialog_) {
    path = openDialog_(caption, filters, initial);
  } else {
    QFileDialog dialog(this, caption, initial.isEmpty() ? QString() : QFileInfo(initial).absolutePath(), filters);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, true);
    dialog.setDefaultSuffix(QString());
    if (!initial.isEmpty()) dialog.selectFile(initial);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) path = dialog.selectedFiles().first();
  }
  if (path.isEmpty()) return;
  // Asked before anything of the new file is taken over, so Cancel changes nothing.
  if (!ConfirmDiscard()) return;
  // The record holds at most 255 bytes of CP932; a longer path is not remembered.
  const std::string sjis = platform::codepage::FromUtf16(path.toStdU16String());
  if (sjis.size() < settings::kLastOpenPathSize) settings::SetLastOpenPath(workspace_.record, sjis);
  workspace_.startup.ColourTagMode = printFile ? 1 : 0;
  if (Load(path)) {
    recent_.Add(path);
    RefreshRecentMenu();
  }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  LoadDropped(event->mimeData()->urls());
}

void MainWindow::LoadDropped(const QList<QUrl>& urls) {
  if (urls.size() != 1 || !urls.first().isLocalFile()) return;  // several files are ignored
  if (workspace_.document.Busy()) return;  // as the open commands: not while reading
  const QString path = urls.first().toLocalFile();
  if (LoadFile(path)) {
    recent_.Add(path);
    RefreshRecentMenu();
  }
}

void MainWindow::Paste() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) {
    platform::MessageBox(this, QStringLiteral("クリップボードにテキスト形式のデータがありません。"),
                         QStringLiteral("貼り付けできません。"));
    return;
  }
  // Clipboard text reaches the document as code page 932 bytes, cut at the first NUL.
  std::string bytes = platform::codepage::FromUtf16(data->text().toStdU16String());
  if (const auto nul = bytes.find('\0'); nul != std::string::npos) bytes.resize(nul);
  document::DocumentBuffer& doc = workspace_.document;
  bool append = false;
  if (doc.PasteAsksToAppend()) {
    append = platform::MessageBox(this, QStringLiteral("「はい」＝追加、「いいえ」＝元データはスクラップして貼付け"),
                                  QStringLiteral("もとのデータに追加しますか？"), Buttons::YesNo) == Answer::Yes;
  }
  // Appending keeps the edits in the data; replacing it throws them away.
  if (!append && !ConfirmDiscard()) return;
  const document::BufferError e = doc.Paste(bytes, append, workspace_.paths.WorkDir);
  ShowLoadError(static_cast<int>(e));
  UpdateTitle();
  UpdateCommandUi();
}

void MainWindow::Properties() {
  const document::DocumentBuffer& doc = workspace_.document;
  if (doc.DocLength != 0 && !doc.DocFullPath.empty()) {
    const QString text = QStringLiteral("Path=%1\nDFname=%2\nDFExt=%3\nLength=%4 bytes")
                             .arg(Q(doc.DocFullPath), Q(doc.DocName), Q(doc.DocExt))
                             .arg(doc.DocLength);
    platform::MessageBox(this, text, QStringLiteral("プロパティ"));
  } else {
    platform::MessageBox(this, QStringLiteral("まだファイルが読み出されていません"), QStringLiteral("確認"));
  }
}

void MainWindow::SettingsReset() {
  if (platform::MessageBox(this, QStringLiteral("設定条件を初期化していいですか？"), QStringLiteral("確認要求"),
                           Buttons::OkCancel) != Answer::Ok)
    return;
  settings::ResetToDefaults(workspace_.record, workspace_.live);
  const settings::UnprintMargins& u = workspace_.live.unprint;
  workspace_.printers.SetPdfMargins({u.top, u.bottom, u.left, u.right});
  platform::MessageBox(this, QStringLiteral("設定条件を初期化しました"), QStringLiteral("確認要求"));
  for (pages::ScreenCommands* screen : {Screen(ScreenKind::Ascii), Screen(ScreenKind::Binary)})
    if (screen != nullptr) screen->Rebuild();
}

void MainWindow::DefaultWindowSize() {
  if (platform::MessageBox(this,
                           QStringLiteral("デフォルトサイズに戻すため\n設定ファイルを書き換えて\nクローズしますので\n再立上げしてください。"),
                           QStringLiteral("実行していいですか？"), Buttons::OkCancel) != Answer::Ok)
    return;
  if (!ConfirmDiscard()) return;
  discardConfirmed_ = true;
  workspace_.record.WinWidth = 0;
  workspace_.record.WinHeight = 0;
  defaultSizeRequested_ = true;
  close();
}

void MainWindow::PrinterSetup(ScreenKind screen) {
  platform::PrinterSelection& sel = workspace_.printers;
  settings::LiveSettings& live = workspace_.live;
  settings::Orientation& orientation = screen == ScreenKind::Ascii ? live.AscOrientation : live.BinOrientation;
  if (QPrinter* printer = sel.Printer()) {
    sel.SetOrientation(static_cast<int>(orientation));
    bool ok = false;
    if (printerDialog_) {
      ok = printerDialog_(*printer);
    } else {
      QPrintDialog dialog(printer, this);
      dialog.setWindowTitle(QStringLiteral("プリンタの設定"));
      dialog.setOptions(QAbstractPrintDialog::PrintToFile);
      ok = dialog.exec() == QDialog::Accepted;
    }
    if (ok) {
      sel.FollowDialogChoice();
      orientation = settings::OrientationFromCode(sel.Orientation());
      UpdateTitle();
    }
  }
  if (pages::ScreenCommands* view = Screen(screen)) view->Rebuild();
}

void MainWindow::PlaceMainWindow() {
  WindowMetrics& m = Metrics();
  const settings::SettingsRecord& r = workspace_.record;
  // 64-bit: the stored placement is used as read, so any value must compare safely.
  const long long left = r.WinLeft, top = r.WinTop, width = r.WinWidth, height = r.WinHeight;
  const bool saved = r.WinScreenWidth != 0 && left >= 0 && left <= m.ScreenWidth - width && top >= 0 &&
                     top <= m.ScreenHeight - height && 10LL * m.UiCharWidth < width && width < m.ScreenWidth &&
                     10LL * m.UiCharHeight < height && height < m.ScreenHeight;
  if (saved) {
    resize(r.WinWidth, r.WinHeight);
    move(r.WinLeft, r.WinTop);
  } else {
    resize(m.ScreenWidth * 80 / 100, m.ScreenHeight);
    move(8 * m.UiCharWidth, 0);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!discardConfirmed_ && !ConfirmDiscard()) {
    event->ignore();
    return;
  }
  discardConfirmed_ = false;
  if (!isMinimized() && !defaultSizeRequested_) {
    settings::SettingsRecord& r = workspace_.record;
    const QRect g = frameGeometry();
    r.WinLeft = g.left();
    r.WinTop = g.top();
    r.WinWidth = g.width();
    r.WinHeight = g.height();
    r.WinScreenWidth = Metrics().ScreenWidth;
    r.WinScreenHeight = Metrics().ScreenHeight;
  }
  settings::WriteSettings(workspace_.paths.SettingsPath, workspace_.record, workspace_.live);
  for (ScreenFrame* f : {asciiFrame_.data(), binaryFrame_.data()})
    if (f != nullptr) f->setProperty("closingApp", true);
  event->accept();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  ArrangeScreens();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ArrangeScreens();
}

}  // namespace tyld::app
