#include <QApplication>

#include "plover/database_reg.h"
#include "runtime/qt_dialogs.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  rt::QtDialogs dialogs;
  rt::set_dialogs(&dialogs);
  plover::database_reg database_reg;
  database_reg.open();
  return app.exec();
}
