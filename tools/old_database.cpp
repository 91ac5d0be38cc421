#include "tools/old_database.h"

#include <QDateTime>
#include <QStringList>

#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "tools/fixture.h"

namespace tools {

std::map<QString, long> OldDatabaseOptions::demo_rows() {
  return {{"mem_info", 400},    {"card_s", 400},        {"mem_fund", 600},
          {"doc_m", 800},       {"doc_item", 1600},     {"doc_ware", 800},
          {"info_ware", 150},   {"s_storage", 150},     {"emp_info", 30},
          {"wage_data", 120},   {"attend_origin", 400}, {"bespoke", 100},
          {"yy", 100},          {"info_message", 200},  {"ie_data", 300},
          {"info_item", 60},    {"deduct_data", 400},   {"doc_yd", 60},
          {"emp_rebate_w", 40}, {"mem_jc_ls", 80},      {"query_rz", 50},
          {"sy", 24},           {"week_plan", 30}};
}

namespace {

// Generated rows are numbered from here, clear of the seed rows' keys.
constexpr long kFirst = 100000;

// Tables whose first column the import checks, with the blank keys given to each.
const std::map<QString, QStringList>& blank_keys() {
  static const std::map<QString, QStringList> keys = {
      {"info_ware", {"", "   "}},  // text key (number 18)
      {"info_item", {"", " "}},    // text key (number 15)
      {"emp_info", {""}},          // emp_id (number 25)
  };
  return keys;
}

struct Column {
  QString name;
  QString type;  // lower case, as declared
};

// The columns of a table of the connected database, in order; empty when it has none.
std::vector<Column> live_columns(const QString& table) {
  std::vector<Column> out;
  auto st = sqlca.prepare(QStringLiteral("select name, type from pragma_table_info('") + table +
                          QStringLiteral("')"));
  db::DbError e;
  if (!st || !st->execute(e)) return out;
  while (st->fetch(e)) out.push_back({st->column(0).to_text(), st->column(1).to_text().toLower()});
  return out;
}

int char_width(const QString& type) {
  const qsizetype open = type.indexOf(QLatin1Char('('));
  return open < 0 ? 30 : type.mid(open + 1).chopped(1).toInt();
}

// The value of column `c` in generated row i of `table` (of `count` rows).
db::Value value_for(const QString& table, const Column& c, long i, long count,
                    const std::map<QString, long>& rows) {
  const QString& name = c.name;
  const QString& type = c.type;
  // Detail rows point at the documents, several to a document.
  if (name == QLatin1String("doc_id") && table != QLatin1String("doc_m") && rows.count("doc_m")) {
    const long docs = std::max(1L, rows.at("doc_m"));
    const long per = std::max(1L, (count + docs - 1) / docs);
    if (table == QLatin1String("doc_item") || table == QLatin1String("doc_ware") ||
        table == QLatin1String("deduct_data"))
      return db::Value::text(QStringLiteral("D%1").arg(i / per + kFirst));
  }
  if (name == QLatin1String("pay_type")) return db::Value::integer(i % 3);
  i += kFirst;
  if (name == QLatin1String("month_id"))
    return db::Value::text(
        QStringLiteral("%1%2").arg(2020 + i / 12 % 5).arg(i % 12 + 1, 2, 10, QLatin1Char('0')));
  if (name == QLatin1String("type_name"))
    return db::Value::text(i % 2 ? QStringLiteral("营业收入") : QStringLiteral("会员充值"));
  if (name == QLatin1String("zy"))
    return db::Value::text(i % 2 ? QStringLiteral("现金支付") : QStringLiteral("会员卡支付"));
  if (type.startsWith(QLatin1String("int")) || type.startsWith(QLatin1String("smallint")))
    return db::Value::integer(i);
  // A decimal without places is a number like any id: unique per row.
  if ((type.startsWith(QLatin1String("numeric")) || type.startsWith(QLatin1String("decimal"))) &&
      (!type.contains(QLatin1Char(',')) || type.contains(QLatin1String(",0)")) ||
       type.contains(QLatin1String(", 0)"))))
    return db::Value::decimal(QString::number(i));
  if (type.startsWith(QLatin1String("numeric")) || type.startsWith(QLatin1String("decimal")))
    return db::Value::decimal(
        QStringLiteral("%1.%2").arg(i % 500).arg(i % 100, 2, 10, QLatin1Char('0')));
  if (type.contains(QLatin1String("datetime")))
    return db::Value::datetime(
        QDateTime(QDate(2020, 1, 1), QTime(9, 0)).addSecs(static_cast<qint64>(i) * 3607));
  const QString prefix = name == QLatin1String("doc_id") ? QStringLiteral("D") : name.left(2);
  QString text = prefix + QString::number(i);
  if (name.endsWith(QLatin1String("_name"))) text = QStringLiteral("名称") + QString::number(i);
  return db::Value::text(text.left(char_width(type)));
}

bool insert_rows(const QString& table, const std::vector<Column>& columns, long count,
                 const std::map<QString, long>& rows, bool blanks, QString& err) {
  QStringList marks;
  for (size_t k = 0; k < columns.size(); ++k) marks << QStringLiteral("?");
  auto st = sqlca.prepare(QStringLiteral("insert into ") + table + QStringLiteral(" values (") +
                          marks.join(QLatin1Char(',')) + QStringLiteral(")"));
  if (!st) {
    err = table + QStringLiteral(": ") + sqlca.db_error_text;
    return false;
  }
  std::vector<db::Value> v(columns.size());
  db::DbError e;
  auto run = [&]() {
    if (st->bind(v, e) && st->execute(e)) return true;
    err = table + QStringLiteral(": ") + e.text;
    return false;
  };
  for (long i = 0; i < count; ++i) {
    for (size_t k = 0; k < columns.size(); ++k) v[k] = value_for(table, columns[k], i, count, rows);
    if (!run()) return false;
  }
  if (blanks && blank_keys().count(table)) {
    long i = count;
    for (const QString& key : blank_keys().at(table)) {
      for (size_t k = 0; k < columns.size(); ++k)
        v[k] = value_for(table, columns[k], i, count, rows);
      v[0] = db::Value::text(key);
      ++i;
      if (!run()) return false;
    }
  }
  return true;
}

}  // namespace

int blank_key_rows(const QString& table) {
  const auto it = blank_keys().find(table);
  return it == blank_keys().end() ? 0 : static_cast<int>(it->second.size());
}

QString build_old_database(const OldDatabaseOptions& o) {
  FixtureOptions f;
  f.db_name = o.db_name;
  f.version = o.version;
  QString err = build_fixture(f);
  if (!err.isEmpty()) return err;
  if (!connect_fixture(o.db_name)) return QStringLiteral("connect ") + o.db_name;
  // A database being built is thrown away when the build stops, so its hundreds of commits
  // need not wait for the disk.
  sqlca.execute_immediate(QStringLiteral("pragma synchronous = off"));
  // The chain runs as the Start action runs it, with auto_commit on.
  if (o.upgraded && upgrade::run_chain() != upgrade::Outcome::done) {
    sqlca.disconnect();
    return QStringLiteral("upgrade of ") + o.db_name + QStringLiteral(" stopped");
  }
  sqlca.disconnect();
  sqlca.auto_commit = false;
  sqlca.connect();
  for (const auto& [table, count] : o.rows) {
    const std::vector<Column> columns = live_columns(table);
    if (columns.empty()) continue;
    if (!insert_rows(table, columns, count, o.rows, o.blank_keys, err)) {
      sqlca.rollback();
      sqlca.disconnect();
      return err;
    }
  }
  sqlca.commit();
  const long status = sqlca.status;
  sqlca.disconnect();
  return status == 0 ? QString() : QStringLiteral("commit failed");
}

}  // namespace tools
