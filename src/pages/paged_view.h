#pragma once
// A screen that shows a vertical strip of pages: scroll bars in lines and characters,
// scrolling that turns pages, the keys, the wheel, the quick mouse drag that turns a page,
// and the page commands. Both screens derive from it and only lay out and paint.
#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QPoint>
#include <QTimer>

#include "platform/commands.h"

namespace tyld::pages {

class PagedView : public QAbstractScrollArea, public platform::CommandTarget {
  Q_OBJECT
 public:
  explicit PagedView(QWidget* parent = nullptr);

  [[nodiscard]] int CurrentPage() const { return current_; }
  [[nodiscard]] int PageCount() const { return count_; }
  [[nodiscard]] int VScrollPos() const { return vPos_; }
  [[nodiscard]] int HScrollPos() const { return hPos_; }
  [[nodiscard]] int VScrollMax() const { return vMax_; }
  [[nodiscard]] int PageStride() const { return stride_; }

  // Page commands 138-145: true when the id is one of them (handled).
  bool HandlePageCommand(int id);
  // Shows the current page at the top: VScrollPos = page × stride, full repaint.
  void ShowCurrentPage();
  // A vertical request in lines, turning the page when it lands on another one.
  void ScrollVertical(int request);
  // A plain scroll of the content (the current page stays).
  void ScrollPlain(int vRequest, int hRequest);

 protected:
  // Called after every rebuild: page count, lines one page takes on screen (0: 80),
  // horizontal range in characters. Positions go to 0, then the current page is shown.
  void SetPaging(int pageCount, int linesDown, int charsAcross);
  void SetCurrentPage(int page) { current_ = page; }
  // Screen pixels of one line and one character, for scrolling.
  [[nodiscard]] virtual int LinePitchPx() const = 0;
  [[nodiscard]] virtual int CharWidthPx() const = 0;
  // The page or position changed; the title follows the paint.
  virtual void PageChanged() {}

  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool event(QEvent* event) override;

 private:
  void SyncBars();
  void OnVerticalAction(int action);
  void OnHorizontalAction(int action);

  int current_ = 0;
  int count_ = 0;
  int vPos_ = 0, hPos_ = 0, vMax_ = 80, hMax_ = 0;
  int stride_ = 80;
  bool syncing_ = false;
  // Mouse page turn: a vertical drag released within 500 ms.
  QPoint flickStart_;
  bool flickArmed_ = false;
  QTimer flickTimer_;
};

}  // namespace tyld::pages
