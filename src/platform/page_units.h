#pragma once
// Arithmetic both page layouts share: their rounding and a font sized for a device.
#include <cmath>
#include <limits>

#include "platform/canvas.h"
#include "platform/font_description.h"

namespace tyld::platform {

// round(x): the integer part, plus 1 when the fraction exceeds 0.5 (an exact half rounds
// down). Saturates at the int range so absurd margins cannot overflow.
inline int RoundHalfDown(double x) {
  if (std::isnan(x)) return 0;
  const double whole = std::trunc(x);
  const double r = x - whole > 0.5 ? whole + 1 : whole;
  if (r >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (r <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

// A stored font at its point size (tenths) for a device of vertical resolution
// dpiY: pixel height from the whole points, width 0, Shift-JIS character set.
inline FontDescription FontForDevice(const FontDescription& font, int pointTenths, int dpiY) {
  FontDescription f = font;
  f.height = -MultiplyDivide(pointTenths / 10, dpiY, 72);
  f.width = 0;
  f.charSet = kShiftJisCharSet;
  return f;
}

}  // namespace tyld::platform
