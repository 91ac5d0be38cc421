#pragma once
// Whether the last statement on a connection failed because the database has no such table or
// column: SQL Server's errors 208 and 207 (the embedded server reports the same), or the local
// engine's own words. Any other failure is an answer of no kind about the object.
#include "db/transaction.h"

namespace rebuild {

bool no_such_table(const db::Transaction& t);
bool no_such_column(const db::Transaction& t);

}  // namespace rebuild
