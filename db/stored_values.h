#pragma once
// What a column of a SQL Server type stores when it is given a value, on the embedded server:
// a decimal rounded to the column's scale (half away from zero), a date-time in a form SQL
// Server takes brought to 'YYYY-MM-DD HH:MM:SS.fff', an integer column's number text made a
// number and a float truncated to an integer, a blank text 0 in an integer or float column
// (1900-01-01 in a date-time one); and SQL Server's error where it refuses the value. Inserts, updates and the reading of
// values that an older server kept as they were given all go through here.
//
// Not done: range checks (an int column holds 64 bits, a decimal 15 significant digits),
// smalldatetime's rounding to the minute, numbers given to a date-time column.
#include <sqlite3.h>

#include <string>
#include <string_view>

#include "db/backend.h"
#include "db/embedded_values.h"

namespace db {

// A value as SQLite holds it.
struct Given {
  int storage = SQLITE_NULL;
  qint64 integer = 0;
  double real = 0;
  std::string_view text;  // TEXT and BLOB

  static Given of(sqlite3_value* v);
  static Given of(sqlite3_stmt* st, int col);
};

struct Stored {
  enum class Kind { Same, Text, Integer, Refused };
  Kind kind = Kind::Same;
  std::string text;    // Text
  qint64 integer = 0;  // Integer
  DbError error;       // Refused
};

// Whether a column of that type converts what it is given (integers, decimals, floats,
// date-times; not texts and not bit).
bool converts(const Declared& column);

// What a column of that type stores when given `v`: the value as given, another text or
// integer, or SQL Server's refusal (241, 245, 248, 8114, 8115).
Stored store_value(const Declared& column, const Given& v);

// The decimal a double stands for: the shortest text that reads back as the same double, in
// positional notation (2.675, not 2.67499999999999982236431605997495353221893310546875).
std::string decimal_of_double(double d);
// A decimal text at exactly `scale` places: rounded half away from zero, or padded with zeros.
void at_scale(std::string& decimal, int scale);

// Registers tsql_store(value, 'declared type') on a connection: the value as a column of that
// type stores it, or the statement fails with SQL Server's error (tsql_store.h).
bool register_store_function(sqlite3* db);

}  // namespace db
