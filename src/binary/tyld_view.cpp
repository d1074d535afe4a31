#include "binary/tyld_view.h"

#include <QPainter>
#include <QPrinter>

#include "app/document_buffer.h"
#include "binary/hex_pos_cal.h"
#include "binary/page_dialogs.h"
#include "binary/save_data.h"
#include "binary/pform_stb.h"
#include "binary/screen_steps.h"
#include "platform/command_ids.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/print_job.h"
#include "platform/printer.h"
#include "platform/qt_canvas.h"
#include "platform/screen_font.h"
#include "search/byte_ment.h"
#include "search/byte_srch.h"
#include "search/dialog_support.h"
#include "search/gbyte_srch.h"
#include "search/search_state.h"
#include "settings/page_format.h"

namespace tyld::binary {
namespace {
using platform::Role;

platform::PrinterSelection& Printer() { return platform::PrinterSelection::Instance(); }
settings::FontState& Font() { return settings::Live().binaryFont; }

std::span<std::uint8_t> Marks() {
  app::DocumentBuffer& doc = app::Document();
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

CTyldView::CTyldView(QWidget* parent) : PagedView(parent) {
  setWindowTitle(QStringLiteral("バイナリ画面"));
  platform::Publish(Role::BinView, this);
  Font().scale = 1.0;
  MakeScreenFonts();
  FullRebuild();
}

CTyldView::~CTyldView() { platform::Withdraw(Role::BinView, this); }

void CTyldView::MakeScreenFonts() {
  const platform::ScreenFont f =
      MakeViewFont(this, Font(), settings::Live().binary.BinLineSpacing, Font().PointTenths() / 10);
  screenFont_ = f.font;
  fixedPitch_ = f.fixedPitch;
  charWidth_ = f.charWidth;
  linePitch_ = f.linePitch;
}

void CTyldView::FullRebuild() {
  QPrinter* printer = Printer().Printer();
  if (printer == nullptr) return;
  const settings::UnprintMargins& u = settings::Live().unprint;
  Printer().SetPdfMargins({u.top, u.bottom, u.left, u.right});
  screen_.view.BinCurrentPage = CurrentPage();
  screen_.Rebuild(*printer);
  SetCurrentPage(screen_.view.BinCurrentPage);
  const settings::BinaryPageFormat& fmt = settings::Live().binary;
  SetPaging(screen_.view.BinPageCount, fmt.BinLinesDown, fmt.BinCharsAcross);
}

void CTyldView::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), QColor(128, 128, 128));
  platform::QtCanvas canvas(p, {viewport()->width(), viewport()->height(), logicalDpiX(), logicalDpiY()});
  const DumpSource source = screen_.Source();
  PagePaint paint = screen_.BasePaint();
  paint.target = DrawTarget::Screen;
  paint.x0 = -HScrollPos();
  paint.screenFont = screenFont_;
  paint.screenCharWidth = charWidth_;
  paint.screenLinePitch = linePitch_;
  const settings::BinaryPageFormat& fmt = settings::Live().binary;
  const int first = CurrentPage();
  const int count = std::max(screen_.view.BinPageCount, 1);
  for (int page = first; page < std::min(first + 3, count); ++page) {
    paint.page = page;
    paint.pageNumber = page + 1;
    paint.y0 = static_cast<double>(page) * PageStride() - VScrollPos();
    DrawBinaryPage(canvas, fmt, source, paint);
  }
  screen_.view.BinCurrentPage = CurrentPage();
  setWindowTitle(TitleText());
}

QString CTyldView::TitleText() const {
  const settings::LiveSettings& live = settings::Live();
  const DumpPaging paging = screen_.Paging();
  const int page = CurrentPage();
  const std::int64_t firstOffset = paging.PageCount() > 0 ? paging.FirstOffset(page) : 0;
  const std::int64_t lastOffset = paging.PageCount() > 0 ? paging.LastOffset(page) : 0;
  QString title = QStringLiteral("頁=%1/%2 A=[%3-%4 H] ")
                      .arg(paging.PageCount() > 0 ? page + 1 : 0)
                      .arg(paging.PageCount())
                      .arg(QString::number(firstOffset, 16).toUpper(), QString::number(lastOffset, 16).toUpper());
  title += FontStatusText(live.binaryFont, fixedPitch_);
  title += searchTitle_;
  title += live.BinOrientation == 1 ? QStringLiteral("Portrait") : QStringLiteral("Landscape");
  return title;
}

void CTyldView::SetScale(double scale) {
  Font().scale = scale;
  MakeScreenFonts();
  viewport()->update();
}

void CTyldView::PageJump() {
  if (const auto page = AskPageToShow(this, CurrentPage(), screen_.view.BinPageCount)) SetCurrentPage(*page);
  if (screen_.view.BinPageCount > 0) ShowCurrentPage();
}

void CTyldView::JumpToPosition(std::uint32_t u) {
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

void CTyldView::FontDialog() {
  RunFontDialog(this, Font());
  MakeScreenFonts();
  FullRebuild();
}

void CTyldView::PageFormatDialog() {
  settings::LiveSettings& live = settings::Live();
  CPFormStB dialog(live.binary, live.unprint, this);
  if (dialog.exec() == QDialog::Accepted) {
    MakeScreenFonts();
    FullRebuild();
  } else {
    ShowCurrentPage();
  }
}

void CTyldView::Print(bool colour) {
  if (const auto r = AskPrintRange(this, CurrentPage(), screen_.view.BinPageCount, colour)) {
    colorPrint_ = colour ? 1 : 0;
    printFirst_ = r->startPage;
    printLast_ = r->endPage;
    printNumber_ = r->firstNumber;
    platform::SendCommand(Role::MainFrame, cmd::kSetOrientationBin, settings::Live().BinOrientation);
  }
  ShowCurrentPage();
}

void CTyldView::RunPrintJob() {
  QPrinter* printer = Printer().Printer();
  if (printer == nullptr) return;
  if (!platform::AskPdfOutput(this, *printer, Printer().IsPdf())) return;
  COnPrint::Show(this);
  const DumpSource source = screen_.Source();
  PagePaint paint = screen_.BasePaint();
  paint.target = DrawTarget::Printer;
  paint.colour = colorPrint_ == 1;
  const settings::BinaryPageFormat& fmt = settings::Live().binary;
  int number = printNumber_;
  platform::RunPrintJob(*printer, QStringLiteral("バイナリ印刷"), printLast_ - printFirst_ + 1,
                        [&](platform::Canvas& canvas, int i) {
                          paint.page = printFirst_ - 1 + i;
                          paint.pageNumber = number;
                          DrawBinaryPage(canvas, fmt, source, paint);
                          if (number != 0) ++number;
                          return true;
                        });
}

bool CTyldView::RefuseWithoutData() {
  if (!app::Document().DocName.empty()) return false;
  search::ShowNotice(this, search::kNoFileLoaded);
  return true;
}

void CTyldView::ByteSearch() {
  if (RefuseWithoutData()) return;
  search::ByteSearchState& state = search::Searches().bytes;
  search::CByteSrch dialog(state);
  if (dialog.exec() != QDialog::Accepted) return;
  search::MatchBytes(app::Document().Data(), Marks(), state);
  SetSearchTitle(search::Q(search::ByteSearchTitle(state)));
  viewport()->update();
}

void CTyldView::CancelByteSearch() {
  search::CancelByteSearch(Marks(), search::Searches().bytes);
  SetSearchTitle(QString());
  viewport()->update();
}

void CTyldView::OpenByteMent() {
  if (!Raise(byteMent_)) {
    byteMent_ = new search::CByteMent([] { return app::Document().Data(); }, this);
    byteMent_->show();
  }
}

void CTyldView::OpenGroupSearch() {
  if (!Raise(groupSearch_)) {
    groupSearch_ = new search::CGByteSrch(search::Searches().sequence, this);
    groupSearch_->show();
  }
  ShowCurrentPage();
}

void CTyldView::RunGroupSearch() {
  search::SequenceSearchState& state = search::Searches().sequence;
  if (const std::optional<search::Notice> notice = search::RunSequenceSearch(app::Document().Data(), Marks(), state))
    search::ShowNotice(this, *notice);
  if (groupSearch_) groupSearch_->RefreshList();
  viewport()->update();
}

void CTyldView::OpenHexPosCal() {
  if (!Raise(hexPosCal_)) {
    hexPosCal_ = new CHexPosCal(this);
    hexPosCal_->show();
  }
}

bool CTyldView::OnCommand(int id, std::intptr_t param) {
  if (HandlePageCommand(id)) return true;
  settings::LiveSettings& live = settings::Live();
  switch (id) {
    case cmd::kResize:
    case cmd::kRepaint:
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
    case cmd::kSave: SaveOverwrite(this, app::Document()); return true;
    case cmd::kSaveAs: SaveAs(this, app::Document()); return true;
    case cmd::kRebuildDefault:
      MakeScreenFonts();
      FullRebuild();
      return true;
    case cmd::kRebuildFromForm:
      MakeScreenFonts();
      FullRebuild();
      platform::SendCommand(Role::BinFormDialog, cmd::kRebuildDone);
      return true;
    case cmd::kDataLoaded:
      SetCurrentPage(0);
      FullRebuild();
      return true;
    case cmd::kOrientationSet: RunPrintJob(); return true;
    // Positions are unsigned 32-bit: 4294967295 is a position past any data, never -1.
    case cmd::kJumpToPosition: JumpToPosition(static_cast<std::uint32_t>(param)); return true;
    case cmd::kPageJump: PageJump(); return true;
    case cmd::kScaleDouble: SetScale(Font().scale * 2); return true;
    case cmd::kScaleOriginal: SetScale(1.0); return true;
    case cmd::kScaleHalf: SetScale(Font().scale * 0.5); return true;
    case cmd::kFont: FontDialog(); return true;
    case cmd::kFontReset: {
      const double scale = Font().scale;  // the reset keeps the scale
      Font() = settings::FontState{};
      Font().scale = scale;
      MakeScreenFonts();
      FullRebuild();
      return true;
    }
    case cmd::kPageFormat: PageFormatDialog(); return true;
    case cmd::kPageFormatReset:
      live.binary = settings::BinaryPageFormat{};
      MakeScreenFonts();
      FullRebuild();
      return true;
    case cmd::kPrintMono: Print(false); return true;
    case cmd::kPrintColour: Print(true); return true;
    case cmd::kPrintSetup:
      platform::SendCommand(Role::MainFrame, cmd::kPrinterSetup, 2);
      return true;
    default:
      return false;
  }
}

bool CTyldView::IsCommandEnabled(int id) const {
  switch (id) {
    case cmd::kNextPage: case cmd::kPrevPage: case cmd::kFirstPage: case cmd::kLastPage:
    case cmd::kNext10: case cmd::kPrev10: case cmd::kNext50: case cmd::kPrev50:
    case cmd::kPageJump: case cmd::kScaleDouble: case cmd::kScaleOriginal: case cmd::kScaleHalf:
    case cmd::kFont: case cmd::kFontReset: case cmd::kPageFormat: case cmd::kPageFormatReset:
    case cmd::kPrintMono: case cmd::kPrintColour: case cmd::kPrintSetup:
    case cmd::kByteSearch: case cmd::kByteSearchCancel: case cmd::kByteMent: case cmd::kGroupByteSearch:
    case cmd::kHexPosCal: case cmd::kSaveAs:
      return true;
    case cmd::kSave: return !app::Document().DocPath.empty();  // nothing loaded: nowhere to write
    default:
      return false;
  }
}

}  // namespace tyld::binary
