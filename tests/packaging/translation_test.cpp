// Qt's own texts follow the locale, and a C/POSIX locale gets Japanese: the paste question's
// standard buttons and the file, font and print dialogs then match the program's texts.
#include "platform/translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

#include <functional>

#include "document/document_buffer.h"
#include "app/main_window.h"
#include "document/startup_state.h"
#include "pages/screen_steps.h"
#include "app/main_menus.h"
#include "pages/screen_action.h"
#include "platform/printer.h"
#include "settings/page_format.h"
#include "settings/settings_file.h"
#include "../support/test_workspace.h"

namespace tyld::platform {
namespace {

class Translated {
 public:
  explicit Translated(const QLocale& locale) : t_(InstallQtTranslations(locale)) {}
  ~Translated() {
    if (t_ != nullptr) QCoreApplication::removeTranslator(t_);
    delete t_;
    QLocale::setDefault(QLocale::system());
  }
  Translated(const Translated&) = delete;
  Translated& operator=(const Translated&) = delete;
  [[nodiscard]] QTranslator* Get() const { return t_; }

 private:
  QTranslator* t_;
};

TEST(QtTranslations, FollowTheLocaleAndTakeJapaneseWithoutOne) {
  const struct {
    QLocale locale;
    const char* language;  // "" = Qt's English stays
    const char* yes;
  } cases[] = {
      {QLocale::c(), "ja", "はい"},
      {QLocale(QLocale::Japanese, QLocale::Japan), "ja", "はい"},
      {QLocale(QLocale::German, QLocale::Germany), "de", "Ja"},
      {QLocale(QLocale::English, QLocale::UnitedStates), "", "Yes"},
  };
  for (const auto& c : cases) {
    const Translated t(c.locale);
    const std::string name = c.locale.name().toStdString();
    EXPECT_EQ(t.Get() == nullptr ? std::string() : t.Get()->language().left(2).toStdString(), c.language) << name;
    EXPECT_TRUE(QCoreApplication::translate("QPlatformTheme", "&Yes").contains(QString::fromUtf8(c.yes)))
        << name << ": " << QCoreApplication::translate("QPlatformTheme", "&Yes").toStdString();
  }
}

// The texts a modal dialog shows; `open` runs it, the dialog is pictured into TYLD_SHOT_DIR
// (when set) and closed with its No button or rejected.
QStringList TextsOfModal(const std::function<void()>& open, const QString& picture) {
  QStringList texts;
  QWidget* shown = nullptr;
  // The picture waits a moment, so that the file dialog has listed its folder.
  QTimer close;
  close.setSingleShot(true);
  QObject::connect(&close, &QTimer::timeout, [&] {
    const QString dir = qEnvironmentVariable("TYLD_SHOT_DIR");
    if (!dir.isEmpty()) shown->grab().save(QDir(dir).filePath(picture));
    if (auto* box = qobject_cast<QMessageBox*>(shown); box != nullptr && box->button(QMessageBox::No) != nullptr)
      box->button(QMessageBox::No)->click();
    else
      static_cast<QDialog*>(shown)->reject();
  });
  QTimer look;
  look.setSingleShot(true);
  QObject::connect(&look, &QTimer::timeout, [&] {
    shown = QApplication::activeModalWidget();
    if (shown == nullptr) return;
    texts << shown->windowTitle();
    for (const QAbstractButton* b : shown->findChildren<QAbstractButton*>()) texts << b->text();
    for (const QLabel* l : shown->findChildren<QLabel*>()) texts << l->text();
    for (const QGroupBox* g : shown->findChildren<QGroupBox*>()) texts << g->title();
    close.start(qEnvironmentVariableIsSet("TYLD_SHOT_DIR") ? 500 : 0);
  });
  look.start(0);
  open();
  EXPECT_NE(shown, nullptr) << picture.toStdString() << " was not shown";
  return texts;
}

bool AnyContains(const QStringList& texts, const char* what) {
  const QString s = QString::fromUtf8(what);
  return std::any_of(texts.begin(), texts.end(), [&](const QString& t) { return t.contains(s); });
}

// A screen that does nothing: the dialogs under test belong to the main window.
class IdleScreen : public QWidget, public pages::ScreenCommands {
 public:
  explicit IdleScreen(QWidget* parent) : QWidget(parent) {}
  bool Run(pages::ScreenAction) override { return false; }
  [[nodiscard]] bool CanRun(pages::ScreenAction) const override { return false; }
  void Repaint() override {}
  void Rebuild() override {}
  QWidget& Widget() override { return *this; }
};

class ViewerDialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    state_.paths = {dir_.filePath("YDsettei.bin").toStdString(), dir_.path().toStdString()};
    ASSERT_TRUE(settings::InitialiseSettings(state_.paths.SettingsPath, state_.record, state_.live));
    frame_ = std::make_unique<app::MainWindow>(state_.workspace);
    frame_->CreateScreens([](QWidget* p) { return new IdleScreen(p); }, [](QWidget* p) { return new IdleScreen(p); });
  }
  void TearDown() override { frame_.reset(); }

  QTemporaryDir dir_;
  Translated japanese_{QLocale::c()};
  testing_support::TestWorkspace state_;
  std::unique_ptr<app::MainWindow> frame_;
};

TEST_F(ViewerDialogsTest, PasteQuestionAndFileFontPrintDialogsSpeakJapanese) {
  ASSERT_NE(japanese_.Get(), nullptr) << "qtbase_ja.qm missing: install qt6-translations-l10n";
  // The second paste onto text asks whether to append.
  QApplication::clipboard()->setText(QStringLiteral("abc"));
  frame_->Run(app::Command::Paste);
  state_.document.LastBuildWasText = 1;
  const QStringList paste = TextsOfModal([this] { frame_->Run(app::Command::Paste); }, "paste-question.png");
  EXPECT_TRUE(paste.contains(QStringLiteral("もとのデータに追加しますか？"))) << paste.join('|').toStdString();
  EXPECT_TRUE(AnyContains(paste, "はい") && AnyContains(paste, "いいえ")) << paste.join('|').toStdString();
  EXPECT_FALSE(AnyContains(paste, "Yes") || AnyContains(paste, "No")) << paste.join('|').toStdString();

  const QStringList open = TextsOfModal([this] { frame_->Run(app::Command::OpenGeneral); }, "file-dialog.png");
  EXPECT_TRUE(open.contains(QStringLiteral("一般ファイルを開く"))) << open.join('|').toStdString();
  EXPECT_TRUE(AnyContains(open, "開く") && AnyContains(open, "キャンセル") && AnyContains(open, "ファイル名"))
      << open.join('|').toStdString();

  QWidget owner;
  settings::FontState font;
  const QStringList fonts = TextsOfModal([&] { pages::RunFontDialog(&owner, font); }, "font-dialog.png");
  EXPECT_TRUE(AnyContains(fonts, "フォント") && AnyContains(fonts, "サイズ")) << fonts.join('|').toStdString();

  const QStringList print = TextsOfModal([this] { frame_->PrinterSetup(pages::ScreenKind::Ascii); }, "print-dialog.png");
  EXPECT_TRUE(print.contains(QStringLiteral("プリンタの設定"))) << print.join('|').toStdString();
  EXPECT_TRUE(AnyContains(print, "プリンタ") && AnyContains(print, "印刷")) << print.join('|').toStdString();
}

}  // namespace
}  // namespace tyld::platform
