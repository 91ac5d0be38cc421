#pragma once
// SQLite's messages as SQL Server words them, so that a failure on the embedded server reads
// like one on a real server (code and text).
#include <QString>

#include "db/backend.h"

namespace db {

DbError sqlserver_error(int sqlite_code, const QString& sqlite_message);

}  // namespace db
