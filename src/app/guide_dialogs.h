#pragma once
// The fixed-text guide and information dialogs.
#include <QDialog>
#include <QStringList>

namespace tyld::app {

// A modal dialog that shows fixed lines of text and closes with its one button.
class GuideDialog : public QDialog {
  Q_OBJECT
 public:
  GuideDialog(const QString& caption, const QStringList& lines, const QString& button,
              QWidget* parent);
};

// The data-file type guide, the paper orientation guide and the software information.
GuideDialog* MakeDfTypeGuide(QWidget* parent);
GuideDialog* MakeOrientationGuide(QWidget* parent);
GuideDialog* MakeSwInfo(QWidget* parent);

}  // namespace tyld::app
