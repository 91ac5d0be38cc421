#pragma once
// A small SQLite database file for connection tests.
#include <QFile>
#include <QString>

#include "db/sqlite_connection.h"

namespace test {

inline bool make_sqlite_file(const QString& path) {
  db::SqliteConnection db;
  return db.open(QFile::encodeName(path).constData()) == SQLITE_OK &&
         sqlite3_exec(db.get(), "create table sys (id integer, bb varchar(20))", nullptr, nullptr,
                      nullptr) == SQLITE_OK;
}

}  // namespace test
