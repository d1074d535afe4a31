#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/fonts.h"

int main(int argc, char** argv) {
  // Widget tests run without a display.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  // Tests keep their profile store (recent files) away from the user's.
  QStandardPaths::setTestModeEnabled(true);
  QSettings::setDefaultFormat(QSettings::IniFormat);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                     QDir::temp().filePath(QStringLiteral("tyld-tests-%1").arg(QCoreApplication::applicationPid())));
  tyld::platform::InstallFontSubstitutions();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
