#pragma once
// The main window: holds the two screens, brings data in, owns the printer selection,
// the settings commands and the relay of notifications between windows.
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <memory>

#include "app/main_menus.h"
#include "app/recent_files.h"
#include "platform/commands.h"

class QMdiArea;
class QMdiSubWindow;
class QAction;
class QMenu;
class QToolBar;
class QPrinter;
class QLabel;

namespace tyld::app {

class ScreenFrame;

class MainWindow : public QMainWindow, public platform::CommandTarget {
  Q_OBJECT
 public:
  MainWindow();
  ~MainWindow() override;

  // Creates the two screens (binary first, ASCII second and active). Views are made by
  // the factories so the frame can be tested with stand-ins.
  using ScreenFactory = std::function<QWidget*(QWidget* parent)>;
  void CreateScreens(const ScreenFactory& binary, const ScreenFactory& ascii);

  bool OnCommand(int id, std::intptr_t param) override;
  [[nodiscard]] bool IsCommandEnabled(int id) const override;

  void UpdateTitle();
  // Loads a file as the open commands do; true when it counts as loaded.
  bool LoadFile(const QString& path);
  // Files dropped on the window: exactly one is loaded, several are ignored.
  void LoadDropped(const QList<QUrl>& urls);

  // Test seams: the file-open dialog and the printer setup dialog.
  using OpenDialog = std::function<QString(const QString& caption, const QString& filters,
                                           const QString& initialPath)>;
  using PrinterDialog = std::function<bool(QPrinter& printer)>;
  void SetOpenDialog(OpenDialog d) { openDialog_ = std::move(d); }
  void SetPrinterDialog(PrinterDialog d) { printerDialog_ = std::move(d); }

  [[nodiscard]] QAction* Action(int id) const { return actions_.value(id); }
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
  void Dispatch(int id);
  [[nodiscard]] platform::CommandTarget* ActiveScreen() const;
  [[nodiscard]] int ActiveScreenKind() const;  // 0 none, 1 ASCII, 2 binary

  void Open(bool printFile);
  void Paste();
  void Properties();
  void SettingsReset();
  void DefaultWindowSize();
  void PrinterSetup(int screen);
  void ShowLoadError(int error);
  void RefreshRecentMenu();
  void ArrangeScreens();

  QMdiArea* mdi_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QMap<int, QAction*> actions_;
  QMenu* recentMenu_ = nullptr;
  QList<QAction*> recentActions_;
  QPointer<ScreenFrame> binaryFrame_;
  QPointer<ScreenFrame> asciiFrame_;
  QPointer<QWidget> binaryView_;
  QPointer<QWidget> asciiView_;
  RecentFiles recent_;
  bool defaultSizeRequested_ = false;
  OpenDialog openDialog_;
  PrinterDialog printerDialog_;
};

// The publisher text at the end of the title.
inline constexpr char kPublisher[] = "Tyld Project";

// The title text for the current state (without setting it).
QString MakeTitle();

}  // namespace tyld::app
