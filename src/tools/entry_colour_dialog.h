#pragma once
// The modal dialog shape both search dialogs share: four edits, each with a colour combo
// box, OK and Cancel, at (500, 100); Tab and Enter walk the edits and end on OK.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "pages/dialog_parts.h"

class QLineEdit;
class QComboBox;

namespace tyld::tools {

struct EntryColourLayout {
  QString caption;
  QStringList editHeader;    // lines over the edits
  QStringList colourHeader;  // lines over the combo boxes
  QStringList notes;         // lines under the rows
  QString editSuffix;        // shown right of each edit ("H"), or empty
};

class EntryColourDialog : public QDialog {
  Q_OBJECT
 public:
  // Controls by object name: edits text0..3, colour combo boxes colour0..3, ok, cancel.

 protected:
  EntryColourDialog(const EntryColourLayout& layout, const std::array<QString, 4>& texts,
                    const std::array<std::int32_t, 4>& colours, QWidget* parent);
  [[nodiscard]] QLineEdit* Edit(int i) const { return edits_[static_cast<std::size_t>(i)]; }
  [[nodiscard]] int Colour(int i) const;

 private:
  std::array<QLineEdit*, 4> edits_{};
  std::array<QComboBox*, 4> combos_{};
};

}  // namespace tyld::tools
