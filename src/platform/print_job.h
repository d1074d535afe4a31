#pragma once
// The one page loop that prints: begin the document, draw each page on a canvas, a new
// page between pages, end the document. It serves both screens and tyld-render.
#include <QString>
#include <functional>

#include "platform/canvas.h"

class QPrinter;
class QWidget;

namespace tyld::platform {

struct PrintJobResult {
  bool started = false;  // the document could be begun
  int pages = 0;         // pages drawn
};

// Draws pages 0..count-1 through drawPage(canvas, index); drawPage returning false ends
// the loop (the document is still ended).
PrintJobResult RunPrintJob(QPrinter& printer, const QString& documentName, int count,
                           const std::function<bool(Canvas&, int)>& drawPage);

// Before printing to the built-in PDF printer the user names the output file. Returns
// false when the user cancels. Does nothing for a real printer.
bool AskPdfOutput(QWidget* parent, QPrinter& printer, bool isPdf);

// Test seam for AskPdfOutput: returns the chosen path ("" = cancel).
using PdfPathDialog = std::function<QString(const QString& suggested)>;
void SetPdfPathDialog(PdfPathDialog dialog);

}  // namespace tyld::platform
