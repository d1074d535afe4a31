#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/fonts.h"

int main(int argc, char** argv) {
  // Widget tests run without a display.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  tyld::platform::InstallFontSubstitutions();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
