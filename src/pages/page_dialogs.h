#pragma once
// The small dialogs both screens use: the print range (PrintRangeDialog), the page to show
// (GoToPageDialog), the page-turning guide (PageTurnGuideDialog) and the window shown while a print job
// runs (PrintingNotice). "Page" is the calling screen's page unit; the caller passes its current
// page 0-based, the user sees pages 1-based.
#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>
#include <string_view>

#include "pages/clock.h"
#include "pages/dialog_parts.h"

class QLabel;
class QLineEdit;
class QTimer;

namespace tyld::platform {
class Canvas;
}

namespace tyld::pages {

// A print request: pages startPage..endPage, 1-based, both within 1..page count; the first
// printed page gets the number firstNumber and each further page one more; 0 prints none.
struct PrintRange {
  int startPage = 1;
  int endPage = 1;
  int firstNumber = 0;
};

class PrintRangeDialog : public QDialog {
  Q_OBJECT
 public:
  // colour: true for a colour print job, false for monochrome (only the caption differs).
  PrintRangeDialog(int currentPage, int pageCount, bool colour, QWidget* parent = nullptr);

  // The accepted request (valid after the dialog closed with OK).
  [[nodiscard]] PrintRange Result() const { return result_; }
  // Controls by object name: edits startPage, endPage, firstNumber (each with its
  // "...Spin"), buttons startAtCurrent, endAtCurrent, startAtFirst, endAtLast, ok, cancel,
  // and the page count text pageCount.

  // "印刷開始": checks the range and asks before printing more than ten pages.
  void accept() override;

 private:
  int current_;
  int count_;
  PrintRange result_;
  QLineEdit* start_ = nullptr;
  QLineEdit* end_ = nullptr;
  QLineEdit* firstNumber_ = nullptr;
};

class GoToPageDialog : public QDialog {
  Q_OBJECT
 public:
  GoToPageDialog(int currentPage, int pageCount, QWidget* parent = nullptr);

  // The page to show, 0-based (valid after the dialog closed with OK).
  [[nodiscard]] int Result() const { return result_; }
  // Controls by object name: the edit page (with pageSpin), buttons firstPage (先頭頁),
  // middlePage (中央頁), lastPage (最終頁), ok, cancel, and the page count text pageCount.

  void accept() override;

 private:
  int count_;
  int result_;
  QLineEdit* page_ = nullptr;
};

// One title field of the page-turning guide: white centred text on a dark teal ground, in
// a 10-point fixed-pitch gothic font. Texts longer than 48 bytes are cut at a character.
void PaintGuideTitle(platform::Canvas& canvas, int left, int top, int right, int bottom,
                     std::string_view sjis);

class PageTurnGuideDialog : public QDialog {
  Q_OBJECT
 public:
  explicit PageTurnGuideDialog(QWidget* parent = nullptr);
};

class PrintingNotice;

// The "印刷中" window, opened and closed by its PrintingNotice.
class PrintingNoticeWindow : public QDialog {
  Q_OBJECT
 public:
  // What the close timer runs: closes the window once a full second has passed since the
  // last show, else waits for the rest of it.
  void CloseIfDue();

 private:
  friend class PrintingNotice;
  PrintingNoticeWindow(PrintingNotice& owner, QWidget* parent);
  PrintingNotice& owner_;
  QTimer* timer_;
  Clock clock_;
  std::int64_t shownAt_ = 0;
};

// The one printing notice of the application: a print job started while its window is
// still open reuses it, and it closes one second after the last job showed it.
class PrintingNotice {
 public:
  static constexpr int kShowMs = 1000;

  PrintingNotice() = default;
  ~PrintingNotice();
  PrintingNotice(const PrintingNotice&) = delete;
  PrintingNotice& operator=(const PrintingNotice&) = delete;

  // Shows the window (creating it with the printing view as parent when none is open),
  // paints it at once so it is visible during the synchronous job, and restarts its
  // one-second close timer, timed by `clock`.
  PrintingNoticeWindow* Show(QWidget* printingView, Clock clock = SteadyMilliseconds);
  // Closes and destroys the window now, if it is open.
  void Close();
  // The open window, or nullptr.
  [[nodiscard]] PrintingNoticeWindow* Window() const { return window_; }

 private:
  QPointer<PrintingNoticeWindow> window_;
};

// What a wait shows: its label and how far the work is, in thousandths (-1: not known, a
// busy bar).
struct WaitProgress {
  QString label;
  int permille = -1;
};

// Shows a modal progress dialog (with "キャンセル") until `done` turns true, refreshing it
// from `progress` every 50 ms. The work goes on through the caller's own polling, which
// keeps running under the dialog. False when the user gave up waiting.
bool WaitWithProgress(QWidget* parent, const QString& caption, const std::function<bool()>& done,
                      const std::function<WaitProgress()>& progress);

}  // namespace tyld::pages
