#include "render/render_job.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <ostream>

#include "document/command_line.h"
#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "ascii/ascii_screen.h"
#include "ascii/sheet_painter.h"
#include "binary/binary_screen.h"
#include "binary/dump_lines.h"
#include "mail/mail_decoder.h"
#include "pages/paged_screen.h"
#include "platform/codepage.h"
#include "platform/print_job.h"
#include "platform/printer.h"
#include "platform/qt_canvas.h"
#include "settings/settings_file.h"
#include "settings/side_options.h"

namespace tyld::render {
namespace {

using DrawPage = std::function<void(platform::Canvas&, int page, int number)>;

// Reads the settings without ever creating or writing the file; a file the user named
// must be readable, the default one may be missing.
bool LoadSettings(const std::string& path, bool required, const pages::Workspace& workspace, std::ostream& err) {
  using Result = settings::ReadOnlyLoad::Result;
  const settings::ReadOnlyLoad load = settings::ReadSettingsReadOnly(path, workspace.record, workspace.live);
  if (load.result == Result::Read) return true;
  if (required && load.result == Result::Unreadable)
    err << "tyld-render: --settings: cannot read '" << path << "'\n";
  if (required && load.result == Result::WrongSize)
    err << "tyld-render: --settings: '" << path << "' is not a settings file (size " << load.size << ")\n";
  return !required;
}

// The number printed on page `page` (1-based) of a range from `first`; 0 prints none. It
// saturates: a huge --page-number must not wrap round.
int NumberOf(const RenderOptions& o, int first, int page) {
  if (o.pageNumber == 0) return 0;
  const long long n = (o.pageNumber == -1 ? first : o.pageNumber) + static_cast<long long>(page - first);
  return static_cast<int>(std::min<long long>(n, std::numeric_limits<int>::max()));
}

// The bytes the ASCII screen shows, as UTF-8.
std::string DecodedText(const ascii::AsciiScreen& screen, const document::DocumentBuffer& doc) {
  ascii::TextModelOptions options;
  options.DocExt = doc.DocExt;
  options.EmlMode = screen.EmlMode;
  options.ForceUtf8 = screen.ForceUtf8;
  options.DecodeMail = [](std::string_view raw) { return mail::DecodeMail(raw); };
  std::string converted;
  std::int32_t utf8 = 0;
  if (ascii::ConvertForDisplay(doc.Data(), options, converted, utf8)) return platform::codepage::ToUtf8(converted);
  const std::span<const std::uint8_t> raw = doc.Data();
  return platform::codepage::ToUtf8(std::string_view(reinterpret_cast<const char*>(raw.data()), raw.size()));
}

int WritePdf(QPrinter& printer, bool realPrinter, const RenderOptions& o, int first, int last,
             const QString& docName, const DrawPage& draw, std::ostream& out, std::ostream& err) {
  QTemporaryFile temp;
  QString path = QString::fromStdString(o.out);
  if (!realPrinter) {
    if (o.out == "-") {
      if (!temp.open()) {
        err << "tyld-render: cannot make a temporary file\n";
        return kNotWritable;
      }
      path = temp.fileName();
    } else {
      QFile probe(path);
      if (!probe.open(QIODevice::WriteOnly)) {
        err << "tyld-render: cannot write '" << o.out << "'\n";
        return kNotWritable;
      }
    }
    printer.setOutputFileName(path);
  }
  const platform::PrintJobResult r =
      platform::RunPrintJob(printer, docName, last - first + 1, [&](platform::Canvas& canvas, int i) {
        draw(canvas, first - 1 + i, NumberOf(o, first, first + i));
        return true;
      });
  if (!r.started) {
    err << "tyld-render: cannot write '" << (realPrinter ? o.printer : o.out) << "'\n";
    return kNotWritable;
  }
  if (o.out == "-" && !realPrinter) {
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = f.readAll();
      out.write(bytes.constData(), bytes.size());
    }
  }
  return kDone;
}

int WritePngs(QPrinter& printer, const RenderOptions& o, int first, int last, const DrawPage& draw,
              std::ostream& err) {
  const int res = printer.resolution();
  const QPageLayout layout = printer.pageLayout();
  const QRect full = layout.fullRectPixels(res);
  const QRect paint = layout.paintRectPixels(res);
  const double k = static_cast<double>(o.dpi) / res;
  for (int page = first; page <= last; ++page) {
    QImage image(static_cast<int>(full.width() * k), static_cast<int>(full.height() * k), QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(o.dpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(o.dpi / 0.0254));
    {
      QPainter p(&image);
      p.setRenderHint(QPainter::TextAntialiasing);
      p.scale(k, k);
      p.translate(paint.topLeft());
      platform::QtCanvas canvas(p, platform::DeviceMetricsOf(printer));
      draw(canvas, page - 1, NumberOf(o, first, page));
    }
    const QString path = QString::fromStdString(o.out) + QStringLiteral("-%1.png").arg(page, 4, 10, QLatin1Char('0'));
    if (!image.save(path, "PNG")) {
      err << "tyld-render: cannot write '" << path.toStdString() << "'\n";
      return kNotWritable;
    }
  }
  return kDone;
}

int WriteText(const std::string& text, const RenderOptions& o, std::ostream& out, std::ostream& err) {
  if (o.out == "-") {
    out << text;
    return kDone;
  }
  std::ofstream f(o.out, std::ios::binary);
  f << text;
  f.close();
  if (!f) {
    err << "tyld-render: cannot write '" << o.out << "'\n";
    return kNotWritable;
  }
  return kDone;
}

// Writes the text of pages first..last as it goes, in chunks of about a megabyte: the text
// of a big document is never held whole, and the pages (a few kilobytes each) do not cost
// a system call each.
int WritePageTexts(pages::PagedScreen& screen, const RenderOptions& o, int first, int last, std::ostream& out,
                   std::ostream& err) {
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  std::ofstream file;
  if (o.out != "-") file.open(o.out, std::ios::binary);
  std::ostream& sink = o.out == "-" ? out : file;
  std::string chunk;
  chunk.reserve(kChunk + kChunk / 4);
  for (int page = first; page <= last && sink; ++page) {
    chunk += screen.PageText(page - 1, NumberOf(o, first, page));
    if (chunk.size() >= kChunk || page == last) {
      sink.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      chunk.clear();
    }
  }
  if (o.out == "-") return kDone;
  file.close();
  if (!file) {
    err << "tyld-render: cannot write '" << o.out << "'\n";
    return kNotWritable;
  }
  return kDone;
}

}  // namespace

int RunRender(const RenderOptions& given, const pages::Workspace& workspace, std::ostream& out, std::ostream& err) {
  RenderOptions o = given;
  const std::string name(document::FinalComponent(o.file));
  if (o.out.empty()) {
    switch (o.format) {
      case Format::Pdf: o.out = name + ".pdf"; break;
      case Format::Png: o.out = name; break;
      default: o.out.assign(1, '-');  // assign(): GCC 12 misreads "-" here (-Wrestrict)
    }
  }
  if (o.format == Format::Png && o.out == "-") {
    err << "tyld-render: --out - cannot take PNG images; give a file prefix\n";
    return kUsageError;
  }
  if (o.format == Format::Decoded && o.screen == Screen::Binary) {
    err << "tyld-render: --format decoded is the ASCII screen's text; leave out --screen binary\n";
    return kUsageError;
  }
  // Settings: the named file, else YDsettei.bin here when present, else the defaults.
  const std::string settingsPath = o.settingsPath.empty() ? std::string("YDsettei.bin") : o.settingsPath;
  if (!LoadSettings(settingsPath, !o.settingsPath.empty(), workspace, err)) return kUsageError;
  settings::LiveSettings& live = workspace.live;
  live.AscLineBreakRules = o.lineBreakRules >= 0 ? o.lineBreakRules == 1
                                                 : settings::ReadLineBreakRules(settings::SideOptionsPath(settingsPath));
  if (o.orientation != 0)
    (o.screen == Screen::Ascii ? live.AscOrientation : live.BinOrientation) = settings::OrientationFromCode(o.orientation);

  document::StartupState& start = workspace.startup;
  start.StartMode = 2;
  start.DfPath = o.file;
  start.PrintName = o.printName.value_or(name);
  start.ColourTagMode = o.colTag ? 1 : 0;

  platform::PrinterSelection& selection = workspace.printers;
  const bool realPrinter = !o.printer.empty();
  if (!selection.Initialise({live.unprint.top, live.unprint.bottom, live.unprint.left, live.unprint.right},
                            QString::fromStdString(o.printer))) {
    err << "tyld-render: --printer: no printer named '" << o.printer << "'\n";
    return kNotWritable;
  }
  QPrinter& printer = *selection.Printer();
  ascii::AsciiScreen asciiScreen(workspace);
  binary::BinaryScreen binaryScreen(workspace);
  pages::PagedScreen& screen = o.screen == Screen::Ascii ? static_cast<pages::PagedScreen&>(asciiScreen) : binaryScreen;
  selection.SetOrientation(static_cast<int>(screen.PageOrientation()));

  document::DocumentBuffer& doc = workspace.document;
  // The binary screen reads only the bytes of the pages asked for, once they are known.
  const bool byParts = o.screen == Screen::Binary;
  const document::LoadResult loaded =
      doc.LoadDataFile(o.file, byParts ? document::DocumentBuffer::Read::FinalByte : document::DocumentBuffer::Read::Whole);
  if (loaded.error != document::BufferError::None) {
    const document::BufferMessage m = document::MessageFor(loaded.error);
    err << "tyld-render: " << m.text << "\n";
  }
  if (doc.DocLength == 0) {
    err << "tyld-render: " << ascii::kMissingOrEmptyFileMessage << " (" << o.file << ")\n";
    return kNothingToPrint;
  }

  if (o.screen == Screen::Ascii) {
    asciiScreen.NewDocument();
    asciiScreen.ForceUtf8 = o.utf8 ? 1 : 0;
  }
  int current = 0;
  for (const pages::ScreenMessage& m : screen.Rebuild(printer, current)) err << "tyld-render: " << m.text << "\n";
  if (o.format == Format::Decoded) return WriteText(DecodedText(asciiScreen, doc), o, out, err);
  if (const std::string refusal = screen.Refusal(); !refusal.empty()) {
    err << "tyld-render: " << refusal << "\n";
    return kNothingToPrint;
  }
  const int pageCount = screen.PageCount();
  const QString docName = screen.JobName();
  const DrawPage draw = [&](platform::Canvas& canvas, int page, int number) {
    pages::PageDraw d;
    d.page = page;
    d.number = number;
    d.colour = !o.mono;
    screen.DrawPage(canvas, d);
  };
  if (pageCount <= 0) {
    err << "tyld-render: 有効なデータがありません。\n";
    return kNothingToPrint;
  }
  // A range reaching past the document is cut to it; one wholly beyond it is an error.
  if (o.firstPage > pageCount) {
    err << "tyld-render: --pages: the document has " << pageCount << " page(s)\n";
    return kUsageError;
  }
  const int first = o.firstPage;
  const int last = o.lastPage == 0 ? pageCount : std::min(o.lastPage, pageCount);
  if (byParts) {
    const binary::ByteRange bytes = binary::PagesBytes(doc.DocLength, live.binary, first - 1, last - 1);
    if (!doc.ReadPart(bytes.begin, bytes.end - bytes.begin)) {
      err << "tyld-render: " << ascii::kMissingOrEmptyFileMessage << " (" << o.file << ")\n";
      return kNothingToPrint;
    }
  }
  switch (o.format) {
    case Format::Pdf: return WritePdf(printer, realPrinter, o, first, last, docName, draw, out, err);
    case Format::Png: return WritePngs(printer, o, first, last, draw, err);
    case Format::Txt: return WritePageTexts(screen, o, first, last, out, err);
    case Format::Decoded: break;
  }
  return kDone;
}

}  // namespace tyld::render
