#include "tools/entry_colour_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/dialog_keys.h"
#include "tools/dialog_support.h"

namespace tyld::tools {

EntryColourDialog::EntryColourDialog(const EntryColourLayout& layout, const std::array<QString, 4>& texts,
                                     const std::array<std::int32_t, 4>& colours, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(layout.caption);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(layout.editHeader.join(QLatin1Char('\n')), this), 0, 0);
  grid->addWidget(new QLabel(layout.colourHeader.join(QLatin1Char('\n')), this), 0, 2);
  for (int i = 0; i < 4; ++i) {
    auto* edit = new QLineEdit(texts[static_cast<std::size_t>(i)], this);
    QComboBox* combo = MakeColourCombo(this, colours[static_cast<std::size_t>(i)]);
    edits_[static_cast<std::size_t>(i)] = edit;
    combos_[static_cast<std::size_t>(i)] = combo;
    edit->setObjectName(QStringLiteral("text%1").arg(i));
    combo->setObjectName(QStringLiteral("colour%1").arg(i));
    grid->addWidget(edit, i + 1, 0);
    if (!layout.editSuffix.isEmpty()) grid->addWidget(new QLabel(layout.editSuffix, this), i + 1, 1);
    grid->addWidget(combo, i + 1, 2);
  }
  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  for (const QString& note : layout.notes) top->addWidget(new QLabel(note, this));
  const pages::OkCancel buttons = pages::AddOkCancelRow(this, top, QStringLiteral("OK"), QStringLiteral("ｷｬﾝｾﾙ"));
  buttons.ok->setAutoDefault(false);
  buttons.cancel->setAutoDefault(false);
  new platform::EditChain({edits_[0], edits_[1], edits_[2], edits_[3]}, buttons.ok, this);
  move(500, 100);
  edits_[0]->setFocus(Qt::OtherFocusReason);
  edits_[0]->selectAll();
}

int EntryColourDialog::Colour(int i) const { return combos_[static_cast<std::size_t>(i)]->currentIndex(); }

}  // namespace tyld::tools
