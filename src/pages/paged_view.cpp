#include "pages/paged_view.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "pages/page_dialogs.h"
#include "pages/page_format_dialog.h"
#include "pages/screen_steps.h"
#include "platform/message_box.h"
#include "platform/print_job.h"
#include "platform/printer.h"
#include "platform/qt_canvas.h"
#include "settings/page_format.h"

namespace tyld::pages {
namespace {
QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
}  // namespace

PagedView::PagedView(const Workspace& workspace, PagedScreen& screen, QWidget* parent)
    : QAbstractScrollArea(parent), workspace_(workspace), screen_(screen) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  // Our own handling of every scroll-bar action keeps the page-turn rule in one place.
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, &PagedView::OnVerticalAction);
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this, &PagedView::OnHorizontalAction);
}

void PagedView::Start() {
  screen_.Font().scale = 1.0;
  MakeScreenFonts();
  FullRebuild();
}

void PagedView::MakeScreenFonts() {
  const platform::ScreenFont f = MakeViewFont(this, screen_.Font(), screen_.LineSpacing(), screen_.ShownFontSize());
  screenFont_ = f.font;
  fixedPitch_ = f.fixedPitch;
  charWidth_ = f.charWidth;
  linePitch_ = f.linePitch;
  UpdateGridPitch();
}

void PagedView::UpdateGridPitch() {
  // Before any layout there is no printer grid to follow.
  const PrintableArea& area = screen_.Area();
  gridPitch_ = area.width > 0 && area.height > 0 ? ScreenLinePitchFor(charWidth_, area) : linePitch_;
}

void PagedView::FullRebuild() {
  QPrinter* printer = workspace_.printers.Printer();
  if (printer == nullptr) return;
  const settings::UnprintMargins& u = workspace_.live.unprint;
  workspace_.printers.SetPdfMargins({u.top, u.bottom, u.left, u.right});
  int page = current_;
  for (const ScreenMessage& m : screen_.Rebuild(*printer, page))
    platform::MessageBox(this, Q(m.text), Q(m.caption), platform::Buttons::Ok, platform::Icon::Warning);
  current_ = page;
  UpdateGridPitch();
  SetPaging(screen_.PageCount(), screen_.LinesDown(), screen_.CharsAcross());
}

void PagedView::RebuildWithFonts() {
  MakeScreenFonts();
  FullRebuild();
}

void PagedView::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), QColor(128, 128, 128));
  platform::QtCanvas canvas(p, {viewport()->width(), viewport()->height(), logicalDpiX(), logicalDpiY()});
  PageDraw draw;
  draw.screen = true;
  draw.x0 = -hPos_;
  draw.grid = {screenFont_, CharWidthPx(), LinePitchPx()};
  const int count = screen_.PageCount();
  if (count <= 0) {
    draw.page = 0;
    draw.number = screen_.EmptyPageNumber();
    draw.y0 = -vPos_;
    screen_.DrawPage(canvas, draw);
  } else {
    // The current page and the two below it fill any window height.
    for (int page = current_; page < std::min(current_ + 3, count); ++page) {
      draw.page = page;
      draw.number = page + 1;
      draw.y0 = static_cast<double>(page) * stride_ - vPos_;
      screen_.DrawPage(canvas, draw);
    }
  }
  setWindowTitle(TitleText());
}

QString PagedView::TitleText() const {
  QString title = screen_.TitleHead(current_);
  title += FontStatusText(screen_.Font(), fixedPitch_);
  title += TitleExtra();
  title += screen_.PageOrientation() == settings::Orientation::Portrait ? QStringLiteral("Portrait")
                                                                        : QStringLiteral("Landscape");
  title += screen_.TitleTail();
  return title;
}

void PagedView::SetScale(double scale) {
  screen_.Font().scale = scale;
  MakeScreenFonts();
  viewport()->update();
}

void PagedView::PageJump() {
  if (const auto page = AskPageToShow(this, current_, screen_.PageCount())) current_ = *page;
  if (screen_.PageCount() > 0) ShowCurrentPage();
}

void PagedView::FontDialog() {
  RunFontDialog(this, screen_.Font());
  RebuildWithFonts();
}

void PagedView::AskPageFormat() {
  if (ExecPageFormatDialog()) RebuildWithFonts();
  else ShowCurrentPage();
}

void PagedView::Print(bool colour) {
  if (const auto r = AskPrintRange(this, current_, screen_.PageCount(), colour)) {
    colourPrint_ = colour;
    printFirst_ = r->startPage;
    printLast_ = r->endPage;
    printNumber_ = r->firstNumber;
    // The printer takes the screen's orientation for its job.
    workspace_.printers.SetOrientation(static_cast<int>(screen_.PageOrientation()));
    RunPrintJob();
  }
  ShowCurrentPage();
}

void PagedView::RunPrintJob() {
  QPrinter* printer = workspace_.printers.Printer();
  if (printer == nullptr) return;
  if (!platform::AskPdfOutput(this, *printer, workspace_.printers.IsPdf())) return;
  workspace_.notice.Show(this);
  int number = printNumber_;
  platform::RunPrintJob(*printer, screen_.JobName(), printLast_ - printFirst_ + 1,
                        [&](platform::Canvas& canvas, int i) {
                          PageDraw draw;
                          draw.page = printFirst_ - 1 + i;
                          draw.number = number;
                          draw.colour = colourPrint_;
                          screen_.DrawPage(canvas, draw);
                          if (number != 0) ++number;
                          return true;
                        });
}

void PagedView::Repaint() { viewport()->update(); }

void PagedView::ConnectReadjust(PageFormatDialog& dialog) {
  connect(&dialog, &PageFormatDialog::ReadjustRequested, this, &PagedView::RebuildWithFonts);
}

bool PagedView::Run(ScreenAction action) {
  if (TurnPage(action)) return true;
  switch (action) {
    case ScreenAction::GoToPage: PageJump(); return true;
    case ScreenAction::ScaleDouble: SetScale(screen_.Font().scale * 2); return true;
    case ScreenAction::ScaleOriginal: SetScale(1.0); return true;
    case ScreenAction::ScaleHalf: SetScale(screen_.Font().scale * 0.5); return true;
    case ScreenAction::Font: FontDialog(); return true;
    case ScreenAction::FontReset:
      screen_.ResetFont();
      RebuildWithFonts();
      return true;
    case ScreenAction::PageFormat: AskPageFormat(); return true;
    case ScreenAction::PageFormatReset:
      screen_.ResetPageFormat();
      RebuildWithFonts();
      return true;
    case ScreenAction::PrintMono: Print(false); return true;
    case ScreenAction::PrintColour: Print(true); return true;
    case ScreenAction::PrinterSetup: emit PrinterSetupRequested(Kind()); return true;
    default: return false;
  }
}

bool PagedView::CanRun(ScreenAction action) const {
  switch (action) {
    case ScreenAction::NextPage: case ScreenAction::PrevPage: case ScreenAction::FirstPage:
    case ScreenAction::LastPage: case ScreenAction::Next10: case ScreenAction::Prev10:
    case ScreenAction::Next50: case ScreenAction::Prev50: case ScreenAction::GoToPage:
    case ScreenAction::ScaleDouble: case ScreenAction::ScaleOriginal: case ScreenAction::ScaleHalf:
    case ScreenAction::Font: case ScreenAction::FontReset: case ScreenAction::PageFormat:
    case ScreenAction::PageFormatReset: case ScreenAction::PrintMono: case ScreenAction::PrintColour:
    case ScreenAction::PrinterSetup:
      return true;
    default:
      return false;
  }
}

void PagedView::SyncBars() {
  syncing_ = true;
  verticalScrollBar()->setRange(0, vMax_);
  verticalScrollBar()->setPageStep(10);
  verticalScrollBar()->setValue(vPos_);
  horizontalScrollBar()->setRange(0, hMax_);
  horizontalScrollBar()->setPageStep(10);
  horizontalScrollBar()->setValue(hPos_);
  syncing_ = false;
}

void PagedView::SetPaging(int pageCount, int linesDown, int charsAcross) {
  count_ = std::max(0, pageCount);
  hMax_ = std::max(0, static_cast<int>(static_cast<long long>(charsAcross) * 11 / 10));
  if (linesDown > 0 && count_ > 0) {
    stride_ = linesDown + 5;
    const long long max = static_cast<long long>(count_) * stride_ - 1;
    vMax_ = static_cast<int>(std::min<long long>(max, 2000000000LL));
  } else {
    stride_ = 80;
    vMax_ = 80;
  }
  vPos_ = 0;
  hPos_ = 0;
  if (current_ >= count_) current_ = count_ > 0 ? count_ - 1 : 0;
  ShowCurrentPage();
}

void PagedView::ShowCurrentPage() {
  vPos_ = std::clamp(static_cast<int>(std::min<long long>(static_cast<long long>(std::max(current_, 0)) * stride_, vMax_)), 0, vMax_);
  SyncBars();
  viewport()->update();
}

void PagedView::ScrollPlain(int vRequest, int hRequest) {
  const int oldV = vPos_;
  const int oldH = hPos_;
  vPos_ = std::clamp(vRequest, 0, vMax_);
  hPos_ = std::clamp(hRequest, 0, hMax_);
  SyncBars();
  if (oldV != vPos_ || oldH != hPos_) {
    // Lines of a fractional pitch do not move by whole pixels: those are drawn anew.
    const double dy = (oldV - vPos_) * LinePitchPx();
    if (dy == std::trunc(dy))
      viewport()->scroll((oldH - hPos_) * CharWidthPx(), static_cast<int>(dy));
    else
      viewport()->update();
  }
}

void PagedView::ScrollVertical(int request) {
  const int clamped = std::clamp(request, 0, vMax_);
  const int page = stride_ > 0 ? clamped / stride_ : 0;
  if (page == current_ || count_ == 0) {
    ScrollPlain(clamped, hPos_);
    return;
  }
  current_ = std::min(page, std::max(count_ - 1, 0));
  vPos_ = clamped;
  SyncBars();
  viewport()->update();
}

bool PagedView::TurnPage(ScreenAction action) {
  const int last = count_ - 1;
  int page = current_;
  switch (action) {
    case ScreenAction::NextPage: if (current_ < last) page = current_ + 1; break;
    case ScreenAction::PrevPage: if (current_ > 0) page = current_ - 1; break;
    case ScreenAction::FirstPage: page = 0; break;
    case ScreenAction::LastPage: page = last; break;
    case ScreenAction::Next10: page = current_ < last - 10 ? current_ + 10 : last; break;
    case ScreenAction::Prev10: page = current_ >= 10 ? current_ - 10 : 0; break;
    case ScreenAction::Next50: page = current_ < last - 50 ? current_ + 50 : last; break;
    case ScreenAction::Prev50: page = current_ >= 50 ? current_ - 50 : 0; break;
    default: return false;
  }
  if (count_ <= 0) return true;  // no pages: nothing moves, never negative
  current_ = std::clamp(page, 0, last);
  ShowCurrentPage();
  return true;
}

void PagedView::OnVerticalAction(int action) {
  if (syncing_) return;
  QScrollBar* bar = verticalScrollBar();
  int request = vPos_;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: request = vPos_ + 1; break;
    case QAbstractSlider::SliderSingleStepSub: request = vPos_ - 1; break;
    case QAbstractSlider::SliderPageStepAdd: request = vPos_ + 10; break;
    case QAbstractSlider::SliderPageStepSub: request = vPos_ - 10; break;
    case QAbstractSlider::SliderToMinimum: request = 0; break;
    case QAbstractSlider::SliderToMaximum: request = vMax_; break;
    case QAbstractSlider::SliderMove: request = bar->sliderPosition(); break;
    default: return;
  }
  ScrollVertical(request);
  bar->setSliderPosition(vPos_);
}

void PagedView::OnHorizontalAction(int action) {
  if (syncing_) return;
  QScrollBar* bar = horizontalScrollBar();
  int request = hPos_;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: request = hPos_ + 1; break;
    case QAbstractSlider::SliderSingleStepSub: request = hPos_ - 1; break;
    case QAbstractSlider::SliderPageStepAdd: request = hPos_ + 10; break;
    case QAbstractSlider::SliderPageStepSub: request = hPos_ - 10; break;
    case QAbstractSlider::SliderToMinimum: request = 0; break;
    case QAbstractSlider::SliderToMaximum: request = hMax_; break;
    case QAbstractSlider::SliderMove: request = bar->sliderPosition(); break;
    default: return;
  }
  ScrollPlain(vPos_, request);
  bar->setSliderPosition(hPos_);
}

void PagedView::scrollContentsBy(int, int) {
  // Scrolling is done by ScrollPlain/ScrollVertical; the bars only report actions.
}

bool PagedView::event(QEvent* e) {
  // Tab and arrow keys must reach keyPressEvent instead of moving the focus.
  if (e->type() == QEvent::ShortcutOverride) {
    const auto* k = static_cast<QKeyEvent*>(e);
    switch (k->key()) {
      case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Up: case Qt::Key_Down:
      case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Home: case Qt::Key_End:
        e->accept();
        return true;
      default: break;
    }
  }
  return QAbstractScrollArea::event(e);
}

void PagedView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_PageUp: ScrollVertical(vPos_ - 10); break;
    case Qt::Key_PageDown: ScrollVertical(vPos_ + 10); break;
    case Qt::Key_Up: ScrollVertical(vPos_ - 1); break;
    case Qt::Key_Down: ScrollVertical(vPos_ + 1); break;
    case Qt::Key_Left: ScrollPlain(vPos_, hPos_ - 1); break;
    case Qt::Key_Right: ScrollPlain(vPos_, hPos_ + 1); break;
    // With or without Ctrl: the first and the last page.
    case Qt::Key_Home: TurnPage(ScreenAction::FirstPage); break;
    case Qt::Key_End: TurnPage(ScreenAction::LastPage); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
  event->accept();
}

void PagedView::wheelEvent(QWheelEvent* event) {
  // One line per notch, turning the page like the scroll bar does: a plain scroll would
  // run past the pages drawn below the current one into an empty window.
  const int dy = event->angleDelta().y();
  if (dy > 0) ScrollVertical(vPos_ - 1);
  else if (dy < 0) ScrollVertical(vPos_ + 1);
  event->accept();
}

void PagedView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    flickStart_ = event->position().toPoint();
    flickArmed_ = true;
    flickStartMs_ = clock_();
    event->accept();  // so the release comes back here
    return;
  }
  QAbstractScrollArea::mousePressEvent(event);
}

void PagedView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && flickArmed_) {
    flickArmed_ = false;
    const bool quick = clock_() - flickStartMs_ < kFlickMs;
    const QPoint d = event->position().toPoint() - flickStart_;
    if (quick && std::abs(d.x()) < std::abs(d.y())) {
      TurnPage(d.y() < 0 ? ScreenAction::NextPage : ScreenAction::PrevPage);
      event->accept();
      return;
    }
  }
  QAbstractScrollArea::mouseReleaseEvent(event);
}

}  // namespace tyld::pages
