#include "kestrel/program_icon.h"
#include "kestrel/w_main.h"
#include "runtime/program_start.h"
#include "shared/globals.h"

int main(int argc, char** argv) {
  rt::Program app(argc, argv);
  app_startup(QStringLiteral("main"));
  kestrel::set_program_icon();
  kestrel::w_main w;
  w.open();
  w.show();
  return app.exec();
}
