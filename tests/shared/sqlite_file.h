#pragma once
// A small SQLite database file for connection tests.
#include <sqlite3.h>

#include <QFile>
#include <QString>

namespace test {

inline bool make_sqlite_file(const QString& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) return false;
  const bool ok = sqlite3_exec(db, "create table sys (id integer, bb varchar(20))", nullptr,
                               nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

}  // namespace test
