#pragma once
// Named table definitions for the data store: what a definition name stands for (its select,
// its columns in order, the table its rows are stored into, its retrieval arguments).
//
// Programs register their definitions once at start-up, before the first data store loads
// one, by calling a registration function of their own that calls register_table_definition
// for each, e.g.
//
//   db::register_table_definition({
//       .name = "d_group_list",
//       .select_sql = "select group_id from group_info",
//       .columns = {{"group_id", db::ColumnType::Integer}},
//   });
//   db::register_table_definition({
//       .name = "d_mem_info_list3",
//       .select_sql = "select mem_id, sum_deposit, card_consume, favour from mem_info "
//                     "where s_id = ?",
//       .columns = {{"mem_id", db::ColumnType::Text}, {"sum_deposit", db::ColumnType::Decimal},
//                   {"card_consume", db::ColumnType::Decimal},
//                   {"favour", db::ColumnType::Decimal}},
//       .arguments = {db::ColumnType::Text},
//   });
//
// Registration is explicit on purpose: a static library drops objects nobody refers to, so
// definitions registered from static initialisers would silently go missing.
#include <QString>
#include <vector>

namespace db {

enum class ColumnType { Text, Integer, Decimal, Double, DateTime };

struct ColumnDef {
  QString name;
  ColumnType type = ColumnType::Text;
  int scale = -1;  // Decimal: the places the column keeps (an import rounds to them); -1: any
};

struct TableDefinition {
  QString name;  // compared without regard to case
  // The retrieval: its result columns in the order of `columns`; one '?' per argument.
  QString select_sql;
  std::vector<ColumnDef> columns;
  // The table that update() inserts the held rows into, by the column names above; empty for
  // a definition that only reads.
  QString update_table;
  std::vector<ColumnType> arguments;
};

// Adds a definition, replacing one of the same name. False (and nothing registered) when the
// name is empty, there are no columns, or a column name is empty or repeated.
bool register_table_definition(TableDefinition definition);

// The definition of that name, or null.
const TableDefinition* find_table_definition(const QString& name);

}  // namespace db
