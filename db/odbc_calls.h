#pragma once
// The driver-manager calls whose failure the ODBC layer must report rather than read as data
// or as success. They go through these pointers so that a test can make one fail; the
// programs never change them.
#include <sql.h>

namespace db::odbc_calls {

using GetData = SQLRETURN (*)(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*);
using SetConnectAttr = SQLRETURN (*)(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER);
using EndTran = SQLRETURN (*)(SQLSMALLINT, SQLHANDLE, SQLSMALLINT);
using Disconnect = SQLRETURN (*)(SQLHDBC);
using FreeHandle = SQLRETURN (*)(SQLSMALLINT, SQLHANDLE);

extern GetData get_data;                 // SQLGetData
extern SetConnectAttr set_connect_attr;  // SQLSetConnectAttr
extern EndTran end_tran;                 // SQLEndTran: every commit and rollback
extern Disconnect disconnect;            // SQLDisconnect
extern FreeHandle free_handle;           // SQLFreeHandle of a connection or its environment

}  // namespace db::odbc_calls
