#include "kestrel/upgrade/chain_definitions.h"

#include "db/table_definitions.h"

namespace upgrade {

void register_chain_definitions() {
  db::register_table_definition({
      .name = QStringLiteral("d_group_list"),
      .select_sql = QStringLiteral("select id , group_name from group_ order by id"),
      .columns = {{QStringLiteral("id"), db::ColumnType::Integer},
                  {QStringLiteral("group_name"), db::ColumnType::Text}},
  });
  db::register_table_definition({
      .name = QStringLiteral("d_mem_info_list3"),
      .select_sql = QStringLiteral(
          "select mem_id , sum_deposit , card_consume , favour from mem_info where s_id =? "
          "order by mem_id"),
      .columns = {{QStringLiteral("mem_id"), db::ColumnType::Text},
                  {QStringLiteral("sum_deposit"), db::ColumnType::Decimal},
                  {QStringLiteral("card_consume"), db::ColumnType::Decimal},
                  {QStringLiteral("favour"), db::ColumnType::Decimal}},
      .arguments = {db::ColumnType::Text},
  });
}

}  // namespace upgrade
