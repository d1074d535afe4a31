// The viewer: start-up sequence of the one application object.
#include <QApplication>

#include "app/tyld_app.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  tyld::app::CTyldApp app;
  if (!app.InitInstance(argc, argv)) return 1;
  return QApplication::exec();
}
