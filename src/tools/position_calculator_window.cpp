#include "tools/position_calculator_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "platform/dialog_keys.h"
#include "tools/dialog_support.h"
#include "search/position_calculator.h"

namespace tyld::tools {
namespace {

// Longer texts are not typed at all; the readings saturate (decimal) or wrap (hex) anyway.
constexpr int kMaxChars = 31;

QPushButton* Button(const QString& text, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setAutoDefault(false);
  return b;
}

// Keys that type nothing useful into a position are consumed: only digits (and A-F for
// the hexadecimal edit), the editing and caret keys and Up/Down get through.
bool KeyPasses(const QKeyEvent& key) {
  const int k = key.key();
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return true;
  if (k >= Qt::Key_A && k <= Qt::Key_F) return true;
  switch (k) {
    case Qt::Key_Backspace: case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Return:
    case Qt::Key_Enter: case Qt::Key_Escape: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Home: case Qt::Key_End: case Qt::Key_Delete:
    case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Alt: case Qt::Key_Meta:
      return true;
    default:
      return false;
  }
}

}  // namespace

PositionCalculatorWindow::PositionCalculatorWindow(QWidget* parent) : QDialog(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("16進<->10進数字位置計算"));
  auto* top = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  auto* decimal = new QLineEdit(this);
  decimal->setMaxLength(kMaxChars);
  decimal->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), decimal));
  auto* hex = new QLineEdit(this);
  tools::MakeHexEdit(hex, kMaxChars, false);
  QPushButton* toHex = Button(QStringLiteral("16進数計算"), this);
  QPushButton* toDecimal = Button(QStringLiteral("10進数計算"), this);
  QPushButton* jumpDecimal = Button(QStringLiteral("頁Jump"), this);
  QPushButton* jumpHex = Button(QStringLiteral("頁Jump"), this);
  decimal->setObjectName(QStringLiteral("decimalPosition"));
  hex->setObjectName(QStringLiteral("hexPosition"));
  toHex->setObjectName(QStringLiteral("toHex"));
  toDecimal->setObjectName(QStringLiteral("toDecimal"));
  jumpDecimal->setObjectName(QStringLiteral("jumpDecimal"));
  jumpHex->setObjectName(QStringLiteral("jumpHex"));
  decimal_ = decimal;
  hex_ = hex;
  grid->addWidget(new QLabel(QStringLiteral("10進数値"), this), 0, 0);
  grid->addWidget(decimal, 0, 1);
  grid->addWidget(toHex, 0, 2);
  grid->addWidget(jumpDecimal, 0, 3);
  grid->addWidget(new QLabel(QStringLiteral("16進数値"), this), 1, 0);
  grid->addWidget(hex, 1, 1);
  grid->addWidget(toDecimal, 1, 2);
  grid->addWidget(jumpHex, 1, 3);
  top->addLayout(grid);
  for (const char* t : {"　16進数値か１０進数値を入力して変換します。", "　頁Jumpボタンクリックで指定位置の頁へ移動します。",
                        "　自動クローズしません。Ｘボタンでクローズしてください。"})
    top->addWidget(new QLabel(QString::fromUtf8(t), this));
  top->setSizeConstraint(QLayout::SetFixedSize);

  // No OK button: Tab or Enter in the hexadecimal edit goes back to the decimal one.
  new platform::EditChain({decimal, hex}, nullptr, this);
  decimal->installEventFilter(this);
  hex->installEventFilter(this);

  auto jump = [this](std::uint32_t v) { emit JumpRequested(v); };
  connect(toHex, &QPushButton::clicked, this, [this] { DecimalToHex(); });
  connect(toDecimal, &QPushButton::clicked, this, [this] { HexToDecimal(); });
  connect(jumpDecimal, &QPushButton::clicked, this, [this, jump] { jump(DecimalToHex()); });
  connect(jumpHex, &QPushButton::clicked, this, [this, jump] { jump(HexToDecimal()); });
  move(600, 150);
  decimal->setFocus(Qt::OtherFocusReason);
}

std::uint32_t PositionCalculatorWindow::DecimalToHex() {
  const std::uint32_t v =
      search::ReadDecimalPosition(decimal_->text().toStdString());
  hex_->setText(tools::Q(search::HexPositionText(v)));
  return v;
}

std::uint32_t PositionCalculatorWindow::HexToDecimal() {
  const std::uint32_t v = search::ReadHexPosition(hex_->text().toStdString());
  decimal_->setText(tools::Q(search::DecimalPositionText(v)));
  return v;
}

bool PositionCalculatorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  if (watched != decimal_ && watched != hex_)
    return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & Qt::ControlModifier) return false;  // copy, paste, undo
  return !KeyPasses(*key);
}

void PositionCalculatorWindow::closeEvent(QCloseEvent* event) {
  emit Closed();
  event->accept();
}

}  // namespace tyld::tools
