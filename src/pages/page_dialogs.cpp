#include "pages/page_dialogs.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <optional>

#include "platform/canvas.h"
#include "platform/codepage.h"
#include "platform/dialog_keys.h"
#include "platform/message_box.h"
#include "platform/qt_canvas.h"

namespace tyld::pages {
namespace {

const QString kCaptionRefused = QStringLiteral("確認要求");

QPushButton* AddButton(QDialog* dialog, const QString& name, const QString& text) {
  auto* b = new QPushButton(text, dialog);
  b->setAutoDefault(false);
  b->setObjectName(name);
  return b;
}

// OK and Cancel in a row under the body; the dialog gets its fixed size and position.
QPushButton* FinishDialog(QDialog* dialog, QLayout* body,
                          const QString& okText, const QString& cancelText, int x, int y) {
  auto* top = new QVBoxLayout(dialog);
  top->addLayout(body);
  QPushButton* ok = AddOkCancelRow(dialog, top, okText, cancelText).ok;
  dialog->move(x, y);
  return ok;
}

void FocusFirst(QLineEdit* edit) {
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
}

// Pages typed by hand are checked here so that no page outside the document ever reaches
// the drawing code.
bool PageInRange(QWidget* owner, QLineEdit* edit, int page, int count) {
  if (page >= 1 && page <= count) return true;
  platform::MessageBox(owner, QStringLiteral("頁は 1～%1 の範囲で指定してください。").arg(count),
                       kCaptionRefused);
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------------------

PrintRangeDialog::PrintRangeDialog(int currentPage, int pageCount, bool colour, QWidget* parent)
    : QDialog(parent), current_(currentPage), count_(pageCount) {
  setWindowTitle(colour ? QStringLiteral("印刷頁指定、カラー印刷")
                        : QStringLiteral("印刷頁指定、モノクロ印刷"));
  auto* grid = new QGridLayout;
  start_ = AddSpinRow(this, grid, 0, QStringLiteral("開始頁"), QStringLiteral("startPage"), 1,
                      count_);
  end_ = AddSpinRow(this, grid, 1, QStringLiteral("最終頁"), QStringLiteral("endPage"), 1, count_);
  firstNumber_ = AddSpinRow(this, grid, 2, QStringLiteral("頁番号"), QStringLiteral("firstNumber"),
                            -1, std::numeric_limits<int>::max());
  QLineEdit* start = start_;
  QLineEdit* end = end_;
  auto* max = new QLabel(QString::number(count_), this);
  max->setObjectName(QStringLiteral("pageCount"));
  grid->addWidget(new QLabel(QStringLiteral("max"), this), 1, 3);
  grid->addWidget(max, 1, 4);

  QPushButton* startCurrent =
      AddButton(this, QStringLiteral("startAtCurrent"), QStringLiteral("開始頁=現在頁"));
  QPushButton* endCurrent =
      AddButton(this, QStringLiteral("endAtCurrent"), QStringLiteral("終了頁=現在頁"));
  QPushButton* startFirst =
      AddButton(this, QStringLiteral("startAtFirst"), QStringLiteral("開始頁=先頭頁"));
  QPushButton* endLast = AddButton(this, QStringLiteral("endAtLast"), QStringLiteral("終了頁=最終頁"));
  grid->addWidget(startCurrent, 0, 5);
  grid->addWidget(startFirst, 0, 6);
  grid->addWidget(endCurrent, 1, 5);
  grid->addWidget(endLast, 1, 6);
  auto* notes = new QVBoxLayout;
  for (const char* n : {" 0 :頁番号なし", " -1 :頁番号=頁", "他 : 開始頁の頁番号を指定。",
                        "以後、順次＋１して決定"})
    notes->addWidget(new QLabel(QString::fromUtf8(n), this));
  grid->addLayout(notes, 2, 3, 2, 4);

  connect(startCurrent, &QPushButton::clicked, this, [this, start] { ShowInt(start, current_ + 1); });
  connect(endCurrent, &QPushButton::clicked, this, [this, end] { ShowInt(end, current_ + 1); });
  connect(startFirst, &QPushButton::clicked, this, [start] { ShowInt(start, 1); });
  connect(endLast, &QPushButton::clicked, this, [this, end] { ShowInt(end, count_); });

  QPushButton* ok = FinishDialog(this, grid, QStringLiteral("印刷開始"), QStringLiteral("ｷｬﾝｾﾙ"),
                                 500, 100);
  new platform::EditChain({start, end, firstNumber_}, ok, this);
  ShowInt(start, 1);
  ShowInt(end, count_);
  ShowInt(firstNumber_, -1);
  FocusFirst(start);
}

void PrintRangeDialog::accept() {
  const std::optional<int> start = ReadInt(this, start_);
  if (!start) return;
  const std::optional<int> end = ReadInt(this, end_);
  if (!end) return;
  const std::optional<int> number = ReadInt(this, firstNumber_);
  if (!number) return;
  if (*start > *end) {
    platform::MessageBox(this, QStringLiteral("開始頁＞終了頁 になっています。"), kCaptionRefused);
    return;
  }
  if (!PageInRange(this, start_, *start, count_) || !PageInRange(this, end_, *end, count_))
    return;
  const int pages = *end - *start + 1;
  if (pages > 10 &&
      platform::MessageBox(this, QStringLiteral("実行していいですか？"),
                           QStringLiteral("%1 頁分の印刷が指示されました。").arg(pages),
                           platform::Buttons::OkCancel) != platform::Answer::Ok)
    return;
  result_ = PrintRange{*start, *end, *number == -1 ? *start : *number};
  QDialog::accept();
}

// ---------------------------------------------------------------------------------------

GoToPageDialog::GoToPageDialog(int currentPage, int pageCount, QWidget* parent)
    : QDialog(parent), count_(pageCount), result_(currentPage) {
  setWindowTitle(QStringLiteral("CRT表示頁指定"));
  auto* grid = new QGridLayout;
  page_ = AddSpinRow(this, grid, 0, QStringLiteral("表示頁"), QStringLiteral("page"), 1, count_);
  QLineEdit* page = page_;
  auto* max = new QLabel(QString::number(count_), this);
  max->setObjectName(QStringLiteral("pageCount"));
  grid->addWidget(new QLabel(QStringLiteral("max"), this), 0, 3);
  grid->addWidget(max, 0, 4);
  auto* row = new QHBoxLayout;
  QPushButton* first = AddButton(this, QStringLiteral("firstPage"), QStringLiteral("先頭頁"));
  QPushButton* middle = AddButton(this, QStringLiteral("middlePage"), QStringLiteral("中央頁"));
  QPushButton* last = AddButton(this, QStringLiteral("lastPage"), QStringLiteral("最終頁"));
  row->addWidget(first);
  row->addWidget(middle);
  row->addWidget(last);
  grid->addLayout(row, 1, 0, 1, 5);
  connect(first, &QPushButton::clicked, this, [page] { ShowInt(page, 1); });
  connect(middle, &QPushButton::clicked, this, [this, page] { ShowInt(page, (count_ + 1) / 2); });
  connect(last, &QPushButton::clicked, this, [this, page] { ShowInt(page, count_); });

  QPushButton* ok = FinishDialog(this, grid, QStringLiteral("OK"), QStringLiteral("ｷｬﾝｾﾙ"), 400,
                                 100);
  new platform::EditChain({page}, ok, this);
  ShowInt(page, currentPage + 1);
  FocusFirst(page);
}

void GoToPageDialog::accept() {
  QLineEdit* edit = page_;
  const std::optional<int> page = ReadInt(this, edit);
  if (!page || !PageInRange(this, edit, *page, count_)) return;
  result_ = *page - 1;
  QDialog::accept();
}

// ---------------------------------------------------------------------------------------

void PaintGuideTitle(platform::Canvas& canvas, int left, int top, int right, int bottom,
                     std::string_view sjis) {
  constexpr std::size_t kMaxBytes = 48;
  std::size_t n = 0;
  while (n < sjis.size()) {
    const bool pair = platform::codepage::IsLeadByte(static_cast<std::uint8_t>(sjis[n])) &&
                      n + 1 < sjis.size();
    const std::size_t next = n + (pair ? 2 : 1);
    if (next > kMaxBytes) break;
    n = next;
  }
  const std::string_view text = sjis.substr(0, n);

  canvas.Rectangle(left, top, right, bottom, platform::Pen{platform::PenStyle::None, 0},
                   platform::Brush{platform::BrushStyle::Solid, 0x00404000});
  platform::FontDescription font;
  font.height = -platform::MultiplyDivide(10, canvas.Device().dpiY, 72);
  font.charSet = platform::kShiftJisCharSet;
  font.pitchAndFamily = platform::kFixedPitchModern;
  font.SetFace(platform::kDefaultFaceSjis);
  canvas.SelectFont(font);
  const platform::FontMetrics m = canvas.Metrics();
  const int x = (left + right) / 2 - static_cast<int>(text.size()) * m.cellWidth / 2;
  const int y = (top + bottom) / 2 - m.height / 2;
  canvas.SetTextColor(0x00FFFFFF);
  canvas.PutText(x, y, text);
}

namespace {
class GuideTitle : public QWidget {
 public:
  GuideTitle(const QString& text, QWidget* parent)
      : QWidget(parent), sjis_(platform::codepage::FromUtf16(text.toStdU16String())) {
    setFixedSize(150, 26);
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    platform::QtCanvas canvas(painter,
                              platform::DeviceMetrics{width(), height(), logicalDpiX(), logicalDpiY()});
    PaintGuideTitle(canvas, 0, 0, width(), height(), sjis_);
  }

 private:
  std::string sjis_;
};
}  // namespace

PageTurnGuideDialog::PageTurnGuideDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("頁めくりガイド（アスキー、バイナリ画面）"));
  auto* grid = new QGridLayout;
  const struct {
    const char* title;
    const char* text;
  } rows[] = {
      {"マウスドラッグ", "マウス左ボタンで上下にずるっとドラッグすると前／次頁へめくれます。"},
      {"頁変更ボタン", "上部のリボンに並べたボタンクリックで頁を変更できます。"},
      {"縦スクロール", "縦スクロールを続けると前／次頁が自動的に出てきます。"},
  };
  int r = 0;
  for (const auto& row : rows) {
    grid->addWidget(new GuideTitle(QString::fromUtf8(row.title), this), r, 0);
    grid->addWidget(new QLabel(QString::fromUtf8(row.text), this), r, 1);
    ++r;
  }
  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  auto* close = new QPushButton(QStringLiteral("クローズ"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

// ---------------------------------------------------------------------------------------

PrintingNoticeWindow::PrintingNoticeWindow(PrintingNotice& owner, QWidget* parent)
    : QDialog(parent), owner_(owner), timer_(new QTimer(this)) {
  setWindowTitle(QStringLiteral("Tyld -- 印刷中メッセージ"));
  setModal(false);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(new QLabel(QStringLiteral("印刷中。しばらくお待ちください。"), this));
  lay->setSizeConstraint(QLayout::SetFixedSize);
  timer_->setSingleShot(true);
  timer_->setInterval(PrintingNotice::kShowMs);
  connect(timer_, &QTimer::timeout, this, &PrintingNoticeWindow::CloseIfDue);
  move(300, 200);
}

PrintingNotice::~PrintingNotice() { delete window_.data(); }

PrintingNoticeWindow* PrintingNotice::Show(QWidget* printingView, Clock clock) {
  QPointer<PrintingNoticeWindow>& current = window_;
  if (current == nullptr) current = new PrintingNoticeWindow(*this, printingView);
  current->clock_ = std::move(clock);
  current->timer_->stop();  // not while the window is being brought up
  current->show();
  current->raise();
  current->repaint();
  // The print job that follows holds the event loop; let the window reach the screen first.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (current != nullptr) {
    current->shownAt_ = current->clock_();
    current->timer_->start(kShowMs);
  }
  return current;
}

void PrintingNoticeWindow::CloseIfDue() {
  const std::int64_t left = shownAt_ + PrintingNotice::kShowMs - clock_();
  if (left <= 0) {
    if (owner_.Window() == this) owner_.Close();
    return;
  }
  timer_->start(static_cast<int>(left));
}

void PrintingNotice::Close() {
  QPointer<PrintingNoticeWindow>& current = window_;
  if (current == nullptr) return;
  PrintingNoticeWindow* window = current;
  current = nullptr;
  window->timer_->stop();
  window->hide();
  window->deleteLater();
}

bool WaitWithProgress(QWidget* parent, const QString& caption, const std::function<bool()>& done,
                      const std::function<WaitProgress()>& progress) {
  if (done()) return true;
  QProgressDialog wait(parent);
  wait.setWindowTitle(caption);
  wait.setCancelButtonText(QStringLiteral("キャンセル"));
  wait.setMinimumDuration(0);
  const bool measured = progress().permille >= 0;
  wait.setRange(0, measured ? 1000 : 0);
  auto show = [&wait, &progress, measured] {
    const WaitProgress now = progress();
    wait.setLabelText(now.label);
    if (measured) wait.setValue(std::clamp(now.permille, 0, 1000));
  };
  show();
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, &wait, [&wait, &done, &show] {
    if (done()) wait.accept();
    else show();
  });
  tick.start(50);
  wait.exec();
  return done();
}

}  // namespace tyld::pages
