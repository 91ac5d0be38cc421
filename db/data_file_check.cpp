#include "db/data_file_check.h"

#include <QFileInfo>
#include <QStringList>

#include "db/sqlite_connection.h"

namespace db {
namespace {

// What a failing open or read says about the file's content.
DataFileState state_of_error(int rc) {
  switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return DataFileState::damaged;
    case SQLITE_IOERR:
      // Shorter than its own header says: truncated.
      return rc == SQLITE_IOERR_SHORT_READ ? DataFileState::damaged : DataFileState::unknown;
    default:
      return DataFileState::unknown;
  }
}

}  // namespace

DataFileState check_data_file(const QString& path, QString& detail) {
  const QFileInfo fi(path);
  if (!fi.isFile()) {
    detail = QStringLiteral("the file is missing");
    return DataFileState::unknown;
  }
  // SQLite would take an empty file for an empty database; the server attaches none.
  if (fi.size() == 0) {
    detail = QStringLiteral("the file is empty");
    return DataFileState::damaged;
  }
  SqliteConnection db;
  int rc = db.open(path.toUtf8().constData(), SQLITE_OPEN_READWRITE);
  sqlite3* raw = db.get();
  QStringList findings;
  if (rc == SQLITE_OK) {
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, 5000);
    sqlite3_stmt* st = nullptr;
    rc = sqlite3_prepare_v2(raw, "pragma quick_check(3)", -1, &st, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
      const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
      const QString line = QString::fromUtf8(t ? t : "");
      if (line != QLatin1String("ok")) findings << line;
      rc = SQLITE_OK;
    }
    if (rc == SQLITE_DONE) rc = SQLITE_OK;
    sqlite3_finalize(st);
  }
  if (rc == SQLITE_OK) {
    detail = findings.join(QStringLiteral("; "));
    return findings.isEmpty() ? DataFileState::sound : DataFileState::damaged;
  }
  detail = QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
  return state_of_error(rc);
}

}  // namespace db
