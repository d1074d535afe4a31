// The binary screen as a user drives it: scrolling that turns pages, the title, the
// position jump and printing.
#include "binary/binary_view.h"

#include <QApplication>
#include <QDir>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QElapsedTimer>
#include <atomic>
#include <cstdlib>
#include <chrono>
#include <functional>
#include <thread>
#include <gtest/gtest.h>

#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "pages/page_dialogs.h"
#include "pages/screen_action.h"
#include "platform/message_box.h"
#include "platform/print_job.h"
#include "platform/printer.h"
#include "search/search_state.h"
#include "settings/page_format.h"
#include "../support/test_workspace.h"

namespace tyld::binary {
namespace {

class TyldViewTest : public testing::Test {
 protected:
  void SetUp() override {
    state_.live.binary.BinMarginTop = 150;  // one block per page
  }
  void Load(const std::string& bytes) {
    const QString path = dir_.filePath(QStringLiteral("d.bin"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    f.close();
    state_.document.LoadDataFile(path.toStdString());
  }
  QTemporaryDir dir_;
  testing_support::TestWorkspace state_;
  platform::ScopedMessageBoxRecorder boxes_;
};

TEST_F(TyldViewTest, TitleShowsThePagesOffsets) {
  BinaryView view(state_.workspace);
  Load(std::string(300, 'a'));
  ASSERT_EQ(state_.live.binary.BinBlocksPerColumn, 1);
  EXPECT_TRUE(view.TitleText().startsWith(QStringLiteral("頁=1/2 A=[0-FF H]"))) << view.TitleText().toStdString();
  view.Run(pages::ScreenAction::NextPage);
  EXPECT_TRUE(view.TitleText().startsWith(QStringLiteral("頁=2/2 A=[100-12B H]"))) << view.TitleText().toStdString();
  EXPECT_TRUE(view.TitleText().endsWith(QStringLiteral("Landscape")));
}

TEST_F(TyldViewTest, ScrollingLineByLineAndTheWheelTurnThePage) {
  BinaryView view(state_.workspace);
  view.resize(900, 700);
  Load(std::string(5000, 'b'));
  ASSERT_GT(view.PageCount(), 3);
  for (int i = 0; i < view.PageStride() - 1; ++i) view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(view.CurrentPage(), 0);
  view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(view.CurrentPage(), 1);
  QTest::keyClick(&view, Qt::Key_Up);
  EXPECT_EQ(view.CurrentPage(), 0);

  const int before = view.VScrollPos();
  for (int i = 0; i < view.PageStride() * 2; ++i) {
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
  }
  EXPECT_EQ(view.VScrollPos(), before + 2 * view.PageStride());
  EXPECT_EQ(view.CurrentPage(), 2);

  // Home and End, with or without Ctrl, go to the first and the last page.
  const int last = view.PageCount() - 1;
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int page;
  } keys[] = {{Qt::Key_End, Qt::NoModifier, last}, {Qt::Key_Home, Qt::NoModifier, 0},
              {Qt::Key_End, Qt::ControlModifier, last}, {Qt::Key_Home, Qt::ControlModifier, 0}};
  for (const auto& k : keys) {
    QTest::keyClick(&view, k.key, k.modifiers);
    EXPECT_EQ(view.CurrentPage(), k.page) << k.key << " " << k.modifiers.toInt();
    EXPECT_EQ(view.VScrollPos(), k.page * view.PageStride());
  }
}

TEST_F(TyldViewTest, PositionJumpShowsThePageOrSaysItIsBeyondTheData) {
  BinaryView view(state_.workspace);
  Load(std::string(1000, 'c'));
  view.JumpToPosition(257);  // 1-based position 257 is on page 2
  EXPECT_EQ(view.CurrentPage(), 1);
  view.JumpToPosition(5000);
  ASSERT_EQ(boxes_.Calls().size(), 1u);
  EXPECT_EQ(boxes_.Calls()[0].text, QStringLiteral("指定位置=5000 (1388H) 頁=20\n\n　 は最大頁=4 を越えます。"));
  EXPECT_EQ(boxes_.Calls()[0].caption, QStringLiteral("確認"));
  EXPECT_EQ(view.CurrentPage(), 1);
}

TEST_F(TyldViewTest, MonochromePrintWritesTheChosenRange) {
  BinaryView view(state_.workspace);
  Load(std::string(1000, 'd'));
  const QString pdf = dir_.filePath(QStringLiteral("bin.pdf"));
  platform::SetPdfPathDialog([&pdf](const QString&) { return pdf; });
  QTimer::singleShot(0, [] {
    if (QWidget* w = QApplication::activeModalWidget()) static_cast<QDialog*>(w)->accept();
  });
  state_.live.BinOrientation = settings::Orientation::Portrait;
  view.Run(pages::ScreenAction::PrintMono);
  platform::SetPdfPathDialog({});
  EXPECT_EQ(state_.printers.Orientation(), 1) << "the job takes the screen's orientation";
  QFile out(pdf);
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  const QByteArray bytes = out.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), view.PageCount());
  state_.notice.Close();
}

// 1000 bytes, one 256-byte block per page: 0x41 at 10 and 20 (page 1), 300 (page 2) and
// 700 (page 3); page 4 has none.
std::string FourHits() {
  std::string bytes(1000, '.');
  for (const int at : {10, 20, 300, 700}) bytes[static_cast<std::size_t>(at)] = 'A';
  return bytes;
}

void SearchByteA(search::SearchStates& searches) {
  search::ByteSearchState& state = searches.bytes;
  state.SearchByte[0] = 'A';
  state.ByteColour[0] = 1;
  state.ByteSearchActive = 1;
}

TEST_F(TyldViewTest, F3AndShiftF3GoFromHitToHitAcrossPagesAndStopAtTheEnds) {
  BinaryView view(state_.workspace);
  Load(FourHits());
  SearchByteA(state_.searches);
  view.ApplyByteSearch();
  const QString noLater = QStringLiteral("これより後に該当バイトはありません。");
  const QString noEarlier = QStringLiteral("これより前に該当バイトはありません。");
  const struct {
    Qt::KeyboardModifiers modifiers;
    int page;
    std::int64_t hit;
    QString message;  // empty: none
  } steps[] = {
      {Qt::NoModifier, 0, 10, {}},       {Qt::NoModifier, 0, 20, {}},
      {Qt::NoModifier, 1, 300, {}},      {Qt::NoModifier, 2, 700, {}},
      {Qt::NoModifier, 2, 700, noLater}, {Qt::ShiftModifier, 1, 300, {}},
      {Qt::ShiftModifier, 0, 20, {}},    {Qt::ShiftModifier, 0, 10, {}},
      {Qt::ShiftModifier, 0, 10, noEarlier},
  };
  for (const auto& step : steps) {
    const std::size_t before = boxes_.Calls().size();
    QTest::keyClick(&view, Qt::Key_F3, step.modifiers);
    EXPECT_EQ(view.CurrentPage(), step.page) << step.hit;
    EXPECT_EQ(view.Screen().hitFirst, step.hit);
    EXPECT_EQ(view.Screen().hitEnd, step.hit + 1);
    if (step.message.isEmpty()) {
      EXPECT_EQ(boxes_.Calls().size(), before) << step.hit;
    } else {
      ASSERT_EQ(boxes_.Calls().size(), before + 1);
      EXPECT_EQ(boxes_.Calls().back().text, step.message);
      EXPECT_EQ(boxes_.Calls().back().caption, QStringLiteral("確認"));
    }
  }
  // Turned away from the hit, the search starts from the page shown.
  view.Run(pages::ScreenAction::LastPage);
  QTest::keyClick(&view, Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(view.CurrentPage(), 2);
  EXPECT_EQ(view.Screen().hitFirst, 700);
  view.Run(pages::ScreenAction::FirstPage);
  QTest::keyClick(&view, Qt::Key_F3);
  EXPECT_EQ(view.Screen().hitFirst, 10);
}

TEST_F(TyldViewTest, F3WithoutMarkedBytesSaysSoAndStays) {
  BinaryView view(state_.workspace);
  Load(FourHits());
  view.Run(pages::ScreenAction::NextPage);
  QTest::keyClick(&view, Qt::Key_F3);
  ASSERT_EQ(boxes_.Calls().size(), 1u);
  EXPECT_EQ(boxes_.Calls()[0].text, QStringLiteral("サーチされたバイトがありません。"));
  EXPECT_EQ(view.CurrentPage(), 1);
  EXPECT_EQ(view.Screen().hitEnd, 0);
}

TEST_F(TyldViewTest, ChoosingASequenceResultShowsItsPageAndMarksItsBytes) {
  BinaryView view(state_.workspace);
  std::string bytes(1000, '.');
  for (const int at : {5, 400, 998}) bytes.replace(static_cast<std::size_t>(at), 2, "AB");
  Load(bytes);
  view.Run(pages::ScreenAction::SequenceSearch);
  tools::SequenceSearchWindow* window = view.SequenceSearch();
  ASSERT_NE(window, nullptr);
  window->findChild<QLineEdit*>(QStringLiteral("patternByte0"))->setText(QStringLiteral("41"));
  window->findChild<QLineEdit*>(QStringLiteral("patternByte1"))->setText(QStringLiteral("42"));
  window->findChild<QLineEdit*>(QStringLiteral("patternLength"))->setText(QStringLiteral("2"));
  window->Search();
  auto* list = window->findChild<QComboBox*>(QStringLiteral("results"));
  ASSERT_EQ(list->count(), 3);
  // A byte search in between clears the sequence marks; the jump marks its hit again.
  SearchByteA(state_.searches);
  view.ApplyByteSearch();
  const struct {
    int index, page;
    std::int64_t offset;
  } jumps[] = {{1, 1, 400}, {2, 3, 998}, {0, 0, 5}};
  for (const auto& jump : jumps) {
    emit list->activated(jump.index);
    EXPECT_EQ(view.CurrentPage(), jump.page) << jump.index;
    EXPECT_EQ(view.Screen().hitFirst, jump.offset);
    EXPECT_EQ(view.Screen().hitEnd, jump.offset + 2);
    const auto& marks = state_.document.HighlightMarks;
    for (std::int64_t k = jump.offset; k < jump.offset + 2; ++k)
      EXPECT_TRUE(marks[static_cast<std::size_t>(k)] & search::kSequenceMarkBit) << k;
  }
  // A list made from longer data than is loaded now cannot jump past the end.
  Load(std::string(100, '.'));
  const std::size_t before = boxes_.Calls().size();
  emit list->activated(1);
  ASSERT_EQ(boxes_.Calls().size(), before + 1);
  EXPECT_EQ(boxes_.Calls().back().text, QStringLiteral("該当バイト列はありませんでした。"));
  EXPECT_EQ(view.CurrentPage(), 0);
  window->close();
}

TEST_F(TyldViewTest, NewDataDropsTheByteSearchFromTheTitle) {
  BinaryView view(state_.workspace);
  Load(FourHits());
  SearchByteA(state_.searches);
  view.ApplyByteSearch();
  EXPECT_TRUE(view.TitleText().contains(QStringLiteral("ﾊﾞｲﾄｻｰﾁ中 [41 h]"))) << view.TitleText().toStdString();
  Load(FourHits());
  EXPECT_FALSE(view.TitleText().contains(QStringLiteral("ﾊﾞｲﾄｻｰﾁ"))) << view.TitleText().toStdString();
  // An edit of the new data must not bring back marks the title no longer names.
  const document::ByteWrite write{1, 'A'};
  ASSERT_TRUE(state_.document.WriteBytes({&write, 1}));
  EXPECT_EQ(state_.document.HighlightMarks[1], 0);
  EXPECT_EQ(state_.document.HighlightMarks[10], 0);
  EXPECT_FALSE(view.TitleText().contains(QStringLiteral("ﾊﾞｲﾄｻｰﾁ")));
}

// A file read in the background: its pages are laid out for its size at once, each page is
// drawn as soon as its bytes are in and as it will be after the read, the pages still to come
// say so, and the end of the read keeps the page the user turned to.
TEST_F(TyldViewTest, PagesOfAFileBeingReadAreShownAsTheirBytesComeIn) {
  std::string bytes(64 * 1024, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 251 + 1);
  const QString path = dir_.filePath(QStringLiteral("big.bin"));
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  document::DocumentBuffer& doc = state_.document;
  doc.BackgroundFrom = 1;
  doc.ChunkBytes = 4096;  // 16 pages of one block
  std::atomic<int> allowed{1};
  std::atomic<bool> quit{false};
  doc.AfterChunk = [&](std::int64_t done) {
    while (done / 4096 >= allowed.load() && !quit.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  struct Release {
    std::atomic<bool>& quit;
    ~Release() { quit = true; }
  } release{quit};  // a failing check never leaves the worker waiting

  BinaryView view(state_.workspace);
  view.resize(900, 700);
  view.show();
  auto waitFor = [](const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
  };
  auto grabPage = [&view] {
    QCoreApplication::processEvents();
    return view.viewport()->grab().toImage();
  };
  doc.OpenDataFile(path.toStdString());
  ASSERT_TRUE(doc.Reading());
  EXPECT_EQ(view.PageCount(), 256);
  // Page 0 and the two below it are drawn once the first chunk is in.
  ASSERT_TRUE(waitFor([&] { return view.Screen().PageIn(2); }));
  QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
  const QImage firstDuring = grabPage();
  EXPECT_TRUE(view.TitleText().startsWith(QStringLiteral("頁=1/256 A=[0-FF H]"))) << view.TitleText().toStdString();
  EXPECT_FALSE(view.Screen().PageIn(40));
  EXPECT_FALSE(view.Screen().PageIn(255));
  for (int i = 0; i < 40; ++i) view.Run(pages::ScreenAction::NextPage);
  ASSERT_EQ(view.CurrentPage(), 40);
  const QImage pendingDuring = grabPage();
  if (const char* dir = std::getenv("TYLD_TEST_GRAB_DIR")) {
    firstDuring.save(QDir(QString::fromUtf8(dir)).filePath(QStringLiteral("reading-first-page.png")));
    pendingDuring.save(QDir(QString::fromUtf8(dir)).filePath(QStringLiteral("reading-page-41.png")));
  }

  allowed = 1000;
  ASSERT_TRUE(waitFor([&] { return !doc.Reading(); }));
  EXPECT_EQ(view.CurrentPage(), 40);  // kept at the end of the read
  const QImage pendingAfter = grabPage();
  EXPECT_NE(pendingDuring, pendingAfter);
  view.Run(pages::ScreenAction::FirstPage);
  EXPECT_EQ(grabPage(), firstDuring);
}

}  // namespace
}  // namespace tyld::binary
