#pragma once
// The column and key changes SQLite cannot make in place, done as SQL Server does them: the
// table is rebuilt with its rows, whole or not at all, and refused where SQL Server refuses.
#include <sqlite3.h>

#include "db/tsql_dialect.h"

namespace db::tsql {

// alter table T ALTER COLUMN c type [not] null. Fails on a missing table or column, a type
// SQL Server does not know and a key column.
bool alter_column(sqlite3* db, const Command& c, DbError& err);

// alter table T add constraint N primary key(cols). Fails on a missing table or column, an
// existing key, a name already in use, null or duplicate key values.
bool add_primary_key(sqlite3* db, const Command& c, DbError& err);

// After a CREATE TABLE: key columns do not allow nulls on SQL Server, as they may on SQLite.
bool key_columns_not_null(sqlite3* db, const QString& table, DbError& err);

}  // namespace db::tsql
