#include "tests/upgrade/upgrade_test_support.h"

#include <QDir>
#include <QFile>
#include <algorithm>

#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "kestrel/upgrade/steps.h"

namespace test {
namespace {

QString cell(const db::Value& v) { return v.is_null() ? QStringLiteral("<null>") : v.to_text(); }

}  // namespace

UpgradeTest::~UpgradeTest() {
  sqlca.set_fault_hook({});
  sqlca.disconnect();
}

void UpgradeTest::build(const tools::FixtureOptions& options) {
  const QString err = tools::build_fixture(options);
  ASSERT_EQ(err, QString());
  ASSERT_TRUE(tools::connect_fixture(options.db_name)) << sqlca.db_error_text.toStdString();
}

void UpgradeTest::build_after_step1(const std::optional<QString>& version) {
  build();
  ASSERT_EQ(upgrade::f_ver(), upgrade::Outcome::done);
  set_version(version);
  dialogs_.clear();
}

void UpgradeTest::set_version(const std::optional<QString>& version) {
  sqlca.execute(QStringLiteral("update sys set bb =?"),
                {version ? db::Value::text(*version) : db::Value::null()});
  ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
}

QString UpgradeTest::value(const QString& sql) {
  const auto row = sqlca.select_row(sql);
  if (sqlca.status == 100) return QStringLiteral("<none>");
  EXPECT_EQ(sqlca.status, 0) << sql.toStdString() << ": " << sqlca.db_error_text.toStdString();
  return row.empty() ? QStringLiteral("<none>") : cell(row[0]);
}

QStringList UpgradeTest::rows(const QString& sql) {
  QStringList out;
  auto st = sqlca.prepare(sql);
  db::DbError err;
  if (!st || !st->bind({}, err) || !st->execute(err)) {
    ADD_FAILURE() << sql.toStdString() << ": "
                  << (st ? err.text : sqlca.db_error_text).toStdString();
    return out;
  }
  while (st->fetch(err)) {
    QStringList cols;
    for (int i = 0; i < st->column_count(); ++i) cols << cell(st->column(i));
    out << cols.join(QLatin1Char('|'));
  }
  return out;
}

void UpgradeTest::exec(const QString& sql) {
  sqlca.execute(sql);
  ASSERT_EQ(sqlca.status, 0) << sql.toStdString() << ": " << sqlca.db_error_text.toStdString();
}

golden::Schema UpgradeTest::schema() {
  golden::Schema s;
  const QStringList tables = rows(QStringLiteral(
      "select name from sqlite_master where type ='table' and name not like 'sqlite_%' "
      "order by name"));
  for (const QString& t : tables) {
    auto& cols = s[t.toLower()];
    for (const QString& r :
         rows(QStringLiteral("select name , type , pk from pragma_table_info ( '%1' )").arg(t))) {
      const QStringList f = r.split(QLatin1Char('|'));
      cols[f[0].toLower()] = {golden::normalised_type(f[1]), f[2].toInt()};
    }
  }
  return s;
}

QString UpgradeTest::snapshot() {
  QString out;
  for (const auto& [table, cols] : schema()) {
    out += QStringLiteral("# ") + table + QLatin1Char('\n');
    for (const auto& [name, shape] : cols)
      out += name + QLatin1Char(' ') + shape.type + QLatin1Char(' ') + QString::number(shape.key) +
             QLatin1Char('\n');
    QStringList r = rows(QStringLiteral("select * from ") + table);
    r.sort();
    out += r.join(QLatin1Char('\n')) + QLatin1Char('\n');
  }
  return out;
}

QString UpgradeTest::whole_database() {
  QString out;
  for (const QString& object :
       rows(QStringLiteral("select type || ' ' || name || ': ' || ifnull ( sql , '' ) from "
                           "sqlite_master order by type , name")))
    out += object + QLatin1Char('\n');
  return out + snapshot();
}

std::string UpgradeTest::first_difference(const QString& a, const QString& b) {
  const QStringList la = a.split(QLatin1Char('\n'));
  const QStringList lb = b.split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < std::max(la.size(), lb.size()); ++i) {
    const QString x = i < la.size() ? la[i] : QStringLiteral("<end>");
    const QString y = i < lb.size() ? lb[i] : QStringLiteral("<end>");
    if (x != y) return ("expected " + x.left(400) + "\n   got " + y.left(400)).toStdString();
  }
  return {};
}

QStringList UpgradeTest::traced_chain_run() {
  QStringList trace;
  sqlca.set_fault_hook([&trace](const QString& sql) -> std::optional<db::DbError> {
    trace << sql;
    return std::nullopt;
  });
  EXPECT_EQ(upgrade::run_chain(), upgrade::Outcome::done);
  sqlca.set_fault_hook({});
  return trace;
}

void UpgradeTest::use_memory_folders() {
  if (QDir(QStringLiteral("/dev/shm")).exists()) qputenv("TMPDIR", "/dev/shm");
}

void UpgradeTest::keep_pristine(const QString& db_name) {
  sqlca.disconnect();
  for (const char* ext : {".mdf", ".ldf"})
    ASSERT_TRUE(QFile::copy(folder_.file(db_name + QLatin1String(ext)),
                            folder_.file(QStringLiteral("pristine") + QLatin1String(ext))));
}

void UpgradeTest::restore_pristine(const QString& db_name) {
  sqlca.disconnect();
  // A journal that a killed run left belongs to the file it killed.
  for (const char* ext : {".mdf", ".ldf", ".mdf-journal", ".mdf-wal", ".mdf-shm"})
    QFile::remove(folder_.file(db_name + QLatin1String(ext)));
  for (const char* ext : {".mdf", ".ldf"})
    ASSERT_TRUE(QFile::copy(folder_.file(QStringLiteral("pristine") + QLatin1String(ext)),
                            folder_.file(db_name + QLatin1String(ext))));
}

}  // namespace test
