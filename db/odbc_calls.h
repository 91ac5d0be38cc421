#pragma once
// The driver-manager calls whose failure the ODBC layer must report rather than read as data
// or as success. They go through these pointers so that a test can make one fail; the
// programs never change them.
#include <sql.h>

namespace db::odbc_calls {

using GetData = SQLRETURN (*)(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*);
using SetConnectAttr = SQLRETURN (*)(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER);

extern GetData get_data;                 // SQLGetData
extern SetConnectAttr set_connect_attr;  // SQLSetConnectAttr

}  // namespace db::odbc_calls
