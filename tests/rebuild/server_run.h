#pragma once
// A program folder for runs of the Start action on the embedded server: the old database
// velmo40 (the base schema's tables, no rows but the version row) attached, the templates
// base.mdf/base.ldf, a recording window and scripted dialogs.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include "db/sqlite_connection.h"
#include "db/transaction.h"
#include "kestrel/rebuild/del_b_list.h"
#include "kestrel/rebuild/start_action.h"
#include "kestrel/upgrade/base_tables.h"
#include "shared/globals.h"
#include "tests/rebuild/fake_store.h"
#include "tests/rebuild/fake_window.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace test {

inline void sqlite_file(const QString& path, const char* sql) {
  db::SqliteConnection db;
  ASSERT_EQ(db.open(path.toUtf8().constData()), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db.get(), sql, nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db.get());
}

inline QByteArray checksum(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "missing";
  return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex();
}

class ServerRun : public ::testing::Test {
 public:
  ServerRun() { sqlca.disconnect(); }
  ~ServerRun() override {
    sqlca.disconnect();
    sqlca.set_fault_hook({});
  }

  // Builds the folder at gs_apppath; `in` names a subfolder of the temporary folder instead.
  void build(const QString& in = {}) {
    if (!in.isEmpty()) {
      QDir().mkpath(dir.path() + in);
      set_program_folder(dir.path() + in);
    }
    // A salon database: the tables of the base schema and the version row.
    QString old_tables;
    for (const upgrade::BaseTable& t : upgrade::base_tables())
      old_tables += upgrade::create_statement(t) + ";";
    sqlite_file(app("velmo40.mdf"),
                (old_tables + "insert into sys (id, bb) values (1, '4.00');").toUtf8().constData());
    write(app("velmo40.ldf"), "log");
    // Every table the emptying names, so that it succeeds; two of them hold a row.
    QString tables;
    for (const auto& e : rebuild::del_b_list())
      tables += QString("create table %1 (k varchar(20));").arg(e.table);
    sqlite_file(app("base.mdf"), (tables + "insert into emp_tm_yj values ('1');"
                                           " insert into mem_info values ('T1');")
                                     .toUtf8()
                                     .constData());
    write(app("base.ldf"), "log");
    connect("master");
    sqlca.execute_immediate(
        QString("sp_attach_db 'velmo40','%1','%2'")
            .arg(app("velmo40.mdf").replace("'", "''"), app("velmo40.ldf").replace("'", "''")));
    ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
    sqlca.disconnect();
    for (int n = 1; n <= gi_tables; ++n)
      if (n != 2) store.old_rows[n] = {QString("R%1\tE%1").arg(n)};
    old_sum = checksum(app("velmo40.mdf"));
  }
  QString app(const QString& name) const { return gs_apppath + name; }
  static void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  static void connect(const QString& db_name) {
    sqlca.interface_id = "MSS Microsoft SQL Server 6.x";
    sqlca.server = "(embedded)";
    sqlca.db_name = db_name;
    sqlca.auto_commit = true;
    sqlca.connect_params = "";
    sqlca.connect();
  }
  // One value of velmo41 (or another database), read after the run.
  QString value(const QString& db_name, const QString& sql) {
    connect(db_name);
    const auto row = sqlca.select_row(sql);
    const long status = sqlca.status;
    sqlca.disconnect();
    if (status != 0 || row.empty()) return "<none>";
    return row[0].to_text();
  }
  void run() {
    rebuild::StartAction a(w, {fake_store_factory(store),
                               [this] {
                                 ++upgrades;
                                 if (during_upgrade) during_upgrade();
                                 return upgrade_ok;
                               },
                               nullptr});
    a.clicked();
  }
  QStringList text_files() const {
    return QDir(gs_apppath).entryList({"tab_back_*.txt"}, QDir::Files, QDir::Name);
  }

  TempProgramFolder dir;
  ScriptedDialogs dialogs;
  FakeWindow w;
  StoreScript store;
  int upgrades = 0;
  bool upgrade_ok = true;
  std::function<void()> during_upgrade;  // between the export and the check of the files
  QByteArray old_sum;
};

}  // namespace test
