#pragma once
// How values pass into and out of the embedded server: date-times are stored and bound as
// 'YYYY-MM-DD HH:MM:SS.fff' text, and columns read back by their declared SQL Server type,
// decimals at their declared scale. A value that an older server kept as it was given reads
// as SQL Server would have stored it (stored_values.h), and text that is not UTF-8 as code
// page 936, the code page of a Chinese SQL Server's char columns.
#include <sqlite3.h>

#include "db/value.h"

namespace db {

enum class DeclaredType { None, Text, Integer, Double, Decimal, DateTime };

struct Declared {
  DeclaredType type = DeclaredType::None;
  int scale = 0;          // decimals only
  const char* name = "";  // integers only: "int", "smallint", "tinyint", "bigint" or "bit"
};

// "decimal(16, 2)" → Decimal, scale 2; "char(30)" → Text; null or unknown → None.
Declared declared_type(const char* decl);

Value read_column(sqlite3_stmt* st, int col);
Value read_column(sqlite3_stmt* st, int col, const Declared& d);
// The column in the data store's text form, as read_column's value would give it; false for
// null, and false with `handled` false where only the Value path knows the form.
bool read_cell(sqlite3_stmt* st, int col, const Declared& d, std::string& out, bool& handled);
// Binds one host value to the 1-based `index`.
int bind_value(sqlite3_stmt* st, int index, const Value& v);

}  // namespace db
