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
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>

#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "app/window_metrics.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "settings/settings_file.h"

namespace tyld::app {
namespace {

using platform::Answer;
using platform::Role;

// A screen that records the notifications it receives.
class FakeScreen : public QWidget, public platform::CommandTarget {
 public:
  FakeScreen(Role role, QWidget* parent) : QWidget(parent), role_(role) { platform::Publish(role, this); }
  ~FakeScreen() override { platform::Withdraw(role_, this); }
  bool OnCommand(int id, std::intptr_t) override {
    ids.push_back(id);
    return true;
  }
  std::vector<int> ids;

 private:
  Role role_;
};

class MainFrameTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    settings::Paths() = {dir_.filePath("YDsettei.bin").toStdString(), dir_.path().toStdString()};
    ASSERT_TRUE(settings::InitialiseSettings());
    platform::PrinterSelection::Instance().Initialise({});
    document::Startup() = document::StartupState{};
    document::Document().ReleaseDocument();
    document::Document() = document::DocumentBuffer{};
    frame_ = std::make_unique<MainWindow>();
    frame_->CreateScreens(
        [this](QWidget* p) { return bin_ = new FakeScreen(Role::BinView, p); },
        [this](QWidget* p) { return asc_ = new FakeScreen(Role::AscDraw, p); });
  }
  void TearDown() override { frame_.reset(); }

  QTemporaryDir dir_;
  std::unique_ptr<MainWindow> frame_;
  FakeScreen* bin_ = nullptr;
  FakeScreen* asc_ = nullptr;
};

TEST_F(MainFrameTest, PasteReplacesThenAppendsExactBytes) {
  platform::ScopedMessageBoxRecorder boxes(Answer::Yes);
  QApplication::clipboard()->setText(QStringLiteral("abc"));
  platform::SendCommand(Role::MainFrame, cmd::kPaste);
  EXPECT_TRUE(boxes.Calls().empty());  // nothing loaded: replaced without asking
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(document::Document().DocData.data()), document::Document().DocLength), "abc\r\n");
  EXPECT_TRUE(frame_->windowTitle().contains(QStringLiteral("読込DF[ﾍﾟｰｽﾄﾃﾞｰﾀ]")));
  EXPECT_EQ(asc_->ids.back(), cmd::kDataLoaded);
  EXPECT_EQ(bin_->ids.back(), cmd::kDataLoaded);

  document::Document().LastBuildWasText = 1;  // the ASCII screen took it as text
  platform::SendCommand(Role::MainFrame, cmd::kPaste);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("もとのデータに追加しますか？"));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(document::Document().DocData.data()), document::Document().DocLength),
            "abc\r\n\r\n\r\nabc\r\n");
}

TEST_F(MainFrameTest, PasteConvertsToShiftJisAndRefusesEmptyClipboard) {
  platform::ScopedMessageBoxRecorder boxes;
  QApplication::clipboard()->setText(QStringLiteral("日本"));
  platform::SendCommand(Role::MainFrame, cmd::kPaste);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(document::Document().DocData.data()), document::Document().DocLength),
            "\x93\xfa\x96\x7b\r\n");
  QApplication::clipboard()->clear();
  platform::SendCommand(Role::MainFrame, cmd::kPaste);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("クリップボードにテキスト形式のデータがありません。"));
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("貼り付けできません。"));
}

TEST_F(MainFrameTest, PropertiesBeforeAndAfterALoad) {
  platform::ScopedMessageBoxRecorder boxes;
  platform::SendCommand(Role::MainFrame, cmd::kProperties);
  const QString path = dir_.filePath("data.txt");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("hello");
  f.close();
  ASSERT_TRUE(frame_->LoadFile(path));
  platform::SendCommand(Role::MainFrame, cmd::kProperties);
  ASSERT_EQ(boxes.Calls().size(), 2u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("まだファイルが読み出されていません"));
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("確認"));
  EXPECT_EQ(boxes.Calls()[1].text, QStringLiteral("Path=%1\nDFname=data.txt\nDFExt=.txt\nLength=5 bytes").arg(path));
  EXPECT_EQ(boxes.Calls()[1].caption, QStringLiteral("プロパティ"));
}

TEST_F(MainFrameTest, SettingsResetAsksThenRebuildsBothScreens) {
  platform::ScopedMessageBoxRecorder boxes(Answer::Cancel);
  settings::Live().ascii.AscMarginTop = 33;
  platform::SendCommand(Role::MainFrame, cmd::kSettingsReset);
  EXPECT_EQ(settings::Live().ascii.AscMarginTop, 33);  // cancelled
  boxes.SetAnswer(Answer::Ok);
  asc_->ids.clear();
  bin_->ids.clear();
  platform::SendCommand(Role::MainFrame, cmd::kSettingsReset);
  EXPECT_EQ(settings::Live().ascii.AscMarginTop, 10);
  ASSERT_EQ(boxes.Calls().size(), 3u);
  EXPECT_EQ(boxes.Calls()[1].text, QStringLiteral("設定条件を初期化していいですか？"));
  EXPECT_EQ(boxes.Calls()[2].text, QStringLiteral("設定条件を初期化しました"));
  EXPECT_EQ(asc_->ids, std::vector<int>{cmd::kRebuildDefault});
  EXPECT_EQ(bin_->ids, std::vector<int>{cmd::kRebuildDefault});
}

TEST_F(MainFrameTest, PrinterSetupKeepsTheOtherScreensOrientation) {
  platform::ScopedMessageBoxRecorder boxes;
  settings::Live().AscOrientation = 1;
  settings::Live().BinOrientation = 1;
  frame_->SetPrinterDialog([](QPrinter& p) {
    p.setPageOrientation(QPageLayout::Landscape);
    return true;
  });
  asc_->ids.clear();
  platform::SendCommand(Role::MainFrame, cmd::kPrinterSetup, 2);
  EXPECT_EQ(settings::Live().BinOrientation, 2);
  EXPECT_EQ(settings::Live().AscOrientation, 1);
  EXPECT_EQ(bin_->ids.back(), cmd::kRebuildDefault);
  EXPECT_TRUE(asc_->ids.empty());
  platform::SendCommand(Role::MainFrame, cmd::kPrinterSetup, 3);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("WindowType=3 でプリンタ設定メニューがクリックされました"));
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("想定外の出来事です"));
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
  document::Startup().ProgramType = 4;
  platform::SendCommand(Role::MainFrame, cmd::kOpenPrintFile);
  EXPECT_TRUE(offered.startsWith(QStringLiteral("解析DF-D (*.zpd)")));
  EXPECT_EQ(document::Startup().ColourTagMode, 1);
  EXPECT_EQ(document::Document().DocName, "model.zpd");
  EXPECT_EQ(settings::LastOpenPathUtf8(settings::Record()), path.toStdString());
  EXPECT_EQ(frame_->Recent().Entries().first(), path);

  // The next dialog starts at the remembered file; a general open clears the colour tags.
  frame_->SetOpenDialog([&](const QString&, const QString& filters, const QString& initial) {
    EXPECT_TRUE(filters.startsWith(QStringLiteral("All files")));
    EXPECT_EQ(initial, path);
    return QString();  // cancelled
  });
  platform::SendCommand(Role::MainFrame, cmd::kOpenGeneral);
  EXPECT_EQ(document::Startup().ColourTagMode, 1);  // a cancelled open changes nothing
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
  EXPECT_EQ(document::Document().DocLength, 0);  // two files: ignored
  drop({QUrl::fromLocalFile(b)});
  EXPECT_EQ(document::Document().DocName, "b.txt");
  EXPECT_EQ(frame_->Recent().Entries().first(), b);
}

TEST_F(MainFrameTest, DefaultWindowSizeWritesZeroSizeAndCloses) {
  platform::ScopedMessageBoxRecorder boxes(Answer::Ok);
  frame_->show();
  settings::Record().WinWidth = 900;
  settings::Record().WinHeight = 700;
  platform::SendCommand(Role::MainFrame, cmd::kDefaultWindowSize);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("実行していいですか？"));
  EXPECT_FALSE(frame_->isVisible());
  settings::SettingsRecord onDisk{};
  settings::LiveSettings live;
  ASSERT_TRUE(settings::ReadSettings(settings::Paths().SettingsPath, onDisk, live));
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
    settings::SettingsRecord& r = settings::Record();
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
  const settings::SettingsRecord& r = settings::Record();
  EXPECT_EQ(QRect(r.WinLeft, r.WinTop, r.WinWidth, r.WinHeight), shown);
  frame_.reset();  // the screens leave before the frame: no menu rebuild on the way
  for (const QPointer<QWidget>& w : children) EXPECT_TRUE(w.isNull());
}

TEST(MainFrameTitle, FollowsTheStartModeAndDocument) {
  document::Document().DocDisplayName.clear();
  document::Startup() = document::StartupState{};
  platform::PrinterSelection::Instance().Initialise({});
  EXPECT_EQ(MakeTitle(), QStringLiteral("ﾖﾙﾀﾞﾑⅡバンドル版 V7.10◆読込DF[]◆Tyld Project◆PDF"));
  document::Startup().StartMode = 1;
  document::Startup().PrintName = "Beam 1";
  document::Startup().DfPath = "/data/model.zpb";
  document::Document().DocFullPath = "/data/model.zpb";
  document::Document().DocDisplayName = "model.zpb";
  EXPECT_EQ(MakeTitle(), QStringLiteral("ﾖﾙﾀﾞﾑⅡバンドル版 V7.10◆自動起動◆読込DF[model.zpb]◆印刷名[Beam 1]◆Tyld Project◆PDF"));
  // A file opened later goes by its own name, in the title as in the footer.
  document::Document().DocFullPath = "/data/other.txt";
  document::Document().DocName = "other.txt";
  document::Document().DocDisplayName = "other.txt";
  EXPECT_EQ(MakeTitle(), QStringLiteral("ﾖﾙﾀﾞﾑⅡバンドル版 V7.10◆自動起動◆読込DF[other.txt]◆印刷名[other.txt]◆Tyld Project◆PDF"));
}

TEST(MainFrameFilters, FirstFilterFollowsTheProgramType) {
  EXPECT_TRUE(QtFilterString(false, 4).startsWith(QStringLiteral("All files (*.*) (*)")));
  EXPECT_TRUE(QtFilterString(true, 4).startsWith(QStringLiteral("解析DF-D (*.zpd);;")));
  EXPECT_TRUE(QtFilterString(true, 2).startsWith(QStringLiteral("解析DF-A (*.zpa);;解析DF-B (*.zpb)")));
  EXPECT_TRUE(QtFilterString(true, 7).startsWith(QStringLiteral("All files")));
}

}  // namespace
}  // namespace tyld::app
