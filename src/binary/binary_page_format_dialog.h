#pragma once
// The binary screen's page format dialog: margins, line spacing, the printer's
// non-printable margins (shared with the ASCII screen), gaps, columns and blocks, and the
// footer, hex-case and CR+LF choices. Values reach the live state only on OK and on
// "表示再調整"; the latter also has the binary screen rebuild and reloads the values the
// rebuild left.
#include "binary/binary_layout.h"
#include "pages/page_format_dialog.h"
#include "settings/page_format.h"

namespace tyld::binary {

class BinaryPageFormatDialog : public pages::PageFormatDialogFor<settings::BinaryPageFormat> {
  Q_OBJECT
 public:
  // The dialog reads and writes the live state through these references; they must
  // outlive it.
  // layout: the screen's layout, whose maxima the dialog shows; the screen rebuilds it.
  BinaryPageFormatDialog(settings::BinaryPageFormat& format, settings::UnprintMargins& unprint,
                         const BinaryLayout& layout, QWidget* parent = nullptr);

 protected:
  void CopyToLive() override;
  void ShowComputed() override;

 private:
  const BinaryLayout& layout_;
};

}  // namespace tyld::binary
