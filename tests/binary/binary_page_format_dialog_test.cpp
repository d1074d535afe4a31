#include "binary/binary_page_format_dialog.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "../pages/dialog_test_support.h"
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

  static QString TextOf(const BinaryPageFormatDialog& dlg, const char* name) {
    return dlg.findChild<QLineEdit*>(name)->text();
  }
};

TEST_F(BinaryPageFormatDialogTest, LoadsTheLiveValuesAndMaxima) {
  BinaryPageFormatDialog dlg(format, unprint, layout);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("頁フォーマット設定（バイナリ）"));
  EXPECT_EQ(dlg.pos(), QPoint(400, 100));
  const std::pair<const char*, const char*> edits[] = {
      {"marginTop", "11"},  {"marginBottom", "12"},  {"marginLeft", "13"},  {"lineSpacing", "2"},
      {"unprintTop", "1"},  {"unprintBottom", "2"},  {"unprintLeft", "3"},  {"unprintRight", "4"},
      {"columnGap", "4"},   {"blockGap", "6"},       {"columns", "2"},      {"blocksPerColumn", "3"}};
  for (const auto& [name, text] : edits) EXPECT_EQ(TextOf(dlg, name), text) << name;
  EXPECT_EQ(dlg.findChild<QLabel*>("maxColumns")->text(), "3");
  EXPECT_EQ(dlg.findChild<QLabel*>("maxBlocksPerColumn")->text(), "3");
  for (const char* checked : {"dateBottomLeft", "hexLower", "pageNumberPrintableCentre", "crLfSpace"})
    EXPECT_TRUE(dlg.findChild<QAbstractButton*>(checked)->isChecked());
  for (const char* unchecked : {"dateOff", "hexUpper", "pageNumberOff", "crLfArrowDown"})
    EXPECT_FALSE(dlg.findChild<QAbstractButton*>(unchecked)->isChecked());
}

TEST_F(BinaryPageFormatDialogTest, SpinsKeepTheirBoundsAndTheMaxima) {
  testing_support::ExpectSpinSteps(
      [this] { return std::make_unique<BinaryPageFormatDialog>(format, unprint, layout); },
      {
          {"marginTop", "0", -1, "0"},   {"marginTop", "7", +1, "8"},   {"lineSpacing", "1", -1, "0"},
          {"lineSpacing", "0", -1, "0"}, {"unprintRight", "0", -1, "0"}, {"columnGap", "0", -1, "0"},
          {"blockGap", "0", -1, "0"},   {"columns", "3", +1, "3"},   {"columns", "2", +1, "3"},
          {"columns", "1", -1, "1"},   {"blocksPerColumn", "3", +1, "3"},   {"blocksPerColumn", "1", -1, "1"},
      });
}

TEST_F(BinaryPageFormatDialogTest, KeysWalkTheTwelveEditsToOk) {
  BinaryPageFormatDialog dlg(format, unprint, layout);
  testing_support::OpenActive(dlg);
  QVector<QLineEdit*> order;
  for (const char* name : {"marginTop", "marginBottom", "marginLeft", "lineSpacing", "unprintTop",
        "unprintBottom", "unprintLeft", "unprintRight", "columnGap", "blockGap", "columns",
        "blocksPerColumn"})
    order.push_back(dlg.findChild<QLineEdit*>(name));
  testing_support::ExpectWholeTextSelected(order.front());
  testing_support::ExpectEditWalk(dlg, order, dlg.findChild<QPushButton*>("ok"));
}

TEST_F(BinaryPageFormatDialogTest, OkWritesStoredValuesAndSharedMarginsCancelWritesNothing) {
  {
    BinaryPageFormatDialog dlg(format, unprint, layout);
    dlg.open();
    dlg.findChild<QLineEdit*>("marginTop")->setText("20");
    dlg.findChild<QLineEdit*>("unprintTop")->setText("9");
    dlg.findChild<QLineEdit*>("columns")->setText("9");  // typed beyond the maximum: the layout decides
    dlg.findChild<QAbstractButton*>("hexUpper")->click();
    dlg.findChild<QPushButton*>("cancel")->click();
    EXPECT_EQ(format.BinMarginTop, 11);
    EXPECT_EQ(unprint.top, 1);
  }
  BinaryPageFormatDialog dlg(format, unprint, layout);
  dlg.open();
  dlg.findChild<QLineEdit*>("marginTop")->setText("20");
  dlg.findChild<QLineEdit*>("unprintTop")->setText("9");
  dlg.findChild<QLineEdit*>("columns")->setText("9");
  dlg.findChild<QAbstractButton*>("hexUpper")->click();
  dlg.findChild<QAbstractButton*>("crLfDots")->click();
  dlg.findChild<QPushButton*>("ok")->click();
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
  dlg.findChild<QLineEdit*>("marginTop")->setText("30");
  dlg.findChild<QLineEdit*>("unprintBottom")->setText("-");
  dlg.findChild<QPushButton*>("ok")->click();
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("確認要求"));
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(format.BinMarginTop, 11);
  EXPECT_EQ(dlg.focusWidget(), dlg.findChild<QLineEdit*>("unprintBottom"));
}

TEST_F(BinaryPageFormatDialogTest, ReadjustRebuildsTheScreenAndShowsTheNewMaxima) {
  {
    BinaryPageFormatDialog dlg(format, unprint, layout);
    // Stands in for the binary screen: rebuilds from the live format the way the layout
    // does (the maxima change, blocks per column follows its maximum).
    int rebuilds = 0;
    int marginLeftSeen = -1;
    QObject::connect(&dlg, &pages::PageFormatDialog::ReadjustRequested, [&] {
      marginLeftSeen = format.BinMarginLeft;
      layout.maxColumns = format.BinMarginLeft > 20 ? 2 : 3;
      layout.maxBlocksPerColumn = 5;
      format.BinBlocksPerColumn = 5;
      ++rebuilds;
    });
    dlg.open();
    dlg.findChild<QLineEdit*>("marginLeft")->setText("30");
    dlg.findChild<QLineEdit*>("unprintRight")->setText("8");
    dlg.findChild<QPushButton*>("readjust")->click();
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(marginLeftSeen, 30) << "values are applied before the screen rebuilds";
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.findChild<QLabel*>("maxColumns")->text(), "2");
    EXPECT_EQ(dlg.findChild<QLabel*>("maxBlocksPerColumn")->text(), "5");
    EXPECT_EQ(TextOf(dlg, "blocksPerColumn"), "5");
    // The spins follow the new maxima.
    dlg.findChild<SpinArrows*>("blocksPerColumnSpin")->Step(+1);
    EXPECT_EQ(TextOf(dlg, "blocksPerColumn"), "5");
    dlg.findChild<QLineEdit*>("columns")->setText("2");
    dlg.findChild<SpinArrows*>("columnsSpin")->Step(+1);
    EXPECT_EQ(TextOf(dlg, "columns"), "2");

    dlg.findChild<QPushButton*>("cancel")->click();  // Cancel keeps what was applied
    EXPECT_FALSE(dlg.isVisible());
  }
  EXPECT_EQ(format.BinMarginLeft, 30);
  EXPECT_EQ(unprint.right, 8);
}

TEST_F(BinaryPageFormatDialogTest, ReadjustWithARefusedEntrySendsNothing) {
  platform::ScopedMessageBoxRecorder boxes;
  BinaryPageFormatDialog dlg(format, unprint, layout);
  int rebuilds = 0;
  QObject::connect(&dlg, &pages::PageFormatDialog::ReadjustRequested, [&] { ++rebuilds; });
  dlg.findChild<QLineEdit*>("blockGap")->setText("");
  dlg.findChild<QPushButton*>("readjust")->click();
  EXPECT_EQ(rebuilds, 0);
  EXPECT_EQ(boxes.Calls().size(), 1u);
}

}  // namespace
}  // namespace tyld::binary
