#include "tests/rebuild/carried_contents.h"

#include "db/transaction.h"
#include "kestrel/rebuild/key_groups.h"
#include "kestrel/rebuild/tab_back_tables.h"
#include "tests/rebuild/server_run.h"

namespace test {
namespace {

QStringList rows(const QString& sql) {
  QStringList out;
  auto st = sqlca.prepare(sql);
  db::DbError e;
  if (!st || !st->execute(e)) return {"<failed> " + sql + ": " + sqlca.db_error_text + e.text};
  while (st->fetch(e)) {
    QStringList cols;
    for (int i = 0; i < st->column_count(); ++i)
      cols << (st->column(i).is_null() ? QStringLiteral("~") : st->column(i).to_text());
    out << cols.join('\t');
  }
  out.sort();
  return out;
}

}  // namespace

Columns carried_columns(const QString& db_name) {
  test::ServerRun::connect(db_name);
  Columns out;
  for (const auto& t : rebuild::tab_back_tables())
    out[t.n] = rows(QStringLiteral("select name from pragma_table_info('%1')").arg(t.table));
  sqlca.disconnect();
  return out;
}

Contents carried_rows(const QString& db_name, const Columns& columns) {
  test::ServerRun::connect(db_name);
  Contents out;
  if (!sqlca.is_connected()) return {{0, {"<cannot connect to " + db_name + ">"}}};
  for (const auto& [n, c] : columns)
    if (!c.isEmpty())
      out[n] = rows("select " + c.join(", ") + " from " + rebuild::tab_back_table(n)->table);
  sqlca.disconnect();
  return out;
}

long drop_blank_keys(Contents& contents, const Columns& columns) {
  long dropped = 0;
  for (auto& [n, r] : contents) {
    const rebuild::KeyGroup g = rebuild::key_group(n);
    if (g == rebuild::KeyGroup::none) continue;
    const QString key_name =
        g == rebuild::KeyGroup::emp_id_text
            ? QStringLiteral("emp_id")
            : rebuild::declared_columns(*rebuild::tab_back_table(n)).front().name;
    const qsizetype key = columns.at(n).indexOf(key_name);
    dropped += r.removeIf([key](const QString& line) {
      const QString k = line.split('\t')[key];
      return k == "~" || k.trimmed().isEmpty();
    });
  }
  return dropped;
}

QString first_difference(const Contents& expected, const Contents& got) {
  for (const auto& [n, rows] : expected) {
    const auto it = got.find(n);
    const QStringList other = it == got.end() ? QStringList{"<no table>"} : it->second;
    if (other == rows) continue;
    QStringList missing, extra;
    for (const QString& r : rows)
      if (!other.contains(r) && missing.size() < 3) missing << r;
    for (const QString& r : other)
      if (!rows.contains(r) && extra.size() < 3) extra << r;
    return QStringLiteral("%1: %2 rows instead of %3; missing {%4}; extra {%5}")
        .arg(QString::fromLatin1(rebuild::tab_back_table(n) ? rebuild::tab_back_table(n)->table
                                                            : "?"))
        .arg(other.size())
        .arg(rows.size())
        .arg(missing.join(" / "), extra.join(" / "));
  }
  for (const auto& [n, rows] : got)
    if (!expected.count(n)) return QStringLiteral("table %1 is not expected").arg(n);
  return {};
}

}  // namespace test
