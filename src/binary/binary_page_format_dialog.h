#pragma once
// The binary screen's page format dialog: margins, line spacing, the printer's
// non-printable margins (shared with the ASCII screen), gaps, columns and blocks, and the
// footer, hex-case and CR+LF choices. Values reach the live state only on OK and on
// "表示再調整"; the latter also has the binary screen rebuild and reloads the values the
// rebuild left.
#include "pages/page_format_dialog.h"
#include "settings/page_format.h"

namespace tyld::binary {

class BinaryPageFormatDialog : public pages::PageFormatDialogFor<settings::BinaryPageFormat> {
  Q_OBJECT
 public:
  // The dialog reads and writes the live state through these references; they must
  // outlive it.
  BinaryPageFormatDialog(settings::BinaryPageFormat& format, settings::UnprintMargins& unprint,
            QWidget* parent = nullptr);

 protected:
  void CopyToLive() override;
  void ShowComputed() override;
};

}  // namespace tyld::binary
