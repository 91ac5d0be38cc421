#include "shared/f_conect.h"

#include "db/odbc_backend.h"
#include "db/transaction.h"
#include "runtime/dialogs.h"
#include "runtime/registry.h"
#include "runtime/settings_file.h"
#include "shared/globals.h"

namespace {

const QString kOdbcIni = QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\");
const QString kDataSources =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\ODBC Data Sources");
const QString kDriverName = QStringLiteral("Sybase SQL Anywhere 5.0");
const QString kTitle = QStringLiteral("系统提示");

// "USER.INI" without a folder: the platform's settings folder, not the program's user.ini.
// Both keys or neither. A write that fails is said, and the registration goes on: nothing of
// ours reads the file.
void write_application_paths(const QString& ls_p) {
  const QString ini = QStringLiteral("USER.INI");
  if (rt::set_profile_strings(ini, QStringLiteral("Application"),
                              {{QStringLiteral("Path"), ls_p},
                               {QStringLiteral("Pathdemo"), ls_p + QStringLiteral("photo/")}}) != 1)
    rt::dialogs().failure(QStringLiteral("错误信息"),
                          QStringLiteral("写入USER.INI失败!\r\n") + rt::settings_path(ini));
}

// A registration whose folder, file, name or server holds a control character (a folder name
// with a line break) would write lines of its own into the profile: it is refused before
// anything is written, so the profile and "USER.INI" stay as they are.
bool registration_allowed(const QString& ls_p, const QString& ls_path, const QString& fs_dsn,
                          const QString& fs_server) {
  for (const QString* s : {&ls_p, &ls_path, &fs_dsn, &fs_server})
    if (!rt::registry_text_allowed(*s)) return false;
  return true;
}

// Writes the data source's values, whose results nobody examines, then its entry in the list
// of data sources, whose result decides.
int register_data_source(const QString& ls_3, const QString& ls_p, const QString& ls_path,
                         const QString& fs_dsn, const QString& fs_server) {
  const f_conect_registry& reg = f_conect_registry_in_use();
  const QString ls_driver = ls_p + QStringLiteral("wod50t.dll");
  const QString ls_start = ls_p + QStringLiteral("dbeng50.exe -Q");
  const std::pair<const char*, QString> values[] = {
      {"Driver", ls_driver},
      {"Start", ls_start},
      {"DatabaseFile", ls_path},
      {"DatabaseName", fs_dsn},
      {"AutoStop", QStringLiteral("yes")},
      {"ServerName", fs_server},
  };
  for (const auto& [name, value] : values) reg.set(ls_3, QString::fromLatin1(name), value);
  return reg.set(kDataSources, fs_dsn, kDriverName);
}

}  // namespace

int register_in_program_folder(const QString& fs_dsn, const QString& fs_server) {
  const QString ls_p = gs_apppath;
  const QString ls_path = ls_p + fs_dsn + QStringLiteral(".db");
  if (!registration_allowed(ls_p, ls_path, fs_dsn, fs_server)) return -1;
  write_application_paths(ls_p);
  return register_data_source(kOdbcIni + fs_dsn, ls_p, ls_path, fs_dsn, fs_server);
}

f_conect_registry& f_conect_registry_in_use() {
  static f_conect_registry reg{rt::registry_set, rt::registry_delete, rt::registry_get};
  return reg;
}

int f_conect(const QString& fs_dsn, const QString& fs_server, const QString& fs_use,
             const QString& fs_password) {
  // A value that would read as more than itself goes in braces, so that none adds an attribute.
  const QString ls_1 = QStringLiteral("Connectstring='DSN=") + db::odbc_quote(fs_dsn) +
                       QStringLiteral(";UID=") + db::odbc_quote(fs_use) + QStringLiteral(";PWD=") +
                       db::odbc_quote(fs_password) + QStringLiteral("'");
  sqlca.interface_id = QStringLiteral("ODBC");
  sqlca.auto_commit = false;
  sqlca.server = fs_server;
  sqlca.connect_params = ls_1;
  sqlca.connect();
  if (sqlca.status == 0) return 1;

  const QString ls_3 = kOdbcIni + fs_dsn;
  if (gi_connect_time == 1) {
    if (register_in_program_folder(fs_dsn, fs_server) == 1) {
      gi_connect_time = 2;
      f_conect(fs_dsn, fs_server, fs_use, fs_password);
      return 1;
    }
  }
  if (gi_connect_time != 2) return 1;

  rt::Dialogs& dlg = rt::dialogs();
  if (!dlg.question(kTitle, QStringLiteral("数据库连接失败!是否要注册数据库?"), true)) return 0;
  const rt::FileChoice value =
      dlg.open_file(QStringLiteral("请选择数据库路径"), QStringLiteral("DB"),
                    QStringLiteral("DB Files (*.DB),*.DB"));
  if (value.result != 1) return 0;
  const QString ls_path = value.path;
  const QString ls_name = value.name;
  const QString ls_p = ls_path.left(ls_path.size() - ls_name.size());
  if (!registration_allowed(ls_p, ls_path, fs_dsn, fs_server)) {
    dlg.notice(kTitle, QStringLiteral("本数据库注册失败!"));
    return 0;
  }
  write_application_paths(ls_p);

  const f_conect_registry& reg = f_conect_registry_in_use();
  for (const char* name : {"Driver", "Start", "DatabaseFile", "DatabaseName", "AutoStop"})
    reg.remove(ls_3, QString::fromLatin1(name));
  QString ls_2;
  if (reg.get(ls_3, QStringLiteral("DatabaseName"), ls_2) == 1) {
    dlg.notice(kTitle, QStringLiteral("本数据库已注册!"));
    return 1;
  }
  if (register_data_source(ls_3, ls_p, ls_path, fs_dsn, fs_server) == 1) {
    dlg.notice(kTitle, QStringLiteral("本数据库注册成功!"));
    f_conect(fs_dsn, fs_server, fs_use, fs_password);
    return 1;
  }
  dlg.notice(kTitle, QStringLiteral("本数据库注册失败!"));
  return 0;
}
