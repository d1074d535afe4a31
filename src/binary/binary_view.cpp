#include "binary/binary_view.h"

#include <QPainter>
#include <QPrinter>

#include "document/document_buffer.h"
#include "tools/position_calculator_window.h"
#include "pages/page_dialogs.h"
#include "tools/save_data.h"
#include "binary/binary_page_format_dialog.h"
#include "pages/screen_steps.h"
#include "platform/command_ids.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/print_job.h"
#include "platform/printer.h"
#include "platform/qt_canvas.h"
#include "platform/screen_font.h"
#include "tools/byte_editor_window.h"
#include "tools/byte_search_dialog.h"
#include "tools/dialog_support.h"
#include "tools/sequence_search_window.h"
#include "search/search_state.h"
#include "settings/page_format.h"

namespace tyld::binary {
namespace {
using platform::Role;

platform::PrinterSelection& Printer() { return platform::PrinterSelection::Instance(); }
settings::FontState& Font() { return settings::Live().binaryFont; }

std::span<std::uint8_t> Marks() {
  document::DocumentBuffer& doc = document::Document();
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

BinaryView::BinaryView(QWidget* parent) : PagedView(parent) {
  setWindowTitle(QStringLiteral("バイナリ画面"));
  platform::Publish(Role::BinView, this);
  Font().scale = 1.0;
  MakeScreenFonts();
  FullRebuild();
}

BinaryView::~BinaryView() { platform::Withdraw(Role::BinView, this); }

void BinaryView::MakeScreenFonts() {
  const platform::ScreenFont f =
      MakeViewFont(this, Font(), settings::Live().binary.BinLineSpacing, Font().PointTenths() / 10);
  screenFont_ = f.font;
  fixedPitch_ = f.fixedPitch;
  charWidth_ = f.charWidth;
  linePitch_ = f.linePitch;
}

void BinaryView::FullRebuild() {
  QPrinter* printer = Printer().Printer();
  if (printer == nullptr) return;
  const settings::UnprintMargins& u = settings::Live().unprint;
  Printer().SetPdfMargins({u.top, u.bottom, u.left, u.right});
  screen_.view.BinCurrentPage = CurrentPage();
  screen_.Rebuild(*printer);
  SetCurrentPage(screen_.view.BinCurrentPage);
  SetPaging(screen_.view.BinPageCount, screen_.layout.area.linesDown, screen_.layout.area.charsAcross);
}

void BinaryView::paintEvent(QPaintEvent*) {
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
    DrawBinaryPage(canvas, fmt, screen_.layout, source, paint);
  }
  screen_.view.BinCurrentPage = CurrentPage();
  setWindowTitle(TitleText());
}

QString BinaryView::TitleText() const {
  const settings::LiveSettings& live = settings::Live();
  const DumpPaging paging = screen_.Paging();
  const int page = CurrentPage();
  const std::int64_t firstOffset = paging.PageCount() > 0 ? paging.FirstOffset(page) : 0;
  const std::int64_t lastOffset = paging.PageCount() > 0 ? paging.LastOffset(page) : 0;
  QString title = QStringLiteral("頁=%1/%2 A=[%3-%4 H] ")
                      .arg(paging.PageCount() > 0 ? page + 1 : 0)
                      .arg(paging.PageCount())
                      .arg(QString::number(firstOffset, 16).toUpper(), QString::number(lastOffset, 16).toUpper());
  title += pages::FontStatusText(live.binaryFont, fixedPitch_);
  title += searchTitle_;
  title += live.BinOrientation == 1 ? QStringLiteral("Portrait") : QStringLiteral("Landscape");
  return title;
}

void BinaryView::SetScale(double scale) {
  Font().scale = scale;
  MakeScreenFonts();
  viewport()->update();
}

void BinaryView::PageJump() {
  if (const auto page = AskPageToShow(this, CurrentPage(), screen_.view.BinPageCount)) SetCurrentPage(*page);
  if (screen_.view.BinPageCount > 0) ShowCurrentPage();
}

void BinaryView::JumpToPosition(std::uint32_t u) {
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

void BinaryView::FontDialog() {
  RunFontDialog(this, Font());
  MakeScreenFonts();
  FullRebuild();
}

void BinaryView::PageFormatDialog() {
  settings::LiveSettings& live = settings::Live();
  BinaryPageFormatDialog dialog(live.binary, live.unprint, screen_.layout, this);
  if (dialog.exec() == QDialog::Accepted) {
    MakeScreenFonts();
    FullRebuild();
  } else {
    ShowCurrentPage();
  }
}

void BinaryView::Print(bool colour) {
  if (const auto r = AskPrintRange(this, CurrentPage(), screen_.view.BinPageCount, colour)) {
    colorPrint_ = colour ? 1 : 0;
    printFirst_ = r->startPage;
    printLast_ = r->endPage;
    printNumber_ = r->firstNumber;
    platform::SendCommand(Role::MainFrame, cmd::kSetOrientationBin, settings::Live().BinOrientation);
  }
  ShowCurrentPage();
}

void BinaryView::RunPrintJob() {
  QPrinter* printer = Printer().Printer();
  if (printer == nullptr) return;
  if (!platform::AskPdfOutput(this, *printer, Printer().IsPdf())) return;
  pages::PrintingNotice::Show(this);
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
                          DrawBinaryPage(canvas, fmt, screen_.layout, source, paint);
                          if (number != 0) ++number;
                          return true;
                        });
}

bool BinaryView::RefuseWithoutData() {
  if (!document::Document().DocName.empty()) return false;
  tools::ShowNotice(this, search::kNoFileLoaded);
  return true;
}

void BinaryView::ByteSearch() {
  if (RefuseWithoutData()) return;
  search::ByteSearchState& state = search::Searches().bytes;
  tools::ByteSearchDialog dialog(state);
  if (dialog.exec() != QDialog::Accepted) return;
  search::MatchBytes(document::Document().Data(), Marks(), state);
  SetSearchTitle(tools::Q(search::ByteSearchTitle(state)));
  viewport()->update();
}

void BinaryView::CancelByteSearch() {
  search::CancelByteSearch(Marks(), search::Searches().bytes);
  SetSearchTitle(QString());
  viewport()->update();
}

void BinaryView::OpenByteMent() {
  if (!Raise(byteMent_)) {
    byteMent_ = new tools::ByteEditorWindow([] { return document::Document().Data(); }, this);
    byteMent_->show();
  }
}

void BinaryView::OpenGroupSearch() {
  if (!Raise(groupSearch_)) {
    groupSearch_ = new tools::SequenceSearchWindow(search::Searches().sequence, this);
    groupSearch_->show();
  }
  ShowCurrentPage();
}

void BinaryView::RunGroupSearch() {
  search::SequenceSearchState& state = search::Searches().sequence;
  if (const std::optional<search::Notice> notice = search::RunSequenceSearch(document::Document().Data(), Marks(), state))
    tools::ShowNotice(this, *notice);
  if (groupSearch_) groupSearch_->RefreshList();
  viewport()->update();
}

void BinaryView::OpenHexPosCal() {
  if (!Raise(hexPosCal_)) {
    hexPosCal_ = new tools::PositionCalculatorWindow(this);
    hexPosCal_->show();
  }
}

bool BinaryView::OnCommand(int id, std::intptr_t param) {
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
    case cmd::kSave: tools::SaveOverwrite(this, document::Document()); return true;
    case cmd::kSaveAs: tools::SaveAs(this, document::Document()); return true;
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

bool BinaryView::IsCommandEnabled(int id) const {
  switch (id) {
    case cmd::kNextPage: case cmd::kPrevPage: case cmd::kFirstPage: case cmd::kLastPage:
    case cmd::kNext10: case cmd::kPrev10: case cmd::kNext50: case cmd::kPrev50:
    case cmd::kPageJump: case cmd::kScaleDouble: case cmd::kScaleOriginal: case cmd::kScaleHalf:
    case cmd::kFont: case cmd::kFontReset: case cmd::kPageFormat: case cmd::kPageFormatReset:
    case cmd::kPrintMono: case cmd::kPrintColour: case cmd::kPrintSetup:
    case cmd::kByteSearch: case cmd::kByteSearchCancel: case cmd::kByteMent: case cmd::kGroupByteSearch:
    case cmd::kHexPosCal: case cmd::kSaveAs:
      return true;
    case cmd::kSave: return !document::Document().DocPath.empty();  // nothing loaded: nowhere to write
    default:
      return false;
  }
}

}  // namespace tyld::binary
