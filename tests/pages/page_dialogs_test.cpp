#include "pages/page_dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "platform/codepage.h"
#include "platform/dialog_keys.h"
#include "platform/message_box.h"
#include "platform/recording_canvas.h"

namespace tyld::pages {
namespace {

using platform::Answer;
using platform::ScopedMessageBoxRecorder;
using platform::SpinArrows;

template <class D>
QString EditText(const D& dlg, const char* name) {
  return dlg.template findChild<QLineEdit*>(name)->text();
}

TEST(PrintRangeDialog, OpensWithWholeRangeAndCaptionByColour) {
  for (const bool colour : {true, false}) {
    PrintRangeDialog dlg(3, 12, colour);
    EXPECT_EQ(dlg.windowTitle(), colour ? QStringLiteral("印刷頁指定、カラー印刷")
                                        : QStringLiteral("印刷頁指定、モノクロ印刷"));
    EXPECT_EQ(EditText(dlg, "startPage"), "1");
    EXPECT_EQ(EditText(dlg, "endPage"), "12");
    EXPECT_EQ(EditText(dlg, "firstNumber"), "-1");
    EXPECT_EQ(dlg.findChild<QLabel*>("pageCount")->text(), "12");
    EXPECT_EQ(dlg.pos(), QPoint(500, 100));
  }
}

TEST(PrintRangeDialog, ButtonsSetStartAndEnd) {
  PrintRangeDialog dlg(3, 9, true);
  dlg.findChild<QPushButton*>("startAtCurrent")->click();
  dlg.findChild<QPushButton*>("endAtCurrent")->click();
  EXPECT_EQ(EditText(dlg, "startPage"), "4");
  EXPECT_EQ(EditText(dlg, "endPage"), "4");
  dlg.findChild<QPushButton*>("startAtFirst")->click();
  dlg.findChild<QPushButton*>("endAtLast")->click();
  EXPECT_EQ(EditText(dlg, "startPage"), "1");
  EXPECT_EQ(EditText(dlg, "endPage"), "9");
}

TEST(PrintRangeDialog, SpinsStayWithinTheirBounds) {
  struct Case {
    int pageCount;
    const char *edit, *start;
    int delta;
    const char* expected;
  } cases[] = {
      {1, "startPage", "1", +1, "1"},   {1, "startPage", "1", -1, "1"},
      {1, "endPage", "1", +1, "1"},     {1, "endPage", "1", -1, "1"},
      {5, "startPage", "5", +1, "5"},   {5, "endPage", "4", +1, "5"},
      {5, "firstNumber", "0", -1, "-1"}, {5, "firstNumber", "-1", -1, "-1"},
      {5, "firstNumber", "99", +1, "100"},
  };
  for (const Case& c : cases) {
    PrintRangeDialog dlg(0, c.pageCount, true);
    dlg.findChild<QLineEdit*>(c.edit)->setText(c.start);
    dlg.findChild<SpinArrows*>(QString::fromLatin1(c.edit) + "Spin")->Step(c.delta);
    EXPECT_EQ(EditText(dlg, c.edit), c.expected) << c.edit << " spin from " << c.start;
  }
}

TEST(PrintRangeDialog, PrintStartChecksRangeAndConfirmsLongJobs) {
  struct Case {
    const char *start, *end, *number;
    Answer answer;
    const char* caption;  // of the one message box expected, nullptr for none
    bool accepted;
    PrintRange result;
  } cases[] = {
      {"1", "10", "0", Answer::Ok, nullptr, true, {1, 10, 0}},
      {"2", "5", "-1", Answer::Ok, nullptr, true, {2, 5, 2}},
      {"3", "3", "7", Answer::Ok, nullptr, true, {3, 3, 7}},
      {"1", "11", "-1", Answer::Ok, "11 頁分の印刷が指示されました。", true, {1, 11, 1}},
      {"1", "11", "-1", Answer::Cancel, "11 頁分の印刷が指示されました。", false, {}},
      {"4", "3", "-1", Answer::Ok, "確認要求", false, {}},
      {"0", "3", "-1", Answer::Ok, "確認要求", false, {}},
      {"1", "21", "-1", Answer::Ok, "確認要求", false, {}},
      {"", "3", "-1", Answer::Ok, "確認要求", false, {}},
      {"1", "3", "-", Answer::Ok, "確認要求", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + ".." + c.end + " #" + c.number);
    ScopedMessageBoxRecorder boxes(c.answer);
    PrintRangeDialog dlg(0, 20, false);
    dlg.open();
    dlg.findChild<QLineEdit*>("startPage")->setText(c.start);
    dlg.findChild<QLineEdit*>("endPage")->setText(c.end);
    dlg.findChild<QLineEdit*>("firstNumber")->setText(c.number);
    dlg.findChild<QPushButton*>("ok")->click();
    EXPECT_EQ(dlg.result() == QDialog::Accepted, c.accepted);
    EXPECT_EQ(dlg.isVisible(), !c.accepted);
    ASSERT_EQ(boxes.Calls().size(), c.caption ? 1u : 0u);
    if (c.caption) {
      EXPECT_EQ(boxes.Calls()[0].caption, QString::fromUtf8(c.caption));
    }
    if (c.accepted) {
      EXPECT_EQ(dlg.Result().startPage, c.result.startPage);
      EXPECT_EQ(dlg.Result().endPage, c.result.endPage);
      EXPECT_EQ(dlg.Result().firstNumber, c.result.firstNumber);
    }
  }
}

TEST(PrintRangeDialog, MessagesReadAsTheUserSeesThem) {
  ScopedMessageBoxRecorder boxes(Answer::Ok);
  PrintRangeDialog dlg(0, 20, true);
  dlg.open();
  dlg.findChild<QLineEdit*>("startPage")->setText("5");
  dlg.findChild<QLineEdit*>("endPage")->setText("4");
  dlg.accept();
  dlg.findChild<QLineEdit*>("endPage")->setText("15");
  dlg.accept();
  ASSERT_EQ(boxes.Calls().size(), 2u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("開始頁＞終了頁 になっています。"));
  EXPECT_EQ(boxes.Calls()[1].text, QStringLiteral("実行していいですか？"));
  EXPECT_EQ(boxes.Calls()[1].buttons, platform::Buttons::OkCancel);
}

TEST(PrintRangeDialog, KeysWalkTheEditsToPrintStart) {
  PrintRangeDialog dlg(0, 20, true);
  testing_support::OpenActive(dlg);
  testing_support::ExpectEditWalk(
      dlg,
      {dlg.findChild<QLineEdit*>("startPage"), dlg.findChild<QLineEdit*>("endPage"),
       dlg.findChild<QLineEdit*>("firstNumber")},
      dlg.findChild<QPushButton*>("ok"));
}

TEST(GoToPageDialog, ButtonsAndSpinChooseAPageWithinTheDocument) {
  struct Case {
    int pageCount, current;
    const char *button, *expected;
  } cases[] = {
      {7, 0, "middlePage", "4"}, {8, 0, "middlePage", "4"}, {1, 0, "middlePage", "1"},
      {8, 5, "firstPage", "1"},  {8, 0, "lastPage", "8"},
  };
  for (const Case& c : cases) {
    GoToPageDialog dlg(c.current, c.pageCount);
    dlg.findChild<QPushButton*>(c.button)->click();
    EXPECT_EQ(EditText(dlg, "page"), c.expected) << c.pageCount << " pages, button " << c.button;
  }

  GoToPageDialog dlg(7, 8);
  EXPECT_EQ(EditText(dlg, "page"), "8");
  EXPECT_EQ(dlg.findChild<QLabel*>("pageCount")->text(), "8");
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("CRT表示頁指定"));
  EXPECT_EQ(dlg.pos(), QPoint(400, 100));
  auto* spin = dlg.findChild<SpinArrows*>("pageSpin");
  spin->Step(+1);
  EXPECT_EQ(EditText(dlg, "page"), "8");
  dlg.findChild<QPushButton*>("firstPage")->click();
  spin->Step(-1);
  EXPECT_EQ(EditText(dlg, "page"), "1");
  spin->Step(+1);
  EXPECT_EQ(EditText(dlg, "page"), "2");
}

TEST(GoToPageDialog, OkGivesTheZeroBasedPageAndRefusesPagesOutsideTheDocument) {
  struct Case {
    const char* typed;
    bool accepted;
    int result;
  } cases[] = {{"5", true, 4}, {"1", true, 0}, {"8", true, 7},
               {"9", false, 0}, {"0", false, 0}, {"x", false, 0}};
  for (const Case& c : cases) {
    ScopedMessageBoxRecorder boxes;
    GoToPageDialog dlg(2, 8);
    dlg.open();
    dlg.findChild<QLineEdit*>("page")->setText(c.typed);
    dlg.findChild<QPushButton*>("ok")->click();
    EXPECT_EQ(dlg.result() == QDialog::Accepted, c.accepted) << c.typed;
    EXPECT_EQ(boxes.Calls().size(), c.accepted ? 0u : 1u) << c.typed;
    if (c.accepted) {
      EXPECT_EQ(dlg.Result(), c.result);
    }
  }
}

TEST(GoToPageDialog, CancelKeepsTheCurrentPage) {
  GoToPageDialog dlg(2, 8);
  dlg.open();
  dlg.findChild<QLineEdit*>("page")->setText("6");
  dlg.findChild<QPushButton*>("cancel")->click();
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(dlg.Result(), 2);
}

TEST(GoToPageDialog, KeysMoveFromThePageToOk) {
  GoToPageDialog dlg(0, 3);
  testing_support::OpenActive(dlg);
  testing_support::ExpectEditWalk(dlg, {dlg.findChild<QLineEdit*>("page")},
                                  dlg.findChild<QPushButton*>("ok"));
}

TEST(PaintGuideTitle, FillsAndCentresWhiteTextInTenPointGothic) {
  platform::RecordingCanvas canvas({4800, 6800, 600, 600});
  const std::string title = platform::codepage::FromUtf8("マウスドラッグ");  // 14 bytes
  PaintGuideTitle(canvas, 100, 10, 1100, 110, title);
  const auto& calls = canvas.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front().op, platform::RecordingCanvas::Op::Rect);
  EXPECT_EQ(calls.front().brush.style, platform::BrushStyle::Solid);
  EXPECT_EQ(calls.front().brush.color, 0x00404000u);
  EXPECT_EQ(calls.front().pen.style, platform::PenStyle::None);
  const auto texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 1u);
  const auto& t = texts[0];
  EXPECT_EQ(t.font.height, -83);  // 10 points at 600 dpi
  EXPECT_EQ(t.font.charSet, 128);
  EXPECT_EQ(t.font.Face(), platform::kDefaultFaceSjis);
  EXPECT_EQ(t.color, 0x00FFFFFFu);
  EXPECT_EQ(t.text, title);
  // The recording canvas has cells of 41 x 83 for that height.
  EXPECT_EQ(t.x, 600 - 14 * 41 / 2);
  EXPECT_EQ(t.y, 60 - 83 / 2);
}

std::string Repeat(const char* utf8, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += platform::codepage::FromUtf8(utf8);
  return out;
}

TEST(PaintGuideTitle, CutsLongTextsAtACharacterWithin48Bytes) {
  struct Case {
    std::string text;
    std::size_t kept;
  } cases[] = {
      {Repeat("頁", 30), 48},
      {std::string(47, 'a') + platform::codepage::FromUtf8("頁"), 47},
      {std::string(46, 'a') + platform::codepage::FromUtf8("頁") + "b", 48},
      {std::string(60, 'a'), 48},
  };
  for (const Case& c : cases) {
    platform::RecordingCanvas canvas;
    PaintGuideTitle(canvas, 0, 0, 2000, 100, c.text);
    ASSERT_EQ(canvas.Texts().size(), 1u);
    EXPECT_EQ(canvas.Texts()[0].text, c.text.substr(0, c.kept));
  }
}

TEST(PageTurnGuideDialog, ShowsTheGuide) {
  PageTurnGuideDialog dlg;
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("頁めくりガイド（アスキー、バイナリ画面）"));
  dlg.open();
  const QImage shot = dlg.grab().toImage();
  EXPECT_FALSE(shot.isNull());
  // A title field's ground is painted in the guide's teal.
  bool teal = false;
  for (int y = 0; y < shot.height() && !teal; ++y)
    for (int x = 0; x < shot.width() && !teal; ++x)
      teal = shot.pixelColor(x, y) == QColor(0x00, 0x40, 0x40);
  EXPECT_TRUE(teal);
  dlg.findChild<QPushButton*>()->click();
  EXPECT_FALSE(dlg.isVisible());
}

int OpenPrintWindows() {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<PrintingNoticeWindow*>(w) != nullptr && w->isVisible()) ++n;
  return n;
}

TEST(PrintingNotice, OneWindowForOverlappingJobsClosingASecondAfterTheLast) {
  PrintingNotice notice;
  QWidget view;
  std::int64_t now = 0;
  const Clock clock = [&now] { return now; };
  PrintingNoticeWindow* first = notice.Show(&view, clock);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->windowTitle(), QStringLiteral("Tyld -- 印刷中メッセージ"));
  EXPECT_EQ(first->pos(), QPoint(300, 200));
  EXPECT_TRUE(first->isVisible());

  now = 600;
  EXPECT_EQ(notice.Show(&view, clock), first);  // a second job within the second
  EXPECT_EQ(OpenPrintWindows(), 1);
  now = 1200;
  first->CloseIfDue();
  EXPECT_EQ(notice.Window(), first) << "the second job restarted the timer";
  now = 1600;
  first->CloseIfDue();
  EXPECT_EQ(notice.Window(), nullptr);
  QTest::qWait(0);
  EXPECT_EQ(OpenPrintWindows(), 0);
}

TEST(PrintingNotice, ClosesOnRequestAndOpensAgainForTheNextJob) {
  PrintingNotice notice;
  QWidget view;
  std::int64_t now = 0;
  const Clock clock = [&now] { return now; };
  notice.Show(&view, clock);
  notice.Close();
  EXPECT_EQ(notice.Window(), nullptr);
  notice.Close();  // nothing open: no effect
  now = 5000;
  PrintingNoticeWindow* next = notice.Show(&view, clock);
  ASSERT_NE(next, nullptr);
  now = 5000 + PrintingNotice::kShowMs - 1;
  next->CloseIfDue();
  EXPECT_EQ(notice.Window(), next);
  now = 5000 + PrintingNotice::kShowMs;
  next->CloseIfDue();
  EXPECT_EQ(notice.Window(), nullptr);
}

}  // namespace
}  // namespace tyld::pages
