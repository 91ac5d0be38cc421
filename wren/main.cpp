#include "runtime/files.h"
#include "runtime/program_start.h"
#include "wren/app_path.h"
#include "wren/frm_main.h"

int main(int argc, char** argv) {
  rt::Program app(argc, argv);
  // The program ends when frmMain is unloaded, with the status the unload gives.
  app.setQuitOnLastWindowClosed(false);
  wren::set_app_path(rt::program_folder());
  wren::frmMain form;
  QObject::connect(&form, &wren::frmMain::ended, &app, &QApplication::exit, Qt::QueuedConnection);
  form.show();
  return app.exec();
}
