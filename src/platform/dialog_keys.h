#pragma once
// The keyboard rule every dialog with edit fields follows, and spin arrows with bounds.
#include <QObject>
#include <QPointer>
#include <QScrollBar>
#include <QVector>

class QLineEdit;
class QAbstractButton;

namespace tyld::platform {

// Tab or Enter in a listed edit moves to the next listed edit (from the last one to the OK
// button, or back to the first when there is none) and is consumed; Up and Down move to
// the previous or next edit without wrapping; an edit that gets the focus is selected whole.
class EditChain : public QObject {
  Q_OBJECT
 public:
  EditChain(QVector<QLineEdit*> edits, QAbstractButton* okButton, QObject* parent);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FocusIndex(int index);
  QVector<QLineEdit*> edits_;
  QPointer<QAbstractButton> ok_;
};

// A spin control: a small vertical scroll bar beside an edit holding an integer. The up
// arrow adds 1 and the down arrow subtracts 1, within [min, max].
class SpinArrows : public QScrollBar {
  Q_OBJECT
 public:
  SpinArrows(QLineEdit* edit, int min, int max, QWidget* parent);
  void SetBounds(int min, int max);
  [[nodiscard]] int Min() const { return min_; }
  [[nodiscard]] int Max() const { return max_; }
  // One step as the arrows do it: +1 for up, -1 for down.
  void Step(int delta);

 signals:
  void Stepped(int value);

 private:
  QLineEdit* edit_;
  int min_;
  int max_;
};

}  // namespace tyld::platform
