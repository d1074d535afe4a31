#include "ascii/ascii_screen.h"

#include <QPrinter>

#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "mail/mail_decoder.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "settings/page_format.h"

namespace tyld::ascii {

std::vector<BuildFailure> AsciiScreen::Rebuild(QPrinter& printer) {
  settings::LiveSettings& live = settings::Live();
  const platform::DeviceMetrics caps = platform::DeviceMetricsOf(printer);
  const platform::FontDescription font =
      PrinterFontFor(live.asciiFont.logFont, live.asciiFont.PointTenths(), caps.dpiY);
  const platform::FontMetrics metrics = platform::MeasureFont(platform::ToQFont(font), &printer);
  layout = ComputeAsciiLayout(caps, metrics, live.unprint, settings::OrientationFromCode(live.AscOrientation),
                              live.ascii);
  ApplyLayoutLimits(layout, live.ascii);

  document::DocumentBuffer& doc = document::Document();
  TextModelOptions options;
  options.DocExt = doc.DocExt;
  options.ColourTagMode = document::Startup().ColourTagMode;
  options.EmlMode = EmlMode;
  options.ForceUtf8 = ForceUtf8;
  options.AscCharsPerLine = live.ascii.AscCharsPerLine;
  options.AscLinesPerPage = live.ascii.AscLinesPerPage;
  options.AscTabWidth = live.ascii.AscTabWidth;
  options.DecodeMail = [](std::string_view raw) { return mail::DecodeMail(raw); };
  BuildTextModel(model, doc.Data(), options);
  doc.LastBuildWasText = model.LastBuildWasText();
  SheetCount = UpdateSheetCount(model.ColumnPageCount(), live.ascii, layout, CurrentSheet);
  return model.Failures();
}

void AsciiScreen::NewDocument() {
  CurrentSheet = 0;
  model.ReleaseTables();
  EmlMode = EmlModeForExtension(document::Document().DocExt);
}

SheetDocument AsciiScreen::Document() const {
  const document::DocumentBuffer& doc = document::Document();
  const document::StartupState& start = document::Startup();
  const settings::LiveSettings& live = settings::Live();
  SheetDocument d;
  d.docName = doc.DocName;
  d.docLength = doc.DocLength;
  d.footerName = start.StartMode != 0 ? start.PrintName : doc.DocName;
  d.asciiFont = live.asciiFont.logFont;
  d.pointTenths = live.asciiFont.PointTenths();
  d.scale = live.asciiFont.scale;
  return d;
}

}  // namespace tyld::ascii
