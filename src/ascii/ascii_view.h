#pragma once
// The ASCII screen's view: the paged view over the text sheets, with the ASCII screen's own
// commands (UTF-8 and mail display, the string search).
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "ascii/ascii_screen.h"
#include "pages/paged_view.h"

class QTimer;

namespace tyld::ascii {

class AsciiView : public pages::PagedView {
  Q_OBJECT
 public:
  explicit AsciiView(const pages::Workspace& workspace, QWidget* parent = nullptr);
  ~AsciiView() override;

  // Data of this many bytes or more gets its text model built on a worker thread, the
  // window answering meanwhile. The rows of its first StartBytes come first: their sheets
  // are shown, without the totals, until the whole build replaces them.
  std::int64_t BackgroundFrom = std::int64_t{8} << 20;
  std::size_t StartBytes = std::size_t{4} << 20;
  // Runs on the worker between the start's rows and the whole build (tests hold it there);
  // `stop` turns true when the view gives the build up.
  std::function<void(const std::atomic<bool>& stop)> BeforeWholeBuild;
  // A text model is being built on the worker.
  [[nodiscard]] bool Building() const { return worker_.joinable(); }

  bool Run(pages::ScreenAction action) override;
  [[nodiscard]] bool CanRun(pages::ScreenAction action) const override;
  [[nodiscard]] pages::ScreenKind Kind() const override { return pages::ScreenKind::Ascii; }
  // New document content: back to the first sheet.
  void ShowNewDocument();
  // Bytes changed in place: the sheets again from them, on the same sheet (or the last),
  // with the string search marked again.
  void ShowChangedBytes();

  [[nodiscard]] const AsciiScreen& Screen() const { return screen_; }
  [[nodiscard]] AsciiScreen& Screen() { return screen_; }

 signals:
  // The first sheets of a new document were painted (once per document).
  void SheetsPainted();

 protected:
  bool ExecPageFormatDialog() override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void StringSearch();
  void CancelStringSearch();
  void MarkStrings();
  void StartModelBuild();
  void PollModelBuild();
  // The rows of the document's start in place while the whole build goes on.
  void ShowStart();
  // Stops the worker, joins it and drops what it built.
  void StopModelBuild();
  void ShowStatus(const QString& text);
  void LetGo();  // the document is no longer held by this view
  // Waits for the row build with its progress shown; false when the user gave up waiting.
  bool WaitForRows();

  AsciiScreen screen_;
  std::thread worker_;
  std::unique_ptr<TextModel> next_;
  std::unique_ptr<TextModel> start_;  // the rows of the start, until shown
  std::atomic<bool> built_{false};
  std::atomic<bool> startBuilt_{false};
  std::atomic<bool> stop_{false};  // the worker's build is given up
  bool sheetsPainted_ = false;
  std::atomic<std::int32_t> rowsFound_{0};
  bool holding_ = false;
  int buildOf_ = 0;  // the screen's DeferCount the worker builds for
  QTimer* poll_ = nullptr;
};

}  // namespace tyld::ascii
