#include "kestrel/rebuild/purge.h"

#include <QRegularExpression>
#include <map>

#include "db/transaction.h"
#include "kestrel/rebuild/keep_options.h"
#include "kestrel/rebuild/missing_object.h"

namespace rebuild {

const std::vector<PurgeGroup>& purge_groups() {
  static const std::vector<PurgeGroup> groups = {
      {2,
       false,
       {
           "delete from loss_card",
           "delete from mrcs",
           "delete from mem_fund",
           "delete from data_tf",
           "delete from mem_item",
           "delete from bespoke",
           "delete from mem_info",
           "delete from info_message",
           "delete from card_s",
           "delete from log_card_oper",
           "delete from sr",
           "delete from ie_data where type_name like '%会员%'",
       }},
      {3,
       false,
       {
           "delete from doc_item where doc_id in ( select doc_id from doc_m where pay_type <> 1 )",
           "delete from doc_ware where doc_id in ( select doc_id from doc_m where pay_type <> 1 )",
           "delete from deduct_data where doc_id in ( select doc_id from doc_m where pay_type <> 1 "
           ")",
           "delete from doc_m where doc_id in ( select doc_id from doc_m where pay_type <> 1 )",
           "delete from ie_data where type_name ='营业收入' and zy like '%卡支付%'",
       }},
      {4,
       false,
       {
           "delete from doc_item where doc_id in ( select doc_id from doc_m where pay_type <= 1 )",
           "delete from doc_ware where doc_id in ( select doc_id from doc_m where pay_type <= 1 )",
           "delete from deduct_data where doc_id in ( select doc_id from doc_m where pay_type <= 1 "
           ")",
           "delete from doc_m where doc_id in ( select doc_id from doc_m where pay_type <= 1 )",
           "delete from ie_data where type_name ='营业收入' and zy like '%现金支付%'",
       }},
      {5,
       true,
       {
           "delete from doc_item where doc_id in ( select doc_id from doc_m where doc_date < "
           "{ldt_1} )",
           "delete from doc_ware where doc_id in ( select doc_id from doc_m where doc_date < "
           "{ldt_1} )",
           "delete from doc_m where doc_date < {ldt_1}",
           "delete from wage_data where month_id < {ls_month}",
           "delete from deduct_data where d_date < {ldt_1}",
           "delete from attend_end where attend_date < {ldt_1}",
           "delete from attend_origin where attend_date < {ldt_1}",
           "delete from bill_d where doc_id in ( select doc_id from bill_m where d_date < {ldt_1} "
           ")",
           "delete from bill_m where d_date < {ldt_1}",
           "delete from ie_data where rq < {ldt_1}",
           "delete from yy where start_d < {ldt_1}",
           "delete from mem_fund where fund_time < {ldt_1}",
           "delete from bespoke where b_time < {ldt_1}",
           "delete from info_message where rq < {ldt_1}",
           "delete from log_card_oper where log_time < {ldt_1}",
       }},
      {6,
       true,
       {
           "delete from doc_m where cash + card >= {ldt_money}",
           "delete from deduct_data where money >= {ldt_money}",
           "delete from ie_data where income + expens >= {ldt_money}",
           "delete from mem_fund where money >= {ldt_money}",
       }},
  };
  return groups;
}

BoundText bind_markers(const QString& text) {
  static const QRegularExpression marker(QStringLiteral("\\{(\\w+)\\}"));
  BoundText out;
  out.sql = text;
  for (auto it = marker.globalMatch(text); it.hasNext();)
    out.names.push_back(it.next().captured(1));
  out.sql.replace(marker, QStringLiteral("?"));
  return out;
}

namespace {

// The host values of one group, computed before its first statement; false when they do not
// convert (the Start action refuses such options before it gets here).
bool group_values(const PurgeGroup& g, StartWindow& w_main, std::map<QString, db::Value>& v) {
  if (g.check_box == 5) {
    const auto ldt_1 = cut_off_day(w_main.em_1_text());
    if (!ldt_1) return false;
    // The local engine keeps a date-time as the text that wrote it ('…00:00:00.000',
    // '…00:00:00', a bare date) and compares text: the bare day sorts after every form of the
    // day before and before every form of the chosen day.
    v[QStringLiteral("ldt_1")] =
        w_main.panel().ii_database() == 1
            ? db::Value::text(ldt_1->date().toString(QStringLiteral("yyyy-MM-dd")))
            : db::Value::datetime(*ldt_1);
    v[QStringLiteral("ls_month")] = db::Value::text(month_of(*ldt_1));
  } else if (g.check_box == 6) {
    const auto ldt_money = cut_off_amount(w_main.em_2_text());
    if (!ldt_money) return false;
    v[QStringLiteral("ldt_money")] = db::Value::number(*ldt_money);
  }
  return true;
}

}  // namespace

bool run_purge_groups(StartWindow& w_main) {
  for (const PurgeGroup& g : purge_groups()) {
    std::map<QString, db::Value> values;
    if (w_main.cbx_checked(g.check_box) == g.runs_when_checked && group_values(g, w_main, values)) {
      for (const char* s : g.statements) {
        const BoundText b = bind_markers(QString::fromUtf8(s));
        std::vector<db::Value> params;
        for (const QString& n : b.names) params.push_back(values.at(n));
        sqlca.execute(b.sql, params);
        // A table or column the database lacks holds nothing to delete. Any other failure
        // ends the purge: the server may have undone the transaction with it, and what came
        // after would then be stored on its own.
        if (sqlca.status != 0 && !no_such_table(sqlca) && !no_such_column(sqlca)) return false;
      }
    }
    w_main.hpb_stepit();
  }
  return true;
}

}  // namespace rebuild
