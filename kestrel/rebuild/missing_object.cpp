#include "kestrel/rebuild/missing_object.h"

namespace rebuild {

namespace {

constexpr long kInvalidObjectName = 208;
constexpr long kInvalidColumnName = 207;

// The local engine (SQLite through its ODBC driver) has no numbers of its own for these; its
// driver puts its name before the words and SQLite's code after them.
bool local_engine_says(const db::Transaction& t, const char* words) {
  return t.db_error_text.contains(QLatin1String(words));
}

}  // namespace

bool no_such_table(const db::Transaction& t) {
  return t.status != 0 &&
         (t.db_error_code == kInvalidObjectName || local_engine_says(t, "no such table: "));
}

bool no_such_column(const db::Transaction& t) {
  return t.status != 0 &&
         (t.db_error_code == kInvalidColumnName || local_engine_says(t, "no such column: "));
}

}  // namespace rebuild
