#pragma once
// Small helpers over the SQLite C interface for the embedded server.
#include <sqlite3.h>

#include <QString>

#include "db/backend.h"

namespace db {

// A prepared statement, finalized with its owner.
class SqliteStmt {
 public:
  SqliteStmt() = default;
  ~SqliteStmt() { sqlite3_finalize(s_); }
  SqliteStmt(const SqliteStmt&) = delete;
  SqliteStmt& operator=(const SqliteStmt&) = delete;
  bool prepare(sqlite3* db, const QString& sql, DbError& err);
  sqlite3_stmt* get() const { return s_; }
  void bind_text(int index, const QString& value);
  // Steps once: true with a row; false at the end (err empty) or on failure (err filled).
  bool step(DbError& err);
  QString text(int col) const;

 private:
  sqlite3_stmt* s_ = nullptr;
};

// The last error of a connection, in SQL Server's words.
DbError sqlite_failure(sqlite3* db);
// Runs statements that return no rows.
bool sqlite_exec(sqlite3* db, const QString& sql, DbError& err);

}  // namespace db
