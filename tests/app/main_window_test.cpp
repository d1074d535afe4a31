// The main frame's commands, driven offscreen with stand-in screens.
#include "app/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QUrl>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPointer>
#include <QPrinter>
#include <QElapsedTimer>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QProgressDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <thread>

#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "app/window_metrics.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "settings/settings_file.h"
#include "../support/test_workspace.h"

namespace tyld::app {
namespace {

using platform::Answer;
using pages::ScreenKind;

// A screen that records the calls it receives and the document's loads.
enum class Heard { Loaded, Repaint, Rebuild };
class FakeScreen : public QWidget, public pages::ScreenCommands {
 public:
  FakeScreen(QWidget* parent, document::DocumentBuffer& document) : QWidget(parent) {
    connect(&document, &document::DocumentBuffer::Loaded, this, [this] { heard.push_back(Heard::Loaded); });
  }
  // With `runs`, the screen takes every action and records it.
  bool Run(pages::ScreenAction action) override {
    if (runs) ran.push_back(action);
    return runs;
  }
  [[nodiscard]] bool CanRun(pages::ScreenAction) const override { return runs; }
  void Repaint() override { heard.push_back(Heard::Repaint); }
  void Rebuild() override { heard.push_back(Heard::Rebuild); }
  QWidget& Widget() override { return *this; }
  std::vector<Heard> heard;
  bool runs = false;
  std::vector<pages::ScreenAction> ran;
};

class MainFrameTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    state_.paths = {dir_.filePath("YDsettei.bin").toStdString(), dir_.path().toStdString()};
    ASSERT_TRUE(settings::InitialiseSettings(state_.paths.SettingsPath, state_.record, state_.live));
    frame_ = std::make_unique<MainWindow>(state_.workspace);
    frame_->CreateScreens(
        [this](QWidget* p) { return bin_ = new FakeScreen(p, state_.document); },
        [this](QWidget* p) { return asc_ = new FakeScreen(p, state_.document); });
  }
  void TearDown() override { frame_.reset(); }

  QTemporaryDir dir_;
  testing_support::TestWorkspace state_;
  std::unique_ptr<MainWindow> frame_;
  FakeScreen* bin_ = nullptr;
  FakeScreen* asc_ = nullptr;
};

TEST_F(MainFrameTest, PasteReplacesThenAppendsExactBytes) {
  platform::ScopedMessageBoxRecorder boxes(Answer::Yes);
  QApplication::clipboard()->setText(QStringLiteral("abc"));
  frame_->Run(Command::Paste);
  EXPECT_TRUE(boxes.Calls().empty());  // nothing loaded: replaced without asking
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(state_.document.DocData.data()), state_.document.DocLength), "abc\r\n");
  EXPECT_TRUE(frame_->windowTitle().contains(QStringLiteral("読込DF[ﾍﾟｰｽﾄﾃﾞｰﾀ]")));
  EXPECT_EQ(asc_->heard.back(), Heard::Loaded);
  EXPECT_EQ(bin_->heard.back(), Heard::Loaded);

  state_.document.LastBuildWasText = 1;  // the ASCII screen took it as text
  frame_->Run(Command::Paste);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("もとのデータに追加しますか？"));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(state_.document.DocData.data()), state_.document.DocLength),
            "abc\r\n\r\n\r\nabc\r\n");
}

TEST_F(MainFrameTest, PasteConvertsToShiftJisAndRefusesEmptyClipboard) {
  platform::ScopedMessageBoxRecorder boxes;
  QApplication::clipboard()->setText(QStringLiteral("日本"));
  frame_->Run(Command::Paste);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(state_.document.DocData.data()), state_.document.DocLength),
            "\x93\xfa\x96\x7b\r\n");
  QApplication::clipboard()->clear();
  frame_->Run(Command::Paste);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("クリップボードにテキスト形式のデータがありません。"));
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("貼り付けできません。"));
}

TEST_F(MainFrameTest, PropertiesBeforeAndAfterALoad) {
  platform::ScopedMessageBoxRecorder boxes;
  frame_->Run(Command::Properties);
  const QString path = dir_.filePath("data.txt");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("hello");
  f.close();
  ASSERT_TRUE(frame_->LoadFile(path));
  frame_->Run(Command::Properties);
  ASSERT_EQ(boxes.Calls().size(), 2u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("まだファイルが読み出されていません"));
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("確認"));
  EXPECT_EQ(boxes.Calls()[1].text, QStringLiteral("Path=%1\nDFname=data.txt\nDFExt=.txt\nLength=5 bytes").arg(path));
  EXPECT_EQ(boxes.Calls()[1].caption, QStringLiteral("プロパティ"));
}

TEST_F(MainFrameTest, SettingsResetAsksThenRebuildsBothScreens) {
  platform::ScopedMessageBoxRecorder boxes(Answer::Cancel);
  state_.live.ascii.AscMarginTop = 33;
  frame_->Run(Command::SettingsReset);
  EXPECT_EQ(state_.live.ascii.AscMarginTop, 33);  // cancelled
  boxes.SetAnswer(Answer::Ok);
  asc_->heard.clear();
  bin_->heard.clear();
  frame_->Run(Command::SettingsReset);
  EXPECT_EQ(state_.live.ascii.AscMarginTop, 10);
  ASSERT_EQ(boxes.Calls().size(), 3u);
  EXPECT_EQ(boxes.Calls()[1].text, QStringLiteral("設定条件を初期化していいですか？"));
  EXPECT_EQ(boxes.Calls()[2].text, QStringLiteral("設定条件を初期化しました"));
  EXPECT_EQ(asc_->heard, std::vector<Heard>{Heard::Rebuild});
  EXPECT_EQ(bin_->heard, std::vector<Heard>{Heard::Rebuild});
}

TEST_F(MainFrameTest, PrinterSetupKeepsTheOtherScreensOrientation) {
  platform::ScopedMessageBoxRecorder boxes;
  state_.live.AscOrientation = settings::Orientation::Portrait;
  state_.live.BinOrientation = settings::Orientation::Portrait;
  frame_->SetPrinterDialog([](QPrinter& p) {
    p.setPageOrientation(QPageLayout::Landscape);
    return true;
  });
  asc_->heard.clear();
  frame_->PrinterSetup(ScreenKind::Binary);
  EXPECT_EQ(state_.live.BinOrientation, settings::Orientation::Landscape);
  EXPECT_EQ(state_.live.AscOrientation, settings::Orientation::Portrait);
  EXPECT_EQ(bin_->heard.back(), Heard::Rebuild);
  EXPECT_TRUE(asc_->heard.empty());
  EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(MainFrameTest, OpenRemembersThePathAndTheFileKind) {
  const QString path = dir_.filePath("model.zpd");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("data\r\n");
  f.close();
  QString offered;
  frame_->SetOpenDialog([&](const QString&, const QString& filters, const QString& initial) {
    offered = filters;
    EXPECT_TRUE(initial.isEmpty());
    return path;
  });
  state_.startup.ProgramType = 4;
  frame_->Run(Command::OpenPrintFile);
  EXPECT_TRUE(offered.startsWith(QStringLiteral("解析DF-D (*.zpd)")));
  EXPECT_EQ(state_.startup.ColourTagMode, 1);
  EXPECT_EQ(state_.document.DocName, "model.zpd");
  EXPECT_EQ(settings::LastOpenPathUtf8(state_.record), path.toStdString());
  EXPECT_EQ(frame_->Recent().Entries().first(), path);

  // The next dialog starts at the remembered file; a general open clears the colour tags.
  frame_->SetOpenDialog([&](const QString&, const QString& filters, const QString& initial) {
    EXPECT_TRUE(filters.startsWith(QStringLiteral("All files")));
    EXPECT_EQ(initial, path);
    return QString();  // cancelled
  });
  frame_->Run(Command::OpenGeneral);
  EXPECT_EQ(state_.startup.ColourTagMode, 1);  // a cancelled open changes nothing
}

TEST_F(MainFrameTest, ADropLoadsExactlyOneFile) {
  const QString a = dir_.filePath("a.txt");
  const QString b = dir_.filePath("b.txt");
  for (const QString& p : {a, b}) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
  }
  auto drop = [this](const QList<QUrl>& urls) { frame_->LoadDropped(urls); };
  drop({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
  EXPECT_EQ(state_.document.DocLength, 0);  // two files: ignored
  drop({QUrl::fromLocalFile(b)});
  EXPECT_EQ(state_.document.DocName, "b.txt");
  EXPECT_EQ(frame_->Recent().Entries().first(), b);
}

TEST_F(MainFrameTest, DefaultWindowSizeWritesZeroSizeAndCloses) {
  platform::ScopedMessageBoxRecorder boxes(Answer::Ok);
  frame_->show();
  state_.record.WinWidth = 900;
  state_.record.WinHeight = 700;
  frame_->Run(Command::DefaultWindowSize);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("実行していいですか？"));
  EXPECT_FALSE(frame_->isVisible());
  settings::SettingsRecord onDisk{};
  settings::LiveSettings live;
  ASSERT_TRUE(settings::ReadSettings(state_.paths.SettingsPath, onDisk, live));
  EXPECT_EQ(onDisk.WinWidth, 0);
  EXPECT_EQ(onDisk.WinHeight, 0);
}

// The saved placement is taken only when it fits the screen and is not tiny; stored values
// are used as read, so absurd ones must fall back to the default too.
TEST_F(MainFrameTest, SavedPlacementOnlyWhenItFits) {
  WindowMetrics& m = Metrics();
  const WindowMetrics keep = m;
  m.ScreenWidth = 1600;
  m.ScreenHeight = 1000;
  m.UiCharWidth = 8;
  m.UiCharHeight = 19;
  const QSize byDefault(1280, 1000);
  const struct {
    int screen, left, top, width, height;
    QSize want;
  } cases[] = {
      {1600, 100, 50, 1200, 800, QSize(1200, 800)},
      {0, 100, 50, 1200, 800, byDefault},           // never saved
      {1600, 500, 50, 1200, 800, byDefault},        // runs off the right edge
      {1600, 0, 0, 1600, 800, byDefault},           // as wide as the screen
      {1600, 0, 0, 70, 800, byDefault},             // narrower than ten characters
      {1600, 0, 0, 1200, 190, byDefault},           // lower than ten lines
      {1600, 0, 0, INT_MIN, 800, byDefault},        // corrupt: no overflow
      {1600, INT_MAX, INT_MAX, INT_MIN, INT_MIN, byDefault},
  };
  for (const auto& c : cases) {
    settings::SettingsRecord& r = state_.record;
    r.WinScreenWidth = c.screen;
    r.WinLeft = c.left;
    r.WinTop = c.top;
    r.WinWidth = c.width;
    r.WinHeight = c.height;
    frame_->PlaceMainWindow();
    EXPECT_EQ(frame_->size(), c.want) << c.left << "," << c.top << " " << c.width << "x" << c.height;
  }
  m = keep;
}

TEST_F(MainFrameTest, ClosingAndDestroyingAShownFrameIsClean) {
  frame_->show();
  const QRect shown = frame_->frameGeometry();
  QList<QPointer<QWidget>> children;
  for (QWidget* w : frame_->findChildren<QWidget*>()) children.append(w);
  ASSERT_FALSE(children.isEmpty());
  frame_->close();
  EXPECT_FALSE(frame_->isVisible());
  // Closing keeps the placement for the next start.
  const settings::SettingsRecord& r = state_.record;
  EXPECT_EQ(QRect(r.WinLeft, r.WinTop, r.WinWidth, r.WinHeight), shown);
  frame_.reset();  // the screens leave before the frame: no menu rebuild on the way
  for (const QPointer<QWidget>& w : children) EXPECT_TRUE(w.isNull());
}

TEST(MainFrameTitle, FollowsTheStartModeAndDocument) {
  testing_support::TestWorkspace state;
  EXPECT_EQ(MakeTitle(state.workspace), QStringLiteral("ﾖﾙﾀﾞﾑⅡバンドル版 V7.10◆読込DF[]◆Tyld Project◆PDF"));
  state.startup.StartMode = 1;
  state.startup.PrintName = "Beam 1";
  state.startup.DfPath = "/data/model.zpb";
  state.document.DocFullPath = "/data/model.zpb";
  state.document.DocDisplayName = "model.zpb";
  EXPECT_EQ(MakeTitle(state.workspace), QStringLiteral("ﾖﾙﾀﾞﾑⅡバンドル版 V7.10◆自動起動◆読込DF[model.zpb]◆印刷名[Beam 1]◆Tyld Project◆PDF"));
  // A file opened later goes by its own name, in the title as in the footer.
  state.document.DocFullPath = "/data/other.txt";
  state.document.DocName = "other.txt";
  state.document.DocDisplayName = "other.txt";
  EXPECT_EQ(MakeTitle(state.workspace), QStringLiteral("ﾖﾙﾀﾞﾑⅡバンドル版 V7.10◆自動起動◆読込DF[other.txt]◆印刷名[other.txt]◆Tyld Project◆PDF"));
}

TEST(MainFrameFilters, FirstFilterFollowsTheProgramType) {
  EXPECT_TRUE(QtFilterString(false, 4).startsWith(QStringLiteral("All files (*.*) (*)")));
  EXPECT_TRUE(QtFilterString(true, 4).startsWith(QStringLiteral("解析DF-D (*.zpd);;")));
  EXPECT_TRUE(QtFilterString(true, 2).startsWith(QStringLiteral("解析DF-A (*.zpa);;解析DF-B (*.zpb)")));
  EXPECT_TRUE(QtFilterString(true, 7).startsWith(QStringLiteral("All files")));
}

// A file that takes a while to read (a slowed worker): the window is up and answers while
// it comes in, refuses what would change or replace data, and Esc stops the read.
class SlowReadTest : public MainFrameTest {
 protected:
  void SetUp() override {
    MainFrameTest::SetUp();
    document::DocumentBuffer& doc = state_.document;
    doc.BackgroundFrom = 1;
    doc.ChunkBytes = 16384;
    doc.AfterChunk = [](std::int64_t) { std::this_thread::sleep_for(std::chrono::milliseconds(5)); };
    path_ = dir_.filePath("big.bin");
    QFile f(path_);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    for (int i = 0; i < 2 * 1024 * 1024; ++i) bytes_.push_back(static_cast<char>(i % 251 + 1));
    f.write(bytes_);
  }
  QString Status() const { return frame_->statusBar()->currentMessage(); }

  QString path_;
  QByteArray bytes_;
};

TEST_F(SlowReadTest, TheWindowAnswersWhileReadingAndGetsTheFileWhole) {
  frame_->show();
  ASSERT_TRUE(frame_->LoadFile(path_));
  document::DocumentBuffer& doc = state_.document;
  ASSERT_TRUE(doc.Reading());
  for (Command id : {Command::OpenGeneral, Command::Paste, Command::Save, Command::SaveAs, Command::Undo})
    EXPECT_FALSE(frame_->CanRun(id));
  EXPECT_TRUE(frame_->CanRun(Command::PageTurnGuide));
  frame_->LoadDropped({QUrl::fromLocalFile(path_)});  // refused, the read goes on

  int turns = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&turns] { ++turns; });
  tick.start(10);
  bool sawProgress = false;
  QElapsedTimer t;
  t.start();
  while (doc.Reading() && t.elapsed() < 20000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    sawProgress = sawProgress || Status().startsWith(QStringLiteral("読込中… "));
  }
  ASSERT_FALSE(doc.Reading());
  EXPECT_GT(turns, 3);
  EXPECT_TRUE(sawProgress);
  EXPECT_EQ(Status(), QStringLiteral("レディ"));
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(doc.DocData.data()), doc.DocLength), bytes_);
  EXPECT_TRUE(frame_->windowTitle().contains(QStringLiteral("読込DF[big.bin]")));
  EXPECT_EQ(asc_->heard.back(), Heard::Loaded);
  EXPECT_TRUE(frame_->CanRun(Command::OpenGeneral));
}

TEST_F(SlowReadTest, EscStopsTheReadAndNothingIsLoaded) {
  frame_->show();
  ASSERT_TRUE(frame_->LoadFile(path_));
  QCoreApplication::processEvents(QEventLoop::AllEvents, 60);
  ASSERT_TRUE(state_.document.Reading());
  QTest::keyClick(frame_.get(), Qt::Key_Escape);
  EXPECT_FALSE(state_.document.Reading());
  EXPECT_EQ(state_.document.DocLength, 0);
  EXPECT_TRUE(state_.document.DocName.empty());
  EXPECT_EQ(Status(), QStringLiteral("読込を中止しました。"));
  EXPECT_EQ(bin_->heard.back(), Heard::Loaded);
  EXPECT_TRUE(frame_->windowTitle().contains(QStringLiteral("読込DF[]")));
}

// Once the bytes are in, Esc also cancels the load while its rows are still built (a
// stand-in for the ASCII screen holds the data as its row build does).
TEST_F(SlowReadTest, EscDuringTheRowBuildCancelsTheLoad) {
  document::DocumentBuffer& doc = state_.document;
  QObject::connect(&doc, &document::DocumentBuffer::Loaded, frame_.get(), [&doc] {
    if (doc.DocLength > 0) doc.Hold(true);
  });
  QObject::connect(&doc, &document::DocumentBuffer::AboutToReplace, frame_.get(), [&doc] { doc.Hold(false); });
  frame_->show();
  ASSERT_TRUE(frame_->LoadFile(path_));
  QElapsedTimer t;
  t.start();
  while (doc.Reading() && t.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_FALSE(doc.Reading());
  ASSERT_TRUE(doc.Busy());
  ASSERT_EQ(doc.DocLength, bytes_.size());
  EXPECT_FALSE(frame_->CanRun(Command::Save));

  QTest::keyClick(frame_.get(), Qt::Key_Escape);
  EXPECT_FALSE(doc.Busy());
  EXPECT_EQ(doc.DocLength, 0);
  EXPECT_TRUE(doc.DocName.empty());
  EXPECT_TRUE(doc.DocPath.empty());
  EXPECT_EQ(Status(), QStringLiteral("読込を中止しました。"));
  EXPECT_EQ(asc_->heard.back(), Heard::Loaded);
  EXPECT_EQ(bin_->heard.back(), Heard::Loaded);
  EXPECT_TRUE(frame_->windowTitle().contains(QStringLiteral("読込DF[]")));
  EXPECT_TRUE(frame_->CanRun(Command::OpenGeneral));
}

// Printing during the read waits for it under a dialog with the read's progress; giving up
// there prints nothing and the read goes on.
TEST_F(SlowReadTest, PrintingWaitsForTheReadAndCanBeGivenUp) {
  for (const bool giveUp : {true, false}) {
    SCOPED_TRACE(giveUp ? "give up" : "wait");
    frame_->show();
    bin_->runs = asc_->runs = true;
    bin_->ran.clear();
    asc_->ran.clear();
    document::DocumentBuffer& doc = state_.document;
    ASSERT_TRUE(frame_->LoadFile(path_));
    ASSERT_TRUE(doc.Reading());
    EXPECT_TRUE(frame_->CanRun(Command::PrintMono));
    QStringList seen;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto* wait = frame_->findChild<QProgressDialog*>();
      if (wait == nullptr || !wait->isVisible() || !seen.isEmpty()) return;
      seen << wait->windowTitle() << wait->labelText();
      if (const char* dir = std::getenv("TYLD_TEST_GRAB_DIR"))
        wait->grab().save(QDir(QString::fromUtf8(dir)).filePath(QStringLiteral("print-waits-for-read.png")));
      if (giveUp) wait->cancel();
    });
    answer.start(20);
    frame_->Run(Command::PrintMono);
    answer.stop();
    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(seen[1].startsWith(QStringLiteral("読込中… "))) << seen[1].toStdString();
    const std::size_t printed = std::count(bin_->ran.begin(), bin_->ran.end(), pages::ScreenAction::PrintMono) +
                                std::count(asc_->ran.begin(), asc_->ran.end(), pages::ScreenAction::PrintMono);
    if (giveUp) {
      EXPECT_EQ(printed, 0u);
      EXPECT_TRUE(doc.Reading());
      QElapsedTimer t;
      t.start();
      while (doc.Reading() && t.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    } else {
      EXPECT_EQ(printed, 1u);
      EXPECT_FALSE(doc.Reading());
    }
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(doc.DocData.data()), doc.DocLength), bytes_);
  }
}

}  // namespace
}  // namespace tyld::app
