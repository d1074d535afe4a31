#pragma once
// Metrics of the user-interface font, used to place the main window and the child frames.
#include <QRect>

namespace tyld::app {

struct WindowMetrics {
  int UiCharWidth = 8;
  int UiCharHeight = 19;
  int SmallCharWidth = 7;
  int SmallCharHeight = 14;
  int ScreenWidth = 1024;
  int ScreenHeight = 768;
  QRect MainClientRect;
  int BarAreaHeight = 0;
  int DialogFrameWidth = 3;
};

// The process-wide metrics.
WindowMetrics& Metrics();
// Measures the 12- and 10-point UI fonts and the screen.
void MeasureWindowMetrics();

}  // namespace tyld::app
