#pragma once
// The schema that the upgrade steps produce, written down from their descriptions and kept
// apart from the chain's code. One file per group of steps; each lists the tables a step
// group creates (all their columns) and the columns it adds to or retypes in existing tables.
#include <QString>
#include <map>
#include <vector>

namespace golden {

struct Column {
  const char* name;
  const char* type;  // declared type as the statement writes it
  int key = 0;       // position in the primary key, 0 for none
};

struct Table {
  const char* name;
  bool created;  // true: the steps create it, `columns` is all of it; false: added or retyped
  std::vector<Column> columns;
};

const std::vector<Table>& steps_1_to_3();

// A schema as read from a database or expected of one: table -> column -> (type, key).
struct ColumnShape {
  QString type;
  int key = 0;
  bool operator==(const ColumnShape&) const = default;
};
using Schema = std::map<QString, std::map<QString, ColumnShape>>;

// The base schema with the golden groups applied in order (a later group's column replaces
// an earlier one of the same name). Names in lower case, types normalised.
Schema expected_schema(const std::vector<const std::vector<Table>*>& groups);

// "decimal(16, 2)" and "DECIMAL(16,2)" are the same declared type.
QString normalised_type(const QString& type);

}  // namespace golden
