// The search and byte tools driven through the real screens inside the main frame: the
// commands reach them, the marks and titles follow, the tool windows stay single, and
// saving writes exactly the edited bytes.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "document/document_buffer.h"
#include "app/main_window.h"
#include "document/startup_state.h"
#include "ascii/ascii_view.h"
#include "binary/binary_view.h"
#include "pages/screen_action.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "tools/dialog_support.h"
#include "search/search_state.h"
#include "settings/settings_file.h"
#include "../support/test_workspace.h"

namespace tyld::app {
namespace {

using platform::Answer;
using pages::ScreenAction;
using platform::ScopedMessageBoxRecorder;

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Runs `command` and, once its modal dialog is up, lets `act` fill and close it.
template <class Dialog>
void WithModal(const std::function<void()>& command, const std::function<void(Dialog&)>& act) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (dlg == nullptr) return;
    seen = true;
    act(*dlg);
    if (dlg->isVisible()) dlg->reject();  // never leave the test waiting
  });
  command();
  EXPECT_TRUE(seen) << "no dialog was shown";
}

class ScreenWiring : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    state_.paths = {dir_.filePath("YDsettei.bin").toStdString(), dir_.path().toStdString()};
    ASSERT_TRUE(settings::InitialiseSettings(state_.paths.SettingsPath, state_.record, state_.live));
    frame_ = std::make_unique<app::MainWindow>(state_.workspace);
    frame_->CreateScreens([this](QWidget* p) { return bin_ = new binary::BinaryView(state_.workspace, p); },
                          [this](QWidget* p) { return asc_ = new ascii::AsciiView(state_.workspace, p); });
  }
  void TearDown() override {
    frame_->hide();  // a shown frame torn down at once re-activates screens during its own destruction
    frame_.reset();
  }

  QString Load(const QByteArray& bytes, const char* name = "data.bin") {
    const QString path = dir_.filePath(QString::fromUtf8(name));
    WriteFile(path, bytes);
    EXPECT_TRUE(frame_->LoadFile(path));
    return path;
  }
  std::span<const std::uint8_t> BinMarks() const {
    return {state_.document.HighlightMarks.data(), static_cast<std::size_t>(state_.document.DocLength)};
  }
  // For looking at a result: with TYLD_TEST_GRAB_DIR=<dir> a picture of the window is
  // saved there (run under a real display to see the fonts).
  void Picture(const char* name) {
    const char* grabDir = std::getenv("TYLD_TEST_GRAB_DIR");
    if (grabDir == nullptr) return;
    frame_->resize(1200, 800);
    frame_->show();
    QApplication::processEvents();
    frame_->grab().save(QDir(QString::fromUtf8(grabDir)).filePath(QString::fromUtf8(name)));
    frame_->hide();
  }
  void ActivateBinary() {
    frame_->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(bin_->parentWidget()));
    ASSERT_EQ(frame_->MdiArea()->activeSubWindow()->widget(), bin_);
  }

  QTemporaryDir dir_;
  testing_support::TestWorkspace state_;
  std::unique_ptr<app::MainWindow> frame_;
  binary::BinaryView* bin_ = nullptr;
  ascii::AsciiView* asc_ = nullptr;
};

TEST_F(ScreenWiring, SearchesRefuseWithoutData) {
  ScopedMessageBoxRecorder boxes;
  EXPECT_TRUE(asc_->Run(ScreenAction::StringSearch));
  EXPECT_TRUE(bin_->Run(ScreenAction::ByteSearch));
  ASSERT_EQ(boxes.Calls().size(), 2u);
  for (const auto& call : boxes.Calls()) {
    EXPECT_EQ(call.text, QStringLiteral("ファイルが読み出されていません"));
    EXPECT_EQ(call.caption, QStringLiteral("サーチできません"));
  }
  EXPECT_TRUE(asc_->CanRun(ScreenAction::StringSearch));
  EXPECT_FALSE(bin_->CanRun(ScreenAction::Save));  // nowhere to write yet
  EXPECT_TRUE(bin_->CanRun(ScreenAction::SaveAs));
}

TEST_F(ScreenWiring, StringSearchColoursMatchesOnTheAsciiScreenAndCancelRemovesThem) {
  Load("aaaa abc\r\nxabc\r\n", "text.txt");
  WithModal<QDialog>([this] { asc_->Run(ScreenAction::StringSearch); },
                     [](QDialog& d) {
                       d.findChild<QLineEdit*>()->setText(QStringLiteral("abc"));
                       d.findChildren<QComboBox*>().front()->setCurrentIndex(1);
                       d.accept();
                     });
  const std::string_view text = asc_->Screen().model.LcBuf();
  const auto marks = asc_->Screen().model.LcMark();
  ASSERT_EQ(marks.size(), text.size());
  std::string marked;
  for (std::size_t k = 0; k < text.size(); ++k) marked += marks[k] == 0x01 ? text[k] : marks[k] == 0 ? '.' : '?';
  EXPECT_EQ(std::count(marked.begin(), marked.end(), 'a'), 2);
  EXPECT_EQ(marked.find('?'), std::string::npos);
  EXPECT_NE(marked.find("abc"), std::string::npos);
  EXPECT_EQ(state_.searches.strings.Text(0), "abc");
  Picture("string_search.png");

  asc_->Run(ScreenAction::CancelStringSearch);
  EXPECT_TRUE(std::all_of(marks.begin(), marks.end(), [](std::uint8_t m) { return m == 0; }));
  EXPECT_EQ(state_.searches.strings.SearchColour[0], 0);
  EXPECT_EQ(state_.searches.strings.Text(0), "abc");  // shown again next time
}

TEST_F(ScreenWiring, ByteSearchMarksBytesAndNamesThemInTheTitle) {
  Load(QByteArray("\x0A\x41\x0D\x0A", 4));
  WithModal<QDialog>([this] { bin_->Run(ScreenAction::ByteSearch); },
                     [](QDialog& d) {
                       const auto edits = d.findChildren<QLineEdit*>();
                       const auto combos = d.findChildren<QComboBox*>();
                       edits[0]->setText(QStringLiteral("0a"));
                       combos[0]->setCurrentIndex(1);
                       edits[1]->setText(QStringLiteral("0D"));
                       combos[1]->setCurrentIndex(4);
                       d.accept();
                     });
  EXPECT_TRUE(bin_->TitleText().contains(QStringLiteral("ﾊﾞｲﾄｻｰﾁ中 [0A h0D h]")));
  Picture("byte_search.png");
  EXPECT_EQ(std::vector<std::uint8_t>(BinMarks().begin(), BinMarks().end()),
            (std::vector<std::uint8_t>{0x01, 0, 0x08, 0x01}));
  bin_->Run(ScreenAction::CancelByteSearch);
  EXPECT_FALSE(bin_->TitleText().contains(QStringLiteral("ﾊﾞｲﾄｻｰﾁ中")));
  EXPECT_TRUE(std::all_of(BinMarks().begin(), BinMarks().end(), [](std::uint8_t m) { return m == 0; }));
}

TEST_F(ScreenWiring, SequenceSearchWindowIsSingleAndListsWhatTheScreenFinds) {
  // (A last byte 0x00 would be read as 0x1A, so the data ends in another byte.)
  Load(QByteArray("\x0D\x0A\x00\x0D\x0A\x00\xFF", 7));
  bin_->Run(ScreenAction::SequenceSearch);
  QPointer<tools::SequenceSearchWindow> w = bin_->SequenceSearch();
  ASSERT_FALSE(w.isNull());
  bin_->Run(ScreenAction::SequenceSearch);
  EXPECT_EQ(bin_->SequenceSearch(), w.data());
  EXPECT_EQ(bin_->findChildren<tools::SequenceSearchWindow*>().size(), 1);

  ScopedMessageBoxRecorder boxes;
  w->findChild<QLineEdit*>("patternByte0")->setText(QStringLiteral("0d"));
  w->findChild<QLineEdit*>("patternByte1")->setText(QStringLiteral("0a"));
  w->findChild<QLineEdit*>("patternByte2")->setText(QStringLiteral("00"));
  w->findChild<QLineEdit*>("patternLength")->setText(QStringLiteral("3"));
  w->findChild<QPushButton*>("search")->click();
  EXPECT_TRUE(boxes.Calls().empty());
  EXPECT_EQ(w->findChild<QLabel*>("resultCount")->text(), QStringLiteral("2"));
  EXPECT_EQ(w->findChild<QComboBox*>("results")->itemText(1), QStringLiteral("Sr=  1  Adr= 0x000003"));
  EXPECT_EQ(std::vector<std::uint8_t>(BinMarks().begin(), BinMarks().end()),
            (std::vector<std::uint8_t>{2, 2, 2, 2, 2, 2, 0}));

  const QString out = dir_.filePath("found.txt");
  {
    tools::ScopedSaveFileAnswer answer(out);
    w->findChild<QPushButton*>("writeResults")->click();
  }
  EXPECT_EQ(ReadFile(out), QByteArray("Sr=  0 Adr= 0x000000\r\nSr=  1 Adr= 0x000003\r\n"));

  w->findChild<QLineEdit*>("patternByte0")->setText(QStringLiteral("41"));
  w->findChild<QLineEdit*>("patternLength")->setText(QStringLiteral("1"));
  w->findChild<QPushButton*>("search")->click();
  ASSERT_EQ(boxes.Calls().size(), 2u);  // written, then nothing found
  EXPECT_EQ(boxes.Calls()[1].text, QStringLiteral("該当バイト列はありませんでした。"));
  EXPECT_EQ(w->findChild<QLabel*>("resultCount")->text(), QStringLiteral("0"));
  EXPECT_EQ(w->findChild<QComboBox*>("results")->count(), 0);

  w->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(w.isNull());
  EXPECT_EQ(bin_->SequenceSearch(), nullptr);
  bin_->Run(ScreenAction::SequenceSearch);  // a new one opens
  EXPECT_NE(bin_->SequenceSearch(), nullptr);
}

// Choosing a result in the window turns the binary screen to the hit's page.
TEST_F(ScreenWiring, ChoosingASequenceResultTurnsToItsPage) {
  QByteArray data(20000, '.');
  data.replace(100, 4, "\x12\x34\x56\x78", 4);
  data.replace(15000, 4, "\x12\x34\x56\x78", 4);
  Load(data);
  bin_->Run(ScreenAction::SequenceSearch);
  tools::SequenceSearchWindow* w = bin_->SequenceSearch();
  ASSERT_NE(w, nullptr);
  const char* bytes[] = {"12", "34", "56", "78"};
  for (int i = 0; i < 4; ++i) w->findChild<QLineEdit*>(QStringLiteral("patternByte%1").arg(i))->setText(QString::fromLatin1(bytes[i]));
  w->findChild<QLineEdit*>("patternLength")->setText(QStringLiteral("4"));
  w->findChild<QPushButton*>("search")->click();
  auto* list = w->findChild<QComboBox*>("results");
  ASSERT_EQ(list->count(), 2);
  emit list->activated(1);
  const binary::DumpPaging paging = bin_->Screen().Paging();
  EXPECT_EQ(bin_->CurrentPage(), paging.PageOfPosition(15001));
  EXPECT_GT(bin_->CurrentPage(), 0);
  EXPECT_EQ(bin_->Screen().hitFirst, 15000);
  ActivateBinary();
  Picture("sequence-jump.png");
  w->close();
}

TEST_F(ScreenWiring, SequenceSearchStopsAtTheLimit) {
  Load(QByteArray(300, 'A'));
  bin_->Run(ScreenAction::SequenceSearch);
  tools::SequenceSearchWindow* w = bin_->SequenceSearch();
  ASSERT_NE(w, nullptr);
  ScopedMessageBoxRecorder boxes;
  w->findChild<QLineEdit*>("patternByte0")->setText(QStringLiteral("41"));
  w->findChild<QPushButton*>("search")->click();
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("該当数が想定数(200) に達しましたので途中で打ち切りました"));
  EXPECT_EQ(w->findChild<QComboBox*>("results")->count(), 200);
  EXPECT_EQ(BinMarks()[199], 0x02);
  EXPECT_EQ(BinMarks()[200], 0);
}

TEST_F(ScreenWiring, MaintenanceEditThenSaveAsDiffersExactlyInTheEditedBytes) {
  QByteArray original(4096, '\0');
  for (int i = 0; i < original.size(); ++i) original[i] = static_cast<char>(i * 7);
  const QString path = Load(original);
  bin_->Run(ScreenAction::ByteEditor);
  QPointer<tools::ByteEditorWindow> w = bin_->ByteEditor();
  ASSERT_FALSE(w.isNull());
  bin_->Run(ScreenAction::ByteEditor);
  EXPECT_EQ(bin_->findChildren<tools::ByteEditorWindow*>().size(), 1);

  w->findChild<QLineEdit*>("address")->setText(QStringLiteral("100"));
  w->EnterAddress();
  w->findChild<QLineEdit*>("newByte0")->setText(QStringLiteral("AA"));
  w->findChild<QLineEdit*>("newByte3")->setText(QStringLiteral("bb"));
  w->findChild<QPushButton*>("write")->click();

  ScopedMessageBoxRecorder boxes(Answer::Yes);  // create the copy
  const QString copy = dir_.filePath("copy.dat");
  {
    tools::ScopedSaveFileAnswer answer(copy);
    EXPECT_TRUE(bin_->Run(ScreenAction::SaveAs));
    ASSERT_EQ(answer.Requests().size(), 1u);
    EXPECT_EQ(answer.Requests()[0].initialName, QStringLiteral("data.bin"));
    EXPECT_EQ(answer.Requests()[0].defaultSuffix, QStringLiteral("dat"));
    EXPECT_EQ(answer.Requests()[0].filters.size(), 6);
  }
  QByteArray expected = original;
  expected[0x100] = static_cast<char>(0xAA);
  expected[0x103] = static_cast<char>(0xBB);
  EXPECT_EQ(ReadFile(copy), expected);
  EXPECT_EQ(ReadFile(path), original);
  ASSERT_EQ(boxes.Calls().size(), 2u);
  EXPECT_EQ(boxes.Calls()[1].text, QStringLiteral("ファイル %1 に書込みました").arg(copy));

  // Overwrite still aims at the loaded file; No leaves it alone, Yes writes it.
  EXPECT_TRUE(bin_->CanRun(ScreenAction::Save));
  boxes.SetAnswer(Answer::No);
  bin_->Run(ScreenAction::Save);
  ASSERT_EQ(boxes.Calls().size(), 3u);
  EXPECT_EQ(boxes.Calls()[2].text, QStringLiteral("ファイル\n%1\nを上書きしていいですか？").arg(path));
  EXPECT_EQ(boxes.Calls()[2].buttons, platform::Buttons::YesNo);
  EXPECT_EQ(ReadFile(path), original);
  boxes.SetAnswer(Answer::Yes);
  bin_->Run(ScreenAction::Save);
  EXPECT_EQ(ReadFile(path), expected);

  w->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(bin_->ByteEditor(), nullptr);
}

TEST_F(ScreenWiring, CtrlSReachesTheBinaryScreenAlsoFromAToolWindow) {
  const QString path = Load("xyz");
  ActivateBinary();
  frame_->show();
  bin_->Run(ScreenAction::ByteEditor);
  tools::ByteEditorWindow* w = bin_->ByteEditor();
  ASSERT_NE(w, nullptr);
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  frame_->UpdateCommandUi();
  ScopedMessageBoxRecorder boxes(Answer::No);
  QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("ファイル\n%1\nを上書きしていいですか？").arg(path));
}

TEST_F(ScreenWiring, PositionCalculatorIsSingleAndJumpsRefuseBeyondTheData) {
  Load(QByteArray(100, 'x'));
  bin_->Run(ScreenAction::PositionCalculator);
  QPointer<tools::PositionCalculatorWindow> w = bin_->PositionCalculator();
  ASSERT_FALSE(w.isNull());
  bin_->Run(ScreenAction::PositionCalculator);
  EXPECT_EQ(bin_->findChildren<tools::PositionCalculatorWindow*>().size(), 1);

  ScopedMessageBoxRecorder boxes;
  w->findChild<QLineEdit*>("hexPosition")->setText(QStringLiteral("FFFFFFFF"));
  w->findChild<QPushButton*>("jumpHex")->click();
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_TRUE(boxes.Calls()[0].text.startsWith(QStringLiteral("指定位置=4294967295 (ffffffffH)")))
      << boxes.Calls()[0].text.toStdString();
  w->findChild<QLineEdit*>("decimalPosition")->setText(QStringLiteral("1"));
  w->findChild<QPushButton*>("jumpDecimal")->click();
  EXPECT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(bin_->CurrentPage(), 0);

  w->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(bin_->PositionCalculator(), nullptr);
}

// The first sheet on screen, found as the block of pixels that are not the window's grey
// background, from its first row down to the first row of nothing but background.
QRect FirstSheet(const QImage& image) {
  const QRgb background = qRgb(128, 128, 128);
  int top = -1, bottom = -1, left = image.width(), right = -1;
  for (int y = 0; y < image.height(); ++y) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == background) continue;
      if (first < 0) first = x;
      last = x;
    }
    if (first < 0) {
      if (top >= 0) break;
      continue;
    }
    if (top < 0) top = y;
    bottom = y;
    left = std::min(left, first);
    right = std::max(right, last);
  }
  return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Each screen shows its sheet in the proportions of the paper it prints on.
TEST_F(ScreenWiring, TheSheetOnScreenHasThePapersShape) {
  Load(QByteArray("text\r\n").repeated(200), "a.txt");
  QPrinter& printer = *state_.printers.Printer();
  const struct {
    QPageSize::PageSizeId size;
    const char* name;
  } papers[] = {{QPageSize::A4, "A4"}, {QPageSize::A3, "A3"}, {QPageSize::B5, "B5"}, {QPageSize::Letter, "Letter"}};
  // Views of their own: the framed ones are as small as their hidden frame.
  ascii::AsciiView ascii(state_.workspace);
  binary::BinaryView binary(state_.workspace);
  for (pages::PagedView* view : {static_cast<pages::PagedView*>(&ascii), static_cast<pages::PagedView*>(&binary)}) {
    view->resize(2400, 2400);
    for (const auto& paper : papers) {
      for (const settings::Orientation o : {settings::Orientation::Portrait, settings::Orientation::Landscape}) {
        printer.setPageSize(QPageSize(paper.size));
        state_.live.AscOrientation = o;
        state_.live.BinOrientation = o;
        view->Rebuild();
        view->grab();  // a hidden view lays out its viewport when first drawn
        const QRect sheet = FirstSheet(view->viewport()->grab().toImage());
        const QSizeF mm = QPageSize(paper.size).size(QPageSize::Millimeter);
        const double want = o == settings::Orientation::Portrait ? mm.width() / mm.height() : mm.height() / mm.width();
        const double got = static_cast<double>(sheet.width()) / sheet.height();
        EXPECT_NEAR(got / want, 1.0, 0.005) << paper.name << (o == settings::Orientation::Portrait ? " portrait " : " landscape ")
                                            << static_cast<int>(view->Kind()) << ": " << sheet.width() << " x " << sheet.height();
      }
    }
  }
  printer.setPageSize(QPageSize(QPageSize::A4));
}

}  // namespace
}  // namespace tyld::app
