#include "kestrel/rebuild/f_del_b.h"

#include "db/transaction.h"
#include "kestrel/rebuild/del_b_list.h"
#include "kestrel/rebuild/missing_object.h"
#include "runtime/yield.h"
#include "shared/globals.h"

namespace rebuild {

int f_del_b(StartWindow& w_main) {
  // A table that keeps its rows would get the imported ones on top: every failed delete
  // counts, except on a table the database does not have, which holds nothing to delete.
  bool all_deleted = true;
  for (const DelEntry& e : del_b_list()) {
    rt::yield();
    w_main.set_st_11(QStringLiteral("初始化...") + QString::number(e.shown) + QStringLiteral("/") +
                     QString::number(gi_tables));
    sqlca.execute(QStringLiteral("delete from ") + QLatin1String(e.table));
    if (sqlca.status != 0 && !no_such_table(sqlca)) all_deleted = false;
  }
  w_main.set_st_11(QString());
  return all_deleted ? 0 : -1;
}

}  // namespace rebuild
