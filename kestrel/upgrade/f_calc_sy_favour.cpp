#include "kestrel/upgrade/f_calc_sy_favour.h"

#include "db/data_store.h"
#include "kestrel/upgrade/chain_definitions.h"
#include "kestrel/upgrade/money_round.h"
#include "shared/globals.h"

namespace upgrade {

std::optional<double> sy_favour_amount(double sum_deposit, double card_consume, double favour) {
  if (sum_deposit + favour == 0 || card_consume == 0 || favour == 0) return std::nullopt;
  const double share = favour / (sum_deposit + favour);
  return round_money(card_consume * share);
}

int f_calc_sy_favour() {
  register_chain_definitions();
  db::DataStore ds_mem;
  ds_mem.set_dataobject(QStringLiteral("d_mem_info_list3"));
  ds_mem.settransobject(sqlca);
  const long ll_row = ds_mem.retrieve({db::Value::text(gs_fd_id)});  // negative: no rows
  for (long i = 1; i <= ll_row; ++i) {
    const auto ls_mem_id = ds_mem.getitemstring(i, QStringLiteral("mem_id"));
    const auto ld_sum_deposit = ds_mem.getitemnumber(i, QStringLiteral("sum_deposit"));
    const auto ld_card_consume = ds_mem.getitemnumber(i, QStringLiteral("card_consume"));
    const auto ld_favour = ds_mem.getitemnumber(i, QStringLiteral("favour"));
    if (!ls_mem_id || !ld_sum_deposit || !ld_card_consume || !ld_favour) continue;

    const db::Value mem_id = db::Value::text(*ls_mem_id);
    if (const auto ld_sy_favour = sy_favour_amount(*ld_sum_deposit, *ld_card_consume, *ld_favour))
      sqlca.execute(QStringLiteral("update mem_info set sy_favour =? where mem_id =?"),
                    {db::Value::number(*ld_sy_favour), mem_id});
    else
      sqlca.execute(QStringLiteral("update mem_info set sy_favour =0.00 where mem_id =?"),
                    {mem_id});
    if (sqlca.status != 0) {
      sqlca.rollback();
      return -1;
    }
    sqlca.commit();
  }
  return 0;
}

}  // namespace upgrade
