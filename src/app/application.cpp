#include "app/application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

#include "document/command_line.h"
#include "document/document_buffer.h"
#include "app/main_window.h"
#include "document/startup_state.h"
#include "app/window_metrics.h"
#include "ascii/ascii_view.h"
#include "binary/binary_view.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "settings/settings_file.h"
#include "settings/side_options.h"

namespace tyld::app {
namespace {
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
}  // namespace

Application::Application() {
  sinceStart_.start();
  QCoreApplication::setOrganizationName(QStringLiteral("Tyld"));
  QCoreApplication::setApplicationName(QStringLiteral("Tyld"));
}

Application::~Application() = default;

bool Application::InitInstance(int argc, const char* const* argv) {
  platform::InstallFontSubstitutions();
  const std::string line = document::JoinArguments(argc, argv);
  if (const auto warning = document::ApplyCommandLine(line, shared_.startup)) {
    platform::MessageBox(nullptr, Q(warning->text), Q(warning->caption), platform::Buttons::Ok,
                         platform::Icon::Warning);
  }
  if (!CreateMainFrame()) return false;
  ascii::AsciiView* asciiView = nullptr;
  binary::BinaryView* binaryView = nullptr;
  frame_->CreateScreens(
      [this, &binaryView](QWidget* parent) -> pages::ScreenCommands* {
        binaryView = new binary::BinaryView(shared_.workspace, parent);
        return binaryView;
      },
      [this, &asciiView](QWidget* parent) -> pages::ScreenCommands* {
        asciiView = new ascii::AsciiView(shared_.workspace, parent);
        return asciiView;
      });
  frame_->PlaceMainWindow();
  frame_->show();
  // TYLD_GRAB=FILE.png: save a picture of the main window once it is shown and its file is
  // in, then quit (checks of what users see, under Xvfb or offscreen). FILE.png.times.txt
  // says when the window was shown, the file was in, the first ASCII sheets and the first
  // binary page were painted (-1: never) and the picture was taken. TYLD_GRAB_EARLY=1
  // takes the picture as soon as the first binary page is painted, the read going on.
  const QString grab = qEnvironmentVariable("TYLD_GRAB");
  if (!grab.isEmpty()) {
    const qint64 shownMs = sinceStart_.elapsed();
    auto readMs = std::make_shared<qint64>(shared_.document.Reading() ? -1 : shownMs);
    QObject::connect(&shared_.document, &document::DocumentBuffer::ReadFinished, frame_.get(),
                     [this, readMs] { *readMs = sinceStart_.elapsed(); });
    auto sheetMs = std::make_shared<qint64>(-1);
    if (asciiView != nullptr)
      QObject::connect(asciiView, &ascii::AsciiView::SheetsPainted, frame_.get(), [this, sheetMs] {
        if (*sheetMs < 0) *sheetMs = sinceStart_.elapsed();
      });
    auto pageMs = std::make_shared<qint64>(-1);
    const int delay = qEnvironmentVariableIntValue("TYLD_GRAB_DELAY_MS");
    auto shoot = [this, grab, delay, shownMs, readMs, sheetMs, pageMs] {
      QTimer::singleShot(delay > 0 ? delay : 800, frame_.get(), [this, grab, shownMs, readMs, sheetMs, pageMs] {
        frame_->grab().save(grab);
        QFile title(grab + QStringLiteral(".title.txt"));
        if (title.open(QIODevice::WriteOnly)) title.write(frame_->windowTitle().toUtf8() + '\n');
        QFile times(grab + QStringLiteral(".times.txt"));
        if (times.open(QIODevice::WriteOnly))
          times.write(QStringLiteral("shown %1 ms\nread %2 ms\nfirst sheet %3 ms\nfirst page %4 ms\ngrabbed %5 ms\n")
                          .arg(shownMs)
                          .arg(*readMs)
                          .arg(*sheetMs)
                          .arg(*pageMs)
                          .arg(sinceStart_.elapsed())
                          .toUtf8());
        frame_->close();
      });
    };
    const bool early = qEnvironmentVariableIntValue("TYLD_GRAB_EARLY") == 1;
    if (binaryView != nullptr)
      QObject::connect(binaryView, &binary::BinaryView::FirstPagePainted, frame_.get(), [this, pageMs, early, shoot] {
        if (*pageMs >= 0) return;
        *pageMs = sinceStart_.elapsed();
        if (early) shoot();
      });
    const document::DocumentBuffer& doc = shared_.document;
    if (!early) {
      if (doc.Busy()) {
        // Once the bytes are in and the rows built; whichever signal comes last.
        auto whenIdle = [&doc, shoot, done = std::make_shared<bool>(false)] {
          if (*done || doc.Busy()) return;
          *done = true;
          shoot();
        };
        QObject::connect(&doc, &document::DocumentBuffer::ReadFinished, frame_.get(), whenIdle);
        QObject::connect(&doc, &document::DocumentBuffer::BusyChanged, frame_.get(), whenIdle);
      } else {
        shoot();
      }
    }
  }
  return true;
}

bool Application::CreateMainFrame() {
  frame_ = std::make_unique<MainWindow>(shared_.workspace);
  MeasureWindowMetrics();
  platform::PrinterSelection& printer = shared_.printers;
  if (!printer.Initialise({})) {
    platform::MessageBox(frame_.get(), QStringLiteral("プリンタが正常に選択されておらず、印刷実行に支障があります。"),
                         QStringLiteral("ヨルダムⅡバンドル版の起動を中止します。"), platform::Buttons::Ok,
                         platform::Icon::Warning);
    return false;
  }
  const QString exeDir = QCoreApplication::applicationDirPath();
  const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  shared_.paths = settings::DeriveSettingsPath(
      shared_.startup.StartMode, QDir::currentPath().toStdString(), exeDir.toStdString(),
      [&fallback](const std::string& dir) {
        const bool usable = settings::IsUsableSettingsDirectory(dir);
        if (!usable) QDir().mkpath(fallback);
        return usable;
      },
      fallback.toStdString());
  if (!settings::ReadSettings(shared_.paths.SettingsPath, shared_.record, shared_.live) &&
      !settings::InitialiseSettings(shared_.paths.SettingsPath, shared_.record, shared_.live)) {
    platform::MessageBox(frame_.get(),
                         Q(settings::kInitFailedText) + '\n' + Q(shared_.paths.SettingsPath) + '\n' +
                             Q(settings::kInitFailedGoesOnText),
                         Q(settings::kInitFailedCaption), platform::Buttons::Ok, platform::Icon::Warning);
  }
  shared_.live.AscLineBreakRules = settings::ReadLineBreakRules(settings::SideOptionsPath(shared_.paths.SettingsPath));
  const settings::UnprintMargins& u = shared_.live.unprint;
  printer.SetPdfMargins({u.top, u.bottom, u.left, u.right});
  if (!shared_.document.AllocateHighlightMarks(document::kInitialHighlightMarks)) {
    platform::MessageBox(frame_.get(), Q(document::kInputBufferFailedText), Q(document::kInputBufferFailedCaption),
                         platform::Buttons::Ok, platform::Icon::Warning);
    frame_->close();  // as the close command: the settings are written
    return false;
  }
  if (shared_.startup.StartMode != 0) frame_->LoadFile(QString::fromStdString(shared_.startup.DfPath));
  frame_->UpdateTitle();
  return true;
}

}  // namespace tyld::app
