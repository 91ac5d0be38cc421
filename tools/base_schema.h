#pragma once
// The salon application's base schema: the tables that the upgrade chain alters, probes or
// fills without creating them, and the other tables of the emptying list that the chain does
// not create. The schema stands at a version below 5.00: it holds no column that the chain
// adds. Data only; base_tables.cpp holds the tables, base_seed.cpp their rows.
#include <QString>
#include <QStringList>
#include <vector>

namespace tools {

struct BaseColumn {
  const char* name;
  const char* type;  // as declared, SQL Server spelling
  bool not_null = false;
};

struct BaseTable {
  const char* name;
  std::vector<BaseColumn> columns;
  std::vector<const char*> key;  // primary key columns, in order; empty for none
};

const std::vector<BaseTable>& base_tables();
const BaseTable* base_table(const QString& name);  // null when not a base table

// "create table <name> (<col> <type> [not] null,...,primary key (<key>))"
QString create_statement(const BaseTable& t);

// Seed rows as insert statements, in an order that inserts referenced rows first. The sys
// row is not among them (the fixture writes it with the version it is asked for).
const QStringList& base_seed();

// The values of the version row, without the column that later releases append; `bb` as
// given (null when `bb` is null).
QString sys_row_insert(const QString* bb);

}  // namespace tools
