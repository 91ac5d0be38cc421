#include <QStringList>

#include "db/embedded_values.h"
#include "kestrel/rebuild/tab_back_tables.h"

namespace rebuild {

const TabBackTable* tab_back_table(int n) {
  for (const TabBackTable& t : tab_back_tables())
    if (t.n == n) return &t;
  return nullptr;
}

std::vector<DeclaredColumn> declared_columns(const TabBackTable& t) {
  std::vector<DeclaredColumn> out;
  for (const QString& c : QString::fromLatin1(t.columns).split(QLatin1Char('|'))) {
    const qsizetype space = c.indexOf(QLatin1Char(' '));
    out.push_back({c.left(space), c.mid(space + 1)});
  }
  return out;
}

db::ColumnType column_type(const QString& declared) {
  const QString t = declared.toLower();
  if (t.startsWith(QLatin1String("int")) || t.startsWith(QLatin1String("smallint")) ||
      t.startsWith(QLatin1String("tinyint")) || t.startsWith(QLatin1String("bigint")))
    return db::ColumnType::Integer;
  if (t.startsWith(QLatin1String("numeric")) || t.startsWith(QLatin1String("decimal")) ||
      t.startsWith(QLatin1String("money")))
    return db::ColumnType::Decimal;
  if (t.startsWith(QLatin1String("float")) || t.startsWith(QLatin1String("real")))
    return db::ColumnType::Double;
  if (t.contains(QLatin1String("datetime"))) return db::ColumnType::DateTime;
  return db::ColumnType::Text;
}

db::TableDefinition tab_back_definition(const TabBackTable& t) {
  db::TableDefinition d;
  d.name = QStringLiteral("tab_back_") + QString::number(t.n);
  d.update_table = QString::fromLatin1(t.table);
  QStringList names;
  for (const DeclaredColumn& c : declared_columns(t)) {
    db::ColumnDef column{c.name, column_type(c.type)};
    // An import rounds a decimal to its column's places, as SQL Server stores it.
    if (column.type == db::ColumnType::Decimal)
      column.scale = db::declared_type(c.type.toLatin1().constData()).scale;
    d.columns.push_back(column);
    names << c.name;
  }
  d.select_sql = QStringLiteral("select ") + names.join(QStringLiteral(", ")) +
                 QStringLiteral(" from ") + d.update_table;
  return d;
}

void register_tab_back_definitions() {
  for (const TabBackTable& t : tab_back_tables())
    db::register_table_definition(tab_back_definition(t));
}

}  // namespace rebuild
