#include "app/screen_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

namespace tyld::app {

ScreenFrame::ScreenFrame(QWidget* parent) : QMdiSubWindow(parent) {
  setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowMinMaxButtonsHint);
  if (QMenu* menu = systemMenu()) {
    for (QAction* a : menu->actions())
      if (a->shortcut() == QKeySequence::Close || a->text().contains(QStringLiteral("Close")))
        a->setEnabled(false);
  }
}

void ScreenFrame::closeEvent(QCloseEvent* event) {
  // Only the end of the program closes a screen.
  if (!property("closingApp").toBool()) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

QRect ScreenFrameRect(bool ascii, const QRect& area) {
  const int half = area.width() / 2;
  if (ascii) return QRect(0, 0, half, area.height());
  return QRect(half, 0, area.width() - half, area.height());
}

}  // namespace tyld::app
