#pragma once
// The application object: reads the command line, makes the main window with its printer,
// settings and data, then the two screens.
#include <memory>

namespace tyld::app {

class CMainFrame;

class CTyldApp {
 public:
  CTyldApp();
  ~CTyldApp();
  // The start-up sequence; false ends the program.
  bool InitInstance(int argc, const char* const* argv);
  [[nodiscard]] CMainFrame* MainFrame() const { return frame_.get(); }

 private:
  bool CreateMainFrame();
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace tyld::app
