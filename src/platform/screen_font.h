#pragma once
// The font a screen draws with: a stored description at a point size for the screen's
// resolution, optionally scaled, with the cell width and line pitch it gives.
#include "platform/font_description.h"

class QPaintDevice;

namespace tyld::platform {

struct ScreenFont {
  enum class Status { Ok, BaseFailed, ScaleFailed };
  Status status = Status::Ok;
  FontDescription font{};          // the description drawn with (lfHeight set, width 0, Shift-JIS)
  int charWidth = 1;       // average (half-width) character width, at least 1
  int linePitch = 1;       // height + leading, plus the line spacing in tenths, at least 1
  bool fixedPitch = true;  // of the unscaled font
};

// Base height MultiplyDivide(tenths / 10, dpi, 72): 0 gives BaseFailed (the caller resets the font).
// A scale other than 1 whose font cannot be made gives ScaleFailed with the unscaled font.
ScreenFont MakeScreenFont(const FontDescription& stored, int pointTenths, double scale, int lineSpacing,
                          QPaintDevice* device);

}  // namespace tyld::platform
