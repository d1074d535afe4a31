#include "platform/printer.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace tyld::platform {

PrinterSelection::PrinterSelection() = default;
PrinterSelection::~PrinterSelection() = default;

std::unique_ptr<QPrinter> MakePdfPrinter(const PrintMarginsMm& m, const QString& outputPath) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setResolution(600);
  printer->setPageSize(QPageSize(QPageSize::A4));
  printer->setFullPage(false);
  printer->setPageMargins(QMarginsF(m.left, m.top, m.right, m.bottom), QPageLayout::Millimeter);
  printer->setOutputFileName(outputPath);
  printer->setPrinterName(QString());
  return printer;
}

bool PrinterSelection::Initialise(const PrintMarginsMm& margins, const QString& printerName) {
  QPrinterInfo info =
      printerName.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(printerName);
  if (!info.isNull()) {
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (printer->isValid()) {
      printer_ = std::move(printer);
      pdf_ = false;
      return true;
    }
  }
  if (!printerName.isEmpty()) return false;
  printer_ = MakePdfPrinter(margins);
  pdf_ = true;
  return printer_ != nullptr;
}

QString PrinterSelection::Name() const {
  if (!printer_) return {};
  if (pdf_) return QStringLiteral("PDF");
  return printer_->printerName();
}

int PrinterSelection::Orientation() const {
  if (!printer_) return 1;
  return printer_->pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
}

bool PrinterSelection::SetOrientation(int orientation) {
  if (!printer_) return false;
  const int want = orientation == 2 ? 2 : 1;
  if (Orientation() == want) return false;
  printer_->setPageOrientation(want == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
  return true;
}

void PrinterSelection::SetPdfMargins(const PrintMarginsMm& m) {
  if (printer_ && pdf_)
    printer_->setPageMargins(QMarginsF(m.left, m.top, m.right, m.bottom), QPageLayout::Millimeter);
}

void PrinterSelection::FollowDialogChoice() {
  if (printer_) pdf_ = printer_->outputFormat() == QPrinter::PdfFormat;
}

DeviceMetrics DeviceMetricsOf(const QPrinter& printer) {
  const QRect r = printer.pageLayout().paintRectPixels(printer.resolution());
  DeviceMetrics caps;
  caps.width = r.width();
  caps.height = r.height();
  caps.dpiX = printer.resolution();
  caps.dpiY = printer.resolution();
  return caps;
}

DeviceMetrics PrinterSelection::Device() const { return printer_ ? DeviceMetricsOf(*printer_) : DeviceMetrics{}; }

void PrinterSelection::Adopt(std::unique_ptr<QPrinter> printer, bool pdf) {
  if (!printer) return;
  printer_ = std::move(printer);
  pdf_ = pdf;
}

}  // namespace tyld::platform
