// The viewer: start-up sequence of the one application object.
#include <QApplication>

#include "app/application.h"
#include "platform/translations.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  tyld::platform::InstallQtTranslations();
  tyld::app::Application app;
  if (!app.InitInstance(argc, argv)) return 1;
  return QApplication::exec();
}
