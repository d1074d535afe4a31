#pragma once
// The application object: reads the command line, makes the main window with its printer,
// settings and data, then the two screens. It owns the state the parts share and hands it
// to them as a pages::Workspace.
#include <QElapsedTimer>
#include <memory>

#include "pages/shared_state.h"

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
  pages::SharedState shared_;
  // Last, so the window and its views go before the state they refer to.
  std::unique_ptr<MainWindow> frame_;
  QElapsedTimer sinceStart_;
};

}  // namespace tyld::app
