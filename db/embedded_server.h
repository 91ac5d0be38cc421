#pragma once
// The embedded SQL Server stand-in, chosen by the server name "(embedded)" on the interface
// "MSS Microsoft SQL Server 6.x". Its `master` is a catalog file, master.sqlite, in the
// server's folder (the program folder; a connection to `master` works on it); `sp_attach_db
// 'name','datafile','logfile'` registers a database there, and a connection to a registered
// database opens its data file, a SQLite database (never creating one). Any login and password are
// accepted. Statements pass through the T-SQL dialect layer (tsql_dialect.h).
#include <QString>

#include "db/backend.h"

namespace db {

// Where the server keeps `master`; the programs pass their program folder.
void set_embedded_server_folder(const QString& folder);
QString embedded_server_folder();

// Plugs the server into the connection object and the file-copy check (an attached database
// file may not be overwritten). Safe to call more than once.
void install_embedded_server();

// The factory behind install_embedded_server, for direct use.
std::unique_ptr<Backend> connect_embedded(const ConnectRequest& req, DbError& err);
bool embedded_server_holds(const QString& path);

}  // namespace db
