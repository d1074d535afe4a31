#include "platform/print_job.h"

#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QPrinter>

#include "platform/printer.h"
#include "platform/qt_canvas.h"

namespace tyld::platform {
namespace {
PdfPathDialog& PathDialog() {
  static PdfPathDialog dialog;
  return dialog;
}
}  // namespace

void SetPdfPathDialog(PdfPathDialog dialog) { PathDialog() = std::move(dialog); }

PrintJobResult RunPrintJob(QPrinter& printer, const QString& documentName, int count,
                           const std::function<bool(Canvas&, int)>& drawPage) {
  PrintJobResult result;
  printer.setDocName(documentName);
  printer.setCreator(QStringLiteral("Tyld"));
  QPainter painter;
  if (!painter.begin(&printer)) return result;
  result.started = true;
  QtCanvas canvas(painter, DeviceMetricsOf(printer));
  for (int i = 0; i < count; ++i) {
    if (i > 0 && !printer.newPage()) break;
    painter.save();
    const bool ok = drawPage(canvas, i);
    painter.restore();
    ++result.pages;
    if (!ok) break;
  }
  painter.end();
  return result;
}

bool AskPdfOutput(QWidget* parent, QPrinter& printer, bool isPdf) {
  if (!isPdf) return true;
  QString suggested = printer.outputFileName();
  if (suggested.isEmpty()) suggested = QDir::current().filePath(QStringLiteral("tyld.pdf"));
  QString path;
  if (PathDialog()) {
    path = PathDialog()(suggested);
  } else {
    path = QFileDialog::getSaveFileName(parent, QStringLiteral("PDF ファイルに印刷"), suggested,
                                        QStringLiteral("PDF (*.pdf)"));
  }
  if (path.isEmpty()) return false;
  printer.setOutputFileName(path);
  return true;
}

}  // namespace tyld::platform
