// The binary screen as a user drives it: scrolling that turns pages, the title, the
// position jump and printing.
#include "binary/binary_view.h"

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "pages/page_dialogs.h"
#include "pages/screen_action.h"
#include "platform/message_box.h"
#include "platform/print_job.h"
#include "platform/printer.h"
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

}  // namespace
}  // namespace tyld::binary
