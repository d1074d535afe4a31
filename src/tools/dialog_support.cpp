#include "tools/dialog_support.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "platform/codepage.h"
#include "platform/message_box.h"
#include "search/colour_index.h"

namespace tyld::tools {
namespace {
ScopedSaveFileAnswer*& SaveSeam() {
  static ScopedSaveFileAnswer* seam = nullptr;
  return seam;
}
}  // namespace

QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Sjis(const QString& text) {
  return platform::codepage::FromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

QComboBox* MakeColourCombo(QWidget* parent, std::int32_t stored) {
  auto* combo = new QComboBox(parent);
  for (std::string_view name : search::HighlightColourName) combo->addItem(Q(name));
  combo->setCurrentIndex(search::ComboColourIndex(stored));
  return combo;
}

void ShowNotice(QWidget* owner, const search::Notice& notice) {
  platform::MessageBox(owner, Q(notice.text), Q(notice.caption));
}

void MakeHexEdit(QLineEdit* edit, int maxChars, bool spaces) {
  edit->setMaxLength(maxChars);
  const QString pattern = spaces ? QStringLiteral("[0-9A-Fa-f ]*") : QStringLiteral("[0-9A-Fa-f]*");
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
  QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
    const QString upper = text.toUpper();
    if (upper == text) return;
    const int cursor = edit->cursorPosition();
    edit->setText(upper);
    edit->setCursorPosition(cursor);
  });
}

QString AskSaveFileName(QWidget* owner, const SaveFileRequest& request) {
  if (ScopedSaveFileAnswer* seam = SaveSeam()) {
    seam->requests_.push_back(request);
    return seam->answer_;
  }
  QFileDialog dialog(owner, request.caption);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(request.filters);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.initialName.isEmpty()) dialog.selectFile(request.initialName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

ScopedSaveFileAnswer::ScopedSaveFileAnswer(QString answer) : answer_(std::move(answer)) { SaveSeam() = this; }
ScopedSaveFileAnswer::~ScopedSaveFileAnswer() { SaveSeam() = nullptr; }

}  // namespace tyld::tools
