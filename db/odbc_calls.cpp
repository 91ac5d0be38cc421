#include "db/odbc_calls.h"

namespace db::odbc_calls {

GetData get_data = &SQLGetData;
SetConnectAttr set_connect_attr = &SQLSetConnectAttr;
EndTran end_tran = &SQLEndTran;
Disconnect disconnect = &SQLDisconnect;
FreeHandle free_handle = &SQLFreeHandle;

}  // namespace db::odbc_calls
