#include "ascii/ascii_view.h"

#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "document/document_buffer.h"
#include "ascii/ascii_page_format_dialog.h"
#include "pages/page_dialogs.h"
#include "pages/screen_steps.h"
#include "platform/codepage.h"
#include "platform/command_ids.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/print_job.h"
#include "platform/printer.h"
#include "platform/qt_canvas.h"
#include "platform/screen_font.h"
#include "tools/dialog_support.h"
#include "search/search_state.h"
#include "tools/string_search_dialog.h"
#include "settings/page_format.h"

namespace tyld::ascii {
namespace {
using platform::Role;

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

platform::PrinterSelection& Printer() { return platform::PrinterSelection::Instance(); }

settings::FontState& Font() { return settings::Live().asciiFont; }

void ResetFont() {
  Font() = settings::FontState{};
}
}  // namespace

AsciiView::AsciiView(QWidget* parent) : PagedView(parent) {
  setWindowTitle(QStringLiteral("アスキー画面"));
  viewport()->setAutoFillBackground(false);
  platform::Publish(Role::AscDraw, this);
  Font().scale = 1.0;
  MakeScreenFonts();
  screen_.NewDocument();
  FullRebuild();
}

AsciiView::~AsciiView() { platform::Withdraw(Role::AscDraw, this); }

void AsciiView::MakeScreenFonts() {
  const platform::ScreenFont f =
      pages::MakeViewFont(this, Font(), settings::Live().ascii.AscLineSpacing, Font().PointTenths());
  screenFont_ = f.font;
  fixedPitch_ = f.fixedPitch;
  charWidth_ = f.charWidth;
  linePitch_ = f.linePitch;
}

void AsciiView::FullRebuild() {
  QPrinter* printer = Printer().Printer();
  if (printer == nullptr) return;
  const settings::UnprintMargins& u = settings::Live().unprint;
  Printer().SetPdfMargins({u.top, u.bottom, u.left, u.right});
  screen_.CurrentSheet = CurrentPage();
  for (const BuildFailure& f : screen_.Rebuild(*printer))
    platform::MessageBox(this, Q(f.text), Q(f.caption), platform::Buttons::Ok, platform::Icon::Warning);
  SetCurrentPage(std::max(screen_.CurrentSheet, 0));
  SetPaging(screen_.SheetCount, screen_.layout.area.linesDown, screen_.layout.area.charsAcross);
}

void AsciiView::PageChanged() {
  screen_.CurrentSheet = screen_.SheetCount > 0 ? CurrentPage() : -1;
}

void AsciiView::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), QColor(128, 128, 128));
  platform::DeviceMetrics caps{viewport()->width(), viewport()->height(), logicalDpiX(), logicalDpiY()};
  platform::QtCanvas canvas(p, caps);
  const SheetDocument doc = screen_.Document();
  SheetRequest req;
  req.target = DrawTarget::Screen;
  req.x0 = -HScrollPos();
  req.screenFont = screenFont_;
  req.screenCharWidth = CharWidthPx();
  req.screenLinePitch = LinePitchPx();
  const settings::AsciiPageFormat& fmt = settings::Live().ascii;
  if (screen_.SheetCount <= 0) {
    req.y0 = -VScrollPos();
    req.sheet = 0;
    req.pageNumber = 0;
    DrawSheet(canvas, screen_.model, fmt, screen_.layout, doc, req);
  } else {
    const int first = CurrentPage();
    for (int s = first; s < std::min(first + 3, screen_.SheetCount); ++s) {
      req.y0 = -VScrollPos() + s * PageStride();
      req.sheet = s;
      req.pageNumber = s + 1;
      DrawSheet(canvas, screen_.model, fmt, screen_.layout, doc, req);
    }
  }
  setWindowTitle(TitleText());
}

QString AsciiView::TitleText() const {
  const settings::LiveSettings& live = settings::Live();
  // The row range is the current sheet's, whether or not line numbers are shown.
  const SheetRowRange rows = screen_.SheetCount > 0
                                 ? SheetRows(live.ascii, screen_.layout, screen_.CurrentSheet, screen_.model.TotalRows())
                                 : SheetRowRange{};
  QString title = QStringLiteral("頁=%1/%2 行=[%3-%4/%5] ")
                      .arg(screen_.CurrentSheet + 1)
                      .arg(screen_.SheetCount)
                      .arg(rows.first)
                      .arg(rows.last)
                      .arg(screen_.model.TotalRows());
  title += pages::FontStatusText(live.asciiFont, fixedPitch_);
  title += live.AscOrientation == 1 ? QStringLiteral("Portrait") : QStringLiteral("Landscape");
  if (screen_.model.Utf8Applied() == 1) title += QStringLiteral("◆UTF-8変換適用");
  return title;
}

void AsciiView::SetScale(double scale) {
  Font().scale = scale;
  MakeScreenFonts();
  viewport()->update();
}

void AsciiView::PageJump() {
  if (const auto page = pages::AskPageToShow(this, CurrentPage(), screen_.SheetCount)) SetCurrentPage(*page);
  if (screen_.SheetCount > 0) ShowCurrentPage();
}

void AsciiView::FontDialog() {
  pages::RunFontDialog(this, Font());
  MakeScreenFonts();
  FullRebuild();
}

void AsciiView::PageFormatDialog() {
  settings::LiveSettings& live = settings::Live();
  AsciiPageFormatDialog dialog(live.ascii, live.unprint, screen_.layout, this);
  if (dialog.exec() == QDialog::Accepted) {
    MakeScreenFonts();
    FullRebuild();
  } else {
    ShowCurrentPage();
  }
}

void AsciiView::Print(bool colour) {
  if (const auto r = pages::AskPrintRange(this, CurrentPage(), screen_.SheetCount, colour)) {
    colorPrint_ = colour ? 1 : 0;
    printFirst_ = r->startPage;
    printLast_ = r->endPage;
    printNumber_ = r->firstNumber;
    platform::SendCommand(Role::MainFrame, cmd::kSetOrientationAsc, settings::Live().AscOrientation);
  }
  ShowCurrentPage();
}

void AsciiView::RunPrintJob() {
  QPrinter* printer = Printer().Printer();
  if (printer == nullptr) return;
  if (!platform::AskPdfOutput(this, *printer, Printer().IsPdf())) return;
  pages::PrintingNotice::Show(this);
  const SheetDocument doc = screen_.Document();
  const settings::AsciiPageFormat& fmt = settings::Live().ascii;
  int number = printNumber_;
  platform::RunPrintJob(*printer, QStringLiteral("アスキー印刷"), printLast_ - printFirst_ + 1,
                        [&](platform::Canvas& canvas, int i) {
                          SheetRequest req;
                          req.target = DrawTarget::Printer;
                          req.sheet = printFirst_ - 1 + i;
                          req.pageNumber = number;
                          req.colorPrint = colorPrint_ == 1;
                          DrawSheet(canvas, screen_.model, fmt, screen_.layout, doc, req);
                          if (number != 0) ++number;
                          return true;
                        });
}

void AsciiView::StringSearch() {
  if (document::Document().DocName.empty()) {
    tools::ShowNotice(this, search::kNoFileLoaded);
    return;
  }
  tools::StringSearchDialog dialog(search::Searches().strings);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string_view text = screen_.model.LcBuf();
  search::MatchStrings({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, screen_.model.LcMark(),
                       search::Searches().strings);
  viewport()->update();
}

void AsciiView::CancelStringSearch() {
  search::CancelStringSearch(screen_.model.LcMark(), search::Searches().strings);
  viewport()->update();
}

bool AsciiView::OnCommand(int id, std::intptr_t /*param*/) {
  if (HandlePageCommand(id)) return true;
  settings::LiveSettings& live = settings::Live();
  switch (id) {
    case cmd::kResize:
    case cmd::kRepaint:
      viewport()->update();
      return true;
    case cmd::kRebuildDefault:
      MakeScreenFonts();
      FullRebuild();
      return true;
    case cmd::kRebuildFromForm:
      MakeScreenFonts();
      FullRebuild();
      platform::SendCommand(Role::AscFormDialog, cmd::kRebuildDone);
      return true;
    case cmd::kDataLoaded:
      SetCurrentPage(0);
      screen_.NewDocument();
      FullRebuild();
      return true;
    case cmd::kOrientationSet: RunPrintJob(); return true;
    case cmd::kPageJump: PageJump(); return true;
    case cmd::kScaleDouble: SetScale(Font().scale * 2); return true;
    case cmd::kScaleOriginal: SetScale(1.0); return true;
    case cmd::kScaleHalf: SetScale(Font().scale * 0.5); return true;
    case cmd::kFont: FontDialog(); return true;
    case cmd::kFontReset:
      ResetFont();
      MakeScreenFonts();
      FullRebuild();
      return true;
    case cmd::kPageFormat: PageFormatDialog(); return true;
    case cmd::kPageFormatReset:
      live.ascii = settings::AsciiPageFormat{};
      live.unprint = settings::UnprintMargins{};
      MakeScreenFonts();
      FullRebuild();
      return true;
    case cmd::kUtf8On: screen_.ForceUtf8 = 1; FullRebuild(); return true;
    case cmd::kUtf8Off: screen_.ForceUtf8 = 0; FullRebuild(); return true;
    case cmd::kEmlDecoded: screen_.EmlMode = 2; FullRebuild(); return true;
    case cmd::kEmlRaw: screen_.EmlMode = 1; FullRebuild(); return true;
    case cmd::kPrintMono: Print(false); return true;
    case cmd::kPrintColour: Print(true); return true;
    case cmd::kStringSearch: StringSearch(); return true;
    case cmd::kStringSearchCancel: CancelStringSearch(); return true;
    case cmd::kPrintSetup:
      platform::SendCommand(Role::MainFrame, cmd::kPrinterSetup, 1);
      return true;
    default:
      return false;
  }
}

bool AsciiView::IsCommandEnabled(int id) const {
  const bool utf8 = screen_.ForceUtf8 == 1 || screen_.model.Utf8Applied() == 1;
  switch (id) {
    case cmd::kUtf8On: return !utf8;
    case cmd::kUtf8Off: return utf8;
    case cmd::kEmlDecoded: return screen_.EmlMode == 1;
    case cmd::kEmlRaw: return screen_.EmlMode == 2;
    case cmd::kNextPage: case cmd::kPrevPage: case cmd::kFirstPage: case cmd::kLastPage:
    case cmd::kNext10: case cmd::kPrev10: case cmd::kNext50: case cmd::kPrev50:
    case cmd::kPageJump: case cmd::kScaleDouble: case cmd::kScaleOriginal: case cmd::kScaleHalf:
    case cmd::kFont: case cmd::kFontReset: case cmd::kPageFormat: case cmd::kPageFormatReset:
    case cmd::kPrintMono: case cmd::kPrintColour: case cmd::kPrintSetup:
    case cmd::kStringSearch: case cmd::kStringSearchCancel:
      return true;
    default:
      return false;
  }
}

}  // namespace tyld::ascii
