#pragma once
// The application object: reads the command line, makes the main window with its printer,
// settings and data, then the two screens.
#include <QElapsedTimer>
#include <memory>

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
  std::unique_ptr<MainWindow> frame_;
  QElapsedTimer sinceStart_;
};

}  // namespace tyld::app
