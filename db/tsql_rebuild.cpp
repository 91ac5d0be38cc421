#include "db/tsql_rebuild.h"

#include <QStringList>
#include <optional>
#include <vector>

#include "db/sqlite_util.h"
#include "db/tsql_tokens.h"

namespace db::tsql {
namespace {

struct Column {
  QString name;
  QString type;
  bool not_null = false;
  QString default_sql;   // as declared, empty when none
  int key_position = 0;  // 1-based place in the primary key, 0 when not a key column
};

struct Shape {
  QString name;  // as the database spells it
  QString create_sql;
  std::vector<Column> columns;
  QString key_constraint;  // name of the primary key constraint, when it has one
  bool without_rowid = false;
  QStringList index_sql;

  bool has_key() const {
    for (const Column& c : columns)
      if (c.key_position > 0) return true;
    return false;
  }
  Column* find(const QString& column) {
    for (Column& c : columns)
      if (c.name.compare(column, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
  }
};

// The word after CONSTRAINT in a create text, for each constraint; with its kind word.
std::vector<std::pair<QString, QString>> constraints_of(const QString& create_sql) {
  std::vector<std::pair<QString, QString>> out;
  const std::vector<Token> w = significant(tokenize(create_sql));
  for (size_t i = 0; i + 2 < w.size(); ++i)
    if (w[i].is("constraint")) out.emplace_back(name_of(w[i + 1]), w[i + 2].text.toLower());
  return out;
}

std::optional<Shape> read_shape(sqlite3* db, const QString& table, DbError& err) {
  Shape s;
  {
    SqliteStmt st;
    if (!st.prepare(db,
                    QStringLiteral("select name, sql from sqlite_master where type = 'table' and "
                                   "name = ?1 collate nocase"),
                    err))
      return std::nullopt;
    st.bind_text(1, table);
    if (!st.step(err)) {
      if (err.text.isEmpty())
        err = {4902, QStringLiteral("Cannot alter table '%1' because this table does not exist "
                                    "in the database.")
                         .arg(table)};
      return std::nullopt;
    }
    s.name = st.text(0);
    s.create_sql = st.text(1);
  }
  const std::vector<Token> w = significant(tokenize(s.create_sql));
  s.without_rowid = w.size() >= 2 && w[w.size() - 2].is("without") && w.back().is("rowid");
  for (const auto& [name, kind] : constraints_of(s.create_sql))
    if (kind == QLatin1String("primary")) s.key_constraint = name;
  {
    SqliteStmt st;
    if (!st.prepare(db,
                    QStringLiteral("select name, type, \"notnull\", dflt_value, pk from "
                                   "pragma_table_info(?1)"),
                    err))
      return std::nullopt;
    st.bind_text(1, s.name);
    while (st.step(err))
      s.columns.push_back({st.text(0), st.text(1), sqlite3_column_int(st.get(), 2) != 0, st.text(3),
                           sqlite3_column_int(st.get(), 4)});
    if (!err.text.isEmpty()) return std::nullopt;
  }
  {
    SqliteStmt st;
    if (!st.prepare(db,
                    QStringLiteral("select sql from sqlite_master where type = 'index' and "
                                   "tbl_name = ?1 and sql is not null"),
                    err))
      return std::nullopt;
    st.bind_text(1, s.name);
    while (st.step(err)) s.index_sql << st.text(0);
    if (!err.text.isEmpty()) return std::nullopt;
  }
  return s;
}

QString create_text(const Shape& s, const QString& name) {
  QStringList defs;
  std::vector<std::pair<int, QString>> key;
  for (const Column& c : s.columns) {
    QString d = quote_name(c.name);
    if (!c.type.isEmpty()) d += QLatin1Char(' ') + c.type;
    // Key columns never hold nulls, on any kind of table.
    if (c.not_null || c.key_position > 0) d += QStringLiteral(" NOT NULL");
    if (!c.default_sql.isEmpty()) d += QStringLiteral(" DEFAULT ") + c.default_sql;
    defs << d;
    if (c.key_position > 0) key.emplace_back(c.key_position, quote_name(c.name));
  }
  if (!key.empty()) {
    std::sort(key.begin(), key.end());
    QStringList cols;
    for (const auto& k : key) cols << k.second;
    QString clause;
    if (!s.key_constraint.isEmpty())
      clause = QStringLiteral("CONSTRAINT ") + quote_name(s.key_constraint) + QLatin1Char(' ');
    defs << clause + QStringLiteral("PRIMARY KEY (") + cols.join(QStringLiteral(", ")) +
                QLatin1Char(')');
  }
  QString sql = QStringLiteral("CREATE TABLE ") + quote_name(name) + QStringLiteral(" (") +
                defs.join(QStringLiteral(", ")) + QLatin1Char(')');
  if (s.without_rowid) sql += QStringLiteral(" WITHOUT ROWID");
  return sql;
}

// Replaces the table by one of the new shape holding the same rows; undone whole on failure.
bool rebuild(sqlite3* db, const Shape& s, DbError& err) {
  const QString temp = s.name + QStringLiteral("__rebuild");
  QStringList cols;
  for (const Column& c : s.columns) cols << quote_name(c.name);
  const QString list = cols.join(QStringLiteral(", "));
  if (!sqlite_exec(db, QStringLiteral("SAVEPOINT tsql_rebuild"), err)) return false;
  bool ok =
      sqlite_exec(db, create_text(s, temp), err) &&
      sqlite_exec(db,
                  QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3")
                      .arg(quote_name(temp), list, quote_name(s.name)),
                  err) &&
      sqlite_exec(db, QStringLiteral("DROP TABLE ") + quote_name(s.name), err) &&
      sqlite_exec(
          db,
          QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quote_name(temp), quote_name(s.name)),
          err);
  for (const QString& index : s.index_sql) ok = ok && sqlite_exec(db, index, err);
  if (!ok) {
    DbError ignored;
    sqlite_exec(db, QStringLiteral("ROLLBACK TO tsql_rebuild"), ignored);
  }
  DbError ignored;
  sqlite_exec(db, QStringLiteral("RELEASE tsql_rebuild"), ignored);
  return ok;
}

// The first row of a query, as text; nothing when there is none.
std::optional<QString> first_value(sqlite3* db, const QString& sql, DbError& err) {
  SqliteStmt st;
  if (!st.prepare(db, sql, err) || !st.step(err)) return std::nullopt;
  return st.text(0);
}

// Whether any table or constraint of the database is called `name`.
bool name_in_use(sqlite3* db, const QString& name, DbError& err) {
  SqliteStmt st;
  if (!st.prepare(db, QStringLiteral("select name, sql from sqlite_master"), err)) return false;
  while (st.step(err)) {
    if (st.text(0).compare(name, Qt::CaseInsensitive) == 0) return true;
    for (const auto& c : constraints_of(st.text(1)))
      if (c.first.compare(name, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

}  // namespace

bool alter_column(sqlite3* db, const Command& c, DbError& err) {
  std::optional<Shape> s = read_shape(db, c.table, err);
  if (!s) return false;
  Column* col = s->find(c.column);
  if (!col) {
    err = {4924, QStringLiteral("ALTER TABLE ALTER COLUMN failed because column '%1' does not "
                                "exist in table '%2'.")
                     .arg(c.column, c.table)};
    return false;
  }
  if (!known_type(c.type_name)) {
    err = {2715, QStringLiteral("Column, parameter, or variable #%1: Cannot find data type %2.")
                     .arg(col - s->columns.data() + 1)
                     .arg(c.type_name)};
    return false;
  }
  if (col->key_position > 0) {
    err = {5074,
           QStringLiteral("The object '%1' is dependent on column '%2'.")
               .arg(s->key_constraint.isEmpty() ? QStringLiteral("PRIMARY KEY") : s->key_constraint,
                    c.column)};
    return false;
  }
  col->type = c.type;
  col->not_null = c.not_null;
  if (!rebuild(db, *s, err)) {
    if (err.code == 515)
      err.text = QStringLiteral(
                     "Cannot insert the value NULL into column '%1', table '%2'; "
                     "column does not allow nulls. UPDATE fails.")
                     .arg(c.column, c.table);
    return false;
  }
  return true;
}

bool add_primary_key(sqlite3* db, const Command& c, DbError& err) {
  std::optional<Shape> s = read_shape(db, c.table, err);
  if (!s) return false;
  const QString create_failed =
      QStringLiteral(" Could not create constraint. See previous errors.");
  if (s->has_key()) {
    err = {1779,
           QStringLiteral("Table '%1' already has a primary key defined on it.").arg(c.table) +
               create_failed};
    return false;
  }
  if (name_in_use(db, c.constraint, err) || !err.text.isEmpty()) {
    if (err.text.isEmpty())
      err = {2714, QStringLiteral("There is already an object named '%1' in the database.")
                           .arg(c.constraint) +
                       create_failed};
    return false;
  }
  QStringList cols;
  int position = 0;
  for (const QString& name : c.names) {
    Column* col = s->find(name);
    if (!col) {
      err = {1911,
             QStringLiteral("Column name '%1' does not exist in the target table.").arg(name)};
      return false;
    }
    if (col->key_position > 0) {
      err = {1749, QStringLiteral("Column '%1' is named more than once in the key.").arg(name)};
      return false;
    }
    col->key_position = ++position;
    cols << quote_name(col->name);
  }
  const QString table = quote_name(s->name);
  const QString list = cols.join(QStringLiteral(", "));
  if (first_value(db,
                  QStringLiteral("select 1 from %1 where %2 is null")
                      .arg(table, cols.join(QStringLiteral(" is null or "))),
                  err)) {
    err = {8111, QStringLiteral("Cannot define PRIMARY KEY constraint on nullable column in table "
                                "'%1'.")
                         .arg(c.table) +
                     create_failed};
    return false;
  }
  if (const auto dup = first_value(
          db, QStringLiteral("select %2 from %1 group by %2 having count(*) > 1").arg(table, list),
          err)) {
    err = {1505, QStringLiteral("CREATE UNIQUE INDEX terminated because a duplicate key was found "
                                "for index ID 1. Most significant primary key is '%1'.")
                         .arg(*dup) +
                     create_failed};
    return false;
  }
  if (!err.text.isEmpty()) return false;
  s->key_constraint = c.constraint;
  return rebuild(db, *s, err);
}

bool key_columns_not_null(sqlite3* db, const QString& table, DbError& err) {
  std::optional<Shape> s = read_shape(db, table, err);
  if (!s) return false;
  for (const Column& c : s->columns)
    if (c.key_position > 0 && !c.not_null) return rebuild(db, *s, err);
  return true;
}

}  // namespace db::tsql
