#pragma once
// The salon application's base schema (kestrel/upgrade/base_tables.h) with the rows a fixture
// database starts from. base_seed.cpp holds the rows.
#include <QString>
#include <QStringList>

#include "kestrel/upgrade/base_tables.h"

namespace tools {

using upgrade::base_table;
using upgrade::base_tables;
using upgrade::BaseColumn;
using upgrade::BaseTable;
using upgrade::create_statement;

// Seed rows as insert statements, in an order that inserts referenced rows first. The sys
// row is not among them (the fixture writes it with the version it is asked for).
const QStringList& base_seed();

// The values of the version row, without the column that later releases append; `bb` as
// given (null when `bb` is null).
QString sys_row_insert(const QString* bb);

}  // namespace tools
