#pragma once
// Connections through the unixODBC driver manager: local-engine data sources, other data
// sources, and real SQL Servers through the FreeTDS driver.
#include "db/backend.h"

namespace db {

std::unique_ptr<Backend> odbc_connect(const QString& connection_string, bool auto_commit,
                                      DbError& err);

// The connection string for a data-source connect string ("DSN=x;UID=…;PWD=…"): a data source
// whose Driver names the local engine's driver file (wod50t.dll) is the SQLite file of its
// DatabaseFile, opened without creating it. Others pass unchanged.
QString resolve_local_engine(const QString& connection_string, DbError& err);

// The FreeTDS connection string for a SQL Server ("." and "(local)" mean this computer).
QString freetds_connection_string(const QString& server, const QString& database,
                                  const QString& login, const QString& password);

// A value for a connection string, in braces when it needs them.
QString odbc_quote(const QString& value);

}  // namespace db
