#pragma once
// INSERT and UPDATE statements made to store every value as its column holds it on SQL Server
// (stored_values.h): a value expression of a column that converts becomes
// tsql_store(expression, 'declared type'), and a '?' marker that is a column's whole value is
// converted where its value is bound, without a call per row.
//
//   insert into doc_m (doc_id, cash) values (?, 2.675)
//     → insert into doc_m (doc_id, cash) values (?, tsql_store(2.675, 'decimal(16,2)'))
//   update mem_info set sy_favour =? where mem_id =?    → marker 1 converts as decimal(15,2)
//   insert into T (a, b) select …                       → with a source of the select
//
// A statement of another form, or one naming a table or column that does not exist, is left
// as it is (SQLite then reports what is wrong with it).
#include <QString>
#include <functional>
#include <vector>

namespace db::tsql {

struct TargetColumn {
  QString name;
  QString type;  // as declared
};
// The columns of a table in their order; empty when there is no such table.
using ColumnLookup = std::function<std::vector<TargetColumn>(const QString& table)>;
// Whether values given to a column of that declared type are converted.
using Converts = std::function<bool(const QString& type)>;

struct StoreStatement {
  QString sql;
  // Per '?' marker, in order: the declared type of the column whose whole value it is and
  // that converts, else empty. Empty when no marker is one.
  std::vector<QString> marker_types;
};

StoreStatement store_values(const QString& sql, const ColumnLookup& columns,
                            const Converts& converts);

}  // namespace db::tsql
