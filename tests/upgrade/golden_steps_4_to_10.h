#pragma once
#include "tests/upgrade/golden_schema.h"

namespace golden {

const std::vector<Table>& steps_4_to_10();

// What the shapes do not hold, for the tables that steps 6 to 10 create: the name of the
// primary key constraint (empty: none) and the not-null columns, comma-separated.
struct TableRules {
  const char* table;
  const char* key_name;
  const char* not_null;
};
const std::vector<TableRules>& table_rules_4_to_10();

}  // namespace golden
