#include "kestrel/upgrade/group_list.h"

#include "db/transaction.h"

namespace upgrade {

std::vector<qint64> d_group_list_ids() {
  std::vector<qint64> ids;
  auto st = sqlca.prepare(QStringLiteral("select id , group_name from group_ order by id"));
  if (!st) return ids;
  db::DbError err;
  if (!st->bind({}, err) || !st->execute(err)) {
    sqlca.set_result(false, err);
    return ids;
  }
  while (st->fetch(err)) ids.push_back(st->column(0).to_integer());
  sqlca.set_result(err.text.isEmpty() && err.code == 0, err);
  if (sqlca.status != 0) ids.clear();
  return ids;
}

}  // namespace upgrade
