#include "db/master_catalog.h"

#include <QDir>
#include <QFileInfo>

#include "db/sqlite_util.h"

namespace db {
namespace {

const char kSchema[] =
    "create table if not exists sysdatabases (name text not null collate nocase primary key, "
    "filename text not null, logname text not null)";

// Opens an existing catalog for reading; null when there is none.
sqlite3* open_for_reading(const QString& server_folder) {
  const QString path = master_catalog_path(server_folder);
  if (server_folder.isEmpty() || !QFileInfo(path).isFile()) return nullptr;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 5000);
  return db;
}

// A data file this server can open: a SQLite database (an empty file is none).
bool is_database_file(const QString& path) {
  if (QFileInfo(path).size() == 0) return false;
  sqlite3* db = nullptr;
  bool ok = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
                SQLITE_OK &&
            sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) ==
                SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

DbError missing_file(const QString& path) {
  return {5105, QStringLiteral("Device activation error. The physical file name '%1' may be "
                               "incorrect.")
                    .arg(path)};
}

}  // namespace

QString master_catalog_path(const QString& server_folder) {
  return QDir(server_folder).filePath(QStringLiteral("master.sqlite"));
}

QString comparable_path(const QString& path) {
  const QFileInfo fi(path);
  const QString canonical = fi.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : canonical;
}

sqlite3* open_master_catalog(const QString& server_folder, DbError& err) {
  if (server_folder.isEmpty() || !QFileInfo(server_folder).isDir()) {
    err = {-1, QStringLiteral("The embedded server has no folder for its master database: '%1'.")
                   .arg(server_folder)};
    return nullptr;
  }
  sqlite3* db = nullptr;
  const QString path = master_catalog_path(server_folder);
  if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK) {
    err = {-1, QStringLiteral("The master database '%1' cannot be opened: %2")
                   .arg(path, QString::fromUtf8(sqlite3_errmsg(db)))};
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 5000);
  if (!sqlite_exec(db, QString::fromLatin1(kSchema), err)) {
    sqlite3_close(db);
    return nullptr;
  }
  return db;
}

bool attach_database(sqlite3* catalog, const QString& name, const QString& data_file,
                     const QString& log_file, DbError& err) {
  if (name.trimmed().isEmpty()) {
    err = {15010, QStringLiteral("The database name '%1' is not valid.").arg(name)};
    return false;
  }
  for (const QString& f : {data_file, log_file}) {
    if (!QFileInfo(f).isFile()) {
      err = missing_file(f);
      return false;
    }
  }
  if (!is_database_file(data_file)) {
    err = {5172, QStringLiteral("The header for file '%1' is not a valid database file header.")
                     .arg(data_file)};
    return false;
  }
  const QString data = comparable_path(data_file);
  const QString log = comparable_path(log_file);
  SqliteStmt probe;
  if (!probe.prepare(catalog,
                     QStringLiteral("select name from sysdatabases where name = ?1 or "
                                    "filename in (?2, ?3) or logname in (?2, ?3)"),
                     err))
    return false;
  probe.bind_text(1, name);
  probe.bind_text(2, data);
  probe.bind_text(3, log);
  if (probe.step(err)) {
    const QString held = probe.text(0);
    if (held.compare(name, Qt::CaseInsensitive) == 0)
      err = {1801, QStringLiteral("Database '%1' already exists.").arg(name)};
    else
      err = {5120, QStringLiteral("Unable to open the physical file '%1': it belongs to database "
                                  "'%2'.")
                       .arg(data_file, held)};
    return false;
  }
  if (!err.text.isEmpty()) return false;
  SqliteStmt insert;
  if (!insert.prepare(catalog,
                      QStringLiteral("insert into sysdatabases (name, filename, logname) "
                                     "values (?1, ?2, ?3)"),
                      err))
    return false;
  insert.bind_text(1, name);
  insert.bind_text(2, data);
  insert.bind_text(3, log);
  insert.step(err);
  return err.text.isEmpty();
}

std::optional<AttachedDatabase> find_database(const QString& server_folder, const QString& name) {
  sqlite3* db = open_for_reading(server_folder);
  if (!db) return std::nullopt;
  std::optional<AttachedDatabase> found;
  {
    SqliteStmt st;
    DbError err;
    if (st.prepare(
            db, QStringLiteral("select name, filename, logname from sysdatabases where name = ?1"),
            err)) {
      st.bind_text(1, name);
      if (st.step(err)) found = AttachedDatabase{st.text(0), st.text(1), st.text(2)};
    }
  }
  sqlite3_close(db);
  return found;
}

bool catalog_holds_file(const QString& server_folder, const QString& path) {
  // A file that is gone is held by nobody (Windows would not have let it go while held).
  if (!QFileInfo::exists(path)) return false;
  sqlite3* db = open_for_reading(server_folder);
  if (!db) return false;
  bool held = false;
  {
    SqliteStmt st;
    DbError err;
    if (st.prepare(db,
                   QStringLiteral("select 1 from sysdatabases where filename = ?1 or logname = ?1"),
                   err)) {
      st.bind_text(1, comparable_path(path));
      held = st.step(err);
    }
  }
  sqlite3_close(db);
  return held;
}

}  // namespace db
