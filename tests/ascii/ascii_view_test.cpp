// The ASCII screen as a user drives it: page commands, keys and the mail display switches.
#include "ascii/ascii_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "platform/codepage.h"
#include "platform/fonts.h"
#include "pages/page_dialogs.h"
#include "pages/screen_action.h"
#include "platform/message_box.h"
#include "platform/print_job.h"
#include "platform/printer.h"
#include "settings/page_format.h"
#include "settings/settings_file.h"
#include "settings/side_options.h"
#include "../support/test_workspace.h"

namespace tyld::ascii {
namespace {

class AscDrawTest : public testing::Test {
 protected:
  void Load(const std::string& name, const std::string& bytes) {
    const QString path = dir_.filePath(QString::fromStdString(name));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    f.close();
    state_.document.LoadDataFile(path.toStdString());  // the view shows the new document
  }
  QTemporaryDir dir_;
  testing_support::TestWorkspace state_;
  platform::ScopedMessageBoxRecorder boxes_;
};

TEST_F(AscDrawTest, PageCommandsAndPageDownMoveThroughSheetsAndTheTitleFollows) {
  AsciiView view(state_.workspace);
  view.resize(800, 600);
  std::string text;
  for (int i = 0; i < 500; ++i) text += platform::codepage::FromUtf8("行" + std::to_string(i) + " 日本語のテキスト\r\n");
  Load("jp.txt", text);
  const int sheets = view.Screen().SheetCount;
  ASSERT_GT(sheets, 3);
  EXPECT_TRUE(view.TitleText().startsWith(QStringLiteral("頁=1/%1 行=[1-").arg(sheets))) << view.TitleText().toStdString();

  view.Run(pages::ScreenAction::NextPage);
  EXPECT_TRUE(view.TitleText().startsWith(QStringLiteral("頁=2/%1").arg(sheets)));
  view.Run(pages::ScreenAction::LastPage);
  EXPECT_EQ(view.CurrentPage(), sheets - 1);
  view.Run(pages::ScreenAction::NextPage);  // stays on the last sheet
  EXPECT_EQ(view.CurrentPage(), sheets - 1);
  view.Run(pages::ScreenAction::FirstPage);

  // Page Down walks ten lines at a time and crosses into the next sheet.
  int presses = 0;
  while (view.CurrentPage() == 0 && presses < 1000) {
    QTest::keyClick(&view, Qt::Key_PageDown);
    ++presses;
  }
  EXPECT_EQ(view.CurrentPage(), 1);
  EXPECT_EQ(presses, view.PageStride() / 10 + (view.PageStride() % 10 != 0 ? 1 : 0));
  EXPECT_TRUE(view.TitleText().startsWith(QStringLiteral("頁=2/")));
}

TEST_F(AscDrawTest, MailIsShownDecodedAndSwitchesToTheRawBytes) {
  AsciiView view(state_.workspace);
  QFile mail(QStringLiteral(TYLD_SOURCE_DIR "/tests/mail/fixtures/compat32_iso2022jp_7bit.eml"));
  ASSERT_TRUE(mail.open(QIODevice::ReadOnly));
  const QByteArray raw = mail.readAll();
  Load("m.eml", raw.toStdString());
  const std::string subject = platform::codepage::FromUtf8("JISの件名");
  auto shows = [&view](const std::string& sjis) {
    return view.Screen().model.LcBuf().find(sjis) != std::string_view::npos;
  };
  EXPECT_EQ(view.Screen().EmlMode, MailView::Decoded);
  EXPECT_TRUE(shows(subject));
  EXPECT_TRUE(view.CanRun(pages::ScreenAction::MailRaw));
  EXPECT_FALSE(view.CanRun(pages::ScreenAction::MailDecoded));

  view.Run(pages::ScreenAction::MailRaw);
  EXPECT_EQ(view.Screen().EmlMode, MailView::Raw);
  EXPECT_FALSE(shows(subject));
  EXPECT_TRUE(shows("=?iso-2022-jp?b?"));
  EXPECT_TRUE(view.CanRun(pages::ScreenAction::MailDecoded));

  view.Run(pages::ScreenAction::MailDecoded);
  EXPECT_TRUE(shows(subject));
}

TEST_F(AscDrawTest, HalvingTheScaleUntilNoFontFitsReturnsToScaleOne) {
  AsciiView view(state_.workspace);
  for (int i = 0; i < 8 && boxes_.Calls().empty(); ++i) view.Run(pages::ScreenAction::ScaleHalf);
  ASSERT_EQ(boxes_.Calls().size(), 1u);
  EXPECT_TRUE(boxes_.Calls()[0].text.startsWith(QStringLiteral("指定スケール ")));
  EXPECT_TRUE(boxes_.Calls()[0].text.endsWith(QStringLiteral(" でフォントが作れません。")));
  EXPECT_EQ(boxes_.Calls()[0].caption, QStringLiteral("デフォルトスケールにもどします。"));
  EXPECT_EQ(state_.live.asciiFont.scale, 1.0);
}

TEST_F(AscDrawTest, AQuickUpwardDragTurnsToTheNextSheet) {
  AsciiView view(state_.workspace);
  std::int64_t now = 0;
  view.SetClock([&now] { return now; });
  view.resize(600, 400);
  std::string text;
  for (int i = 0; i < 400; ++i) text += "row " + std::to_string(i) + "\r\n";
  Load("f.txt", text);
  ASSERT_GT(view.Screen().SheetCount, 2);
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(100, 200));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(110, 160));  // 40 up, 10 across
  EXPECT_EQ(view.CurrentPage(), 1);
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(100, 200));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(140, 190));  // mostly across: nothing
  EXPECT_EQ(view.CurrentPage(), 1);
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(100, 100));
  now += 500;  // the 500 ms window passes
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(100, 160));
  EXPECT_EQ(view.CurrentPage(), 1);
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(100, 100));
  now += 499;  // just within it
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(100, 160));
  EXPECT_EQ(view.CurrentPage(), 0);
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(100, 200));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(110, 160));  // up again
  EXPECT_EQ(view.CurrentPage(), 1);
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(100, 160));  // downward: back
  EXPECT_EQ(view.CurrentPage(), 0);
}

TEST_F(AscDrawTest, ForcedUtf8ConvertsAndItsCommandsFollowTheState) {
  AsciiView view(state_.workspace);
  Load("u.txt", "\xCE\xBC=1.5 \xE6\x97\xA5\xE6\x9C\xAC\r\n");  // "μ=1.5 日本" in UTF-8
  EXPECT_TRUE(view.CanRun(pages::ScreenAction::Utf8On));
  EXPECT_FALSE(view.CanRun(pages::ScreenAction::Utf8Off));
  view.Run(pages::ScreenAction::Utf8On);
  EXPECT_NE(view.Screen().model.LcBuf().find(platform::codepage::FromUtf8("μ=1.5 日本")), std::string_view::npos);
  EXPECT_TRUE(view.TitleText().endsWith(QStringLiteral("◆UTF-8変換適用")));
  EXPECT_FALSE(view.CanRun(pages::ScreenAction::Utf8On));
  view.Run(pages::ScreenAction::Utf8Off);
  EXPECT_TRUE(view.CanRun(pages::ScreenAction::Utf8On));
  EXPECT_FALSE(view.TitleText().contains(QStringLiteral("UTF-8")));
}

TEST_F(AscDrawTest, NoDocumentShowsNoSheetsAndRefusesToPrint) {
  AsciiView view(state_.workspace);
  EXPECT_TRUE(view.TitleText().startsWith(QStringLiteral("頁=0/0"))) << view.TitleText().toStdString();
  view.Run(pages::ScreenAction::PrintMono);
  view.Run(pages::ScreenAction::GoToPage);
  ASSERT_EQ(boxes_.Calls().size(), 2u);
  for (const auto& call : boxes_.Calls()) {
    EXPECT_EQ(call.text, QStringLiteral("有効なデータがありません。"));
    EXPECT_EQ(call.caption, QStringLiteral("印刷できません。"));
  }
}

TEST_F(AscDrawTest, ColourPrintGoesThroughTheRangeDialogAndTheOrientationRoundTrip) {
  AsciiView view(state_.workspace);
  std::string text;
  for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\r\n";
  Load("p.txt", text);
  const int sheets = view.Screen().SheetCount;
  ASSERT_GE(sheets, 2);
  const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
  platform::SetPdfPathDialog([&pdf](const QString&) { return pdf; });
  state_.live.AscOrientation = settings::Orientation::Landscape;
  // Accept the print range dialog (all sheets) as soon as it is up.
  QTimer::singleShot(0, [] {
    if (QWidget* w = QApplication::activeModalWidget()) static_cast<QDialog*>(w)->accept();
  });
  view.Run(pages::ScreenAction::PrintColour);
  platform::SetPdfPathDialog({});
  EXPECT_EQ(state_.printers.Orientation(), 2);
  QFile out(pdf);
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  const QByteArray bytes = out.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "),
            sheets);
  state_.notice.Close();
}

std::string RowText(const AsciiScreen& screen, int r) {
  std::string text;
  const TextRow& row = screen.model.TextRows()[static_cast<std::size_t>(r)];
  for (int b = 0; b < row.BlockCount; ++b)
    text += screen.model.BlockText(screen.model.TextBlocks()[static_cast<std::size_t>(row.FirstBlock + b)]);
  return text;
}

// The dialog's checkbox switches the line-breaking rules on for the rebuild that follows
// OK, and OK keeps the switch in tyld.ini beside the settings file.
TEST_F(AscDrawTest, LineBreakRulesCheckboxRebuildsTheRowsAndIsKept) {
  const settings::SettingsPaths saved = state_.paths;
  state_.paths = {dir_.filePath(QStringLiteral("YDsettei.bin")).toStdString(), dir_.path().toStdString()};
  const std::string a = "\x82\xa0";     // あ
  const std::string maru = "\x81\x42";  // 。
  AsciiView view(state_.workspace);
  std::string full;
  for (int i = 0; i < 300; ++i) full += a;
  Load("full.txt", full);
  const std::size_t perRow = RowText(view.Screen(), 0).size() / 2;
  ASSERT_GT(perRow, 2u);
  std::string line;
  for (std::size_t i = 0; i < perRow; ++i) line += a;
  Load("maru.txt", line + maru + "\r\n");
  ASSERT_EQ(RowText(view.Screen(), 1), maru) << "off: the full stop starts the second row";

  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("lineBreakRules"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("禁則処理を行う"));
    EXPECT_FALSE(box->isChecked());
    box->setChecked(true);
    dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
  });
  view.Run(pages::ScreenAction::PageFormat);
  EXPECT_TRUE(state_.live.AscLineBreakRules);
  EXPECT_EQ(RowText(view.Screen(), 1), a + maru);
  EXPECT_TRUE(settings::ReadLineBreakRules(dir_.filePath(QStringLiteral("tyld.ini")).toStdString()));
  state_.paths = saved;
}

// With a proportional font the rows are cut by their measured width on the printer: no row
// is wider than its column, and a row of narrow letters holds more than one of wide ones.
TEST_F(AscDrawTest, AProportionalFontCutsRowsByTheirWidth) {
  state_.live.asciiFont.logFont.SetFace("DejaVu Sans");
  Load("wi.txt", std::string(300, 'W') + "\r\n" + std::string(300, 'i') + "\r\n");
  AsciiScreen screen(state_.workspace);
  QPrinter& printer = *state_.printers.Printer();
  screen.Build(printer);
  const platform::FontDescription font = PrinterFontFor(state_.live.asciiFont.logFont,
                                                        state_.live.asciiFont.PointTenths(), printer.resolution());
  const platform::FontMetrics metrics = platform::MeasureFont(platform::ToQFont(font), &printer);
  ASSERT_FALSE(metrics.fixedPitch);
  const QFontMetrics fm(platform::ToQFont(font), &printer);
  const int column = (state_.live.ascii.AscCharsPerLine + 1) * metrics.cellWidth;
  std::size_t wide = 0, narrow = 0;
  for (int r = 0; r < screen.model.RowCount(); ++r) {
    const std::string row = RowText(screen, r);
    EXPECT_LE(fm.horizontalAdvance(QString::fromStdString(row)), column) << row;
    if (row.empty()) continue;
    (row[0] == 'W' ? wide : narrow) = std::max(row[0] == 'W' ? wide : narrow, row.size());
  }
  EXPECT_GT(wide, 0u);
  EXPECT_GT(narrow, 2 * wide) << "i is far narrower than W";
}

// Rows built on a worker give the sheets a build on the spot gives; until they are in, the
// screen has no sheets to print or search and the document takes no edits.
TEST_F(AscDrawTest, RowsBuiltOnAWorkerMatchTheRowsBuiltOnTheSpot) {
  AsciiView background(state_.workspace);
  background.BackgroundFrom = 1;
  AsciiView onTheSpot(state_.workspace);
  std::string text;
  for (int i = 0; i < 20000; ++i) text += platform::codepage::FromUtf8("行" + std::to_string(i) + " 日本語\tのテキスト\r\n");
  auto waitForRows = [&background] {
    for (int i = 0; i < 500 && background.Building(); ++i) QTest::qWait(20);
    return !background.Building();
  };
  auto sameSheets = [&] {
    ASSERT_EQ(background.Screen().SheetCount, onTheSpot.Screen().SheetCount);
    EXPECT_EQ(background.PageCount(), onTheSpot.PageCount());
    EXPECT_EQ(background.TitleText(), onTheSpot.TitleText());
    for (int sheet : {0, onTheSpot.Screen().SheetCount - 1})
      EXPECT_EQ(background.Screen().PageText(sheet, sheet + 1), onTheSpot.Screen().PageText(sheet, sheet + 1));
  };

  Load("big.txt", text);
  ASSERT_TRUE(background.Building());
  EXPECT_EQ(background.PageCount(), 0);
  EXPECT_TRUE(background.CanRun(pages::ScreenAction::PrintMono));  // it waits for the rows
  EXPECT_FALSE(background.CanRun(pages::ScreenAction::StringSearch));
  EXPECT_TRUE(state_.document.Busy());
  EXPECT_FALSE(state_.document.WriteBytes(std::vector<document::ByteWrite>{{0, 'x'}}));
  ASSERT_TRUE(waitForRows());
  EXPECT_FALSE(state_.document.Busy());
  EXPECT_GT(onTheSpot.Screen().SheetCount, 10);
  sameSheets();

  // A switch turned while the rows are built builds them again for it.
  background.Run(pages::ScreenAction::ScaleHalf);
  Load("big.txt", text);
  ASSERT_TRUE(background.Building());
  state_.live.ascii.AscTabWidth = 4;
  background.Run(pages::ScreenAction::Utf8Off);
  onTheSpot.Run(pages::ScreenAction::Utf8Off);
  ASSERT_TRUE(waitForRows());
  sameSheets();

  // New data while the rows are built: the old build is dropped, the new data shown.
  Load("big.txt", text);
  ASSERT_TRUE(background.Building());
  Load("small.txt", "abc\r\n");
  ASSERT_TRUE(waitForRows());
  EXPECT_FALSE(state_.document.Busy());
  EXPECT_EQ(background.Screen().SheetCount, 1);
  sameSheets();
}

// A big text's first sheets come from the rows of its start before the whole build is
// done, without totals; page keys go as far as they reach, and the whole build then
// takes their place on the same sheet with the totals.
TEST_F(AscDrawTest, StartRowsShowTheFirstSheetsUntilTheWholeBuildLands) {
  AsciiView background(state_.workspace);
  background.BackgroundFrom = 1;
  background.StartBytes = 64 * 1024;
  std::atomic<bool> release{false};
  background.BeforeWholeBuild = [&release](const std::atomic<bool>&) {
    while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  };
  // Declared after the view: let go of the worker before the view joins it.
  const struct Release {
    std::atomic<bool>& flag;
    ~Release() { flag.store(true); }
  } releaseOnExit{release};
  AsciiView onTheSpot(state_.workspace);
  std::string text;
  for (int i = 0; i < 20000; ++i) text += platform::codepage::FromUtf8("行" + std::to_string(i) + " 日本語\tのテキスト\r\n");

  Load("big.txt", text);
  for (int i = 0; i < 500 && background.PageCount() == 0; ++i) QTest::qWait(10);
  ASSERT_TRUE(background.Building());
  const int shown = background.PageCount();
  ASSERT_GT(shown, 1);
  ASSERT_LT(shown, onTheSpot.PageCount());
  const QString rows = QStringLiteral("行=[1-%1/?] ").arg(background.Screen().model.ColumnPageRows(0).end);
  EXPECT_TRUE(background.TitleText().startsWith(QStringLiteral("頁=1/? ") + rows)) << background.TitleText().toStdString();
  EXPECT_NE(background.Screen().PageText(0, 1).find("/?]"), std::string::npos);
  EXPECT_EQ(onTheSpot.Screen().PageText(0, 1).find("/?]"), std::string::npos);
  EXPECT_EQ(background.Screen().PageText(0, 1).substr(0, 2000), onTheSpot.Screen().PageText(0, 1).substr(0, 2000));
  // Printing and the page jump wait for the rows (below); the string search is refused.
  EXPECT_TRUE(background.CanRun(pages::ScreenAction::PrintMono));
  EXPECT_FALSE(background.CanRun(pages::ScreenAction::StringSearch));
  EXPECT_TRUE(background.CanRun(pages::ScreenAction::GoToPage));
  EXPECT_TRUE(state_.document.Busy());
  background.Run(pages::ScreenAction::LastPage);
  background.Run(pages::ScreenAction::NextPage);
  EXPECT_EQ(background.CurrentPage(), shown - 1);

  release.store(true);
  for (int i = 0; i < 500 && background.Building(); ++i) QTest::qWait(20);
  ASSERT_FALSE(background.Building());
  EXPECT_EQ(background.PageCount(), onTheSpot.PageCount());
  EXPECT_EQ(background.CurrentPage(), shown - 1);
  onTheSpot.Run(pages::ScreenAction::LastPage);
  EXPECT_EQ(background.TitleText().left(8), QStringLiteral("頁=%1/%2").arg(shown).arg(onTheSpot.PageCount()).left(8));
  EXPECT_TRUE(background.TitleText().contains(QStringLiteral("/%1] ").arg(onTheSpot.Screen().model.TotalRows())));
  const int last = onTheSpot.PageCount() - 1;
  EXPECT_EQ(background.Screen().PageText(last, last + 1), onTheSpot.Screen().PageText(last, last + 1));
}

// The whole build is given up at once when its rows are no longer wanted: new data, the
// view going, or a setting changed meanwhile (then the new settings' start sheets come
// while their whole build still runs). The held build waits for its stop, up to 20 s.
TEST_F(AscDrawTest, AStaleOrDroppedRowBuildStopsAtOnce) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += platform::codepage::FromUtf8("行" + std::to_string(i) + " 日本語\tのテキスト\r\n");
  std::atomic<int> holds{0};
  std::atomic<bool> holding{true};
  auto holdUntilStopped = [&holds, &holding](const std::atomic<bool>& stop) {
    if (!holding.load()) return;
    ++holds;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!stop.load() && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  };
  auto startShown = [](AsciiView& view) {
    for (int i = 0; i < 500 && view.PageCount() == 0; ++i) QTest::qWait(10);
    return view.Building() && view.PageCount() > 0;
  };
  auto prompt = [](const std::chrono::steady_clock::time_point from) {
    return std::chrono::steady_clock::now() - from < std::chrono::seconds(5);
  };

  {
    SCOPED_TRACE("the view goes");
    auto view = std::make_unique<AsciiView>(state_.workspace);
    view->BackgroundFrom = 1;
    view->StartBytes = 64 * 1024;
    view->BeforeWholeBuild = holdUntilStopped;
    Load("big.txt", text);
    ASSERT_TRUE(startShown(*view));
    const auto from = std::chrono::steady_clock::now();
    view.reset();
    EXPECT_TRUE(prompt(from));
    EXPECT_FALSE(state_.document.Busy());
  }

  AsciiView view(state_.workspace);
  view.BackgroundFrom = 1;
  view.StartBytes = 64 * 1024;
  view.BeforeWholeBuild = holdUntilStopped;
  {
    SCOPED_TRACE("new data");
    Load("big.txt", text);
    ASSERT_TRUE(startShown(view));
    holding.store(false);  // the small file's own build is not held
    const auto from = std::chrono::steady_clock::now();
    Load("small.txt", "abc\r\n");
    EXPECT_TRUE(prompt(from));
    for (int i = 0; i < 500 && view.Building(); ++i) QTest::qWait(10);
    EXPECT_FALSE(view.Building());
    holding.store(true);
    EXPECT_EQ(view.Screen().SheetCount, 1);
  }
  {
    SCOPED_TRACE("a setting changed");
    Load("big.txt", text);
    ASSERT_TRUE(startShown(view));
    const int before = holds.load();
    const std::string tabsOf8 = view.Screen().PageText(0, 1).substr(0, 2000);
    state_.live.ascii.AscTabWidth = 4;
    const auto from = std::chrono::steady_clock::now();
    view.Run(pages::ScreenAction::Utf8Off);
    ASSERT_TRUE(startShown(view));
    EXPECT_TRUE(prompt(from));
    EXPECT_EQ(holds.load(), before + 1);  // the new build is held in its turn
    AsciiView onTheSpot(state_.workspace);
    onTheSpot.Run(pages::ScreenAction::Utf8Off);
    EXPECT_EQ(view.Screen().PageText(0, 1).substr(0, 2000), onTheSpot.Screen().PageText(0, 1).substr(0, 2000));
    EXPECT_NE(view.Screen().PageText(0, 1).substr(0, 2000), tabsOf8);
  }
  {
    SCOPED_TRACE("a proportional font chosen");
    ASSERT_TRUE(view.Building());
    state_.live.asciiFont.logFont.SetFace("DejaVu Sans");
    view.Rebuild();  // measured on the printer, so built on the spot
    const auto from = std::chrono::steady_clock::now();
    for (int i = 0; i < 500 && view.Building(); ++i) QTest::qWait(10);
    EXPECT_TRUE(prompt(from));
    EXPECT_FALSE(state_.document.Busy());
    QTest::qWait(100);  // a stale build landing now would replace the rows below
    AsciiView onTheSpot(state_.workspace);
    EXPECT_EQ(view.PageCount(), onTheSpot.PageCount());
    EXPECT_EQ(view.Screen().PageText(0, 1), onTheSpot.Screen().PageText(0, 1));
  }
}

// Printing and the page jump during the row build wait for it with its progress shown and
// then go on; giving up the wait gives up the command and leaves the build running.
TEST_F(AscDrawTest, PrintingAndThePageJumpWaitForTheRows) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += platform::codepage::FromUtf8("行" + std::to_string(i) + " 日本語\r\n");
  for (const bool giveUp : {false, true}) {
    SCOPED_TRACE(giveUp ? "given up" : "waited");
    AsciiView background(state_.workspace);
    background.BackgroundFrom = 1;
    background.StartBytes = 64 * 1024;
    std::atomic<bool> release{false};
    background.BeforeWholeBuild = [&release](const std::atomic<bool>&) {
      while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    const struct Release {
      std::atomic<bool>& flag;
      ~Release() { flag.store(true); }
    } releaseOnExit{release};
    Load(giveUp ? "big2.txt" : "big.txt", text);
    for (int i = 0; i < 500 && background.PageCount() == 0; ++i) QTest::qWait(10);
    ASSERT_TRUE(background.Building());

    QStringList seen;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* wait = qobject_cast<QProgressDialog*>(modal)) {
        if (!seen.isEmpty()) return;
        seen << wait->labelText();
        if (giveUp) wait->cancel();
        else release.store(true);
      } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        seen << QStringLiteral("dialog");
        dialog->reject();
      }
    });
    answer.start(20);
    background.Run(giveUp ? pages::ScreenAction::PrintMono : pages::ScreenAction::GoToPage);
    answer.stop();
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(seen[0].startsWith(QStringLiteral("行計算中… "))) << seen[0].toStdString();
    if (giveUp) {
      EXPECT_EQ(seen.size(), 1);  // no print dialog after giving up
      EXPECT_TRUE(background.Building());
    } else {
      EXPECT_EQ(seen, (QStringList{seen[0], QStringLiteral("dialog")}));  // then the go-to-page dialog
      EXPECT_FALSE(background.Building());
      EXPECT_FALSE(background.TitleText().contains(QStringLiteral("/?")));
    }
  }
}

}  // namespace
}  // namespace tyld::ascii
