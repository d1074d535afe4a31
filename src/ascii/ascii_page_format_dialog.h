#pragma once
// The ASCII screen's page format dialog: margins, line spacing, the printer's
// non-printable margins (shared with the binary screen), column gap and count, TAB width
// and the footer choices, with the resulting maxima shown. Values reach the live state
// only on OK and on "表示再調整"; the latter also has the ASCII screen rebuild and reloads
// the values the rebuild left.
#include "ascii/ascii_layout.h"
#include "pages/page_format_dialog.h"
#include "settings/page_format.h"

class QCheckBox;

namespace tyld::ascii {

class AsciiPageFormatDialog : public pages::PageFormatDialogFor<settings::AsciiPageFormat> {
  Q_OBJECT
 public:
  // The dialog reads and writes the live state through these references; they must
  // outlive it.
  // layout: the screen's layout, whose maxima the dialog shows; the screen rebuilds it.
  // lineBreakRules: the live line-breaking switch (checkbox lineBreakRules); null keeps the
  // dialog's own.
  AsciiPageFormatDialog(settings::AsciiPageFormat& format, settings::UnprintMargins& unprint,
                         const AsciiLayout& layout, QWidget* parent = nullptr, bool* lineBreakRules = nullptr);

 protected:
  void CopyFromLive() override;
  void CopyToLive() override;
  void ShowComputed() override;

 private:
  const AsciiLayout& layout_;
  bool ownLineBreakRules_ = false;
  bool* liveLineBreakRules_;
  QCheckBox* lineBreakRules_ = nullptr;
};

}  // namespace tyld::ascii
