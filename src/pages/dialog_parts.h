#pragma once
// Small pieces the dialogs of both screens share: integer edits with the framework-style
// integer check, and a look-up of a dialog's controls by their resource ids.
#include <QHash>
#include <QString>
#include <optional>

class QGridLayout;
class QLineEdit;
class QWidget;

namespace tyld::pages {

// The message shown when an edit does not hold an integer.
inline constexpr const char* kNotAnInteger = "整数を入力してください。";

// An edit for one int32, right-aligned, accepting only what can become an integer.
QLineEdit* MakeIntEdit(QWidget* parent);

// The edit's integer, or nullopt after telling the user and selecting the edit.
std::optional<int> ReadInt(QWidget* owner, QLineEdit* edit);

// Sets the edit's text to the integer.
void ShowInt(QLineEdit* edit, int value);

class ControlMap;

// One row of a grid: label, integer edit and its spin arrows bounded to [min, max]; the
// edit and the spin are registered under their ids. Returns the edit.
QLineEdit* AddSpinRow(QWidget* owner, ControlMap& controls, QGridLayout* grid, int row,
                      const QString& label, int editId, int spinId, int min, int max);

// The controls of a dialog by resource id, so callers and tests address them as the
// dialog's documentation names them.
class ControlMap {
 public:
  void Add(int id, QWidget* widget) { map_.insert(id, widget); }
  template <class T>
  [[nodiscard]] T* Get(int id) const {
    return qobject_cast<T*>(map_.value(id));
  }

 private:
  QHash<int, QWidget*> map_;
};

}  // namespace tyld::pages
