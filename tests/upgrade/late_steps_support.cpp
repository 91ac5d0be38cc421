#include "tests/upgrade/late_steps_support.h"

#include <QFile>

#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "shared/globals.h"

namespace test {

void LateStepsTest::build_through(int steps, const QString& db_name) {
  tools::FixtureOptions options;
  options.db_name = db_name;
  build(options);
  for (int i = 0; i < steps; ++i)
    ASSERT_NE(upgrade::chain_steps()[static_cast<size_t>(i)](), upgrade::Outcome::failed)
        << "step " << i + 1;
  dialogs_.clear();
}

void LateStepsTest::clone(const QString& from, const QString& to) {
  sqlca.disconnect();
  for (const char* ext : {".mdf", ".ldf"}) {
    QFile::remove(gs_apppath + to + QLatin1String(ext));
    ASSERT_TRUE(
        QFile::copy(gs_apppath + from + QLatin1String(ext), gs_apppath + to + QLatin1String(ext)));
  }
  ASSERT_TRUE(tools::connect_fixture(QStringLiteral("master")));
  exec(QStringLiteral("sp_attach_db '%1','%2','%3'")
           .arg(to, gs_apppath + to + QStringLiteral(".mdf"),
                gs_apppath + to + QStringLiteral(".ldf")));
  sqlca.disconnect();
  ASSERT_TRUE(tools::connect_fixture(to)) << sqlca.db_error_text.toStdString();
}

bool LateStepsTest::has_column(const QString& table, const QString& column) {
  return value(QStringLiteral("select count ( *) from pragma_table_info ( '%1' ) where name ='%2'")
                   .arg(table, column)) == QStringLiteral("1");
}

bool LateStepsTest::has_table(const QString& table) {
  return value(QStringLiteral("select count ( *) from sqlite_master where type ='table' and "
                              "name ='%1'")
                   .arg(table)) == QStringLiteral("1");
}

void LateStepsTest::watch(const QString& fail_prefix, int fail_at) {
  trace_.clear();
  auto seen = std::make_shared<int>(0);
  sqlca.set_fault_hook(
      [this, fail_prefix, fail_at, seen](const QString& sql) -> std::optional<db::DbError> {
        trace_ << sql;
        if (fail_prefix.isEmpty() || !sql.startsWith(fail_prefix)) return std::nullopt;
        if (fail_at && ++*seen != fail_at) return std::nullopt;
        return db::DbError{-1, QStringLiteral("made to fail by the test")};
      });
}

}  // namespace test
