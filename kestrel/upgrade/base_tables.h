#pragma once
// The salon database's base schema, the oldest schema the upgrade chain starts from: the tables
// that the chain alters, probes or fills without creating them, and the other tables of the
// emptying list that the chain does not create. It stands at a version below 5.00 and holds no
// column that the chain adds, so a salon database of any version has at least these tables with
// these columns. The tables are data; base_tables.cpp holds them.
#include <QString>
#include <vector>

namespace upgrade {

struct BaseColumn {
  const char* name;
  const char* type;  // as declared, SQL Server spelling
  bool not_null = false;
};

struct BaseTable {
  const char* name;
  std::vector<BaseColumn> columns;
  std::vector<const char*> key;  // primary key columns, in order; empty for none
  // A salon database may lack it (the emptying passes over it): a source without it is still
  // a salon database.
  bool may_be_missing = false;
};

const std::vector<BaseTable>& base_tables();
const BaseTable* base_table(const QString& name);  // null when not a base table

// "create table <name> (<col> <type> [not] null,...,primary key (<key>))"
QString create_statement(const BaseTable& t);

}  // namespace upgrade
