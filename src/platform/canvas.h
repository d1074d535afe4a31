#pragma once
// A GDI-shaped drawing surface. The page painters draw on it; QtCanvas puts the calls on
// any QPaintDevice (screen, printer, PDF, image), RecordingCanvas records them for tests.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/font_description.h"

namespace tyld::platform {

using Colour = std::uint32_t;  // 0x00BBGGRR
constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

struct FontMetrics {
  int cellWidth = 0;     // half-width cell of a fixed-pitch font
  int height = 0;           // ascent + descent
  int ascent = 0;
  int leading = 0;
  bool fixedPitch = true;
};

struct DeviceMetrics {
  int width = 0;     // printable width, pixels
  int height = 0;     // printable height, pixels
  int dpiX = 96;
  int dpiY = 96;
};

// A piece of a run: Shift-JIS text whose first character starts at x.
struct TextPiece {
  int x = 0;
  std::string_view sjis;
};

enum class PenStyle { Solid, Dotted, None };
enum class BrushStyle { White, LightGrey, Black, Solid, Hollow };

struct Pen {
  PenStyle style = PenStyle::Solid;
  Colour color = 0;
};
struct Brush {
  BrushStyle style = BrushStyle::White;
  Colour color = 0;  // for BrushStyle::Solid
};

// MultiplyDivide as GDI has it: a * b / c rounded to nearest, -1 when c is 0 or the result
// does not fit an int.
int MultiplyDivide(int a, int b, int c);

class Canvas {
 public:
  virtual ~Canvas() = default;

  [[nodiscard]] virtual DeviceMetrics Device() const = 0;

  // Creates a font from the description and selects it; false when no font can be made
  // (the previous font stays selected).
  virtual bool SelectFont(const FontDescription& font) = 0;
  [[nodiscard]] virtual FontMetrics Metrics() const = 0;
  // Width of Shift-JIS text in the selected font.
  [[nodiscard]] virtual int TextExtent(std::string_view sjis) const = 0;
  // Draws Shift-JIS text with its top-left corner at (x, y), transparent background.
  virtual void PutText(int x, int y, std::string_view sjis) = 0;
  // Draws the pieces on one row in the current colour, each where PutText would put it.
  // A device that pays per drawing call draws the whole run at once.
  virtual void PutTexts(int y, std::span<const TextPiece> pieces) {
    for (const TextPiece& piece : pieces) PutText(piece.x, y, piece.sjis);
  }
  virtual void SetTextColor(Colour color) = 0;
  [[nodiscard]] virtual Colour TextColor() const = 0;
  // GDI Rectangle: outline with the pen, fill with the brush; right/bottom exclusive.
  virtual void Rectangle(int left, int top, int right, int bottom, Pen pen, Brush brush) = 0;
  // A straight line with the pen.
  virtual void Line(int x1, int y1, int x2, int y2, Pen pen) = 0;
};

}  // namespace tyld::platform
