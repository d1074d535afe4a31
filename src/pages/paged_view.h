#pragma once
// The one widget both screens are shown in: a vertical strip of pages drawn by a paged
// screen, with what every screen has — the screen font and its scale, the three-page
// paint loop, scroll bars in lines and characters, scrolling that turns pages, the keys,
// the wheel, the quick mouse drag that turns a page, the page commands and the page to go
// to, the font and page-format dialog steps, and printing. A derived view adds only what
// its screen has of its own.
#include <QAbstractScrollArea>
#include <QPoint>
#include <cstdint>

#include "pages/clock.h"
#include "pages/paged_screen.h"
#include "pages/screen_action.h"
#include "pages/workspace.h"
#include "platform/font_description.h"

namespace tyld::pages {

class PageFormatDialog;

class PagedView : public QAbstractScrollArea, public ScreenCommands {
  Q_OBJECT
 public:
  // screen: the derived view's own screen; it is used only from Start() on. The view lays
  // out and prints on the workspace's printer and shows its printing notice.
  PagedView(const Workspace& workspace, PagedScreen& screen, QWidget* parent = nullptr);

  bool Run(ScreenAction action) override;
  [[nodiscard]] bool CanRun(ScreenAction action) const override;
  void Repaint() override;
  void Rebuild() override { RebuildWithFonts(); }
  [[nodiscard]] QWidget& Widget() override { return *this; }
  [[nodiscard]] virtual ScreenKind Kind() const = 0;

  [[nodiscard]] int CurrentPage() const { return current_; }
  [[nodiscard]] int PageCount() const { return count_; }
  [[nodiscard]] int VScrollPos() const { return vPos_; }
  [[nodiscard]] int HScrollPos() const { return hPos_; }
  [[nodiscard]] int VScrollMax() const { return vMax_; }
  [[nodiscard]] int PageStride() const { return stride_; }
  [[nodiscard]] int ScreenCharWidth() const { return charWidth_; }
  [[nodiscard]] int ScreenLinePitch() const { return linePitch_; }

  // Layout, pages and scroll ranges from scratch.
  void FullRebuild();
  [[nodiscard]] QString TitleText() const;

  // Page actions: true when the action is one of them (handled).
  bool TurnPage(ScreenAction action);
  // Shows the current page at the top: VScrollPos = page × stride, full repaint.
  void ShowCurrentPage();
  // A vertical request in lines, turning the page when it lands on another one.
  void ScrollVertical(int request);
  // A plain scroll of the content (the current page stays).
  void ScrollPlain(int vRequest, int hRequest);
  // The clock the mouse page turn is timed with.
  void SetClock(Clock clock) { clock_ = std::move(clock); }

 protected:
  // Scale 1, the screen font, the first build: call at the end of the derived constructor.
  void Start();
  void SetCurrentPage(int page) { current_ = page; }
  [[nodiscard]] const Workspace& Shared() const { return workspace_; }
  // The screen font again, then a full rebuild.
  void RebuildWithFonts();
  // A page-format dialog's "表示再調整" rebuilds this view.
  void ConnectReadjust(PageFormatDialog& dialog);
  // The screen's own page-format dialog; true when it was accepted.
  virtual bool ExecPageFormatDialog() = 0;
  // What the derived view adds to the title before the orientation.
  [[nodiscard]] virtual QString TitleExtra() const { return {}; }

  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool event(QEvent* event) override;

 signals:
  // The printer setup menu item: the main window owns the printer dialog.
  void PrinterSetupRequested(pages::ScreenKind kind);

 private:
  // Called after every rebuild: page count, lines one page takes on screen (0: 80),
  // horizontal range in characters. Positions go to 0, then the current page is shown.
  void SetPaging(int pageCount, int linesDown, int charsAcross);
  void SyncBars();
  void OnVerticalAction(int action);
  void OnHorizontalAction(int action);
  [[nodiscard]] double LinePitchPx() const { return gridPitch_ > 0 ? gridPitch_ : 1; }
  [[nodiscard]] int CharWidthPx() const { return charWidth_ > 0 ? charWidth_ : 1; }

  void MakeScreenFonts();
  // The line pitch the sheets are drawn with, from the font's character width and the
  // printer's grid.
  void UpdateGridPitch();
  void SetScale(double scale);
  void PageJump();
  void FontDialog();
  void AskPageFormat();
  void Print(bool colour);
  void RunPrintJob();

  Workspace workspace_;
  PagedScreen& screen_;
  platform::FontDescription screenFont_;
  bool fixedPitch_ = true;
  int charWidth_ = 8;
  int linePitch_ = 16;
  double gridPitch_ = 16;
  bool colourPrint_ = true;
  int printFirst_ = 1, printLast_ = 1, printNumber_ = 0;

  int current_ = 0;
  int count_ = 0;
  int vPos_ = 0, hPos_ = 0, vMax_ = 80, hMax_ = 0;
  int stride_ = 80;
  bool syncing_ = false;
  // Mouse page turn: a vertical drag released within 500 ms.
  static constexpr std::int64_t kFlickMs = 500;
  Clock clock_ = SteadyMilliseconds;
  QPoint flickStart_;
  std::int64_t flickStartMs_ = 0;
  bool flickArmed_ = false;
};

}  // namespace tyld::pages
