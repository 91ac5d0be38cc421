#include <QApplication>

#include "kestrel/program_icon.h"
#include "kestrel/w_main.h"
#include "runtime/qt_dialogs.h"
#include "shared/globals.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  rt::QtDialogs dialogs;
  rt::set_dialogs(&dialogs);
  app_startup(QStringLiteral("main"));
  kestrel::set_program_icon();
  kestrel::w_main w;
  w.open();
  w.show();
  return app.exec();
}
