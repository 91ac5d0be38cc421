#include "db/sqlite_util.h"

#include "db/sqlserver_errors.h"

namespace db {

DbError sqlite_failure(sqlite3* db) {
  return sqlserver_error(sqlite3_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
}

bool sqlite_exec(sqlite3* db, const QString& sql, DbError& err) {
  if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
    return true;
  err = sqlite_failure(db);
  return false;
}

bool SqliteStmt::prepare(sqlite3* db, const QString& sql, DbError& err) {
  sqlite3_finalize(s_);
  s_ = nullptr;
  const QByteArray u = sql.toUtf8();
  if (sqlite3_prepare_v2(db, u.constData(), static_cast<int>(u.size()), &s_, nullptr) == SQLITE_OK)
    return true;
  err = sqlite_failure(db);
  return false;
}

void SqliteStmt::bind_text(int index, const QString& value) {
  const QByteArray u = value.toUtf8();
  sqlite3_bind_text(s_, index, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
}

bool SqliteStmt::step(DbError& err) {
  const int rc = sqlite3_step(s_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) err = sqlite_failure(sqlite3_db_handle(s_));
  return false;
}

QString SqliteStmt::text(int col) const {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s_, col));
  return p ? QString::fromUtf8(p, sqlite3_column_bytes(s_, col)) : QString();
}

}  // namespace db
