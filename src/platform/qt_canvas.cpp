#include "platform/qt_canvas.h"

#include <QFontMetrics>
#include <QGlyphRun>
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
  if (!fontSet_ || f != font_) raw_ = m.fixedPitch ? QRawFont::fromFont(f) : QRawFont();
  font_ = f;
  metrics_ = m;
  fontSet_ = true;
  painter_.setFont(font_);
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

namespace {
// A byte's own character, or the byte as Latin-1 when it has none (codepage::ToUtf16).
char16_t SingleUnit(std::uint8_t b) {
  const char16_t u = codepage::DecodeByte(b);
  return (u != 0 || b == 0) ? u : static_cast<char16_t>(b);
}
}  // namespace

// Fixed pitch: one cell per single-byte character, two per double-byte character, every
// glyph at the start of its cell. The glyphs of all pieces go out as one run: devices such
// as the PDF writer pay per call, not per glyph. A character the font has no glyph for is
// drawn alone, so the font fallback still finds one for it.
void QtCanvas::DrawCells(int baseline, std::span<const TextPiece> pieces) {
  const int cw = metrics_.cellWidth;
  glyphs_.clear();
  positions_.clear();
  const auto put = [&](char16_t u, int x) {
    if (u <= 0x20) return;  // spaces and control characters leave their cells empty
    const QChar c(u);
    quint32 glyph = 0;
    int count = 1;
    if (raw_.isValid() && raw_.glyphIndexesForChars(&c, 1, &glyph, &count) && count == 1 && glyph != 0) {
      glyphs_.append(glyph);
      positions_.append(QPointF(x, baseline));
    } else {
      painter_.drawText(x, baseline, QString(c));
    }
  };
  for (const TextPiece& piece : pieces) {
    const std::string_view s = piece.sjis;
    int x = piece.x;
    for (std::size_t i = 0; i < s.size(); ++i) {
      const auto b = static_cast<std::uint8_t>(s[i]);
      if (codepage::IsLeadByte(b) && i + 1 < s.size()) {
        const auto trail = static_cast<std::uint8_t>(s[++i]);
        const char16_t u = codepage::DecodePair(b, trail);
        if (u != 0) {
          put(u, x);
        } else if (SingleUnit(b) > 0x20) {
          // No character: both bytes show their own, drawn together from the pair's first
          // cell as the font lays them out (a control character takes no room).
          const QChar both[2] = {QChar(SingleUnit(b)), QChar(SingleUnit(trail))};
          painter_.drawText(x, baseline, QString(both, 2));
        }
        x += 2 * cw;
      } else {
        put(SingleUnit(b), x);
        x += cw;
      }
    }
  }
  if (glyphs_.isEmpty()) return;
  QGlyphRun run;
  run.setRawFont(raw_);
  run.setGlyphIndexes(glyphs_);
  run.setPositions(positions_);
  run.setUnderline(font_.underline());
  run.setStrikeOut(font_.strikeOut());
  painter_.drawGlyphRun(QPointF(0, 0), run);
}

void QtCanvas::PutText(int x, int y, std::string_view sjis) {
  if (!fontSet_ || sjis.empty()) return;
  painter_.setPen(ToQColor(color_));
  const int baseline = y + metrics_.ascent;
  if (!metrics_.fixedPitch) {
    painter_.drawText(x, baseline, QString::fromStdU16String(codepage::ToUtf16(sjis)));
    return;
  }
  const TextPiece piece{x, sjis};
  DrawCells(baseline, {&piece, 1});
}

void QtCanvas::PutTexts(int y, std::span<const TextPiece> pieces) {
  if (!fontSet_) return;
  if (!metrics_.fixedPitch) {
    Canvas::PutTexts(y, pieces);
    return;
  }
  painter_.setPen(ToQColor(color_));
  DrawCells(y + metrics_.ascent, pieces);
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
