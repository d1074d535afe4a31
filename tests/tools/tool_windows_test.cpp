// The modeless tool windows of the binary screen on their own: what they show, what they
// change, and the signals they emit to the screen (recorded by a stand-in).
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "../pages/dialog_test_support.h"
#include "tools/position_calculator_window.h"
#include "platform/message_box.h"
#include "document/document_buffer.h"
#include "tools/byte_editor_window.h"
#include "tools/dialog_support.h"
#include "tools/sequence_search_window.h"
#include "search/search_state.h"

namespace tyld::tools {
namespace {

using platform::ScopedMessageBoxRecorder;

// Stands in for the binary screen: records the windows' signals and their parameters.
enum class Heard { SearchRequested, DataChanged, JumpRequested, Closed };
struct ScreenStandIn {
  void Listen(SequenceSearchWindow& w) {
    QObject::connect(&w, &SequenceSearchWindow::SearchRequested, [this] { calls.emplace_back(Heard::SearchRequested, 0); });
    QObject::connect(&w, &SequenceSearchWindow::Closed, [this] { calls.emplace_back(Heard::Closed, 0); });
  }
  // The byte editor writes through the document, which tells the screens.
  void Listen(ByteEditorWindow& w, document::DocumentBuffer& doc) {
    QObject::connect(&doc, &document::DocumentBuffer::Changed, [this] { calls.emplace_back(Heard::DataChanged, 0); });
    QObject::connect(&w, &ByteEditorWindow::Closed, [this] { calls.emplace_back(Heard::Closed, 0); });
  }
  void Listen(PositionCalculatorWindow& w) {
    QObject::connect(&w, &PositionCalculatorWindow::JumpRequested,
                     [this](std::uint32_t position) { calls.emplace_back(Heard::JumpRequested, position); });
    QObject::connect(&w, &PositionCalculatorWindow::Closed, [this] { calls.emplace_back(Heard::Closed, 0); });
  }
  std::vector<std::pair<Heard, std::int64_t>> calls;
};

QLineEdit* EditOf(const auto& w, const char* name) { return w.template findChild<QLineEdit*>(name); }

TEST(SequenceSearchWindow, SearchRequestRefusalsListAndClose) {
  ScreenStandIn screen;
  search::SequenceSearchState state;
  state.PatternByte[0] = 0x41;
  QPointer<SequenceSearchWindow> w = new SequenceSearchWindow(state);
  screen.Listen(*w);
  w->show();
  EXPECT_EQ(w->windowTitle(), QStringLiteral("バイト列サーチ"));
  EXPECT_EQ(w->pos(), QPoint(500, 100));
  EXPECT_EQ(EditOf(*w, "patternByte0")->text(), QStringLiteral("41"));
  EXPECT_EQ(EditOf(*w, "patternByte7")->text(), QStringLiteral("00"));
  EXPECT_EQ(EditOf(*w, "patternLength")->text(), QStringLiteral("1"));

  ScopedMessageBoxRecorder boxes;
  struct Case {
    const char* first;
    const char* count;
    const char* message;  // nullptr: the search is requested
  };
  for (const Case& c : {Case{"", "2", "先頭キャラクタが空です。"}, Case{"0d", "0", "バイト数指定が無効です"},
                        Case{"0d", "9", "バイト数指定が無効です"}, Case{"0d", "-1", "バイト数指定が無効です"},
                        Case{"0d", "", "バイト数指定が無効です"}, Case{"0d", "2", nullptr}}) {
    screen.calls.clear();
    const std::size_t before = boxes.Calls().size();
    EditOf(*w, "patternByte0")->setText(QString::fromUtf8(c.first));
    EditOf(*w, "patternLength")->setText(QString::fromUtf8(c.count));
    w->findChild<QPushButton*>("search")->click();
    if (c.message != nullptr) {
      ASSERT_EQ(boxes.Calls().size(), before + 1) << c.first << "/" << c.count;
      EXPECT_EQ(boxes.Calls().back().text, QString::fromUtf8(c.message));
      EXPECT_TRUE(screen.calls.empty());
    } else {
      EXPECT_EQ(boxes.Calls().size(), before);
      ASSERT_EQ(screen.calls.size(), 1u);
      EXPECT_EQ(screen.calls[0].first, Heard::SearchRequested);
      EXPECT_EQ(state.PatternByte[0], 0x0D);
      EXPECT_EQ(state.PatternLength, 2);
    }
  }

  state.ResultAddress = {0, 3, 0x1234567};
  w->RefreshList();
  EXPECT_EQ(w->findChild<QLabel*>("resultCount")->text(), QStringLiteral("3"));
  auto* list = w->findChild<QComboBox*>("results");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->currentIndex(), 0);
  EXPECT_EQ(list->itemText(0), QStringLiteral("Sr=  0  Adr= 0x000000"));
  EXPECT_EQ(list->itemText(2), QStringLiteral("Sr=  2  Adr= 0x1234567"));

  // The count's spin stays within 1..8.
  auto* spin = w->findChild<platform::SpinArrows*>("patternLengthSpin");
  EditOf(*w, "patternLength")->setText(QStringLiteral("8"));
  spin->Step(+1);
  EXPECT_EQ(EditOf(*w, "patternLength")->text(), QStringLiteral("8"));
  EditOf(*w, "patternLength")->setText(QStringLiteral("1"));
  spin->Step(-1);
  EXPECT_EQ(EditOf(*w, "patternLength")->text(), QStringLiteral("1"));

  screen.calls.clear();
  w->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(w.isNull());
  ASSERT_EQ(screen.calls.size(), 1u);
  EXPECT_EQ(screen.calls[0].first, Heard::Closed);
}

TEST(SequenceSearchWindow, ResultFileHasCrLfLinesAndAFailedWriteIsReported) {
  QTemporaryDir dir;
  search::SequenceSearchState state;
  state.ResultAddress = {0, 0x10};
  SequenceSearchWindow w(state);
  ScopedMessageBoxRecorder boxes;
  const QString path = dir.filePath("result.txt");
  {
    ScopedSaveFileAnswer answer(path);
    w.findChild<QPushButton*>("writeResults")->click();
    ASSERT_EQ(answer.Requests().size(), 1u);
    EXPECT_EQ(answer.Requests()[0].defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(answer.Requests()[0].filters.front(), QStringLiteral("txt (*.txt)"));
  }
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("Sr=  0 Adr= 0x000000\r\nSr=  1 Adr= 0x000010\r\n"));
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("指定ファイルに書き込みました"));

  {
    ScopedSaveFileAnswer cancelled{QString()};
    w.findChild<QPushButton*>("writeResults")->click();
  }
  EXPECT_EQ(boxes.Calls().size(), 1u);
  {
    ScopedSaveFileAnswer missing(dir.filePath("no/such/dir/result.txt"));
    w.findChild<QPushButton*>("writeResults")->click();
  }
  ASSERT_EQ(boxes.Calls().size(), 2u);
  EXPECT_TRUE(boxes.Calls()[1].text.startsWith(QStringLiteral("結果書き込み用txtファイルのオープンに失敗しました\n")));
  EXPECT_EQ(boxes.Calls()[1].caption, QStringLiteral("確認"));
}

TEST(SequenceSearchWindow, EnterInTheCountWrapsToTheFirstByte) {
  search::SequenceSearchState state;
  SequenceSearchWindow w(state);
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  EditOf(w, "patternLength")->setFocus();
  QTest::keyClick(EditOf(w, "patternLength"), Qt::Key_Return);
  EXPECT_EQ(w.focusWidget(), EditOf(w, "patternByte0"));
  EXPECT_TRUE(w.isVisible());
}

class ByteMaintenanceWindow : public testing::Test {
 protected:
  ByteMaintenanceWindow() {
    for (int i = 0; i < 0x200; ++i) doc_.DocData.push_back(static_cast<std::uint8_t>(i));
    doc_.DocData.push_back(0);
    doc_.DocLength = 0x200;
    w_ = new ByteEditorWindow(doc_, start_);
    screen_.Listen(*w_, doc_);
    w_->show();
  }
  ~ByteMaintenanceWindow() override { delete w_.data(); }
  QString Current(int i) const {
    return w_->findChild<QLabel*>(QStringLiteral("currentByte%1").arg(i))->text();
  }
  QLineEdit* Edit(const char* name) const { return w_->findChild<QLineEdit*>(name); }
  QLineEdit* NewValue(int i) const {
    return w_->findChild<QLineEdit*>(QStringLiteral("newByte%1").arg(i));
  }
  void Click(const char* bar, QAbstractSlider::SliderAction action) {
    w_->findChild<QScrollBar*>(bar)->triggerAction(action);
  }

  ScreenStandIn screen_;
  [[nodiscard]] std::vector<std::uint8_t> Data() const {
    return {doc_.Data().begin(), doc_.Data().end()};
  }
  document::DocumentBuffer doc_;
  std::uint32_t start_ = 0x77;  // a new window starts at 0 whatever was before
  QPointer<ByteEditorWindow> w_;
};

TEST_F(ByteMaintenanceWindow, OpensAtZeroAndShowsBytesAndOutside) {
  EXPECT_EQ(w_->pos(), QPoint(550, 100));
  EXPECT_EQ(start_, 0u);
  EXPECT_EQ(Edit("address")->text(), QStringLiteral("0"));
  EXPECT_EQ(w_->findChild<QLabel*>("addressRange")->text(), QStringLiteral("0～0x1FF"));
  EXPECT_EQ(Current(0), QStringLiteral("00"));
  EXPECT_EQ(Current(9), QStringLiteral("09"));
  EXPECT_EQ(Edit("newByte0")->text(), QStringLiteral("  "));

  Edit("address")->setText(QStringLiteral("1f8"));
  Edit("address")->setFocus();
  QTest::keyClick(Edit("address"), Qt::Key_Return);
  EXPECT_EQ(Edit("address")->text(), QStringLiteral("000001F8"));
  EXPECT_EQ(Current(7), QStringLiteral("FF"));
  EXPECT_EQ(Current(8), QStringLiteral("外"));
  EXPECT_EQ(Current(9), QStringLiteral("外"));
  EXPECT_EQ(w_->focusWidget(), Edit("newByte0"));

  // Addresses past 31 bits are accepted and simply lie outside the data.
  Edit("address")->setText(QStringLiteral("FFFFFFFF"));
  w_->EnterAddress();
  EXPECT_EQ(Current(0), QStringLiteral("外"));
}

TEST_F(ByteMaintenanceWindow, WriteChangesOnlyBytesInsideTheDataAndNotifies) {
  Edit("address")->setText(QStringLiteral("1F8"));
  w_->EnterAddress();
  for (int i = 0; i < 10; ++i) NewValue(i)->setText(QStringLiteral("ee"));
  Edit("newByte0")->setText(QStringLiteral("f"));
  Edit("newByte1")->setText(QStringLiteral("  "));
  const std::vector<std::uint8_t> before = Data();
  std::vector<std::uint8_t> expected = before;
  expected[0x1F8] = 0x0F;
  for (std::size_t k = 0x1FA; k < 0x200; ++k) expected[k] = 0xEE;
  w_->findChild<QPushButton*>("write")->click();
  EXPECT_EQ(Data(), expected);
  ASSERT_EQ(screen_.calls.size(), 1u);
  EXPECT_EQ(screen_.calls[0].first, Heard::DataChanged);
  // The current bytes follow the data at once, also when an undo takes the write back.
  EXPECT_EQ(Current(0), QStringLiteral("0F"));
  EXPECT_EQ(Current(2), QStringLiteral("EE"));
  ASSERT_TRUE(doc_.Undo());  // one step for the whole write
  EXPECT_EQ(Data(), before);
  EXPECT_EQ(Current(0), QStringLiteral("F8"));
  EXPECT_FALSE(doc_.CanUndo());

  // A write that changes nothing is no step and tells nobody.
  screen_.calls.clear();
  for (int i = 0; i < 10; ++i) NewValue(i)->setText(QStringLiteral("  "));
  Edit("newByte0")->setText(QStringLiteral("F8"));
  w_->findChild<QPushButton*>("write")->click();
  EXPECT_TRUE(screen_.calls.empty());
  EXPECT_FALSE(doc_.CanUndo());
}

TEST_F(ByteMaintenanceWindow, BarsStepRoundAndRefresh) {
  struct Case {
    const char* address;
    const char* bar;
    QAbstractSlider::SliderAction action;
    const char* shown;
  };
  using A = QAbstractSlider;
  for (const Case& c : {Case{"1FE", "by1Bar", A::SliderSingleStepSub, "000001FF"},
                        Case{"1FF", "by1Bar", A::SliderSingleStepSub, "000001FF"},
                        Case{"1", "by1Bar", A::SliderSingleStepAdd, "00000000"},
                        Case{"0", "by1Bar", A::SliderSingleStepAdd, "00000000"},
                        Case{"1E0", "by10Bar", A::SliderSingleStepSub, "000001F0"},
                        Case{"1F0", "by10Bar", A::SliderSingleStepSub, "000001F0"},
                        Case{"15", "by10Bar", A::SliderSingleStepAdd, "00000010"},
                        Case{"150", "by100Bar", A::SliderSingleStepSub, "00000100"}}) {
    Edit("address")->setText(QString::fromUtf8(c.address));
    Edit("newByte0")->setText(QStringLiteral("AB"));
    Click(c.bar, c.action);
    EXPECT_EQ(Edit("address")->text(), QString::fromUtf8(c.shown)) << c.address << " bar " << c.bar;
    EXPECT_EQ(Edit("newByte0")->text(), QStringLiteral("  ")) << "new values are cleared by a step";
  }
  Edit("address")->setText(QStringLiteral("1E"));
  Click("by1Bar", A::SliderSingleStepSub);
  EXPECT_EQ(Current(0), QStringLiteral("1F"));
}

TEST_F(ByteMaintenanceWindow, KeyboardAndClose) {
  w_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w_.data()));
  Edit("newByte9")->setFocus();
  QTest::keyClick(Edit("newByte9"), Qt::Key_Tab);
  EXPECT_EQ(w_->focusWidget(), Edit("address"));
  QTest::keyClicks(Edit("address"), "zz12");  // non-hex characters are not typed
  EXPECT_EQ(Edit("address")->text(), QStringLiteral("12"));
  QTest::keyClick(w_.data(), Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(w_.isNull());
  ASSERT_FALSE(screen_.calls.empty());
  EXPECT_EQ(screen_.calls.back().first, Heard::Closed);
}

TEST(PositionCalculator, ConvertsJumpsFiltersKeysAndCloses) {
  ScreenStandIn screen;
  QPointer<tools::PositionCalculatorWindow> w = new tools::PositionCalculatorWindow;
  screen.Listen(*w);
  w->show();
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.data()));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("16進<->10進数字位置計算"));
  QLineEdit* dec = EditOf(*w, "decimalPosition");
  QLineEdit* hex = EditOf(*w, "hexPosition");
  EXPECT_EQ(w->focusWidget(), dec);

  dec->setText(QStringLiteral("256"));
  w->findChild<QPushButton*>("toHex")->click();
  EXPECT_EQ(hex->text(), QStringLiteral("100"));
  hex->setText(QStringLiteral("ff"));
  w->findChild<QPushButton*>("toDecimal")->click();
  EXPECT_EQ(dec->text(), QStringLiteral("255"));

  hex->setText(QStringLiteral("FFFFFFFF"));
  w->findChild<QPushButton*>("jumpHex")->click();
  ASSERT_EQ(screen.calls.size(), 1u);
  EXPECT_EQ(screen.calls[0], (std::pair<Heard, std::int64_t>{Heard::JumpRequested, 4294967295}));
  EXPECT_EQ(dec->text(), QStringLiteral("4294967295"));
  dec->setText(QStringLiteral("0"));
  w->findChild<QPushButton*>("jumpDecimal")->click();
  EXPECT_EQ(screen.calls.back(), (std::pair<Heard, std::int64_t>{Heard::JumpRequested, 0}));

  // Keys: G and space are consumed, keypad 5 types 5, the caret keys and Delete edit,
  // Tab/Enter walk and wrap.
  for (QLineEdit* e : {dec, hex}) {
    e->clear();
    e->setFocus();
    QTest::keyClicks(e, "12");
    QTest::keyClick(e, Qt::Key_Left);
    QTest::keyClick(e, Qt::Key_G);
    QTest::keyClick(e, Qt::Key_Space);
    QTest::keyClick(e, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(e->text(), QStringLiteral("152"));
    QTest::keyClick(e, Qt::Key_Home);
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClick(e, Qt::Key_End);
    QTest::keyClick(e, Qt::Key_Right);
    QTest::keyClicks(e, "3");
    EXPECT_EQ(e->text(), QStringLiteral("523"));
  }
  hex->setText(QStringLiteral("ab"));
  QTest::keyClicks(hex, "c");
  EXPECT_EQ(hex->text(), QStringLiteral("ABC"));
  dec->setFocus();
  QTest::keyClick(dec, Qt::Key_Tab);
  EXPECT_EQ(w->focusWidget(), hex);
  QTest::keyClick(hex, Qt::Key_Return);
  EXPECT_EQ(w->focusWidget(), dec);
  EXPECT_TRUE(w->isVisible());

  screen.calls.clear();
  w->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(w.isNull());
  ASSERT_EQ(screen.calls.size(), 1u);
  EXPECT_EQ(screen.calls[0].first, Heard::Closed);
}

}  // namespace
}  // namespace tyld::tools
