#include "pages/dialog_parts.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <limits>

#include "platform/dialog_keys.h"
#include "platform/message_box.h"

namespace tyld::pages {

QLineEdit* MakeIntEdit(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setAlignment(Qt::AlignRight);
  edit->setValidator(new QIntValidator(std::numeric_limits<int>::min(),
                                       std::numeric_limits<int>::max(), edit));
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-00000")) + 12);
  return edit;
}

std::optional<int> ReadInt(QWidget* owner, QLineEdit* edit) {
  bool ok = false;
  const int v = edit->text().trimmed().toInt(&ok);
  if (ok) return v;
  platform::MessageBox(owner, QString::fromUtf8(kNotAnInteger), QStringLiteral("確認要求"));
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
  return std::nullopt;
}

QLineEdit* AddSpinRow(QWidget* owner, QGridLayout* grid, int row, const QString& label,
                      const QString& name, int min, int max) {
  QLineEdit* edit = MakeIntEdit(owner);
  auto* spin = new platform::SpinArrows(edit, min, max, owner);
  spin->setFixedHeight(edit->sizeHint().height());
  grid->addWidget(new QLabel(label, owner), row, 0);
  grid->addWidget(edit, row, 1);
  grid->addWidget(spin, row, 2);
  edit->setObjectName(name);
  spin->setObjectName(name + QStringLiteral("Spin"));
  return edit;
}

void ShowInt(QLineEdit* edit, int value) { edit->setText(QString::number(value)); }

}  // namespace tyld::pages
