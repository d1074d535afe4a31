// tyld-render: the viewer's pages for scripts and batch printing, without a display.
#include <QApplication>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <iostream>
#include <vector>

#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "pages/page_dialogs.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "platform/translations.h"
#include "search/search_state.h"
#include "settings/settings_file.h"
#include "render/render_batch.h"
#include "render/render_job.h"

int main(int argc, char** argv) {
  // No display is needed: draw offscreen unless the caller chose a platform.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
    const std::string dir = "/tmp/tyld-runtime-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  QApplication app(argc, argv);
  tyld::platform::InstallQtTranslations();
  tyld::platform::InstallFontSubstitutions();
  std::vector<std::string> args(argv + 1, argv + argc);
  const tyld::render::ParseResult parsed = tyld::render::ParseRenderArguments(args);
  if (parsed.help || parsed.version) {
    std::cout << (parsed.help ? tyld::render::UsageText() : tyld::render::VersionText());
    return 0;
  }
  if (!parsed.options) {
    std::cerr << "tyld-render: " << parsed.error << "\n" << tyld::render::UsageText();
    return tyld::render::kUsageError;
  }
  // tyld-render's own set of what the viewer's application object owns; it never writes the
  // settings file, searches or shows a printing notice.
  tyld::settings::SettingsPaths paths;
  tyld::settings::SettingsRecord record;
  tyld::settings::LiveSettings live;
  tyld::document::StartupState startup;
  tyld::document::DocumentBuffer document;
  tyld::search::SearchStates searches;
  tyld::platform::PrinterSelection printers;
  tyld::pages::PrintingNotice notice;
  const tyld::pages::Workspace workspace{paths, record, live, document, startup, searches, printers, notice};
  const int code = tyld::render::RunRenderBatch(*parsed.options, workspace, std::cin, std::cout, std::cerr);
  // Everything is written; giving hundreds of megabytes back page by page would only
  // delay the exit.
  std::cout.flush();
  std::cerr.flush();
  std::_Exit(code);
}
