#include "binary/dialog_parts.h"

#include <QIntValidator>
#include <QLineEdit>
#include <limits>

#include "platform/message_box.h"

namespace tyld::binary {

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

void ShowInt(QLineEdit* edit, int value) { edit->setText(QString::number(value)); }

}  // namespace tyld::binary
