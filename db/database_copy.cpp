#include "db/database_copy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <vector>

#include "db/sqlite_connection.h"

namespace db {
namespace {

// How long the copy waits for a writer of the source to finish its commit.
constexpr int kBusyTimeoutMs = 5000;
// The source changed while its files were copied for a rollback.
constexpr int kChangedMeanwhile = -1;

// SQLite's backup of `from`, opened with `flags`, into the new file `to`.
int backup(const QString& from, int flags, const QString& to) {
  SqliteConnection src;
  SqliteConnection dst;
  int rc = src.open(from.toUtf8().constData(), flags);
  if (rc == SQLITE_OK) {
    sqlite3_extended_result_codes(src.get(), 1);
    sqlite3_busy_timeout(src.get(), kBusyTimeoutMs);
    rc = dst.open(to.toUtf8().constData(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  }
  if (rc == SQLITE_OK) {
    if (sqlite3_backup* b = sqlite3_backup_init(dst.get(), "main", src.get(), "main")) {
      const int step = sqlite3_backup_step(b, -1);
      const int finish = sqlite3_backup_finish(b);
      rc = step != SQLITE_DONE ? step : finish;
    } else {
      rc = sqlite3_errcode(dst.get());
    }
  }
  // Closing the copy is part of making it: its result counts.
  const int closed = dst.close();
  return rc == SQLITE_OK ? closed : rc;
}

// Size and time of each file of a database, to tell whether anyone wrote to them.
std::vector<std::pair<qint64, qint64>> stamps(const QString& database) {
  std::vector<std::pair<qint64, qint64>> out;
  for (const QString& f : QStringList{database} + companion_files(database)) {
    const QFileInfo fi(f);
    out.emplace_back(fi.exists() ? fi.size() : -1,
                     fi.exists() ? fi.lastModified().toMSecsSinceEpoch() : -1);
  }
  return out;
}

// A crashed writer left a journal that a reader must roll back first, which a read-only open
// cannot do. The database is copied with its journal or write-ahead log into a folder of its
// own, rolled back there and copied from there: the source's files are only read.
int backup_through_rollback(const QString& from, const QString& to, const QString& folder) {
  if (!QDir().mkpath(folder)) return SQLITE_CANTOPEN;
  const QString copy = QDir(folder).filePath(QFileInfo(from).fileName());
  const auto before = stamps(from);
  if (!QFile::copy(from, copy)) return SQLITE_CANTOPEN;
  for (const QString& f : {from + QStringLiteral("-journal"), from + QStringLiteral("-wal")})
    if (QFileInfo::exists(f) && !QFile::copy(f, copy + f.mid(from.size()))) return SQLITE_CANTOPEN;
  if (stamps(from) != before) return kChangedMeanwhile;
  return backup(copy, SQLITE_OPEN_READWRITE, to);
}

// A read-only connection to a file in WAL mode makes its write-ahead log and index and leaves
// them when it closes; only a writer removes them. Where the source has none of its companions
// there is no journal to roll back and no log to write back, so a connection that may write
// writes nothing, and removes what it made unless another program has the file open meanwhile.
int source_flags(const QString& from) {
  for (const QString& f : companion_files(from))
    if (QFileInfo::exists(f)) return SQLITE_OPEN_READONLY;
  return SQLITE_OPEN_READWRITE;
}

}  // namespace

bool copy_database(const QString& from, const QString& to, DbError& err) {
  const QString rollback_folder = to + QStringLiteral(".rollback");
  // What a run killed during a rollback left.
  QDir(rollback_folder).removeRecursively();
  int rc = backup(from, source_flags(from), to);
  if ((rc & 0xff) == SQLITE_READONLY) {
    QFile::remove(to);
    rc = backup_through_rollback(from, to, rollback_folder);
    QDir(rollback_folder).removeRecursively();
    // Another program opened the source meanwhile and rolled it back itself.
    if (rc == kChangedMeanwhile) {
      QFile::remove(to);
      rc = backup(from, source_flags(from), to);
    }
  }
  if (rc != SQLITE_OK)
    err = {rc, (rc == kChangedMeanwhile ? QStringLiteral("changed while copied")
                                        : QString::fromUtf8(sqlite3_errstr(rc))) +
                   QStringLiteral(": ") + from};
  return rc == SQLITE_OK;
}

QStringList companion_files(const QString& database) {
  return {database + QStringLiteral("-journal"), database + QStringLiteral("-wal"),
          database + QStringLiteral("-shm")};
}

}  // namespace db
