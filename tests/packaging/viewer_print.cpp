// The viewer's print path on the printer named by TYLD_TEST_PRINTER: each screen loads a
// file and prints every page through the range dialog, as a user's print command does; the
// ASCII screen's printer is picked in the printer setup dialog first.
// cups_test.sh runs it against a scratch CUPS queue and checks what the queue received; it
// prints "SCREEN PAGES" for each job.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "document/document_buffer.h"
#include "app/main_window.h"
#include "document/startup_state.h"
#include "ascii/ascii_view.h"
#include "pages/page_dialogs.h"
#include "binary/binary_view.h"
#include "platform/codepage.h"
#include "pages/screen_action.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "settings/page_format.h"
#include "../support/test_workspace.h"

namespace tyld {
namespace {

class ViewerPrintTest : public testing::Test {
 protected:
  void SetUp() override {
    printer_ = qEnvironmentVariable("TYLD_TEST_PRINTER");
    if (printer_.isEmpty()) GTEST_SKIP() << "TYLD_TEST_PRINTER names no printer (cups_test.sh sets it)";
  }
  void Load(const QString& name, const std::string& bytes) {
    const QString path = dir_.filePath(name);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    f.close();
    state_.document.LoadDataFile(path.toStdString());
  }
  // Runs the print command, accepting the range dialog (all pages) once it is up.
  void Print(pages::ScreenCommands& view) {
    AnswerDialog([](QDialog& dialog) { dialog.accept(); });
    view.Run(pages::ScreenAction::PrintColour);
    state_.notice.Close();
  }
  // `answer` gets the next modal dialog once it is up.
  static void AnswerDialog(std::function<void(QDialog&)> answer) {
    auto* timer = new QTimer(QApplication::instance());
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer = std::move(answer)] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) answer(*dialog);
      timer->deleteLater();
    });
    timer->start(0);
  }

  QString printer_;
  QTemporaryDir dir_;
  testing_support::TestWorkspace state_;
  platform::ScopedMessageBoxRecorder boxes_;  // any message box would be a failure
};

TEST_F(ViewerPrintTest, AsciiScreenPrintsPortraitJapaneseText) {
  app::MainWindow frame(state_.workspace);  // answers the printer setup request
  ascii::AsciiView view(state_.workspace);
  // The scratch scheduler has no default printer: the viewer starts on the PDF printer and
  // the user picks the queue in the printer setup dialog.
  platform::PrinterSelection& selection = state_.printers;
  ASSERT_TRUE(selection.Initialise({}));
  bool picked = false;
  AnswerDialog([&](QDialog& dialog) {
    auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
    if (printers != nullptr && printers->findText(printer_) >= 0) {
      printers->setCurrentIndex(printers->findText(printer_));
      picked = true;
    }
    dialog.accept();
  });
  frame.PrinterSetup(pages::ScreenKind::Ascii);
  ASSERT_TRUE(picked) << "the printer setup dialog did not offer " << printer_.toStdString();
  ASSERT_FALSE(selection.IsPdf());
  ASSERT_EQ(selection.Name(), printer_);
  std::string text;
  for (int i = 1; i <= 120; ++i) text += platform::codepage::FromUtf8("画面から印刷 行" + std::to_string(i) + "\r\n");
  state_.live.AscOrientation = settings::Orientation::Portrait;
  Load(QStringLiteral("viewer-ascii.txt"), text);
  Print(view);
  EXPECT_TRUE(boxes_.Calls().empty()) << boxes_.Calls().front().text.toStdString();
  std::printf("ascii %d\n", view.Screen().SheetCount);
}

TEST_F(ViewerPrintTest, BinaryScreenPrintsALandscapeDump) {
  app::MainWindow frame(state_.workspace);
  binary::BinaryView view(state_.workspace);
  // Named as tyld-render --printer names it.
  ASSERT_TRUE(state_.printers.Initialise({}, printer_)) << printer_.toStdString();
  ASSERT_FALSE(state_.printers.IsPdf());
  std::string bytes(3000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  bytes.back() = 'z';
  state_.live.BinOrientation = settings::Orientation::Landscape;
  Load(QStringLiteral("viewer-binary.bin"), bytes);
  Print(view);
  EXPECT_TRUE(boxes_.Calls().empty()) << boxes_.Calls().front().text.toStdString();
  std::printf("binary %d\n", view.Screen().view.BinPageCount);
}

}  // namespace
}  // namespace tyld
