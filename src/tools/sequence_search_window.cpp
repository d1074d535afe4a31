#include "tools/sequence_search_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/dialog_keys.h"
#include "tools/dialog_support.h"
#include "search/hex_text.h"

namespace tyld::tools {

SequenceSearchWindow::SequenceSearchWindow(search::SequenceSearchState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("バイト列サーチ"));
  auto* top = new QVBoxLayout(this);
  top->addWidget(new QLabel(QStringLiteral("サーチバイト列データ（16進表記）\n大小文字区別なし"), this));
  auto* bytes = new QGridLayout;
  QVector<QLineEdit*> order;
  for (int i = 0; i < search::kPatternBytes; ++i) {
    auto* edit = new QLineEdit(Q(search::HexByteText(state_.PatternByte[static_cast<std::size_t>(i)])), this);
    MakeHexEdit(edit, 2, false);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFixedWidth(36);
    edit->setObjectName(QStringLiteral("patternByte%1").arg(i));
    pattern_[static_cast<std::size_t>(i)] = edit;
    order << edit;
    bytes->addWidget(edit, 0, i * 2);
    bytes->addWidget(new QLabel(QStringLiteral("H"), this), 0, i * 2 + 1);
  }
  top->addLayout(bytes);

  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel(QStringLiteral("サーチバイト数"), this));
  QLineEdit* count = pages::MakeIntEdit(this);
  count->setFixedWidth(40);
  pages::ShowInt(count, state_.PatternLength);
  auto* spin = new platform::SpinArrows(count, 1, search::kPatternBytes, this);
  count->setObjectName(QStringLiteral("patternLength"));
  spin->setObjectName(QStringLiteral("patternLengthSpin"));
  length_ = count;
  order << count;
  countRow->addWidget(count);
  countRow->addWidget(spin);
  auto* search = new QPushButton(QStringLiteral("サーチ"), this);
  search->setAutoDefault(false);
  search->setObjectName(QStringLiteral("search"));
  countRow->addWidget(search);
  countRow->addStretch();
  top->addLayout(countRow);

  auto* resultRow = new QHBoxLayout;
  auto* resultCount = new QLabel(this);
  resultCount->setMinimumWidth(30);
  resultCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* list = new QComboBox(this);
  list->setMinimumContentsLength(22);
  auto* output = new QPushButton(QStringLiteral("DF\n出力"), this);
  output->setAutoDefault(false);
  resultCount->setObjectName(QStringLiteral("resultCount"));
  list->setObjectName(QStringLiteral("results"));
  output->setObjectName(QStringLiteral("writeResults"));
  resultCount_ = resultCount;
  results_ = list;
  resultRow->addWidget(new QLabel(QStringLiteral("サーチ結果"), this));
  resultRow->addWidget(resultCount);
  resultRow->addWidget(new QLabel(QStringLiteral("組"), this));
  resultRow->addWidget(list);
  resultRow->addWidget(output);
  top->addLayout(resultRow);
  auto* note = new QLabel(QStringLiteral("前づめでサーチバイト列を指定バイト数だけ定義ください。指定バイト列をサーチします。"
                                         "サーチされたバイト列は赤色表示されます。"),
                          this);
  note->setWordWrap(true);
  note->setFixedWidth(420);
  top->addWidget(note);
  top->setSizeConstraint(QLayout::SetFixedSize);

  // No OK button: Tab or Enter in the byte count goes back to the first byte.
  new platform::EditChain(order, nullptr, this);
  connect(search, &QPushButton::clicked, this, &SequenceSearchWindow::Search);
  connect(output, &QPushButton::clicked, this, &SequenceSearchWindow::WriteResults);
  // activated: the user's choice only, not the selection RefreshList makes.
  connect(list, &QComboBox::activated, this, [this](int index) {
    if (index < 0 || index >= state_.ResultCount()) return;
    emit JumpRequested(static_cast<qint64>(state_.ResultAddress[static_cast<std::size_t>(index)]),
                       state_.PatternLength);
  });
  move(500, 100);
  order.front()->setFocus(Qt::OtherFocusReason);
  order.front()->selectAll();
}

void SequenceSearchWindow::Search() {
  search::SequenceSearchRequest request;
  for (int i = 0; i < search::kPatternBytes; ++i)
    request.text[static_cast<std::size_t>(i)] = Sjis(pattern_[static_cast<std::size_t>(i)]->text());
  bool number = false;
  const int count = length_->text().trimmed().toInt(&number);
  request.count = number ? count : 0;  // not a number: refused like 0
  if (const std::optional<search::Notice> refused = search::ConfirmSequenceSearch(request, state_)) {
    ShowNotice(this, *refused);
    return;
  }
  emit SearchRequested();
}

void SequenceSearchWindow::RefreshList() {
  resultCount_->setText(QString::number(state_.ResultCount()));
  QComboBox* list = results_;
  list->clear();
  for (int i = 0; i < state_.ResultCount(); ++i)
    list->addItem(Q(search::ResultListLine(i, state_.ResultAddress[static_cast<std::size_t>(i)])));
  if (list->count() > 0) list->setCurrentIndex(0);
}

void SequenceSearchWindow::WriteResults() {
  const QString path = AskSaveFileName(
      this, {QStringLiteral("名前を付けて保存"), QString(),
             {QStringLiteral("txt (*.txt)"), QStringLiteral("All Files (*)")}, QStringLiteral("txt")});
  if (path.isEmpty()) return;
  const platform::FileWriteResult written = search::WriteResultFile(path.toStdString(), state_);
  if (written.ok) {
    ShowNotice(this, search::kResultFileWritten);
  } else {
    ShowNotice(this, {search::kResultFileOpenFailed.text + "\n" + written.error, search::kResultFileOpenFailed.caption});
  }
}

void SequenceSearchWindow::closeEvent(QCloseEvent* event) {
  emit Closed();
  event->accept();
}

}  // namespace tyld::tools
