#pragma once
// A screen's MDI child frame. Its close item is disabled: a screen cannot be closed alone.
#include <QMdiSubWindow>

namespace tyld::app {

class ScreenFrame : public QMdiSubWindow {
  Q_OBJECT
 public:
  explicit ScreenFrame(QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* event) override;
};

// Where a screen's frame stands in the main window's client area: the ASCII screen on the
// left half, the binary screen on the right half, so both pages show side by side.
QRect ScreenFrameRect(bool ascii, const QRect& mdiArea);

}  // namespace tyld::app
