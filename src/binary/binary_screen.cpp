#include "binary/binary_screen.h"

#include <QPrinter>

#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "platform/codepage.h"
#include "platform/fonts.h"
#include "platform/page_units.h"
#include "platform/printer.h"
#include "settings/page_format.h"

namespace tyld::binary {

void BinaryScreen::Rebuild(QPrinter& printer) {
  settings::LiveSettings& live = settings::Live();
  LayoutInput in;
  in.caps = platform::DeviceMetricsOf(printer);
  const platform::FontDescription font =
      platform::FontForDevice(live.binaryFont.logFont, live.binaryFont.PointTenths(), in.caps.dpiY);
  in.font = platform::MeasureFont(platform::ToQFont(font), &printer);
  in.orientation = settings::OrientationFromCode(live.BinOrientation);
  in.unprint = live.unprint;
  layout = ComputeBinaryLayout(in, live.binary);
  ApplyLayoutLimits(layout, live.binary);
  UpdateBinaryPageCount(document::Document().DocLength, live.binary, view);
}

DumpSource BinaryScreen::Source() {
  document::DocumentBuffer& doc = document::Document();
  const document::StartupState& start = document::Startup();
  docNameSjis_ = platform::codepage::FromUtf8(doc.DocName);
  footerNameSjis_ = platform::codepage::FromUtf8(start.StartMode != 0 ? start.PrintName : doc.DocName);
  DumpSource s;
  s.data = doc.Data();
  const std::size_t marks = std::min(doc.HighlightMarks.size(), s.data.size());
  s.marks = std::span<const std::uint8_t>(doc.HighlightMarks.data(), marks);
  s.docName = docNameSjis_;
  return s;
}

PagePaint BinaryScreen::BasePaint() const {
  const settings::LiveSettings& live = settings::Live();
  PagePaint p;
  p.footerName = footerNameSjis_;
  p.time = LocalFooterTime();
  p.binFont = live.binaryFont.logFont;
  p.pointTenths = live.binaryFont.PointTenths();
  p.scale = live.binaryFont.scale;
  return p;
}

DumpPaging BinaryScreen::Paging() const { return DumpPaging(document::Document().DocLength, settings::Live().binary); }

}  // namespace tyld::binary
