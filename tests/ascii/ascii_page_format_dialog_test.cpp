#include "ascii/ascii_page_format_dialog.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "../pages/dialog_test_support.h"
#include "platform/dialog_keys.h"
#include "platform/message_box.h"

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

  static QString TextOf(const AsciiPageFormatDialog& dlg, const char* name) {
    return dlg.findChild<QLineEdit*>(name)->text();
  }
};

TEST_F(AsciiPageFormatDialogTest, LoadsTheLiveValuesAndMaxima) {
  AsciiPageFormatDialog dlg(format, unprint, layout);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("頁フォーマット設定（アスキー）"));
  EXPECT_EQ(dlg.pos(), QPoint(400, 100));
  EXPECT_EQ(TextOf(dlg, "marginTop"), "10");
  EXPECT_EQ(TextOf(dlg, "unprintLeft"), "3");
  EXPECT_EQ(TextOf(dlg, "tabWidth"), "4");
  EXPECT_EQ(dlg.findChild<QLabel*>("maxCharsPerLine")->text(), "76");
  EXPECT_EQ(dlg.findChild<QLabel*>("maxLinesPerPage")->text(), "64");
  for (const char* checked : {"dateBottomLeft", "fileNameOff", "pageNumberPrintableCentre",
        "lineNumberScreenAndPrint"})
    EXPECT_TRUE(dlg.findChild<QAbstractButton*>(checked)->isChecked()) << checked;
}

TEST_F(AsciiPageFormatDialogTest, SpinsKeepTheirRanges) {
  testing_support::ExpectSpinSteps(
      [this] { return std::make_unique<AsciiPageFormatDialog>(format, unprint, layout); },
      {
          {"tabWidth", "1", -1, "1"},     {"tabWidth", "8", +1, "8"},   {"tabWidth", "4", +1, "5"},
          {"lineSpacing", "1", -1, "0"},  {"lineSpacing", "0", -1, "0"},
          {"marginLeft", "0", -1, "0"},     {"unprintTop", "0", -1, "0"},   {"columnGap", "0", -1, "0"},
          {"columns", "1", -1, "1"},     {"columns", "500", +1, "501"},  // no maximum for columns
      });
}

TEST_F(AsciiPageFormatDialogTest, KeysWalkTheElevenEditsToOk) {
  AsciiPageFormatDialog dlg(format, unprint, layout);
  testing_support::OpenActive(dlg);
  QVector<QLineEdit*> order;
  for (const char* name : {"marginTop", "marginBottom", "marginLeft", "lineSpacing", "unprintTop",
        "unprintBottom", "unprintLeft", "unprintRight", "columnGap", "columns", "tabWidth"})
    order.push_back(dlg.findChild<QLineEdit*>(name));
  testing_support::ExpectEditWalk(dlg, order, dlg.findChild<QPushButton*>("ok"));
}

TEST_F(AsciiPageFormatDialogTest, ReadjustAppliesRebuildsAndCancelKeepsWhatWasApplied) {
  {
    AsciiPageFormatDialog dlg(format, unprint, layout);
    // Stands in for the ASCII screen: a wider left margin leaves fewer characters per line.
    int rebuilds = 0;
    QObject::connect(&dlg, &pages::PageFormatDialog::ReadjustRequested, [&] {
      layout.maxCharsPerLine = 86 - format.AscMarginLeft;
      ++rebuilds;
    });
    dlg.open();
    dlg.findChild<QLineEdit*>("marginLeft")->setText("30");
    dlg.findChild<QLineEdit*>("unprintTop")->setText("7");
    dlg.findChild<QAbstractButton*>("fileNameBottomRight")->click();
    dlg.findChild<QPushButton*>("readjust")->click();
    EXPECT_EQ(rebuilds, 1);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.findChild<QLabel*>("maxCharsPerLine")->text(), "56");

    dlg.findChild<QLineEdit*>("marginTop")->setText("40");  // changed after the readjust, then cancelled
    dlg.findChild<QPushButton*>("cancel")->click();
    EXPECT_FALSE(dlg.isVisible());
  }
  EXPECT_EQ(format.AscMarginLeft, 30);
  EXPECT_EQ(format.AscMarginTop, 10);
  EXPECT_EQ(format.AscFileNameMode, 1);
  EXPECT_EQ(unprint.top, 7);
}

TEST_F(AsciiPageFormatDialogTest, OkWritesStoredValuesTypedBeyondTheSpinRanges) {
  AsciiPageFormatDialog dlg(format, unprint, layout);
  dlg.open();
  dlg.findChild<QLineEdit*>("tabWidth")->setText("0");
  dlg.findChild<QLineEdit*>("lineSpacing")->setText("12");
  dlg.findChild<QLineEdit*>("columns")->setText("3");
  dlg.findChild<QAbstractButton*>("lineNumberOff")->click();
  dlg.findChild<QPushButton*>("ok")->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(format.AscTabWidth, 0);
  EXPECT_EQ(format.AscLineSpacing, 12);
  EXPECT_EQ(format.AscColumns, 3);
  EXPECT_EQ(format.AscLineNoMode, 0);
  EXPECT_EQ(format.AscCharsPerLine, settings::AsciiPageFormat{}.AscCharsPerLine);
}

// A spacing that would print rows over each other is refused, naming the smallest allowed.
TEST_F(AsciiPageFormatDialogTest, OverlappingLineSpacingIsRefused) {
  for (const char* typed : {"-1", "-10", "-12"}) {
    SCOPED_TRACE(typed);
    format.AscLineSpacing = 3;
    AsciiPageFormatDialog dlg(format, unprint, layout);
    dlg.open();
    dlg.findChild<QLineEdit*>("lineSpacing")->setText(typed);
    platform::ScopedMessageBoxRecorder boxes;
    dlg.findChild<QPushButton*>("ok")->click();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("行間は0以上を指定してください。"));
    EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("確認要求"));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(format.AscLineSpacing, 3);
    dlg.reject();
  }
}

}  // namespace
}  // namespace tyld::ascii
