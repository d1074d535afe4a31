#include "platform/dialog_keys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

namespace tyld::platform {

EditChain::EditChain(QVector<QLineEdit*> edits, QAbstractButton* okButton, QObject* parent)
    : QObject(parent), edits_(std::move(edits)), ok_(okButton) {
  for (QLineEdit* e : edits_) e->installEventFilter(this);
}

void EditChain::FocusIndex(int index) {
  if (index < 0 || index >= edits_.size()) return;
  edits_[index]->setFocus(Qt::TabFocusReason);
  edits_[index]->selectAll();
}

bool EditChain::eventFilter(QObject* watched, QEvent* event) {
  // Compared as objects: the watched one may be any object (even one being destroyed).
  const auto it = std::find_if(edits_.cbegin(), edits_.cend(),
                               [watched](const QLineEdit* e) { return static_cast<const QObject*>(e) == watched; });
  const int index = it == edits_.cend() ? -1 : static_cast<int>(it - edits_.cbegin());
  if (index < 0) return false;
  if (event->type() == QEvent::FocusIn) {
    QPointer<QLineEdit> edit = edits_[index];
    // Select after the focus change settles, or a mouse click would undo the selection.
    QTimer::singleShot(0, edit, [edit] {
      if (edit) edit->selectAll();
    });
    return false;
  }
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const int k = key->key();
  const bool next = k == Qt::Key_Tab || k == Qt::Key_Return || k == Qt::Key_Enter;
  if (!next && k != Qt::Key_Up && k != Qt::Key_Down) return false;
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();  // keep Enter from reaching the default button
    return true;
  }
  if (next) {
    if (index + 1 < edits_.size()) {
      FocusIndex(index + 1);
    } else if (ok_) {
      ok_->setFocus(Qt::TabFocusReason);
    } else {
      FocusIndex(0);
    }
  } else if (k == Qt::Key_Up) {
    FocusIndex(std::max(0, index - 1));
  } else {
    FocusIndex(std::min(static_cast<int>(edits_.size()) - 1, index + 1));
  }
  return true;
}

SpinArrows::SpinArrows(QLineEdit* edit, int min, int max, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent), edit_(edit), min_(min), max_(max) {
  setRange(-1, 1);
  setValue(0);
  setPageStep(1);
  setFixedWidth(16);
  connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
    if (action == QAbstractSlider::SliderSingleStepSub) Step(+1);       // up arrow
    else if (action == QAbstractSlider::SliderSingleStepAdd) Step(-1);  // down arrow
    QTimer::singleShot(0, this, [this] { setValue(0); });
  });
}

void SpinArrows::SetBounds(int min, int max) {
  min_ = min;
  max_ = max;
}

void SpinArrows::Step(int delta) {
  bool ok = false;
  int v = edit_->text().trimmed().toInt(&ok);
  if (!ok) v = 0;
  v = std::clamp(v + delta, min_, std::max(min_, max_));
  edit_->setText(QString::number(v));
  emit Stepped(v);
}

}  // namespace tyld::platform
