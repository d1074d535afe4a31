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
  if (const auto warning = document::ApplyCommandLine(line, startup_)) {
    platform::MessageBox(nullptr, Q(warning->text), Q(warning->caption), platform::Buttons::Ok,
                         platform::Icon::Warning);
  }
  if (!CreateMainFrame()) return false;
  frame_->CreateScreens(
      [this](QWidget* parent) -> pages::ScreenCommands* { return new binary::BinaryView(workspace_, parent); },
      [this](QWidget* parent) -> pages::ScreenCommands* { return new ascii::AsciiView(workspace_, parent); });
  frame_->PlaceMainWindow();
  frame_->show();
  // TYLD_GRAB=FILE.png: save a picture of the main window once it is shown and its file is
  // in, then quit (checks of what users see, under Xvfb or offscreen). FILE.png.times.txt
  // says when the window was shown, the file was in and the picture was taken.
  const QString grab = qEnvironmentVariable("TYLD_GRAB");
  if (!grab.isEmpty()) {
    const qint64 shownMs = sinceStart_.elapsed();
    auto readMs = std::make_shared<qint64>(shownMs);
    QObject::connect(&document_, &document::DocumentBuffer::ReadFinished, frame_.get(),
                     [this, readMs] { *readMs = sinceStart_.elapsed(); });
    const int delay = qEnvironmentVariableIntValue("TYLD_GRAB_DELAY_MS");
    auto shoot = [this, grab, delay, shownMs, readMs] {
      QTimer::singleShot(delay > 0 ? delay : 800, frame_.get(), [this, grab, shownMs, readMs] {
        frame_->grab().save(grab);
        QFile title(grab + QStringLiteral(".title.txt"));
        if (title.open(QIODevice::WriteOnly)) title.write(frame_->windowTitle().toUtf8() + '\n');
        QFile times(grab + QStringLiteral(".times.txt"));
        if (times.open(QIODevice::WriteOnly))
          times.write(QStringLiteral("shown %1 ms\nread %2 ms\ngrabbed %3 ms\n")
                          .arg(shownMs)
                          .arg(*readMs)
                          .arg(sinceStart_.elapsed())
                          .toUtf8());
        frame_->close();
      });
    };
    const document::DocumentBuffer& doc = document_;
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
  return true;
}

bool Application::CreateMainFrame() {
  frame_ = std::make_unique<MainWindow>(workspace_);
  MeasureWindowMetrics();
  platform::PrinterSelection& printer = printers_;
  if (!printer.Initialise({})) {
    platform::MessageBox(frame_.get(), QStringLiteral("プリンタが正常に選択されておらず、印刷実行に支障があります。"),
                         QStringLiteral("ヨルダムⅡバンドル版の起動を中止します。"), platform::Buttons::Ok,
                         platform::Icon::Warning);
    return false;
  }
  const QString exeDir = QCoreApplication::applicationDirPath();
  const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  paths_ = settings::DeriveSettingsPath(
      startup_.StartMode, QDir::currentPath().toStdString(), exeDir.toStdString(),
      [&fallback](const std::string& dir) {
        const bool usable = settings::IsUsableSettingsDirectory(dir);
        if (!usable) QDir().mkpath(fallback);
        return usable;
      },
      fallback.toStdString());
  if (!settings::ReadSettings(paths_.SettingsPath, record_, live_) &&
      !settings::InitialiseSettings(paths_.SettingsPath, record_, live_)) {
    platform::MessageBox(frame_.get(),
                         Q(settings::kInitFailedText) + '\n' + Q(paths_.SettingsPath) + '\n' +
                             Q(settings::kInitFailedGoesOnText),
                         Q(settings::kInitFailedCaption), platform::Buttons::Ok, platform::Icon::Warning);
  }
  live_.AscLineBreakRules = settings::ReadLineBreakRules(settings::SideOptionsPath(paths_.SettingsPath));
  const settings::UnprintMargins& u = live_.unprint;
  printer.SetPdfMargins({u.top, u.bottom, u.left, u.right});
  if (!document_.AllocateHighlightMarks(document::kInitialHighlightMarks)) {
    platform::MessageBox(frame_.get(), Q(document::kInputBufferFailedText), Q(document::kInputBufferFailedCaption),
                         platform::Buttons::Ok, platform::Icon::Warning);
    frame_->close();  // as the close command: the settings are written
    return false;
  }
  if (startup_.StartMode != 0) frame_->LoadFile(QString::fromStdString(startup_.DfPath));
  frame_->UpdateTitle();
  return true;
}

}  // namespace tyld::app
