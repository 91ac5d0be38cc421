#include "tests/db/embedded_fixture.h"

#include <gtest/gtest.h>

#include <QFile>

#include "db/sqlite_connection.h"

namespace test {

EmbeddedServer::EmbeddedServer() { sqlca.disconnect(); }
EmbeddedServer::~EmbeddedServer() {
  sqlca.disconnect();
  sqlca.set_fault_hook({});
}

void EmbeddedServer::make_files(const QString& name) const {
  db::SqliteConnection db;
  ASSERT_EQ(db.open(folder.file(name + ".mdf").toUtf8().constData()), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db.get(), "pragma user_version = 1", nullptr, nullptr, nullptr),
            SQLITE_OK);
  db.close();
  folder.write(name + ".ldf", "log");
}

void EmbeddedServer::connect(const QString& db_name, bool auto_commit) const {
  sqlca.interface_id = QStringLiteral("MSS Microsoft SQL Server 6.x");
  sqlca.server = QStringLiteral("(embedded)");
  sqlca.db_name = db_name;
  sqlca.login = QStringLiteral("sa");
  sqlca.password = QString();
  sqlca.connect_params = QString();
  sqlca.auto_commit = auto_commit;
  sqlca.connect();
}

void EmbeddedServer::create_database(const QString& name, bool auto_commit) const {
  make_files(name);
  connect(QStringLiteral("master"));
  ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
  sqlca.execute_immediate(QStringLiteral("sp_attach_db '%1','%2','%3'")
                              .arg(name, folder.file(name + ".mdf"), folder.file(name + ".ldf")));
  ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
  sqlca.disconnect();
  connect(name, auto_commit);
  ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
}

void EmbeddedServer::run(const QString& sql) const {
  sqlca.execute_immediate(sql);
  EXPECT_EQ(sqlca.status, 0) << sql.toStdString() << ": " << sqlca.db_error_text.toStdString();
}

QString EmbeddedServer::value(const QString& sql) const {
  const std::vector<db::Value> row = sqlca.select_row(sql);
  if (sqlca.status == 100) return QStringLiteral("<no row>");
  if (sqlca.status != 0 || row.empty()) return QStringLiteral("<failed>");
  return row[0].is_null() ? QStringLiteral("<null>") : row[0].to_text();
}

}  // namespace test
