#include "binary/binary_page_format_dialog.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "../pages/dialog_test_support.h"
#include "platform/command_ids.h"
#include "platform/commands.h"
#include "platform/dialog_keys.h"
#include "platform/message_box.h"

namespace tyld::binary {
namespace {

using platform::SpinArrows;

settings::BinaryPageFormat SomeFormat() {
  settings::BinaryPageFormat f;
  f.BinMarginTop = 11;
  f.BinMarginBottom = 12;
  f.BinMarginLeft = 13;
  f.BinLineSpacing = 2;
  f.BinColumnGap = 4;
  f.BinBlockGap = 6;
  f.BinColumns = 2;
  f.BinBlocksPerColumn = 3;
  f.BinDateMode = 1;
  f.BinHexCase = 1;
  f.BinPageNoMode = 2;
  f.BinCrLfMark = 3;
  return f;
}

BinaryLayout SomeLayout() {
  BinaryLayout l;
  l.maxColumns = 3;
  l.maxBlocksPerColumn = 3;
  return l;
}

class BinaryPageFormatDialogTest : public ::testing::Test {
 protected:
  settings::BinaryPageFormat format = SomeFormat();
  settings::UnprintMargins unprint{1, 2, 3, 4};
  BinaryLayout layout = SomeLayout();

  static QString TextOf(const BinaryPageFormatDialog& dlg, int id) {
    return dlg.Control<QLineEdit>(id)->text();
  }
};

TEST_F(BinaryPageFormatDialogTest, LoadsTheLiveValuesAndMaxima) {
  BinaryPageFormatDialog dlg(format, unprint, layout);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("頁フォーマット設定（バイナリ）"));
  EXPECT_EQ(dlg.pos(), QPoint(400, 100));
  const std::pair<int, const char*> edits[] = {{150, "11"}, {151, "12"}, {152, "13"}, {153, "2"},
                                               {154, "1"},  {155, "2"},  {156, "3"},  {157, "4"},
                                               {227, "4"},  {217, "6"},  {229, "2"},  {232, "3"}};
  for (const auto& [id, text] : edits) EXPECT_EQ(TextOf(dlg, id), text) << id;
  EXPECT_EQ(dlg.Control<QLabel>(230)->text(), "3");
  EXPECT_EQ(dlg.Control<QLabel>(233)->text(), "3");
  for (int checked : {175, 221, 182, 226}) EXPECT_TRUE(dlg.Control<QAbstractButton>(checked)->isChecked());
  for (int unchecked : {174, 220, 180, 223})
    EXPECT_FALSE(dlg.Control<QAbstractButton>(unchecked)->isChecked());
}

TEST_F(BinaryPageFormatDialogTest, SpinsKeepTheirBoundsAndTheMaxima) {
  testing_support::ExpectSpinSteps(
      [this] { return std::make_unique<BinaryPageFormatDialog>(format, unprint, layout); },
      {
          {150, 158, "0", -1, "0"},   {150, 158, "7", +1, "8"},   {153, 161, "-9", -1, "-10"},
          {153, 161, "-10", -1, "-10"}, {157, 165, "0", -1, "0"}, {227, 228, "0", -1, "0"},
          {217, 218, "0", -1, "0"},   {229, 231, "3", +1, "3"},   {229, 231, "2", +1, "3"},
          {229, 231, "1", -1, "1"},   {232, 234, "3", +1, "3"},   {232, 234, "1", -1, "1"},
      });
}

TEST_F(BinaryPageFormatDialogTest, KeysWalkTheTwelveEditsToOk) {
  BinaryPageFormatDialog dlg(format, unprint, layout);
  testing_support::OpenActive(dlg);
  QVector<QLineEdit*> order;
  for (int id : {150, 151, 152, 153, 154, 155, 156, 157, 227, 217, 229, 232})
    order.push_back(dlg.Control<QLineEdit>(id));
  testing_support::ExpectWholeTextSelected(order.front());
  testing_support::ExpectEditWalk(dlg, order, dlg.Control<QPushButton>(1));
}

TEST_F(BinaryPageFormatDialogTest, OkWritesStoredValuesAndSharedMarginsCancelWritesNothing) {
  {
    BinaryPageFormatDialog dlg(format, unprint, layout);
    dlg.open();
    dlg.Control<QLineEdit>(150)->setText("20");
    dlg.Control<QLineEdit>(154)->setText("9");
    dlg.Control<QLineEdit>(229)->setText("9");  // typed beyond the maximum: the layout decides
    dlg.Control<QAbstractButton>(220)->click();
    dlg.Control<QPushButton>(2)->click();
    EXPECT_EQ(format.BinMarginTop, 11);
    EXPECT_EQ(unprint.top, 1);
  }
  BinaryPageFormatDialog dlg(format, unprint, layout);
  dlg.open();
  dlg.Control<QLineEdit>(150)->setText("20");
  dlg.Control<QLineEdit>(154)->setText("9");
  dlg.Control<QLineEdit>(229)->setText("9");
  dlg.Control<QAbstractButton>(220)->click();
  dlg.Control<QAbstractButton>(224)->click();
  dlg.Control<QPushButton>(1)->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(format.BinMarginTop, 20);
  EXPECT_EQ(unprint.top, 9);
  EXPECT_EQ(format.BinColumns, 9);
  EXPECT_EQ(format.BinHexCase, 0);
  EXPECT_EQ(format.BinCrLfMark, 1);
  EXPECT_EQ(layout.maxColumns, 3) << "the maxima are the layout's, which only the screen computes";
}

TEST_F(BinaryPageFormatDialogTest, ANonIntegerEntryIsRefusedAndNothingIsApplied) {
  platform::ScopedMessageBoxRecorder boxes;
  BinaryPageFormatDialog dlg(format, unprint, layout);
  dlg.open();
  dlg.Control<QLineEdit>(150)->setText("30");
  dlg.Control<QLineEdit>(155)->setText("-");
  dlg.Control<QPushButton>(1)->click();
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("確認要求"));
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(format.BinMarginTop, 11);
  EXPECT_EQ(dlg.focusWidget(), dlg.Control<QLineEdit>(155));
}

// Stands in for the binary screen: rebuilds from the live format the way the layout does
// (the maxima change, blocks per column follows its maximum) and answers 212.
class FakeBinaryScreen : public platform::CommandTarget {
 public:
  FakeBinaryScreen(settings::BinaryPageFormat& f, BinaryLayout& layout) : format_(f), layout_(layout) {
    platform::Publish(platform::Role::BinView, this);
  }
  ~FakeBinaryScreen() override { platform::Withdraw(platform::Role::BinView, this); }
  bool OnCommand(int id, std::intptr_t) override {
    if (id != cmd::kRebuildFromForm) return false;
    marginLeftSeen = format_.BinMarginLeft;
    layout_.maxColumns = format_.BinMarginLeft > 20 ? 2 : 3;
    layout_.maxBlocksPerColumn = 5;
    format_.BinBlocksPerColumn = 5;
    ++rebuilds;
    answered = platform::SendCommand(platform::Role::BinFormDialog, cmd::kRebuildDone);
    return true;
  }
  int rebuilds = 0;
  int marginLeftSeen = -1;
  bool answered = false;

 private:
  settings::BinaryPageFormat& format_;
  BinaryLayout& layout_;
};

TEST_F(BinaryPageFormatDialogTest, ReadjustRebuildsTheScreenAndShowsTheNewMaxima) {
  FakeBinaryScreen screen(format, layout);
  {
    BinaryPageFormatDialog dlg(format, unprint, layout);
    dlg.open();
    dlg.Control<QLineEdit>(152)->setText("30");
    dlg.Control<QLineEdit>(157)->setText("8");
    dlg.Control<QPushButton>(149)->click();
    EXPECT_EQ(screen.rebuilds, 1);
    EXPECT_EQ(screen.marginLeftSeen, 30) << "values are applied before the screen rebuilds";
    EXPECT_TRUE(screen.answered);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.Control<QLabel>(230)->text(), "2");
    EXPECT_EQ(dlg.Control<QLabel>(233)->text(), "5");
    EXPECT_EQ(TextOf(dlg, 232), "5");
    // The spins follow the new maxima.
    dlg.Control<SpinArrows>(234)->Step(+1);
    EXPECT_EQ(TextOf(dlg, 232), "5");
    dlg.Control<QLineEdit>(229)->setText("2");
    dlg.Control<SpinArrows>(231)->Step(+1);
    EXPECT_EQ(TextOf(dlg, 229), "2");

    dlg.Control<QPushButton>(2)->click();  // Cancel keeps what was applied
    EXPECT_EQ(platform::Published(platform::Role::BinFormDialog), nullptr);
  }
  EXPECT_EQ(format.BinMarginLeft, 30);
  EXPECT_EQ(unprint.right, 8);
}

TEST_F(BinaryPageFormatDialogTest, ReadjustWithARefusedEntrySendsNothing) {
  platform::ScopedMessageBoxRecorder boxes;
  FakeBinaryScreen screen(format, layout);
  BinaryPageFormatDialog dlg(format, unprint, layout);
  dlg.Control<QLineEdit>(217)->setText("");
  dlg.Control<QPushButton>(149)->click();
  EXPECT_EQ(screen.rebuilds, 0);
  EXPECT_EQ(boxes.Calls().size(), 1u);
}

}  // namespace
}  // namespace tyld::binary
