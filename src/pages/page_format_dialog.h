#pragma once
// What the page format dialogs of the two screens have in common: integer fields with
// spin arrows bound to the dialog's own copy of the values, radio groups, the keyboard
// rule, OK/Cancel, and "表示再調整": apply, have the screen rebuild (ReadjustRequested),
// then show the values the rebuild left.
#include <QDialog>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <limits>

#include "pages/dialog_parts.h"
#include "settings/page_format.h"

class QAbstractButton;
class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace tyld::platform {
class SpinArrows;
}

namespace tyld::pages {

class PageFormatDialog : public QDialog {
  Q_OBJECT
 public:
  // Upper bound of the spins that have none.
  static constexpr int kNoLimit = std::numeric_limits<int>::max();
  // The smallest line spacing (tenths of the character height added): rows just touch.
  static constexpr int kMinLineSpacing = 0;

  ~PageFormatDialog() override;

  // Controls carry object names: each edit its field's name and its spin the name plus
  // "Spin", each radio button its choice, the computed numbers theirs, and the buttons
  // ok, cancel and readjust ("表示再調整").

  // Reads the controls and applies every value to the live state; false, with nothing
  // applied, when an edit does not hold an integer.
  bool Store();
  // "表示再調整": apply, have the screen rebuild while the dialog stays open, then load
  // what the rebuild left.
  void Readjust();
  // Copies the live values into the dialog and shows them.
  void Load();

  void accept() override;

 signals:
  // The values were applied; the screen rebuilds before this returns.
  void ReadjustRequested();

 protected:
  // unprint: the live non-printable margins both screens share; it must outlive the dialog.
  PageFormatDialog(const QString& caption, settings::UnprintMargins& unprint, QWidget* parent);

  // "余白": top, bottom and left margin (mm) and the line spacing (tenths of H).
  QGroupBox* AddMarginsBox(std::int32_t* top, std::int32_t* bottom, std::int32_t* left,
                           std::int32_t* lineSpacing);
  // "プリンタ無効領域": the shared non-printable margins, with an optional note under them.
  QGroupBox* AddUnprintBox(const QString& note);

  // Adds label, edit (named `name`), spin arrows and unit on one row of the grid, bound
  // to *value.
  QLineEdit* AddField(QGridLayout* grid, int row, const QString& label, const QString& unit,
                      const QString& name, std::int32_t* value, int min, int max);
  // A group of radio buttons whose index is *value; `names` name the buttons in order.
  QWidget* AddRadios(const QString& title, const QStringList& labels, const QStringList& names,
                     std::int32_t* value);
  // A static text showing a computed number, under "max".
  QLabel* AddNumber(const QString& name);
  // Lays out the body, the notes over the buttons and the buttons; sets up the keys,
  // position and focus, and loads the values. Call last from the derived constructor.
  void Finish(QLayout* body, const QStringList& notes, const QStringList& editOrder);

  // Live page format -> the dialog's copy (stored values and the computed maxima).
  virtual void CopyFromLive() = 0;
  // The dialog's copy -> live page format, stored values only.
  virtual void CopyToLive() = 0;
  // Shows the computed numbers and bounds the spins that depend on them.
  virtual void ShowComputed() = 0;

 private:
  struct Field {
    QLineEdit* edit;
    std::int32_t* value;
  };
  struct Radios {
    QButtonGroup* group;
    std::int32_t* value;
  };
  void ShowValues();

  settings::UnprintMargins& liveUnprint_;
  settings::UnprintMargins unprint_;
  QVector<Field> fields_;
  QVector<Radios> radios_;
  QVector<QLineEdit*> order_;
  QPushButton* ok_ = nullptr;
};

// A page format dialog over one screen's format struct, of which it keeps its own copy.
template <class Format>
class PageFormatDialogFor : public PageFormatDialog {
 protected:
  PageFormatDialogFor(Format& format, const QString& caption, settings::UnprintMargins& unprint,
                      QWidget* parent)
      : PageFormatDialog(caption, unprint, parent), live_(format), v_(format) {}
  void CopyFromLive() override { v_ = live_; }

  Format& live_;
  Format v_;
};

}  // namespace tyld::pages
