#include "kestrel/upgrade/f_calc_sy_favour.h"

#include "db/transaction.h"
#include "kestrel/upgrade/mem_info_list3.h"
#include "kestrel/upgrade/money_round.h"
#include "shared/globals.h"

namespace upgrade {

std::optional<double> sy_favour_amount(double sum_deposit, double card_consume, double favour) {
  if (sum_deposit + favour == 0 || card_consume == 0 || favour == 0) return std::nullopt;
  const double share = favour / (sum_deposit + favour);
  return round_money(card_consume * share);
}

int f_calc_sy_favour() {
  const MemberList ds_mem = d_mem_info_list3(gs_fd_id);
  for (long i = 0; i < ds_mem.count; ++i) {
    const MemberAmounts& row = ds_mem.rows[static_cast<size_t>(i)];
    if (row.mem_id.is_null() || row.sum_deposit.is_null() || row.card_consume.is_null() ||
        row.favour.is_null())
      continue;
    const db::Value ls_mem_id = db::Value::text(row.mem_id.to_text());
    const auto ld_sy_favour = sy_favour_amount(
        row.sum_deposit.to_double(), row.card_consume.to_double(), row.favour.to_double());
    if (ld_sy_favour)
      sqlca.execute(QStringLiteral("update mem_info set sy_favour =? where mem_id =?"),
                    {db::Value::number(*ld_sy_favour), ls_mem_id});
    else
      sqlca.execute(QStringLiteral("update mem_info set sy_favour =0.00 where mem_id =?"),
                    {ls_mem_id});
    if (sqlca.status != 0) {
      sqlca.rollback();
      return -1;
    }
    sqlca.commit();
  }
  return 0;
}

}  // namespace upgrade
