#pragma once
// The main window: holds the two screens, brings data in, owns the printer selection,
// the settings commands, and runs the menu and tool-bar commands on the active screen.
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

#include "app/main_menus.h"
#include "app/recent_files.h"
#include "pages/screen_action.h"
#include "pages/workspace.h"

class QMdiArea;
class QMdiSubWindow;
class QAction;
class QMenu;
class QToolBar;
class QPrinter;
class QLabel;

namespace tyld::app {

class ScreenFrame;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // The window loads into, titles and saves the workspace's document and settings.
  explicit MainWindow(const pages::Workspace& workspace);
  ~MainWindow() override;

  // Creates the two screens (binary first, ASCII second and active). Views are made by
  // the factories so the frame can be tested with stand-ins; a view that is a
  // pages::PagedView has its printer setup requests answered here.
  using ScreenFactory = std::function<pages::ScreenCommands*(QWidget* parent)>;
  void CreateScreens(const ScreenFactory& binary, const ScreenFactory& ascii);

  // A menu or tool-bar command: the main window's own, or the active screen's action.
  void Run(Command id);
  [[nodiscard]] bool CanRun(Command id) const;
  // Opens the k-th entry of the recent-file list.
  void OpenRecent(int k);
  // The printer dialog for a screen, whose orientation it takes and sets.
  void PrinterSetup(pages::ScreenKind screen);

  void UpdateTitle();
  // Loads a file as the open commands do, after asking about unsaved changes; true when
  // it counts as loaded.
  bool LoadFile(const QString& path);
  // Before data is replaced or the program ends: with unsaved changes asks
  // "変更を保存しますか？". True when the data may go: nothing unsaved, saved by the
  // overwrite-save, or discarded by No. False on Cancel or when the save did not happen.
  bool ConfirmDiscard();
  // Files dropped on the window: exactly one is loaded, several are ignored.
  void LoadDropped(const QList<QUrl>& urls);
  // Esc while a file is read or its rows are built: stops the load; the screens show
  // nothing and the status bar says so.
  void CancelReading();
  // Waits for a read under way with its progress shown; false when the user gave up waiting
  // (the read goes on).
  bool WaitForRead();

  // Test seams: the file-open dialog and the printer setup dialog.
  using OpenDialog = std::function<QString(const QString& caption, const QString& filters,
                                           const QString& initialPath)>;
  using PrinterDialog = std::function<bool(QPrinter& printer)>;
  void SetOpenDialog(OpenDialog d) { openDialog_ = std::move(d); }
  void SetPrinterDialog(PrinterDialog d) { printerDialog_ = std::move(d); }

  [[nodiscard]] QAction* Action(Command id) const { return actions_.value(id); }
  [[nodiscard]] const RecentFiles& Recent() const { return recent_; }
  // The one document both screens show.
  [[nodiscard]] QMdiArea* MdiArea() const { return mdi_; }
  // Re-evaluates which commands can run now.
  void UpdateCommandUi();
  // Places the main window (saved placement or the default) as at start-up.
  void PlaceMainWindow();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateActions();
  void BuildMenus();
  void BuildToolBar();
  [[nodiscard]] pages::ScreenCommands* Screen(pages::ScreenKind kind) const;
  [[nodiscard]] pages::ScreenCommands* ActiveScreen() const;
  [[nodiscard]] std::optional<pages::ScreenKind> ActiveScreenKind() const;
  void RunOwn(Command id);

  bool Load(const QString& path);
  void Open(bool printFile);
  void Paste();
  void Properties();
  void SettingsReset();
  void DefaultWindowSize();
  void ShowLoadError(int error);
  void RefreshRecentMenu();
  void ArrangeScreens();

  pages::Workspace workspace_;
  QMdiArea* mdi_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QMap<Command, QAction*> actions_;
  QMenu* recentMenu_ = nullptr;
  QAction* cancelRead_ = nullptr;
  QList<QAction*> recentActions_;
  QPointer<ScreenFrame> binaryFrame_;
  QPointer<ScreenFrame> asciiFrame_;
  pages::ScreenCommands* binaryView_ = nullptr;  // owned by their frames
  pages::ScreenCommands* asciiView_ = nullptr;
  RecentFiles recent_;
  bool defaultSizeRequested_ = false;
  bool discardConfirmed_ = false;  // the close that follows was already asked about
  OpenDialog openDialog_;
  PrinterDialog printerDialog_;
};

// The publisher text at the end of the title.
inline constexpr char kPublisher[] = "Tyld Project";

// The title text for the current state (without setting it). Unsaved changes put
// kModifiedMark in front of it.
inline constexpr char kModifiedMark[] = "*";
QString MakeTitle(const pages::Workspace& workspace);

}  // namespace tyld::app
