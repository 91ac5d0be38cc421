#include "db/master_catalog.h"

#include <QDir>
#include <QFileInfo>
#include <vector>

#include "db/sqlite_util.h"

namespace db {
namespace {

const char kSchema[] =
    "create table if not exists sysdatabases (name text not null collate nocase primary key, "
    "filename text not null, logname text not null)";

// Opens an existing catalog for reading; empty when there is none.
SqliteConnection open_for_reading(const QString& server_folder) {
  const QString path = master_catalog_path(server_folder);
  SqliteConnection db;
  if (server_folder.isEmpty() || !QFileInfo(path).isFile()) return db;
  if (db.open(path.toUtf8().constData(), SQLITE_OPEN_READONLY) != SQLITE_OK) {
    db.close();
    return db;
  }
  sqlite3_busy_timeout(db.get(), 5000);
  return db;
}

// The folder a catalog lies in: its relative entries are relative to it.
QString folder_of(sqlite3* catalog) {
  const char* file = sqlite3_db_filename(catalog, "main");
  return file ? QFileInfo(QString::fromUtf8(file)).absolutePath() : QString();
}

// Every entry, with the files it names.
bool read_entries(sqlite3* catalog, const QString& folder, std::vector<AttachedDatabase>& out,
                  DbError& err) {
  SqliteStmt st;
  if (!st.prepare(catalog, QStringLiteral("select name, filename, logname from sysdatabases"), err))
    return false;
  DbError step_err;
  while (st.step(step_err))
    out.push_back({st.text(0), resolved_entry_path(folder, st.text(1)),
                   resolved_entry_path(folder, st.text(2))});
  if (step_err.text.isEmpty()) return true;
  err = step_err;
  return false;
}

// A data file this server can open: a SQLite database (an empty file is none).
bool is_database_file(const QString& path) {
  if (QFileInfo(path).size() == 0) return false;
  SqliteConnection db;
  return db.open(path.toUtf8().constData(), SQLITE_OPEN_READWRITE) == SQLITE_OK &&
         sqlite3_exec(db.get(), "select count(*) from sqlite_master", nullptr, nullptr, nullptr) ==
             SQLITE_OK;
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

QString catalog_entry_path(const QString& server_folder, const QString& path) {
  const QString file = comparable_path(path);
  const QString folder = comparable_path(server_folder);
  if (file.startsWith(folder + QLatin1Char('/'))) return QDir(folder).relativeFilePath(file);
  return file;
}

QString resolved_entry_path(const QString& server_folder, const QString& entry) {
  const QDir home(server_folder);
  if (QDir::isRelativePath(entry)) return comparable_path(home.absoluteFilePath(entry));
  const QFileInfo named(entry);
  // Only where the entry's whole folder is gone: a file missing from a folder that is still
  // there is no sign of a move.
  if (named.exists() || named.absoluteDir().exists()) return comparable_path(entry);
  const QString here = home.absoluteFilePath(named.fileName());
  return comparable_path(QFileInfo::exists(here) ? here : entry);
}

SqliteConnection open_master_catalog(const QString& server_folder, DbError& err) {
  if (server_folder.isEmpty() || !QFileInfo(server_folder).isDir()) {
    err = {-1, QStringLiteral("The embedded server has no folder for its master database: '%1'.")
                   .arg(server_folder)};
    return {};
  }
  SqliteConnection db;
  const QString path = master_catalog_path(server_folder);
  if (db.open(path.toUtf8().constData(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) != SQLITE_OK) {
    err = {-1, QStringLiteral("The master database '%1' cannot be opened: %2")
                   .arg(path, QString::fromUtf8(sqlite3_errmsg(db.get())))};
    return {};
  }
  sqlite3_busy_timeout(db.get(), 5000);
  if (!sqlite_exec(db.get(), QString::fromLatin1(kSchema), err)) return {};
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
  const QString folder = folder_of(catalog);
  const QString data = comparable_path(data_file);
  const QString log = comparable_path(log_file);
  std::vector<AttachedDatabase> held;
  if (!read_entries(catalog, folder, held, err)) return false;
  for (const AttachedDatabase& d : held) {
    if (d.name.compare(name, Qt::CaseInsensitive) == 0) {
      err = {1801, QStringLiteral("Database '%1' already exists.").arg(name)};
      return false;
    }
  }
  for (const AttachedDatabase& d : held) {
    for (const QString& f : {d.data_file, d.log_file}) {
      if (f == data || f == log) {
        err = {5120,
               QStringLiteral("Unable to open the physical file '%1': it belongs to database '%2'.")
                   .arg(data_file, d.name)};
        return false;
      }
    }
  }
  SqliteStmt insert;
  if (!insert.prepare(catalog,
                      QStringLiteral("insert into sysdatabases (name, filename, logname) "
                                     "values (?1, ?2, ?3)"),
                      err))
    return false;
  insert.bind_text(1, name);
  insert.bind_text(2, catalog_entry_path(folder, data));
  insert.bind_text(3, catalog_entry_path(folder, log));
  insert.step(err);
  return err.text.isEmpty();
}

bool detach_database(sqlite3* catalog, const QString& name, DbError& err) {
  SqliteStmt del;
  if (!del.prepare(catalog, QStringLiteral("delete from sysdatabases where name = ?1"), err))
    return false;
  del.bind_text(1, name);
  del.step(err);
  if (!err.text.isEmpty()) return false;
  if (sqlite3_changes(catalog) > 0) return true;
  err = {
      15010,
      QStringLiteral("The database '%1' does not exist. Supply a valid database name.").arg(name)};
  return false;
}

std::optional<AttachedDatabase> find_database(const QString& server_folder, const QString& name) {
  const SqliteConnection db = open_for_reading(server_folder);
  std::vector<AttachedDatabase> entries;
  DbError err;
  if (db && read_entries(db.get(), server_folder, entries, err))
    for (const AttachedDatabase& d : entries)
      if (d.name.compare(name, Qt::CaseInsensitive) == 0) return d;
  return std::nullopt;
}

bool catalog_holds_file(const QString& server_folder, const QString& path) {
  // A file that is gone is held by nobody (Windows would not have let it go while held).
  if (!QFileInfo::exists(path)) return false;
  const SqliteConnection db = open_for_reading(server_folder);
  std::vector<AttachedDatabase> entries;
  DbError err;
  if (!db || !read_entries(db.get(), server_folder, entries, err)) return false;
  const QString file = comparable_path(path);
  for (const AttachedDatabase& d : entries)
    if (d.data_file == file || d.log_file == file) return true;
  return false;
}

}  // namespace db
