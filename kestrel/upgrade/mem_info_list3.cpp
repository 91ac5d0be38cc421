#include "kestrel/upgrade/mem_info_list3.h"

#include "db/transaction.h"

namespace upgrade {

MemberList d_mem_info_list3(const QString& store_id) {
  MemberList list;
  auto st = sqlca.prepare(
      QStringLiteral("select mem_id , sum_deposit , card_consume , favour from mem_info "
                     "where s_id = ? order by mem_id"));
  db::DbError err;
  if (!st || !st->bind({db::Value::text(store_id)}, err) || !st->execute(err)) {
    if (st) sqlca.set_result(false, err);
    list.count = -1;
    return list;
  }
  while (st->fetch(err))
    list.rows.push_back({st->column(0), st->column(1), st->column(2), st->column(3)});
  const bool ok = err.text.isEmpty() && err.code == 0;
  sqlca.set_result(ok, err);
  if (!ok) {
    list.rows.clear();
    list.count = -1;
    return list;
  }
  list.count = static_cast<long>(list.rows.size());
  return list;
}

}  // namespace upgrade
