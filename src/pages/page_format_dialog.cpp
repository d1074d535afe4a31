#include "pages/page_format_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/dialog_keys.h"
#include "platform/message_box.h"

namespace tyld::pages {

PageFormatDialog::PageFormatDialog(const QString& caption, settings::UnprintMargins& unprint, QWidget* parent)
    : QDialog(parent), liveUnprint_(unprint), unprint_(unprint) {
  setWindowTitle(caption);
}

PageFormatDialog::~PageFormatDialog() = default;

QLineEdit* PageFormatDialog::AddField(QGridLayout* grid, int row, const QString& label,
                                    const QString& unit, const QString& name,
                                    std::int32_t* value, int min, int max) {
  QLineEdit* edit = AddSpinRow(this, grid, row, label, name, min, max);
  if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, this), row, 3);
  fields_.push_back({edit, value});
  return edit;
}

QGroupBox* PageFormatDialog::AddMarginsBox(std::int32_t* top, std::int32_t* bottom,
                                         std::int32_t* left, std::int32_t* lineSpacing) {
  const QString mm = QStringLiteral("mm");
  auto* box = new QGroupBox(QStringLiteral("余白"), this);
  auto* grid = new QGridLayout(box);
  AddField(grid, 0, QStringLiteral("上部"), mm, QStringLiteral("marginTop"), top, 0, kNoLimit);
  AddField(grid, 1, QStringLiteral("下部"), mm, QStringLiteral("marginBottom"), bottom, 0, kNoLimit);
  AddField(grid, 2, QStringLiteral("左側"), mm, QStringLiteral("marginLeft"), left, 0, kNoLimit);
  AddField(grid, 3, QStringLiteral("行間"), QStringLiteral("*H/10"), QStringLiteral("lineSpacing"),
           lineSpacing, kMinLineSpacing, kNoLimit);
  grid->addWidget(new QLabel(QStringLiteral("H=文字高さ"), box), 4, 1, 1, 3);
  return box;
}

QGroupBox* PageFormatDialog::AddUnprintBox(const QString& note) {
  const QString mm = QStringLiteral("mm");
  auto* box = new QGroupBox(QStringLiteral("プリンタ無効領域"), this);
  auto* grid = new QGridLayout(box);
  AddField(grid, 0, QStringLiteral("上部"), mm, QStringLiteral("unprintTop"), &unprint_.top, 0,
           kNoLimit);
  AddField(grid, 1, QStringLiteral("下部"), mm, QStringLiteral("unprintBottom"), &unprint_.bottom,
           0, kNoLimit);
  AddField(grid, 2, QStringLiteral("左側"), mm, QStringLiteral("unprintLeft"), &unprint_.left, 0,
           kNoLimit);
  AddField(grid, 3, QStringLiteral("右側"), mm, QStringLiteral("unprintRight"), &unprint_.right, 0,
           kNoLimit);
  if (!note.isEmpty()) grid->addWidget(new QLabel(note, box), 4, 0, 1, 4);
  return box;
}

QWidget* PageFormatDialog::AddRadios(const QString& title, const QStringList& labels,
                                   const QStringList& names, std::int32_t* value) {
  auto* box = new QGroupBox(title, this);
  auto* lay = new QHBoxLayout(box);
  auto* group = new QButtonGroup(box);
  for (int i = 0; i < labels.size(); ++i) {
    auto* b = new QRadioButton(labels[i], box);
    group->addButton(b, i);
    lay->addWidget(b);
    b->setObjectName(names.value(i));
  }
  radios_.push_back({group, value});
  return box;
}

QLabel* PageFormatDialog::AddNumber(const QString& name) {
  auto* label = new QLabel(this);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 8);
  label->setObjectName(name);
  return label;
}

void PageFormatDialog::Finish(QLayout* body, const QStringList& notes,
                            const QStringList& editOrder) {
  auto* top = new QVBoxLayout(this);
  top->addLayout(body);
  for (const QString& n : notes) top->addWidget(new QLabel(n, this));
  auto* buttons = new QHBoxLayout;
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  auto* readjust = new QPushButton(QStringLiteral("表示再調整"), this);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);
  buttons->addStretch();
  buttons->addWidget(readjust);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);
  ok_->setObjectName(QStringLiteral("ok"));
  cancel->setObjectName(QStringLiteral("cancel"));
  readjust->setObjectName(QStringLiteral("readjust"));
  connect(ok_, &QPushButton::clicked, this, &PageFormatDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &PageFormatDialog::reject);
  connect(readjust, &QPushButton::clicked, this, &PageFormatDialog::Readjust);

  for (const QString& name : editOrder) order_.push_back(findChild<QLineEdit*>(name));
  new platform::EditChain(order_, ok_, this);
  move(400, 100);
  Load();
  if (!order_.isEmpty()) {
    order_.front()->setFocus(Qt::OtherFocusReason);
    order_.front()->selectAll();
  }
}

void PageFormatDialog::ShowValues() {
  for (const Field& f : fields_) ShowInt(f.edit, *f.value);
  for (const Radios& r : radios_) {
    QAbstractButton* b = r.group->button(*r.value);
    if (b != nullptr) {
      b->setChecked(true);
    } else {
      // A stored value without a button: show none checked, keep the value.
      r.group->setExclusive(false);
      for (QAbstractButton* each : r.group->buttons()) each->setChecked(false);
      r.group->setExclusive(true);
    }
  }
  ShowComputed();
  update();
}

void PageFormatDialog::Load() {
  unprint_ = liveUnprint_;
  CopyFromLive();
  ShowValues();
}

bool PageFormatDialog::Store() {
  // All edits are checked before anything changes, so a refused entry applies nothing.
  QVector<int> read;
  for (const Field& f : fields_) {
    const std::optional<int> v = ReadInt(this, f.edit);
    if (!v) return false;
    read.push_back(*v);
  }
  for (int i = 0; i < fields_.size(); ++i) {
    // Less than the character height between rows would print them over each other.
    if (fields_[i].edit->objectName() == QStringLiteral("lineSpacing") && read[i] < kMinLineSpacing) {
      platform::MessageBox(this, QStringLiteral("行間は%1以上を指定してください。").arg(kMinLineSpacing),
                           QStringLiteral("確認要求"));
      fields_[i].edit->setFocus(Qt::OtherFocusReason);
      fields_[i].edit->selectAll();
      return false;
    }
  }
  for (int i = 0; i < fields_.size(); ++i) *fields_[i].value = read[i];
  for (const Radios& r : radios_) {
    if (r.group->checkedId() >= 0) *r.value = r.group->checkedId();
  }
  liveUnprint_ = unprint_;  // the ASCII and binary screens share these
  CopyToLive();
  return true;
}

void PageFormatDialog::Readjust() {
  if (!Store()) return;
  emit ReadjustRequested();
  Load();
}

void PageFormatDialog::accept() {
  if (Store()) QDialog::accept();
}

}  // namespace tyld::pages
