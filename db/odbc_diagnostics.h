#pragma once
// The error a driver or the driver manager left on an ODBC handle.
#include <sql.h>

#include "db/backend.h"

namespace db {

// The handle's first diagnostic record: its native code (-1 when it has none) and message; the
// fallback text when the handle holds no record. `narrow` reads it through the narrow call.
DbError odbc_diagnostics(SQLSMALLINT type, SQLHANDLE handle, const char* fallback, bool narrow);

}  // namespace db
