#pragma once
// What the schema holds after the later upgrade steps, written down independently of the step
// code: every table they create (with its columns in order and its primary key) and every
// column they add to or change in a table that existed before them.
#include <vector>

namespace golden {

// `Default`: the definition gives no nullability, so the server's default applies.
enum class Null { Yes, No, Default };

struct Column {
  const char* name;
  const char* type;  // as declared
  Null null;
};

struct Table {
  const char* name;
  std::vector<Column> columns;
  const char* key_name;          // empty: no primary key
  std::vector<const char*> key;  // key columns in order
};

struct AddedColumn {
  const char* table;
  Column column;
};

const std::vector<Table>& late_tables();
const std::vector<AddedColumn>& late_columns();

}  // namespace golden
