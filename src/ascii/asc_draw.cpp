#include "ascii/asc_draw.h"

#include <QPainter>

#include "platform/command_ids.h"

namespace tyld::ascii {

CAscDraw::CAscDraw(QWidget* parent) : QAbstractScrollArea(parent) {
  setWindowTitle(QStringLiteral("アスキー画面"));
  platform::Publish(platform::Role::AscDraw, this);
}

CAscDraw::~CAscDraw() { platform::Withdraw(platform::Role::AscDraw, this); }

bool CAscDraw::OnCommand(int id, std::intptr_t /*param*/) {
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

bool CAscDraw::IsCommandEnabled(int /*id*/) const { return false; }

void CAscDraw::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), QColor(0x40, 0x40, 0x40));
}

}  // namespace tyld::ascii
