#include "platform/qt_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include "platform/codepage.h"
#include "platform/fonts.h"

namespace tyld::platform {
namespace {
QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

QPen ToQPen(Pen pen) {
  if (pen.style == PenStyle::None) return QPen(Qt::NoPen);
  QPen p(ToQColor(pen.color));
  p.setWidth(0);  // cosmetic: one device pixel, like GDI's width-1 pen
  if (pen.style == PenStyle::Dotted) p.setStyle(Qt::DotLine);
  return p;
}

QBrush ToQBrush(Brush brush) {
  switch (brush.style) {
    case BrushStyle::White: return QBrush(Qt::white);
    case BrushStyle::LightGrey: return QBrush(QColor(192, 192, 192));
    case BrushStyle::Black: return QBrush(Qt::black);
    case BrushStyle::Solid: return QBrush(ToQColor(brush.color));
    case BrushStyle::Hollow: break;
  }
  return QBrush(Qt::NoBrush);
}
}  // namespace

QtCanvas::QtCanvas(QPainter& painter, DeviceMetrics caps) : painter_(painter), caps_(caps) {
  painter_.setBackgroundMode(Qt::TransparentMode);
}

bool QtCanvas::SelectFont(const FontDescription& font) {
  if (font.height == 0 && font.width == 0 && font.faceName[0] == 0) return false;
  QFont f = ToQFont(font);
  const FontMetrics m = MeasureFont(f, painter_.device());
  if (m.height <= 0) return false;
  font_ = f;
  metrics_ = m;
  fontSet_ = true;
  painter_.setFont(font_);
  const QFontMetrics fm(font_, painter_.device());
  cellsMatch_ = m.fixedPitch && fm.horizontalAdvance(QStringLiteral("亜")) == 2 * m.cellWidth;
  return true;
}

int QtCanvas::TextExtent(std::string_view sjis) const {
  if (metrics_.fixedPitch) {
    int cells = 0;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
      if (codepage::IsLeadByte(static_cast<std::uint8_t>(sjis[i])) && i + 1 < sjis.size()) {
        cells += 2;
        ++i;
      } else {
        ++cells;
      }
    }
    return cells * metrics_.cellWidth;
  }
  const QFontMetrics fm(font_, painter_.device());
  return fm.horizontalAdvance(QString::fromStdU16String(codepage::ToUtf16(sjis)));
}

static void TextOutCells(QPainter& p, int x, int baseline, int cw, std::string_view sjis) {
  // Fixed pitch: one cell per single-byte character, two per double-byte character.
  QString one;
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<std::uint8_t>(sjis[i]);
    const bool pair = codepage::IsLeadByte(b) && i + 1 < sjis.size();
    const std::u16string u = codepage::ToUtf16(sjis.substr(i, pair ? 2 : 1));
    if (!u.empty() && u[0] > 0x20) p.drawText(x, baseline, QString::fromStdU16String(u));
    x += pair ? 2 * cw : cw;
    if (pair) ++i;
  }
}

void QtCanvas::PutText(int x, int y, std::string_view sjis) {
  if (!fontSet_ || sjis.empty()) return;
  painter_.setPen(ToQColor(color_));
  const int baseline = y + metrics_.ascent;
  if (!metrics_.fixedPitch || cellsMatch_) {
    painter_.drawText(x, baseline, QString::fromStdU16String(codepage::ToUtf16(sjis)));
    return;
  }
  TextOutCells(painter_, x, baseline, metrics_.cellWidth, sjis);
}

void QtCanvas::Rectangle(int left, int top, int right, int bottom, Pen pen, Brush brush) {
  if (right <= left || bottom <= top) return;
  if (brush.style != BrushStyle::Hollow)
    painter_.fillRect(QRect(left, top, right - left, bottom - top), ToQBrush(brush));
  if (pen.style != PenStyle::None) {
    painter_.setPen(ToQPen(pen));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
  }
}

void QtCanvas::Line(int x1, int y1, int x2, int y2, Pen pen) {
  if (pen.style == PenStyle::None) return;
  painter_.setPen(ToQPen(pen));
  painter_.drawLine(x1, y1, x2, y2);
}

}  // namespace tyld::platform
