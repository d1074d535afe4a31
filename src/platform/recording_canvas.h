#pragma once
// A Canvas with fixed, predictable metrics that records every call, for exact tests.
// A font of height h (|lfHeight|) has cells of h/2 (at least 1) by h pixels, no leading.
// Text extents count one cell per single-byte and two per double-byte character.
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace tyld::platform {

class RecordingCanvas : public Canvas {
 public:
  enum class Op { Font, Text, Color, Rect, Line };
  struct Call {
    Op op = Op::Text;
    int x = 0, y = 0, x2 = 0, y2 = 0;  // text position or rectangle/line corners
    std::string text;                  // Shift-JIS bytes for Text
    Colour color = 0;                // text colour in effect (Text, Color)
    FontDescription font{};                    // font in effect
    Pen pen{};
    Brush brush{};
    int run = -1;  // Text drawn by PutTexts: the number of that call (0, 1, ...), else -1
  };

  explicit RecordingCanvas(DeviceMetrics caps = {4800, 6800, 600, 600}) : caps_(caps) {}

  [[nodiscard]] DeviceMetrics Device() const override { return caps_; }
  bool SelectFont(const FontDescription& font) override;
  [[nodiscard]] FontMetrics Metrics() const override;
  [[nodiscard]] int TextExtent(std::string_view sjis) const override;
  void PutText(int x, int y, std::string_view sjis) override;
  // Records each piece as the Text call PutText would make, tagged with the run.
  void PutTexts(int y, std::span<const TextPiece> pieces) override;
  void SetTextColor(Colour color) override;
  [[nodiscard]] Colour TextColor() const override { return color_; }
  void Rectangle(int left, int top, int right, int bottom, Pen pen, Brush brush) override;
  void Line(int x1, int y1, int x2, int y2, Pen pen) override;

  // When set, SelectFont fails for fonts of this |height| (to test fallbacks).
  void FailFontHeight(int height) { failHeight_ = height; }

  [[nodiscard]] const std::vector<Call>& Calls() const { return calls_; }
  [[nodiscard]] std::vector<Call> Texts() const;  // only the Text calls
  void Clear() {
    calls_.clear();
    runs_ = 0;
  }

 private:
  DeviceMetrics caps_;
  FontDescription font_{};
  Colour color_ = 0;
  int failHeight_ = -1;
  int runs_ = 0;
  std::vector<Call> calls_;
};

}  // namespace tyld::platform
