#include "ascii/ascii_page_format_dialog.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "../pages/dialog_test_support.h"
#include "platform/command_ids.h"
#include "platform/commands.h"
#include "platform/dialog_keys.h"

namespace tyld::ascii {
namespace {

using platform::SpinArrows;

class AsciiPageFormatDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    layout.maxCharsPerLine = 76;
    layout.maxLinesPerPage = 64;
    format.AscTabWidth = 4;
    format.AscFileNameMode = 0;
    format.AscLineNoMode = 2;
  }
  settings::AsciiPageFormat format;
  settings::UnprintMargins unprint{1, 2, 3, 4};
  AsciiLayout layout;

  static QString TextOf(const AsciiPageFormatDialog& dlg, int id) { return dlg.Control<QLineEdit>(id)->text(); }
};

TEST_F(AsciiPageFormatDialogTest, LoadsTheLiveValuesAndMaxima) {
  AsciiPageFormatDialog dlg(format, unprint, layout);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("頁フォーマット設定（アスキー）"));
  EXPECT_EQ(dlg.pos(), QPoint(400, 100));
  EXPECT_EQ(TextOf(dlg, 150), "10");
  EXPECT_EQ(TextOf(dlg, 156), "3");
  EXPECT_EQ(TextOf(dlg, 169), "4");
  EXPECT_EQ(dlg.Control<QLabel>(187)->text(), "76");
  EXPECT_EQ(dlg.Control<QLabel>(188)->text(), "64");
  for (int checked : {175, 177, 182, 186})
    EXPECT_TRUE(dlg.Control<QAbstractButton>(checked)->isChecked()) << checked;
}

TEST_F(AsciiPageFormatDialogTest, SpinsKeepTheirRanges) {
  testing_support::ExpectSpinSteps(
      [this] { return std::make_unique<AsciiPageFormatDialog>(format, unprint, layout); },
      {
          {169, 172, "1", -1, "1"},     {169, 172, "8", +1, "8"},   {169, 172, "4", +1, "5"},
          {153, 161, "-9", -1, "-10"},  {153, 161, "-10", -1, "-10"},
          {152, 160, "0", -1, "0"},     {154, 162, "0", -1, "0"},   {227, 228, "0", -1, "0"},
          {229, 231, "1", -1, "1"},     {229, 231, "500", +1, "501"},  // no maximum for columns
      });
}

TEST_F(AsciiPageFormatDialogTest, KeysWalkTheElevenEditsToOk) {
  AsciiPageFormatDialog dlg(format, unprint, layout);
  testing_support::OpenActive(dlg);
  QVector<QLineEdit*> order;
  for (int id : {150, 151, 152, 153, 154, 155, 156, 157, 227, 229, 169})
    order.push_back(dlg.Control<QLineEdit>(id));
  testing_support::ExpectEditWalk(dlg, order, dlg.Control<QPushButton>(1));
}

// Stands in for the ASCII screen: a wider left margin leaves fewer characters per line.
class FakeAsciiScreen : public platform::CommandTarget {
 public:
  FakeAsciiScreen(const settings::AsciiPageFormat& f, AsciiLayout& layout) : format_(f), layout_(layout) {
    platform::Publish(platform::Role::AscDraw, this);
  }
  ~FakeAsciiScreen() override { platform::Withdraw(platform::Role::AscDraw, this); }
  bool OnCommand(int id, std::intptr_t) override {
    if (id != cmd::kRebuildFromForm) return false;
    layout_.maxCharsPerLine = 86 - format_.AscMarginLeft;
    ++rebuilds;
    platform::SendCommand(platform::Role::AscFormDialog, cmd::kRebuildDone);
    return true;
  }
  int rebuilds = 0;

 private:
  const settings::AsciiPageFormat& format_;
  AsciiLayout& layout_;
};

TEST_F(AsciiPageFormatDialogTest, ReadjustAppliesRebuildsAndCancelKeepsWhatWasApplied) {
  FakeAsciiScreen screen(format, layout);
  {
    AsciiPageFormatDialog dlg(format, unprint, layout);
    dlg.open();
    dlg.Control<QLineEdit>(152)->setText("30");
    dlg.Control<QLineEdit>(154)->setText("7");
    dlg.Control<QAbstractButton>(178)->click();
    dlg.Control<QPushButton>(149)->click();
    EXPECT_EQ(screen.rebuilds, 1);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.Control<QLabel>(187)->text(), "56");

    dlg.Control<QLineEdit>(150)->setText("40");  // changed after the readjust, then cancelled
    dlg.Control<QPushButton>(2)->click();
    EXPECT_EQ(platform::Published(platform::Role::AscFormDialog), nullptr);
  }
  EXPECT_EQ(format.AscMarginLeft, 30);
  EXPECT_EQ(format.AscMarginTop, 10);
  EXPECT_EQ(format.AscFileNameMode, 1);
  EXPECT_EQ(unprint.top, 7);
}

TEST_F(AsciiPageFormatDialogTest, OkWritesStoredValuesTypedBeyondTheSpinRanges) {
  AsciiPageFormatDialog dlg(format, unprint, layout);
  dlg.open();
  dlg.Control<QLineEdit>(169)->setText("0");
  dlg.Control<QLineEdit>(153)->setText("-12");
  dlg.Control<QLineEdit>(229)->setText("3");
  dlg.Control<QAbstractButton>(184)->click();
  dlg.Control<QPushButton>(1)->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(format.AscTabWidth, 0);
  EXPECT_EQ(format.AscLineSpacing, -12);
  EXPECT_EQ(format.AscColumns, 3);
  EXPECT_EQ(format.AscLineNoMode, 0);
  EXPECT_EQ(format.AscCharsPerLine, settings::AsciiPageFormat{}.AscCharsPerLine);
}

}  // namespace
}  // namespace tyld::ascii
