#include <QApplication>
#include <QWidget>

#include "runtime/dialogs.h"
#include "runtime/qt_dialogs.h"
#include "shared/globals.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  rt::QtDialogs dialogs;
  rt::set_dialogs(&dialogs);
  app_startup(QStringLiteral("main"));
  QWidget w;
  w.setWindowTitle(QStringLiteral("数据库管理16.2"));
  w.show();
  return app.exec();
}
