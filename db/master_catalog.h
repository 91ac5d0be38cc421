#pragma once
// The embedded server's `master`: a small SQLite database in the server's folder that lists
// the attached databases (name → data file, log file). Every change is one SQLite transaction,
// so the catalog is never left half-written.
//
// The catalog belongs to its folder: a file inside the folder is recorded by its path relative
// to it, so a copied or moved folder works on its own files. An absolute entry (as catalogs of
// earlier releases wrote every entry) names its file as it stands; when the folder of that file
// is gone and this folder holds a file of the same name, the entry names that one (a folder
// moved from where its catalog was written).
#include <sqlite3.h>

#include <QString>
#include <optional>

#include "db/backend.h"
#include "db/sqlite_connection.h"

namespace db {

struct AttachedDatabase {
  QString name;
  QString data_file;  // absolute, in comparable form
  QString log_file;
};

// The catalog's file in the server folder.
QString master_catalog_path(const QString& server_folder);

// Opens the catalog, creating it when missing; empty with err filled on failure.
SqliteConnection open_master_catalog(const QString& server_folder, DbError& err);

// sp_attach_db: both files must exist, the data file must be a database this server can open,
// the name must be free (names compare without regard to case) and neither file attached yet.
bool attach_database(sqlite3* catalog, const QString& name, const QString& data_file,
                     const QString& log_file, DbError& err);

// sp_detach_db: the name leaves the catalog; its files stay as they are.
bool detach_database(sqlite3* catalog, const QString& name, DbError& err);

// The registered database of that name; nothing when it is unknown or there is no catalog.
std::optional<AttachedDatabase> find_database(const QString& server_folder, const QString& name);

// Whether `path` is an existing data or log file of an attached database.
bool catalog_holds_file(const QString& server_folder, const QString& path);

// A path in one form for comparing: absolute, cleaned, links resolved where the file exists.
QString comparable_path(const QString& path);

// How the catalog of `server_folder` records `path`, and the file an entry so recorded names.
QString catalog_entry_path(const QString& server_folder, const QString& path);
QString resolved_entry_path(const QString& server_folder, const QString& entry);

}  // namespace db
