#include "platform/screen_font.h"

#include <QPaintDevice>
#include <algorithm>

#include "platform/canvas.h"
#include "platform/fonts.h"

namespace tyld::platform {
namespace {
bool Make(const FontDescription& stored, int height, int lineSpacing, QPaintDevice* device, ScreenFont& out) {
  FontDescription lf = stored;
  lf.height = -height;
  lf.width = 0;
  lf.charSet = kShiftJisCharSet;
  const FontMetrics m = MeasureFont(ToQFont(lf), device);
  if (m.height <= 0) return false;
  out.font = lf;
  out.charWidth = std::max(1, m.cellWidth);
  out.fixedPitch = m.fixedPitch;
  // 64-bit: the line spacing comes from the settings file unchecked.
  const long long h = static_cast<long long>(m.height) + m.leading;
  out.linePitch = static_cast<int>(std::clamp<long long>(h + lineSpacing * h / 10, 1, 1 << 30));
  return true;
}
}  // namespace

ScreenFont MakeScreenFont(const FontDescription& stored, int pointTenths, double scale, int lineSpacing,
                          QPaintDevice* device) {
  ScreenFont out;
  const int dpi = device != nullptr && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
  const int base = MultiplyDivide(pointTenths / 10, dpi, 72);
  if (base <= 0 || !Make(stored, base, lineSpacing, device, out)) {
    out.status = ScreenFont::Status::BaseFailed;
    return out;
  }
  if (scale == 1.0) return out;
  const double scaled = scale * pointTenths;
  const int c = scaled > 0 && scaled < 1e7 ? MultiplyDivide(static_cast<int>(scaled) / 10, dpi, 72) : 0;
  ScreenFont scaledFont = out;
  if (c <= 0 || !Make(stored, c, lineSpacing, device, scaledFont)) {
    out.status = ScreenFont::Status::ScaleFailed;
    return out;
  }
  scaledFont.fixedPitch = out.fixedPitch;  // the pitch is the unscaled font's
  return scaledFont;
}

}  // namespace tyld::platform
