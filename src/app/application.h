#pragma once
// The application object: reads the command line, makes the main window with its printer,
// settings and data, then the two screens. It owns the state the parts share and hands it
// to them as a pages::Workspace.
#include <QElapsedTimer>
#include <memory>

#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "pages/page_dialogs.h"
#include "pages/workspace.h"
#include "platform/printer.h"
#include "search/search_state.h"
#include "settings/settings_file.h"

namespace tyld::app {

class MainWindow;

class Application {
 public:
  Application();
  ~Application();
  // The start-up sequence; false ends the program.
  bool InitInstance(int argc, const char* const* argv);
  [[nodiscard]] MainWindow* MainFrame() const { return frame_.get(); }

 private:
  bool CreateMainFrame();
  settings::SettingsPaths paths_;
  settings::SettingsRecord record_;
  settings::LiveSettings live_;
  document::StartupState startup_;
  document::DocumentBuffer document_;
  search::SearchStates searches_;
  platform::PrinterSelection printers_;
  pages::PrintingNotice notice_;
  pages::Workspace workspace_{paths_, record_, live_, document_, startup_, searches_, printers_, notice_};
  // Last, so the window and its views go before the state they refer to.
  std::unique_ptr<MainWindow> frame_;
  QElapsedTimer sinceStart_;
};

}  // namespace tyld::app
