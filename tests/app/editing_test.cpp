// Editing through the real main window and screens: the title shows unsaved changes,
// every way of dropping the data asks first and keeps everything unless told otherwise,
// undo and redo reach both screens and the byte editor, and the searches follow the bytes.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "app/main_window.h"
#include "ascii/ascii_view.h"
#include "binary/binary_view.h"
#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "pages/screen_action.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "search/search_state.h"
#include "settings/settings_file.h"
#include "../support/test_workspace.h"

namespace tyld::app {
namespace {

using pages::ScreenAction;
using platform::Answer;

const QString kSaveQuestion = QStringLiteral("変更を保存しますか？");
const QString kOverwritePrefix = QStringLiteral("ファイル\n");  // "ファイル\n%1\nを上書きしていいですか？"

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Answers each message box by the start of its text (Ok for any other) and records them.
class Answers {
 public:
  explicit Answers(std::map<QString, Answer> byStart) : byStart_(std::move(byStart)) {
    platform::SetMessageBoxHook([this](const platform::MessageBoxCall& call) {
      calls.push_back(call);
      for (const auto& [start, answer] : byStart_)
        if (call.text.startsWith(start)) return answer;
      return Answer::Ok;
    });
  }
  ~Answers() { platform::SetMessageBoxHook({}); }
  Answers(const Answers&) = delete;
  Answers& operator=(const Answers&) = delete;
  [[nodiscard]] QStringList Texts() const {
    QStringList t;
    for (const auto& c : calls) t << c.text.section(QLatin1Char('\n'), 0, 0);
    return t;
  }
  std::vector<platform::MessageBoxCall> calls;

 private:
  std::map<QString, Answer> byStart_;
};

// Runs `command` and, once its modal dialog is up, lets `act` fill and close it.
void WithModal(const std::function<void()>& command, const std::function<void(QDialog&)>& act) {
  QTimer::singleShot(0, [&] {
    if (auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      act(*dlg);
      if (dlg->isVisible()) dlg->reject();
    }
  });
  command();
}

class Editing : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    state_.paths = {dir_.filePath("YDsettei.bin").toStdString(), dir_.path().toStdString()};
    ASSERT_TRUE(settings::InitialiseSettings(state_.paths.SettingsPath, state_.record, state_.live));
    frame_ = std::make_unique<MainWindow>(state_.workspace);
    frame_->CreateScreens([this](QWidget* p) { return bin_ = new binary::BinaryView(state_.workspace, p); },
                          [this](QWidget* p) { return asc_ = new ascii::AsciiView(state_.workspace, p); });
    frame_->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(bin_->parentWidget()));
  }
  void TearDown() override {
    frame_->hide();
    frame_.reset();
  }

  QByteArray Data() const {
    const auto d = std::as_const(state_.document).Data();
    return {reinterpret_cast<const char*>(d.data()), static_cast<qsizetype>(d.size())};
  }
  QString Load(const QByteArray& bytes, const char* name = "data.txt") {
    const QString path = dir_.filePath(QString::fromUtf8(name));
    WriteFile(path, bytes);
    EXPECT_TRUE(frame_->LoadFile(path));
    return path;
  }
  // One "データ書替" of the byte editor: `values` from `address` on ("" leaves a byte).
  void EditBytes(const char* address, std::initializer_list<const char*> values) {
    bin_->Run(ScreenAction::ByteEditor);
    tools::ByteEditorWindow* w = bin_->ByteEditor();
    ASSERT_NE(w, nullptr);
    w->findChild<QLineEdit*>("address")->setText(QString::fromLatin1(address));
    w->EnterAddress();
    int i = 0;
    for (const char* v : values) w->findChild<QLineEdit*>(QStringLiteral("newByte%1").arg(i++))->setText(QString::fromLatin1(v));
    w->findChild<QPushButton*>("write")->click();
  }
  QString Current(int i) const {
    return bin_->ByteEditor()->findChild<QLabel*>(QStringLiteral("currentByte%1").arg(i))->text();
  }
  std::string_view AsciiText() const { return asc_->Screen().model.LcBuf(); }
  bool Marked() const { return frame_->windowTitle().startsWith(QLatin1Char('*')); }
  // With TYLD_TEST_GRAB_DIR=<dir>: a picture of the window and its title beside it.
  void Picture(const char* name) {
    const char* grabDir = std::getenv("TYLD_TEST_GRAB_DIR");
    if (grabDir == nullptr) return;
    const QString path = QDir(QString::fromUtf8(grabDir)).filePath(QString::fromUtf8(name));
    frame_->resize(1200, 800);
    frame_->show();
    QApplication::processEvents();
    frame_->grab().save(path);
    QFile title(path + QStringLiteral(".title.txt"));
    if (title.open(QIODevice::WriteOnly)) title.write(frame_->windowTitle().toUtf8());
  }

  QTemporaryDir dir_;
  testing_support::TestWorkspace state_;
  std::unique_ptr<MainWindow> frame_;
  binary::BinaryView* bin_ = nullptr;
  ascii::AsciiView* asc_ = nullptr;
};

TEST_F(Editing, QuittingAsksCancelKeepsYesSavesAndUndoReturnsToTheLoadedBytes) {
  const QByteArray original("0123456789\r\n");
  const QString path = Load(original);
  frame_->show();
  EXPECT_FALSE(Marked());
  EditBytes("2", {"41"});
  EditBytes("5", {"42", "43"});
  QByteArray edited = original;
  edited[2] = 'A';
  edited[5] = 'B';
  edited[6] = 'C';
  EXPECT_EQ(Data(), edited);
  EXPECT_TRUE(Marked());
  EXPECT_NE(AsciiText().find("01A34BC789"), std::string_view::npos);  // the ASCII screen follows
  Picture("edited.png");

  {
    Answers answers({{kSaveQuestion, Answer::Cancel}});
    EXPECT_FALSE(frame_->close());
    ASSERT_EQ(answers.calls.size(), 1u);
    EXPECT_EQ(answers.calls[0].text, kSaveQuestion);
    EXPECT_EQ(answers.calls[0].caption, QStringLiteral("確認"));
    EXPECT_EQ(answers.calls[0].buttons, platform::Buttons::YesNoCancel);
  }
  EXPECT_TRUE(frame_->isVisible());
  EXPECT_EQ(Data(), edited);
  EXPECT_EQ(ReadFile(path), original);
  {
    // The menu exit asks the same; No at the overwrite question cancels the quit too.
    Answers answers({{kSaveQuestion, Answer::Yes}, {kOverwritePrefix, Answer::No}});
    frame_->Action(Command::Close)->trigger();
    EXPECT_EQ(answers.Texts(), QStringList({kSaveQuestion, QStringLiteral("ファイル")}));
  }
  EXPECT_TRUE(frame_->isVisible());
  EXPECT_EQ(ReadFile(path), original);
  {
    Answers answers({{kSaveQuestion, Answer::Yes}, {kOverwritePrefix, Answer::Yes}});
    EXPECT_TRUE(frame_->close());
    EXPECT_EQ(answers.Texts().size(), 3);  // save?, overwrite?, written
  }
  EXPECT_FALSE(frame_->isVisible());
  EXPECT_EQ(ReadFile(path), edited);
  EXPECT_FALSE(Marked());

  // Undo past the save: marked again; twice gives the loaded bytes everywhere.
  ASSERT_TRUE(frame_->Action(Command::Undo)->isEnabled());
  frame_->Action(Command::Undo)->trigger();
  EXPECT_TRUE(Marked());
  EXPECT_EQ(Current(0), QStringLiteral("35"));  // the byte editor's column follows the undo
  frame_->Action(Command::Undo)->trigger();
  EXPECT_EQ(Data(), original);
  EXPECT_FALSE(frame_->Action(Command::Undo)->isEnabled());
  EXPECT_NE(AsciiText().find("0123456789"), std::string_view::npos);
  frame_->Action(Command::Redo)->trigger();
  frame_->Action(Command::Redo)->trigger();
  EXPECT_EQ(Data(), edited);
  EXPECT_FALSE(Marked());  // the saved bytes again
  EXPECT_FALSE(frame_->Action(Command::Redo)->isEnabled());
}

TEST_F(Editing, UndoAndRedoAreInTheBinaryScreensEditMenuWithTheirKeys) {
  EXPECT_EQ(frame_->Action(Command::Undo)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(frame_->Action(Command::Redo)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
  QStringList items;
  for (QAction* menu : frame_->menuBar()->actions())
    if (menu->text() == QStringLiteral("編集(&E)"))
      for (QAction* a : menu->menu()->actions()) items << a->text();
  EXPECT_EQ(items, QStringList({QStringLiteral("元に戻す(&U)"), QStringLiteral("やり直し(&R)")}));

  // The keys work from the byte editor's window too.
  const QByteArray original("abc\r\n");
  Load(original);
  frame_->show();
  EditBytes("0", {"5A"});
  tools::ByteEditorWindow* w = bin_->ByteEditor();
  w->findChild<QPushButton*>("write")->setFocus();
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Data(), original);
  QTest::keyClick(w, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Data().at(0), 'Z');
}

// Every way of replacing the data asks; only a discard or a save that happened lets it go.
TEST_F(Editing, ReplacingTheDataAsksFirst) {
  enum class Way { Open, Recent, Drop, Paste };
  struct Case {
    Way way;
    Answer save;       // to "変更を保存しますか？"
    Answer overwrite;  // to the overwrite question, when asked
    bool replaced;
    bool saved;
  };
  const Case cases[] = {
      {Way::Open, Answer::Cancel, Answer::Yes, false, false},  {Way::Open, Answer::No, Answer::Yes, true, false},
      {Way::Open, Answer::Yes, Answer::Yes, true, true},       {Way::Open, Answer::Yes, Answer::No, false, false},
      {Way::Recent, Answer::Cancel, Answer::Yes, false, false}, {Way::Recent, Answer::No, Answer::Yes, true, false},
      {Way::Drop, Answer::Cancel, Answer::Yes, false, false},  {Way::Drop, Answer::Yes, Answer::Yes, true, true},
      {Way::Paste, Answer::Cancel, Answer::Yes, false, false}, {Way::Paste, Answer::No, Answer::Yes, true, false},
  };
  const QByteArray first("first\r\n");
  const QString other = dir_.filePath("other.txt");
  WriteFile(other, "other\r\n");
  frame_->SetOpenDialog([&](const QString&, const QString&, const QString&) { return other; });
  {
    Answers quiet({});
    frame_->Run(Command::OpenGeneral);  // puts `other` in the recent list
  }
  ASSERT_EQ(frame_->Recent().Entries().size(), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.way) << " save " << static_cast<int>(c.save) << " overwrite "
                                    << static_cast<int>(c.overwrite));
    const QString path = Load(first, "first.txt");
    // The opposite of what the open commands set, to see that a refusal takes nothing over.
    const int colourTags = c.way == Way::Open ? 0 : 1;
    state_.startup.ColourTagMode = colourTags;
    EditBytes("0", {"46"});  // F
    Answers answers({{kSaveQuestion, c.save},
                     {kOverwritePrefix, c.overwrite},
                     {QStringLiteral("「はい」＝追加"), Answer::No}});  // a paste replaces
    switch (c.way) {
      case Way::Open: frame_->Run(Command::OpenPrintFile); break;
      case Way::Recent: frame_->OpenRecent(0); break;
      case Way::Drop: frame_->LoadDropped({QUrl::fromLocalFile(other)}); break;
      case Way::Paste:
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        frame_->Run(Command::Paste);
        break;
    }
    EXPECT_TRUE(answers.Texts().contains(kSaveQuestion));
    EXPECT_EQ(ReadFile(path), c.saved ? QByteArray("First\r\n") : first);
    if (c.replaced) {
      EXPECT_NE(Data(), QByteArray("First\r\n"));
      EXPECT_FALSE(Marked());
    } else {
      EXPECT_EQ(Data(), QByteArray("First\r\n"));
      EXPECT_TRUE(Marked());
      EXPECT_TRUE(state_.document.CanUndo());
      EXPECT_EQ(state_.startup.ColourTagMode, colourTags);  // nothing of the new file taken over
    }
    state_.document.Clear();  // the next case loads without asking
  }
}

TEST_F(Editing, ScreensFollowEditsKeepingTheSheetAndTheSearchMarks) {
  QByteArray text;
  for (int i = 0; i < 400; ++i) text += "xyz\r\n";
  Load(text);
  asc_->Run(ScreenAction::NextPage);
  ASSERT_EQ(asc_->CurrentPage(), 1);
  WithModal([this] { asc_->Run(ScreenAction::StringSearch); },
            [](QDialog& d) {
              d.findChild<QLineEdit*>()->setText(QStringLiteral("Qy"));
              d.findChildren<QComboBox*>().front()->setCurrentIndex(1);
              d.accept();
            });
  WithModal([this] { bin_->Run(ScreenAction::ByteSearch); },
            [](QDialog& d) {
              d.findChildren<QLineEdit*>()[0]->setText(QStringLiteral("51"));
              d.findChildren<QComboBox*>()[0]->setCurrentIndex(1);
              d.accept();
            });
  bin_->Run(ScreenAction::SequenceSearch);
  tools::SequenceSearchWindow* seq = bin_->SequenceSearch();
  ASSERT_NE(seq, nullptr);
  seq->findChild<QLineEdit*>("patternByte0")->setText(QStringLiteral("51"));
  seq->findChild<QLineEdit*>("patternByte1")->setText(QStringLiteral("79"));
  seq->findChild<QLineEdit*>("patternLength")->setText(QStringLiteral("2"));
  {
    Answers none({});
    seq->findChild<QPushButton*>("search")->click();  // nothing yet
  }

  Answers answers({});
  EditBytes("5", {"51"});  // "xyz\r\nQyz\r\n..."
  EXPECT_EQ(asc_->CurrentPage(), 1);
  ASSERT_GE(AsciiText().size(), 5u);
  EXPECT_EQ(AsciiText().substr(3, 3), "Qyz");
  EXPECT_EQ(asc_->Screen().model.LcMark()[3], 0x01);  // the string search, marked again
  EXPECT_EQ(asc_->Screen().model.LcMark()[4], 0x01);
  const std::span<const std::uint8_t> marks(state_.document.HighlightMarks.data(), 8);
  EXPECT_EQ(marks[5], 0x01 | 0x02);  // the byte search and the sequence
  EXPECT_EQ(marks[6], 0x02);
  EXPECT_EQ(seq->findChild<QLabel*>("resultCount")->text(), QStringLiteral("1"));

  frame_->Run(Command::Undo);
  EXPECT_EQ(asc_->CurrentPage(), 1);
  EXPECT_EQ(asc_->Screen().model.LcMark()[3], 0);
  EXPECT_EQ(marks[5], 0);
  EXPECT_EQ(marks[6], 0);
  EXPECT_EQ(seq->findChild<QLabel*>("resultCount")->text(), QStringLiteral("0"));
  EXPECT_TRUE(answers.calls.empty());  // re-marking after an edit says nothing
}

}  // namespace
}  // namespace tyld::app
