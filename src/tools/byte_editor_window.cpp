#include "tools/byte_editor_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "document/document_buffer.h"
#include "platform/dialog_keys.h"
#include "tools/dialog_support.h"

namespace tyld::tools {
namespace {

struct BarSpec {
  const char* name;
  search::AddressBar bar;
};
constexpr BarSpec kBars[] = {{"by1Bar", search::AddressBar::By1},
                             {"by10Bar", search::AddressBar::By10},
                             {"by100Bar", search::AddressBar::By100},
                             {"by1000Bar", search::AddressBar::By1000}};

QLabel* WrappedLabel(const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  l->setWordWrap(true);
  return l;
}

}  // namespace

ByteEditorWindow::ByteEditorWindow(document::DocumentBuffer& doc, std::uint32_t& start, QWidget* parent)
    : QDialog(parent), doc_(doc), start_(start) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("バイトデータメンテ（モーダレス、親画面操作可）"));
  auto* top = new QHBoxLayout(this);

  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("アドレス,16進"), this));
  auto* addressRow = new QHBoxLayout;
  auto* address = new QLineEdit(this);
  MakeHexEdit(address, 8, false);
  address->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  address->setFixedWidth(90);
  address->setObjectName(QStringLiteral("address"));
  address_ = address;
  addressRow->addWidget(address);
  for (const BarSpec& b : kBars) {
    auto* bar = new QScrollBar(Qt::Vertical, this);
    bar->setRange(-1, 1);
    bar->setValue(0);
    bar->setFixedSize(16, 40);
    bar->setObjectName(QString::fromLatin1(b.name));
    addressRow->addWidget(bar);
    const search::AddressBar step = b.bar;
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, step](int action) {
      Scroll(step, action == QAbstractSlider::SliderSingleStepSub   ? search::ScrollStep::LineUp
                   : action == QAbstractSlider::SliderSingleStepAdd ? search::ScrollStep::LineDown
                                                                    : search::ScrollStep::Other);
      QTimer::singleShot(0, bar, [bar] { bar->setValue(0); });
    });
  }
  left->addLayout(addressRow);
  auto* barLabels = new QLabel(QStringLiteral("　　　　　　　　 1　 10　100 1000"), this);
  left->addWidget(barLabels);
  auto* range = new QLabel(this);
  range->setObjectName(QStringLiteral("addressRange"));
  range_ = range;
  left->addWidget(range);
  for (const char* t : {"数値＋リターンでデータ表示", "０～９、Ａ～Ｆ", "大小文字可", "unsigned char"})
    left->addWidget(new QLabel(QString::fromUtf8(t), this));
  left->addStretch();
  top->addLayout(left);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("現データ"), this), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("修正データ"), this), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("バイト,16進"), this), 1, 2);
  QVector<QLineEdit*> order{address};
  for (int i = 0; i < search::kMaintenanceBytes; ++i) {
    grid->addWidget(new QLabel(QStringLiteral("+%1").arg(i), this), i + 2, 0);
    auto* current = new QLabel(this);
    current->setAlignment(Qt::AlignCenter);
    current->setMinimumWidth(30);
    current->setObjectName(QStringLiteral("currentByte%1").arg(i));
    current_[static_cast<std::size_t>(i)] = current;
    grid->addWidget(current, i + 2, 1);
    auto* value = new QLineEdit(this);
    MakeHexEdit(value, 2, true);
    value->setAlignment(Qt::AlignCenter);
    value->setFixedWidth(36);
    value->setObjectName(QStringLiteral("newByte%1").arg(i));
    newValues_[static_cast<std::size_t>(i)] = value;
    order << value;
    grid->addWidget(value, i + 2, 2);
  }
  auto* write = new QPushButton(QStringLiteral("データ書替"), this);
  write->setAutoDefault(false);
  write->setObjectName(QStringLiteral("write"));
  grid->addWidget(write, search::kMaintenanceBytes + 2, 1, 1, 2);
  top->addLayout(grid);

  auto* notes = new QVBoxLayout;
  for (const char* t :
       {"修正するところだけ、修正データを指定ください。「データ書替」ボタンをクリックしたときに、表示されている１０バイトのみを更新します。",
        "ＤＦを更新するときは、本ソフトのクローズ前に「ファイル書き換え」メニューを実行ください。",
        "外と表示されているデータはファイルの範囲外で、修正できません。修正データは無視されます。"}) {
    QLabel* l = WrappedLabel(QString::fromUtf8(t), this);
    l->setFixedWidth(220);
    notes->addWidget(l);
  }
  notes->addStretch();
  top->addLayout(notes);
  top->setSizeConstraint(QLayout::SetFixedSize);

  // From the last new value Tab or Enter goes back to the address. The window's own filter
  // is installed after the chain's, so it reads the address before the focus moves on.
  new platform::EditChain(order, nullptr, this);
  address->installEventFilter(this);
  connect(write, &QPushButton::clicked, this, &ByteEditorWindow::WriteValues);
  // Edits, undo and redo from anywhere, and new data, show at once.
  connect(&doc_, &document::DocumentBuffer::Changed, this, &ByteEditorWindow::ShowCurrentBytes);
  connect(&doc_, &document::DocumentBuffer::Loaded, this, &ByteEditorWindow::ShowCurrentBytes);

  move(550, 100);
  start_ = 0;
  address->setText(QStringLiteral("0"));
  ClearNewValues();
  ShowCurrentBytes();
  address->setFocus(Qt::OtherFocusReason);
  address->selectAll();
}

bool ByteEditorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == address_ && event->type() == QEvent::KeyPress) {
    const int k = static_cast<QKeyEvent*>(event)->key();
    if (k == Qt::Key_Tab || k == Qt::Key_Return || k == Qt::Key_Enter) EnterAddress();
  }
  return false;
}

void ByteEditorWindow::ReadAddress() {
  start_ = search::ReadMaintenanceAddress(Sjis(address_->text()));
}

void ByteEditorWindow::ShowAddress() {
  address_->setText(Q(search::MaintenanceAddressText(start_)));
}

void ByteEditorWindow::ShowCurrentBytes() {
  const std::span<const std::uint8_t> data = std::as_const(doc_).Data();
  range_->setText(Q(search::MaintenanceRangeText(data.size())));
  const auto texts = search::CurrentByteTexts(data, start_);
  for (int i = 0; i < search::kMaintenanceBytes; ++i)
    current_[static_cast<std::size_t>(i)]->setText(Q(texts[static_cast<std::size_t>(i)]));
}

void ByteEditorWindow::ClearNewValues() {
  for (int i = 0; i < search::kMaintenanceBytes; ++i)
    newValues_[static_cast<std::size_t>(i)]->setText(QStringLiteral("  "));
}

void ByteEditorWindow::EnterAddress() {
  ReadAddress();
  ShowAddress();
  ShowCurrentBytes();
}

void ByteEditorWindow::Scroll(search::AddressBar bar, search::ScrollStep step) {
  ReadAddress();
  start_ = search::ScrollMaintenanceAddress(start_, doc_.Data().size(), bar, step);
  if (step == search::ScrollStep::Other) return;
  ShowCurrentBytes();
  ShowAddress();
  ClearNewValues();
}

void ByteEditorWindow::WriteValues() {
  // The document records each byte's old value, so the write is undone as one step.
  const std::size_t length = doc_.Data().size();
  std::vector<document::ByteWrite> writes;
  for (int i = 0; i < search::kMaintenanceBytes; ++i) {
    const std::uint64_t pos = std::uint64_t{start_} + static_cast<std::uint64_t>(i);
    if (pos >= length) continue;  // 外: never written
    if (const auto v = search::ReadMaintenanceValue(Sjis(newValues_[static_cast<std::size_t>(i)]->text())))
      writes.push_back({static_cast<std::int64_t>(pos), *v});
  }
  doc_.WriteBytes(writes);
}

void ByteEditorWindow::closeEvent(QCloseEvent* event) {
  emit Closed();
  event->accept();
}

}  // namespace tyld::tools
