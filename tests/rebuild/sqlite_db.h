#pragma once
// A SQLite file as the database sqlca works on, reached through the real ODBC driver, and
// direct access to it for setting up and checking.
#include <QString>
#include <QStringList>

#include "db/sqlite_connection.h"
#include "db/transaction.h"

namespace test {

class SqliteDb {
 public:
  explicit SqliteDb(const QString& path) : path_(path) { db_.open(path.toUtf8().constData()); }
  bool exec(const QString& sql) {
    return sqlite3_exec(db_.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr) ==
           SQLITE_OK;
  }
  // The rows of a query, columns joined by '|', nulls as "~".
  QStringList rows(const QString& sql) {
    QStringList out;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
      return {"error: " + QString::fromUtf8(sqlite3_errmsg(db_.get()))};
    while (sqlite3_step(st) == SQLITE_ROW) {
      QStringList cols;
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const unsigned char* t = sqlite3_column_text(st, i);
        cols << (t ? QString::fromUtf8(reinterpret_cast<const char*>(t)) : QStringLiteral("~"));
      }
      out << cols.join('|');
    }
    sqlite3_finalize(st);
    return out;
  }
  // Every table with its rows, in table name and rowid order: the whole database for a
  // comparison.
  QStringList dump() {
    QStringList out;
    for (const QString& t : rows("select name from sqlite_master where type = 'table' order by 1"))
      out << "[" + t + "]" << rows("select * from \"" + t + "\" order by rowid");
    return out;
  }
  long count(const QString& table) {
    const QStringList r = rows("select count(*) from " + table);
    return r.size() == 1 ? r[0].toLong() : -1;
  }
  // Connects sqlca to this file through the SQLite ODBC driver.
  void connect_sqlca(bool auto_commit) {
    sqlca.interface_id = "ODBC";
    sqlca.auto_commit = auto_commit;
    sqlca.connect_params = "Connectstring='DRIVER=SQLite3;Database=" + path_ + "'";
    sqlca.connect();
  }

 private:
  QString path_;
  db::SqliteConnection db_;
};

}  // namespace test
