#include "db/odbc_connection.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <string>
#include <utility>

#include "db/odbc_calls.h"
#include "db/odbc_diagnostics.h"
#include "db/odbc_text.h"

namespace db {

OdbcConnection::OdbcConnection(OdbcConnection&& other) noexcept
    : env_(std::exchange(other.env_, nullptr)),
      dbc_(std::exchange(other.dbc_, nullptr)),
      connected_(std::exchange(other.connected_, false)),
      narrow_(other.narrow_) {}

OdbcConnection::~OdbcConnection() {
  DbError ignored;
  close(ignored);
}

bool OdbcConnection::allocate(DbError& err) {
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_))) {
    env_ = nullptr;
    err = {-1, QStringLiteral("the ODBC driver manager is not available")};
    return false;
  }
  SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) {
    dbc_ = nullptr;
    err = odbc_diagnostics(SQL_HANDLE_ENV, env_, "no connection handle", narrow_);
    return false;
  }
  SQLSetConnectAttr(dbc_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(5), 0);
  return true;
}

bool OdbcConnection::connected(SQLRETURN r, DbError& err) {
  if (!SQL_SUCCEEDED(r)) {
    err = odbc_diagnostics(SQL_HANDLE_DBC, dbc_, "the connection failed", narrow_);
    return false;
  }
  connected_ = true;
  return true;
}

bool OdbcConnection::open(const QString& connection_string, DbError& err) {
  if (!allocate(err)) return false;
  SQLRETURN r;
  SQLSMALLINT out_len = 0;
  if (narrow_) {
    QByteArray u = connection_string.toUtf8();
    SQLCHAR out[4096];
    r = SQLDriverConnect(dbc_, nullptr, odbc_nptr(u), static_cast<SQLSMALLINT>(u.size()), out,
                         sizeof out, &out_len, SQL_DRIVER_NOPROMPT);
  } else {
    std::u16string w = odbc_wide(connection_string);
    SQLWCHAR out[1024];
    r = SQLDriverConnectW(dbc_, nullptr, odbc_wptr(w), static_cast<SQLSMALLINT>(w.size()), out,
                          1024, &out_len, SQL_DRIVER_NOPROMPT);
  }
  return connected(r, err);
}

bool OdbcConnection::open_data_source(const QString& data_source, const QString& user,
                                      const QString& password, DbError& err) {
  if (!allocate(err)) return false;
  SQLRETURN r;
  if (narrow_) {
    QByteArray d = data_source.toUtf8(), u = user.toUtf8(), p = password.toUtf8();
    r = SQLConnect(dbc_, odbc_nptr(d), static_cast<SQLSMALLINT>(d.size()), odbc_nptr(u),
                   static_cast<SQLSMALLINT>(u.size()), odbc_nptr(p),
                   static_cast<SQLSMALLINT>(p.size()));
  } else {
    std::u16string d = odbc_wide(data_source), u = odbc_wide(user), p = odbc_wide(password);
    r = SQLConnectW(dbc_, odbc_wptr(d), static_cast<SQLSMALLINT>(d.size()), odbc_wptr(u),
                    static_cast<SQLSMALLINT>(u.size()), odbc_wptr(p),
                    static_cast<SQLSMALLINT>(p.size()));
  }
  return connected(r, err);
}

bool OdbcConnection::close(DbError& err) {
  if (connected_) {
    // With auto_commit on nothing is open; a rollback there would only cost a round trip to
    // the server. Where the mode cannot be read, the rollback is made.
    SQLULEN mode = SQL_AUTOCOMMIT_OFF;
    SQLGetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT, &mode, 0, nullptr);
    // Its failure shows in the disconnect, which a driver refuses while a transaction is open.
    if (mode != SQL_AUTOCOMMIT_ON) odbc_calls::end_tran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
    if (!SQL_SUCCEEDED(odbc_calls::disconnect(dbc_))) {
      err = odbc_diagnostics(SQL_HANDLE_DBC, dbc_, "disconnecting failed", narrow_);
      return false;
    }
    connected_ = false;
  }
  return free_handle(SQL_HANDLE_DBC, dbc_, "the connection handle could not be freed", err) &&
         free_handle(SQL_HANDLE_ENV, env_, "the ODBC environment could not be freed", err);
}

bool OdbcConnection::free_handle(SQLSMALLINT type, SQLHANDLE& h, const char* what, DbError& err) {
  if (!h) return true;
  if (!SQL_SUCCEEDED(odbc_calls::free_handle(type, h))) {
    err = odbc_diagnostics(type, h, what, narrow_);
    return false;
  }
  h = nullptr;
  return true;
}

}  // namespace db
