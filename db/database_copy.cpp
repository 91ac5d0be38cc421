#include "db/database_copy.h"

#include <sqlite3.h>

#include <QStringList>

namespace db {

// How long the copy waits for a writer of the source to finish its commit.
constexpr int kBusyTimeoutMs = 5000;

bool copy_database(const QString& from, const QString& to, DbError& err) {
  sqlite3* src = nullptr;
  sqlite3* dst = nullptr;
  int rc = sqlite3_open_v2(from.toUtf8().constData(), &src, SQLITE_OPEN_READONLY, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(src, kBusyTimeoutMs);
    rc = sqlite3_open_v2(to.toUtf8().constData(), &dst, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                         nullptr);
  }
  if (rc == SQLITE_OK) {
    if (sqlite3_backup* b = sqlite3_backup_init(dst, "main", src, "main")) {
      const int step = sqlite3_backup_step(b, -1);
      const int finish = sqlite3_backup_finish(b);
      rc = step != SQLITE_DONE ? step : finish;
    } else {
      rc = sqlite3_errcode(dst);
    }
  }
  const int closed = sqlite3_close(dst);
  sqlite3_close(src);
  if (rc == SQLITE_OK) rc = closed;
  if (rc != SQLITE_OK)
    err = {rc, QString::fromUtf8(sqlite3_errstr(rc)) + QStringLiteral(": ") + from};
  return rc == SQLITE_OK;
}

QStringList companion_files(const QString& database) {
  return {database + QStringLiteral("-journal"), database + QStringLiteral("-wal"),
          database + QStringLiteral("-shm")};
}

}  // namespace db
