#pragma once
// The one printer both screens lay out on and print to: the system's default printer when
// there is one, else the built-in PDF printer (A4, 600 dpi). The orientation is applied
// per screen just before laying out or printing.
#include <QString>
#include <memory>

#include "platform/canvas.h"

class QPrinter;

namespace tyld::platform {

struct PrintMarginsMm {
  int top = 5, bottom = 5, left = 5, right = 5;
};

class PrinterSelection {
 public:
  PrinterSelection();
  ~PrinterSelection();  // where QPrinter is complete

  // Takes the default printer, else makes the PDF printer with the given non-printable
  // margins. `printerName` non-empty asks for that system printer. False when nothing
  // can be made.
  bool Initialise(const PrintMarginsMm& margins, const QString& printerName = {});
  [[nodiscard]] bool Valid() const { return printer_ != nullptr; }

  [[nodiscard]] QPrinter* Printer() const { return printer_.get(); }
  [[nodiscard]] QString Name() const;
  [[nodiscard]] bool IsPdf() const { return pdf_; }

  // 1 portrait, 2 landscape.
  [[nodiscard]] int Orientation() const;
  // Returns true when the orientation had to change (the "device context" is remade).
  bool SetOrientation(int orientation);
  // The PDF printer's non-printable margins follow the settings.
  void SetPdfMargins(const PrintMarginsMm& margins);

  // Printable area in device pixels and the resolution, for the page layouts.
  [[nodiscard]] DeviceMetrics Device() const;

  // Replace the printer by one the setup dialog configured.
  void Adopt(std::unique_ptr<QPrinter> printer, bool pdf);
  // After the setup dialog changed the printer in place: a file printer counts as the
  // PDF printer (the output file is asked for), a named printer as a real one.
  void FollowDialogChoice();

 private:
  std::unique_ptr<QPrinter> printer_;
  bool pdf_ = false;
};

// The metrics of any QPrinter (printable area in pixels at its resolution).
DeviceMetrics DeviceMetricsOf(const QPrinter& printer);
// A built-in PDF printer: A4, 600 dpi, the given margins, writing to `outputPath`.
std::unique_ptr<QPrinter> MakePdfPrinter(const PrintMarginsMm& margins, const QString& outputPath = {});

}  // namespace tyld::platform
