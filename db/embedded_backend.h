#pragma once
// A connection of the embedded server: one SQLite database (an attached data file, or the
// master catalog) behind the Backend interface.
#include <sqlite3.h>

#include "db/backend.h"
#include "db/sqlite_connection.h"
#include "db/tsql_store.h"

namespace db {

class EmbeddedBackend final : public Backend {
 public:
  EmbeddedBackend(SqliteConnection db, bool auto_commit, QString server_folder);
  // Work that no commit ended is undone, as a server does when a connection drops.
  ~EmbeddedBackend() override = default;

  std::unique_ptr<Statement> prepare(const QString& sql, DbError& err) override;
  bool commit(DbError& err) override;
  bool rollback(DbError& err) override;
  bool begin_unit(DbError& err) override;
  bool end_unit(bool keep, DbError& err) override;

  // With auto_commit off, the first statement after a commit or rollback opens a transaction.
  bool open_implicit_transaction(DbError& err);
  sqlite3* handle() const { return db_.get(); }
  const QString& server_folder() const { return folder_; }
  // The columns of a table of this database, with their declared types.
  std::vector<tsql::TargetColumn> table_columns(const QString& table);

 private:
  bool end_transaction(const char* how, DbError& err);

  SqliteConnection db_;
  bool auto_commit_;
  QString folder_;
  bool in_unit_ = false;
};

}  // namespace db
