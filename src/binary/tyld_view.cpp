#include "binary/tyld_view.h"

#include <QPainter>

#include "platform/command_ids.h"

namespace tyld::binary {

CTyldView::CTyldView(QWidget* parent) : QAbstractScrollArea(parent) {
  setWindowTitle(QStringLiteral("バイナリ画面"));
  platform::Publish(platform::Role::BinView, this);
}

CTyldView::~CTyldView() { platform::Withdraw(platform::Role::BinView, this); }

bool CTyldView::OnCommand(int id, std::intptr_t /*param*/) {
  switch (id) {
    case cmd::kResize:
    case cmd::kRepaint:
    case cmd::kRebuildDefault:
    case cmd::kDataLoaded:
      viewport()->update();
      return true;
    default:
      return false;
  }
}

bool CTyldView::IsCommandEnabled(int /*id*/) const { return false; }

void CTyldView::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), QColor(0x40, 0x40, 0x40));
}

}  // namespace tyld::binary
