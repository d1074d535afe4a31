#include "ascii/ascii_screen.h"

#include <QFontMetrics>
#include <QPrinter>
#include <algorithm>
#include <cstdio>

#include "ascii/sheet_text.h"
#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "mail/mail_decoder.h"
#include "platform/codepage.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "settings/page_format.h"

namespace tyld::ascii {

std::vector<BuildFailure> AsciiScreen::Build(QPrinter& printer) {
  settings::LiveSettings& live = workspace_.live;
  const platform::DeviceMetrics caps = platform::DeviceMetricsOf(printer);
  const platform::FontDescription font =
      PrinterFontFor(live.asciiFont.logFont, live.asciiFont.PointTenths(), caps.dpiY);
  const platform::FontMetrics metrics = platform::MeasureFont(platform::ToQFont(font), &printer);
  layout = ComputeAsciiLayout(caps, metrics, live.unprint, live.AscOrientation,
                              live.ascii);
  ApplyLayoutLimits(layout, live.ascii);

  document::DocumentBuffer& doc = workspace_.document;
  TextModelOptions options;
  options.DocExt = doc.DocExt;
  options.ColourTagMode = workspace_.startup.ColourTagMode;
  options.EmlMode = EmlMode;
  options.ForceUtf8 = ForceUtf8;
  options.AscCharsPerLine = live.ascii.AscCharsPerLine;
  options.AscLinesPerPage = live.ascii.AscLinesPerPage;
  options.AscTabWidth = live.ascii.AscTabWidth;
  options.LineBreakRules = live.AscLineBreakRules;
  if (!metrics.fixedPitch) {
    // Average widths would let a row of wide letters run off the paper: measure instead, on
    // the printer the rows are laid out for, up to the width of a column's frame.
    const QFontMetrics fm(platform::ToQFont(font), &printer);
    options.TextWidth = [fm](std::string_view sjis) {
      return fm.horizontalAdvance(QString::fromStdU16String(platform::codepage::ToUtf16(sjis)));
    };
    options.RowWidth = (live.ascii.AscCharsPerLine + 1) * std::max(1, metrics.cellWidth);
  }
  options.DecodeMail = [](std::string_view raw) { return mail::DecodeMail(raw); };
  Deferred = Step == ModelStep::Defer && !options.TextWidth;
  // A proportional font builds here even while a build runs elsewhere: that one is stale.
  if (Step == ModelStep::Defer && !Deferred) ++DeferCount;
  if (Deferred) {
    DeferredExt = doc.DocExt;
    DeferredOptions = options;
    DeferredOptions.DocExt = DeferredExt;
    ++DeferCount;
    model = TextModel();
    SheetCount = 0;
    return {};
  }
  if (Step != ModelStep::Keep) BuildTextModel(model, doc.Data(), options);
  doc.LastBuildWasText = model.LastBuildWasText();
  SheetCount = UpdateSheetCount(model.ColumnPageCount(), live.ascii, layout, CurrentSheet);
  return model.Failures();
}

std::vector<pages::ScreenMessage> AsciiScreen::Rebuild(QPrinter& printer, int& currentPage) {
  CurrentSheet = currentPage;
  std::vector<pages::ScreenMessage> messages;
  for (const BuildFailure& f : Build(printer)) messages.push_back({f.text, f.caption});
  // A current sheet past the new end goes back to the last one.
  currentPage = std::max(CurrentSheet, 0);
  return messages;
}

void AsciiScreen::NewDocument() {
  CurrentSheet = 0;
  model.ReleaseTables();
  // A Shift-JIS reading asked for belongs to that document; the next one is detected.
  if (ForceUtf8 < 0) ForceUtf8 = 0;
  EmlMode = EmlModeForExtension(workspace_.document.DocExt);
}

SheetDocument AsciiScreen::SheetSource() const {
  const document::DocumentBuffer& doc = workspace_.document;
  const document::StartupState& start = workspace_.startup;
  const settings::LiveSettings& live = workspace_.live;
  SheetDocument d;
  d.docName = doc.DocName;
  d.docLength = doc.DocLength;
  d.footerName = document::PrintedName(start, doc);
  d.asciiFont = live.asciiFont.logFont;
  d.pointTenths = live.asciiFont.PointTenths();
  d.scale = live.asciiFont.scale;
  return d;
}

void AsciiScreen::DrawPage(platform::Canvas& canvas, const pages::PageDraw& draw) {
  SheetRequest req;
  req.target = draw.screen ? DrawTarget::Screen : DrawTarget::Printer;
  req.sheet = draw.page;
  req.pageNumber = draw.number;
  req.colorPrint = draw.colour;
  req.x0 = draw.x0;
  req.y0 = draw.y0;
  req.screenFont = draw.grid.font;
  req.screenCharWidth = draw.grid.charWidth;
  req.screenLinePitch = draw.grid.linePitch;
  DrawSheet(canvas, model, workspace_.live.ascii, layout, SheetSource(), req);
}

std::string AsciiScreen::PageText(int page, int number) {
  return SheetText(model, workspace_.live.ascii, layout, SheetSource(), page, number);
}

std::string AsciiScreen::Refusal() const {
  if (!model.Rejected()) return {};
  const int pos = model.NonAsciiPos();
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d(0x%04x)", pos, static_cast<unsigned>(pos));
  return std::string(buf) + " ﾊﾞｲﾄ目がアスキー状態ではなくアスキー表示できません。";
}

settings::FontState& AsciiScreen::Font() { return workspace_.live.asciiFont; }
int AsciiScreen::LineSpacing() const { return workspace_.live.ascii.AscLineSpacing; }
settings::Orientation AsciiScreen::PageOrientation() const {
  return workspace_.live.AscOrientation;
}
int AsciiScreen::ShownFontSize() const { return workspace_.live.asciiFont.PointTenths(); }

// The ASCII font reset returns to scale 1 as well.
void AsciiScreen::ResetFont() { Font() = settings::FontState{}; }

// The non-printable margins are shared with the binary screen; this reset clears them too.
void AsciiScreen::ResetPageFormat() {
  settings::LiveSettings& live = workspace_.live;
  live.ascii = settings::AsciiPageFormat{};
  live.unprint = settings::UnprintMargins{};
}

QString AsciiScreen::TitleHead(int currentPage) const {
  // The row range is the current sheet's, whether or not line numbers are shown.
  const int sheet = SheetCount > 0 ? currentPage : -1;
  const SheetRowRange rows =
      SheetCount > 0 ? SheetRows(workspace_.live.ascii, layout, sheet, model.TotalRows()) : SheetRowRange{};
  // Rows of the document's start only: the totals come with the whole build.
  const QString unknown = QStringLiteral("?");
  const bool partial = model.Partial();
  return QStringLiteral("頁=%1/%2 行=[%3-%4/%5] ")
      .arg(sheet + 1)
      .arg(partial ? unknown : QString::number(SheetCount))
      .arg(rows.first)
      .arg(rows.last)
      .arg(partial ? unknown : QString::number(model.TotalRows()));
}

QString AsciiScreen::TitleTail() const {
  return model.Utf8Applied() == 1 ? QStringLiteral("◆UTF-8変換適用") : QString();
}

QString AsciiScreen::JobName() const { return QStringLiteral("アスキー印刷"); }

}  // namespace tyld::ascii
