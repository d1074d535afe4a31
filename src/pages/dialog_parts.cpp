#include "pages/dialog_parts.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
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

OkCancel AddOkCancelRow(QDialog* dialog, QVBoxLayout* top, const QString& okText, const QString& cancelText) {
  auto* row = new QHBoxLayout;
  auto* ok = new QPushButton(okText, dialog);
  auto* cancel = new QPushButton(cancelText, dialog);
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  top->addLayout(row);
  top->setSizeConstraint(QLayout::SetFixedSize);
  ok->setObjectName(QStringLiteral("ok"));
  cancel->setObjectName(QStringLiteral("cancel"));
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return {ok, cancel};
}

}  // namespace tyld::pages
