#include "db/embedded_server.h"

#include <QFileInfo>

#include "db/embedded_backend.h"
#include "db/master_catalog.h"

namespace db {
namespace {

QString g_folder;

std::unique_ptr<Backend> open_data_file(const AttachedDatabase& d, bool auto_commit, DbError& err) {
  if (!QFileInfo(d.data_file).isFile()) {
    err = {946, QStringLiteral("Cannot open database '%1': its data file '%2' is missing.")
                    .arg(d.name, d.data_file)};
    return nullptr;
  }
  SqliteConnection db;
  // READWRITE without CREATE: a missing file must fail, never become an empty database.
  if (db.open(d.data_file.toUtf8().constData(), SQLITE_OPEN_READWRITE) != SQLITE_OK ||
      sqlite3_exec(db.get(), "select count(*) from sqlite_master", nullptr, nullptr, nullptr) !=
          SQLITE_OK) {
    err = {946, QStringLiteral("Cannot open database '%1' from '%2': %3")
                    .arg(d.name, d.data_file, QString::fromUtf8(sqlite3_errmsg(db.get())))};
    return nullptr;
  }
  sqlite3_busy_timeout(db.get(), 5000);
  return std::make_unique<EmbeddedBackend>(std::move(db), auto_commit, g_folder);
}

}  // namespace

void set_embedded_server_folder(const QString& folder) { g_folder = folder; }
QString embedded_server_folder() { return g_folder; }

void install_embedded_server() {
  set_embedded_factory(&connect_embedded);
  set_held_file_check(&embedded_server_holds);
}

std::unique_ptr<Backend> connect_embedded(const ConnectRequest& req, DbError& err) {
  const QString name = req.db_name.trimmed();
  // A login without a database lands in master, as on SQL Server.
  if (name.isEmpty() || name.compare(QStringLiteral("master"), Qt::CaseInsensitive) == 0) {
    SqliteConnection db = open_master_catalog(g_folder, err);
    if (!db) return nullptr;
    return std::make_unique<EmbeddedBackend>(std::move(db), req.auto_commit, g_folder);
  }
  const std::optional<AttachedDatabase> d = find_database(g_folder, name);
  if (!d) {
    err = {911, QStringLiteral("Could not locate entry in sysdatabases for database '%1'. No "
                               "entry found with that name. Make sure that the name is entered "
                               "correctly.")
                    .arg(name)};
    return nullptr;
  }
  return open_data_file(*d, req.auto_commit, err);
}

bool embedded_server_holds(const QString& path) { return catalog_holds_file(g_folder, path); }

}  // namespace db
