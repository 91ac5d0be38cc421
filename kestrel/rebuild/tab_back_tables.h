#pragma once
// Which table each export number stands for, and its columns at version 16.10. The numbers
// 1 ... gi_tables except 2 stand for the tables f_del_b empties, every table of the upgraded
// schema; 2 stands for none. The first column of each numbered table fits the import's key
// group of its number.
#include <QString>
#include <vector>

#include "db/table_definitions.h"

namespace rebuild {

struct TabBackTable {
  int n;
  const char* table;
  const char* columns;  // "name type|name type|..."
};

const std::vector<TabBackTable>& tab_back_tables();
const TabBackTable* tab_back_table(int n);  // null for 2 and numbers out of range

struct DeclaredColumn {
  QString name;
  QString type;  // as declared
};
std::vector<DeclaredColumn> declared_columns(const TabBackTable& t);

// The data store's type for a declared SQL Server type.
db::ColumnType column_type(const QString& declared);

// The definition tab_back_<n>: every column of the table, stored back into the same table.
db::TableDefinition tab_back_definition(const TabBackTable& t);

// Registers tab_back_<n> for every numbered table. Safe to call more than once.
void register_tab_back_definitions();

}  // namespace rebuild
