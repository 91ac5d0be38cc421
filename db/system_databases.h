#pragma once
// The databases every SQL Server has. The embedded server keeps `master` as its catalog file,
// and a database registered under one of these names could never be opened.
#include <QString>
#include <optional>

#include "db/backend.h"

namespace db {

// SQL Server's error 1801 for master, model, msdb and tempdb (in any letter case), which
// already exist on every server; nothing for any other name.
std::optional<DbError> system_database_refusal(const QString& name);

}  // namespace db
