#include "tools/fixture.h"

#include <QFile>

#include "db/embedded_server.h"
#include "db/sqlite_connection.h"
#include "db/transaction.h"
#include "runtime/settings_file.h"
#include "shared/globals.h"
#include "tools/base_schema.h"

namespace tools {
namespace {

void connect_to(const QString& db_name, bool auto_commit = true) {
  sqlca.interface_id = QStringLiteral("MSS Microsoft SQL Server 6.x");
  sqlca.server = QStringLiteral("(embedded)");
  sqlca.db_name = db_name;
  sqlca.login = QStringLiteral("sa");
  sqlca.password.clear();
  sqlca.connect_params.clear();
  sqlca.auto_commit = auto_commit;
  sqlca.connect();
}

QString failed(const QString& what) {
  const QString text = what + QStringLiteral(": ") + sqlca.db_error_text;
  sqlca.disconnect();
  return text;
}

void use_embedded_server() {
  db::set_embedded_server_folder(gs_apppath);
  db::install_embedded_server();
}

// An empty SQLite database: the server attaches only files that hold a database header.
bool new_data_file(const QString& path) {
  QFile::remove(path);
  db::SqliteConnection h;
  return h.open(path.toUtf8().constData()) == SQLITE_OK &&
         sqlite3_exec(h.get(), "create table t (x int); drop table t;", nullptr, nullptr,
                      nullptr) == SQLITE_OK;
}

bool new_log_file(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

}  // namespace

QString build_fixture(const FixtureOptions& o) {
  use_embedded_server();
  const QString data = gs_apppath + o.db_name + QStringLiteral(".mdf");
  const QString log = gs_apppath + o.db_name + QStringLiteral(".ldf");
  if (!new_data_file(data) || !new_log_file(log)) return QStringLiteral("cannot write ") + data;

  connect_to(QStringLiteral("master"));
  if (sqlca.status != 0) return failed(QStringLiteral("connect master"));
  sqlca.execute_immediate(QStringLiteral("sp_attach_db '%1','%2','%3'").arg(o.db_name, data, log));
  if (sqlca.status != 0) return failed(QStringLiteral("attach"));
  sqlca.disconnect();

  // One transaction for the whole build: a few hundred statements, one write to disk.
  connect_to(o.db_name, false);
  if (sqlca.status != 0) return failed(QStringLiteral("connect ") + o.db_name);
  for (const BaseTable& t : base_tables()) {
    sqlca.execute_immediate(create_statement(t));
    if (sqlca.status != 0) return failed(QStringLiteral("create ") + QLatin1String(t.name));
  }
  if (o.sys_jhzd) {
    sqlca.execute_immediate(QStringLiteral("alter table sys add jhzd char(30) null"));
    if (sqlca.status != 0) return failed(QStringLiteral("sys.jhzd"));
  }
  for (const QString& sql : base_seed()) {
    sqlca.execute(sql);
    if (sqlca.status != 0) return failed(sql);
  }
  if (o.version_row) {
    sqlca.execute(sys_row_insert(o.version ? &*o.version : nullptr));
    if (sqlca.status != 0) return failed(QStringLiteral("sys row"));
  }
  sqlca.commit();
  sqlca.disconnect();
  return {};
}

void write_server_settings(const QString& database_name) {
  const std::pair<const char*, QString> settings[] = {
      {"server_name", QStringLiteral("(embedded)")}, {"database_name", database_name},
      {"user_name", QStringLiteral("sa")},           {"user_password", QString()},
      {"database_type", QStringLiteral("2")},        {"connect", QStringLiteral("1")},
  };
  for (const auto& [key, value] : settings)
    rt::set_profile_string(gs_inifile, QStringLiteral("database"), QString::fromLatin1(key), value);
}

bool connect_fixture(const QString& db_name) {
  use_embedded_server();
  connect_to(db_name);
  return sqlca.status == 0;
}

}  // namespace tools
