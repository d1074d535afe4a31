#include "platform/recording_canvas.h"

#include <cstdlib>
#include <limits>

#include "platform/codepage.h"

namespace tyld::platform {

int MultiplyDivide(int a, int b, int c) {
  if (c == 0) return -1;
  const long long p = static_cast<long long>(a) * b;
  long long q = p / c;
  const long long r = p % c;
  // round half away from zero, as GDI does
  if (2 * std::llabs(r) >= std::llabs(static_cast<long long>(c))) q += ((p < 0) != (c < 0)) ? -1 : 1;
  // A result outside int is an error, as in GDI, not a wrapped number.
  if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(q);
}

bool RecordingCanvas::SelectFont(const FontDescription& font) {
  if (std::abs(font.height) == failHeight_) return false;
  font_ = font;
  Call c;
  c.op = Op::Font;
  c.font = font;
  c.color = color_;
  calls_.push_back(c);
  return true;
}

FontMetrics RecordingCanvas::Metrics() const {
  const int h = std::abs(font_.height) == 0 ? 16 : std::abs(font_.height);
  FontMetrics m;
  m.height = h;
  m.ascent = h * 4 / 5;
  m.cellWidth = h / 2 > 0 ? h / 2 : 1;
  m.leading = 0;
  m.fixedPitch = true;
  return m;
}

int RecordingCanvas::TextExtent(std::string_view sjis) const {
  int cells = 0;
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<std::uint8_t>(sjis[i]);
    if (codepage::IsLeadByte(b) && i + 1 < sjis.size()) {
      cells += 2;
      ++i;
    } else {
      cells += 1;
    }
  }
  return cells * Metrics().cellWidth;
}

void RecordingCanvas::PutText(int x, int y, std::string_view sjis) {
  Call c;
  c.op = Op::Text;
  c.x = x;
  c.y = y;
  c.text = std::string(sjis);
  c.color = color_;
  c.font = font_;
  calls_.push_back(std::move(c));
}

void RecordingCanvas::PutTexts(int y, std::span<const TextPiece> pieces) {
  for (const TextPiece& piece : pieces) {
    PutText(piece.x, y, piece.sjis);
    calls_.back().run = runs_;
  }
  ++runs_;
}

void RecordingCanvas::SetTextColor(Colour color) {
  color_ = color;
  Call c;
  c.op = Op::Color;
  c.color = color;
  calls_.push_back(c);
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom, Pen pen, Brush brush) {
  Call c;
  c.op = Op::Rect;
  c.x = left;
  c.y = top;
  c.x2 = right;
  c.y2 = bottom;
  c.pen = pen;
  c.brush = brush;
  calls_.push_back(c);
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2, Pen pen) {
  Call c;
  c.op = Op::Line;
  c.x = x1;
  c.y = y1;
  c.x2 = x2;
  c.y2 = y2;
  c.pen = pen;
  calls_.push_back(c);
}

std::vector<RecordingCanvas::Call> RecordingCanvas::Texts() const {
  std::vector<Call> out;
  for (const auto& c : calls_)
    if (c.op == Op::Text) out.push_back(c);
  return out;
}

}  // namespace tyld::platform
