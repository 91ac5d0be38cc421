#pragma once
// The local engine's driver opens its file only when the first statement needs it, so a
// connect alone would accept any file. This reads the schema right away.
#include <QString>

#include "db/backend.h"

namespace db {

// Whether the connection's file is a database the salon programs can work on: a SQLite
// database holding at least one table. A text file fails with the engine's own error; an
// empty database (a 0-byte file is one to SQLite) fails too, since no program of ours can use
// a database without tables. Reads only, and ends the read it began.
bool local_engine_holds_tables(Backend& b, const QString& file, DbError& err);

}  // namespace db
