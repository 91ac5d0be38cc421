#include "shared/globals.h"

#include <QCoreApplication>

#include "db/embedded_server.h"
#include "runtime/files.h"

QString gs_apppath;
QString gs_inifile;
int gi_connect_time = 1;
const QString gs_fd_id = QStringLiteral("1001");
const int gi_database_type = 2;
const int gi_soft = 1;
const int gi_sr = 1;
// The last table number of the rebuild: every table of the upgraded schema is carried.
const int gi_tables = 94;

void f_get_current_path() { gs_apppath = rt::program_folder(); }

void set_program_folder(const QString& folder) {
  gs_apppath = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
  gs_inifile = gs_apppath + QStringLiteral("user.ini");
  db::set_embedded_server_folder(gs_apppath);
  db::install_embedded_server();
}

void app_startup(const QString& app_name) {
  if (QCoreApplication::instance()) QCoreApplication::setApplicationName(app_name);
  f_get_current_path();
  gs_inifile = gs_apppath + QStringLiteral("user.ini");
  db::set_embedded_server_folder(gs_apppath);
  db::install_embedded_server();
}
