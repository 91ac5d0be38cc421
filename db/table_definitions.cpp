#include "db/table_definitions.h"

#include <QSet>
#include <map>

namespace db {
namespace {

std::map<QString, TableDefinition>& registry() {
  static std::map<QString, TableDefinition> r;
  return r;
}

}  // namespace

bool register_table_definition(TableDefinition definition) {
  if (definition.name.trimmed().isEmpty() || definition.columns.empty()) return false;
  QSet<QString> seen;
  for (const ColumnDef& c : definition.columns) {
    const QString key = c.name.toLower();
    if (key.isEmpty() || seen.contains(key)) return false;
    seen.insert(key);
  }
  const QString key = definition.name.toLower();
  registry()[key] = std::move(definition);
  return true;
}

const TableDefinition* find_table_definition(const QString& name) {
  const auto it = registry().find(name.toLower());
  return it == registry().end() ? nullptr : &it->second;
}

}  // namespace db
