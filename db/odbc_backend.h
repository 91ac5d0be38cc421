#pragma once
// Connections through the unixODBC driver manager: local-engine data sources, other data
// sources, and real SQL Servers through the FreeTDS driver.
#include "db/backend.h"

namespace db {

// What the driver manager is given for one connection.
struct OdbcTarget {
  QString connection_string;
  // The driver has only the narrow entry points (the SQLite ODBC driver): all text goes through
  // the narrow calls as UTF-8. Through the wide ones the driver manager would hand such a
  // driver the low byte of each character of the connection string.
  bool narrow = false;
  QString database_file;  // the local engine's database file; empty for other connections
};

std::unique_ptr<Backend> odbc_connect(const OdbcTarget& target, bool auto_commit, DbError& err);

// The target of a data-source connect string ("DSN=x;UID=…;PWD=…"): a data source whose Driver
// names the local engine's driver file (wod50t.dll) is the SQLite file of its DatabaseFile,
// opened without creating it. Others pass unchanged. Empty, with err filled, when the local
// engine's file is missing.
OdbcTarget resolve_local_engine(const QString& connection_string, DbError& err);

// The DatabaseFile of a local-engine data source in the user's profile; empty for a data
// source that is missing or belongs to another driver.
QString local_engine_file(const QString& dsn);

// SQLite's file URI of a path (percent-encoded UTF-8), which carries any file name through a
// connection string.
QString sqlite_file_uri(const QString& path);

// The FreeTDS connection string for a SQL Server ("." and "(local)" mean this computer).
QString freetds_connection_string(const QString& server, const QString& database,
                                  const QString& login, const QString& password);

// A value for a connection string, in braces when it needs them.
QString odbc_quote(const QString& value);

}  // namespace db
