#pragma once
// Small pieces the dialogs of both screens share: integer edits with the framework-style
// integer check, and the spin rows built from them. Controls carry object names, so
// callers and tests find them with findChild by what they are.
#include <QString>
#include <optional>

class QDialog;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace tyld::pages {

// The message shown when an edit does not hold an integer.
inline constexpr const char* kNotAnInteger = "整数を入力してください。";

// An edit for one int32, right-aligned, accepting only what can become an integer.
QLineEdit* MakeIntEdit(QWidget* parent);

// OK and Cancel (object names "ok" and "cancel") right-aligned in a row at the end of top,
// accepting and rejecting the dialog, which gets a fixed size. Returns the two buttons.
struct OkCancel {
  QPushButton* ok;
  QPushButton* cancel;
};
OkCancel AddOkCancelRow(QDialog* dialog, QVBoxLayout* top, const QString& okText, const QString& cancelText);

// The edit's integer, or nullopt after telling the user and selecting the edit.
std::optional<int> ReadInt(QWidget* owner, QLineEdit* edit);

// Sets the edit's text to the integer.
void ShowInt(QLineEdit* edit, int value);

// One row of a grid: label, integer edit and its spin arrows bounded to [min, max]; the
// edit is named `name`, the spin `name` + "Spin". Returns the edit.
QLineEdit* AddSpinRow(QWidget* owner, QGridLayout* grid, int row, const QString& label,
                      const QString& name, int min, int max);

}  // namespace tyld::pages
