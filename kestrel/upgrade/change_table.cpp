#include "kestrel/upgrade/change_table.h"

namespace upgrade {

bool apply(StepContext& s, const Change& c) {
  if (c.probe && !s.missing(QString::fromUtf8(c.probe))) return true;
  const QString failure = QString::fromUtf8(c.failure);
  if (c.table)
    return s.clause_list(QString::fromUtf8(c.table), QString::fromUtf8(c.sql),
                         ClauseFailure::failure_path, failure);
  const auto change = [&] {
    if (!s.change_no_commit(QString::fromUtf8(c.sql), failure)) return false;
    if (c.then) s.run(QString::fromUtf8(c.then));
    s.commit();
    return true;
  };
  // A change with a statement after it is one block: a new column never without its fill, a
  // new table never without its key.
  return c.then ? s.block(failure, change) : change();
}

bool apply(StepContext& s, std::span<const Change> changes) {
  for (const auto& c : changes)
    if (!apply(s, c)) return false;
  return true;
}

void run_all(StepContext& s, std::span<const char* const> statements) {
  for (const char* sql : statements) s.run(QString::fromUtf8(sql));
}

}  // namespace upgrade
