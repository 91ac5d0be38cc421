#include "db/odbc_diagnostics.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>

namespace db {

DbError odbc_diagnostics(SQLSMALLINT type, SQLHANDLE handle, const char* fallback, bool narrow) {
  DbError e;
  SQLINTEGER native = 0;
  SQLSMALLINT len = 0;
  SQLRETURN r;
  if (narrow) {
    SQLCHAR state[6] = {0};
    SQLCHAR msg[4096] = {0};
    r = SQLGetDiagRec(type, handle, 1, state, &native, msg, static_cast<SQLSMALLINT>(sizeof msg),
                      &len);
    if (SQL_SUCCEEDED(r))
      e.text = QString::fromUtf8(reinterpret_cast<const char*>(msg),
                                 std::min<qsizetype>(len, sizeof msg - 1));
  } else {
    SQLWCHAR state[6] = {0};
    SQLWCHAR msg[2048] = {0};
    r = SQLGetDiagRecW(type, handle, 1, state, &native, msg,
                       static_cast<SQLSMALLINT>(sizeof msg / sizeof msg[0]), &len);
    if (SQL_SUCCEEDED(r))
      e.text = QString::fromUtf16(reinterpret_cast<const char16_t*>(msg),
                                  std::min<qsizetype>(len, sizeof msg / sizeof msg[0] - 1));
  }
  if (SQL_SUCCEEDED(r)) {
    e.code = native != 0 ? native : -1;
  } else {
    e.code = -1;
    e.text = QString::fromLatin1(fallback);
  }
  return e;
}

}  // namespace db
