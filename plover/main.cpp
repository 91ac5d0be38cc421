#include <QApplication>
#include <QWidget>

#include "runtime/dialogs.h"
#include "runtime/qt_dialogs.h"
#include "shared/globals.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  rt::QtDialogs dialogs;
  rt::set_dialogs(&dialogs);
  app_startup(QStringLiteral("database_reg"));
  QWidget w;
  w.setWindowTitle(QStringLiteral("数据库连接设置 V16.2"));
  w.show();
  return app.exec();
}
