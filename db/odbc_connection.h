#pragma once
// The one owner of an ODBC connection: its environment and connection handles, from their
// allocation to their release, on every path.
#include <sql.h>

#include <QString>

#include "db/backend.h"

namespace db {

class OdbcConnection {
 public:
  // `narrow`: all text goes through the narrow calls as UTF-8 (see OdbcTarget).
  explicit OdbcConnection(bool narrow) : narrow_(narrow) {}
  OdbcConnection(OdbcConnection&& other) noexcept;
  OdbcConnection& operator=(OdbcConnection&&) = delete;
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;
  // Closes what close() has not; what the driver will not let go even then stays allocated,
  // since the driver manager frees no handle of an open connection.
  ~OdbcConnection();

  // Allocates both handles and connects with the connection string, without prompting. False,
  // with the driver's error, when any of it fails; close() frees what was allocated. Once only.
  bool open(const QString& connection_string, DbError& err);

  // The same with SQLConnect: a data source of the profile, and the user and password as the
  // call's own arguments, which no driver parses as attributes.
  bool open_data_source(const QString& data_source, const QString& user, const QString& password,
                        DbError& err);

  // Ends the connection: first what is still open is rolled back, never committed, since a
  // driver keeps a connection with an open transaction (the local engine's refuses SQLSTATE
  // 25000 and keeps its file open and locked); then it disconnects and frees both handles.
  // False, with the driver's error, when the connection is still open or a handle could not
  // be freed; what is still held stays here, and the next close tries again from there.
  bool close(DbError& err);

  SQLHDBC dbc() const { return dbc_; }
  bool narrow() const { return narrow_; }

 private:
  bool allocate(DbError& err);
  bool connected(SQLRETURN r, DbError& err);
  // Frees one handle, leaving it held when the driver refuses.
  bool free_handle(SQLSMALLINT type, SQLHANDLE& h, const char* what, DbError& err);

  SQLHENV env_ = nullptr;
  SQLHDBC dbc_ = nullptr;
  bool connected_ = false;
  bool narrow_;
};

}  // namespace db
