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
  // Instead of the connection string: a data source, connected with SQLConnect and the user
  // and password as its arguments; read from `profile` (odbc.ini text) where that is given,
  // else from the user's profile.
  QString data_source, user, password;
  QByteArray profile;
};

std::unique_ptr<Backend> odbc_connect(const OdbcTarget& target, bool auto_commit, DbError& err);

// The target of a data-source connect string ("DSN=x;UID=…;PWD=…", values as odbc_quote
// writes them): a data source whose Driver names the local engine's driver file (wod50t.dll) is
// the SQLite file of its DatabaseFile, opened without creating it; another data source is
// connected with its user and password as SQLConnect's arguments. A string of other attributes
// passes unchanged. Empty, with err filled, when the local engine's file is missing.
OdbcTarget resolve_local_engine(const QString& connection_string, DbError& err);

// The DatabaseFile of a local-engine data source in the user's profile; empty for a data
// source that is missing or belongs to another driver.
QString local_engine_file(const QString& dsn);

// SQLite's file URI of a path (percent-encoded UTF-8), which carries any file name through a
// connection string.
QString sqlite_file_uri(const QString& path);

// A value for a connect string that resolve_local_engine reads: in braces, each '}' doubled,
// when it needs them. The text never reaches a driver: its values go as SQLConnect's arguments.
QString odbc_quote(const QString& value);

// The driver file where Debian puts it, else the name the package registers it under (in
// braces for a connection string, bare for a profile).
QString odbc_driver_path(const char* file, const char* registered, bool braced);

}  // namespace db
