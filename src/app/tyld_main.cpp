// The viewer: start-up sequence of the one application object.
#include <QApplication>

#include "app/tyld_app.h"
#include "platform/translations.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  tyld::platform::InstallQtTranslations();
  tyld::app::CTyldApp app;
  if (!app.InitInstance(argc, argv)) return 1;
  return QApplication::exec();
}
