#include "app/window_metrics.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/fonts.h"

namespace tyld::app {

WindowMetrics& Metrics() {
  static WindowMetrics metrics;
  return metrics;
}

void MeasureWindowMetrics() {
  WindowMetrics& m = Metrics();
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int dpi = screen != nullptr ? static_cast<int>(screen->logicalDotsPerInchY()) : 96;
  auto measure = [dpi](int points) {
    const platform::FontDescription lf =
        platform::MakeLogFont(QStringLiteral("ＭＳ ゴシック"), -(points * dpi / 72));
    return platform::MeasureFont(platform::ToQFont(lf), nullptr);
  };
  const platform::FontMetrics big = measure(12);
  m.UiCharWidth = big.cellWidth;
  m.UiCharHeight = static_cast<int>(1.2 * (big.height + big.leading));
  const platform::FontMetrics small = measure(10);
  m.SmallCharWidth = small.cellWidth;
  m.SmallCharHeight = small.height + small.leading;
  if (screen != nullptr) {
    const QRect avail = screen->availableGeometry();
    m.ScreenWidth = avail.width();
    m.ScreenHeight = avail.height();
  }
}

}  // namespace tyld::app
