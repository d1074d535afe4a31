#pragma once
// Checks shared by the dialog tests: the keyboard walk through a dialog's edits.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QVector>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>

#include "platform/dialog_keys.h"

namespace tyld::testing_support {

// Shows the dialog without blocking and makes it the active window.
inline void OpenActive(QDialog& dlg) {
  dlg.open();
  dlg.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
}

inline void ExpectWholeTextSelected(QLineEdit* edit) {
  EXPECT_TRUE(edit->hasSelectedText());
  EXPECT_EQ(edit->selectedText(), edit->text());
}

// Tab and Enter walk the edits in order and end on OK without closing the dialog; Up and
// Down move one edit without wrapping; each edit reached has its whole text selected.
inline void ExpectEditWalk(QDialog& dlg, const QVector<QLineEdit*>& order, QAbstractButton* ok) {
  ASSERT_FALSE(order.isEmpty());
  EXPECT_EQ(dlg.focusWidget(), order.front());
  for (int i = 0; i < order.size(); ++i) {
    order[i]->setFocus();
    const Qt::Key key = i % 2 == 0 ? Qt::Key_Tab : Qt::Key_Return;
    QTest::keyClick(order[i], key);
    if (i + 1 < order.size()) {
      EXPECT_EQ(dlg.focusWidget(), order[i + 1]) << "after edit " << i;
      ExpectWholeTextSelected(order[i + 1]);
    } else {
      EXPECT_EQ(dlg.focusWidget(), ok);
    }
  }
  EXPECT_TRUE(dlg.isVisible()) << "Enter in the last edit must not close the dialog";

  order.front()->setFocus();
  QTest::keyClick(order.front(), Qt::Key_Up);
  EXPECT_EQ(dlg.focusWidget(), order.front());
  QTest::keyClick(order.front(), Qt::Key_Down);
  if (order.size() > 1) {
    EXPECT_EQ(dlg.focusWidget(), order[1]);
    ExpectWholeTextSelected(order[1]);
    QTest::keyClick(order[1], Qt::Key_Up);
    EXPECT_EQ(dlg.focusWidget(), order.front());
  }
  order.back()->setFocus();
  QTest::keyClick(order.back(), Qt::Key_Down);
  EXPECT_EQ(dlg.focusWidget(), order.back());
}

// One arrow press on a fresh dialog: the edit holds `from` before and `to` after.
// `edit` names the edit; its spin arrows are named the same plus "Spin".
struct SpinStep {
  const char* edit;
  const char* from;
  int delta;
  const char* to;
};

template <class MakeDialog>
void ExpectSpinSteps(MakeDialog make, std::initializer_list<SpinStep> steps) {
  for (const SpinStep& s : steps) {
    auto dlg = make();
    dlg->template findChild<QLineEdit*>(s.edit)->setText(s.from);
    dlg->template findChild<platform::SpinArrows*>(QString::fromLatin1(s.edit) + "Spin")->Step(s.delta);
    EXPECT_EQ(dlg->template findChild<QLineEdit*>(s.edit)->text(), s.to)
        << s.edit << " spin from " << s.from;
  }
}

}  // namespace tyld::testing_support
