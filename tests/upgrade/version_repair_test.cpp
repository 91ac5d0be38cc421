// A database without its version row: step 1 and 2 give up, step 3 offers the repair. And what
// step 1 writes to the error log.
#include <QFile>

#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "kestrel/upgrade/steps.h"
#include "tests/upgrade/upgrade_test_support.h"

namespace {

using upgrade::Outcome;

const QString kQuestion = "系统提示|系统版本数据丢失,是否启用自动修复程序";

class VersionRepairTest : public test::UpgradeTest {
 protected:
  void build_without_row(bool sys_jhzd = false) {
    tools::FixtureOptions o;
    o.version_row = false;
    o.sys_jhzd = sys_jhzd;
    build(o);
  }
  bool has_table(const char* t) {
    sqlca.select_row(QStringLiteral("select count ( *) from ") + t);
    return sqlca.status == 0;
  }
};

TEST_F(VersionRepairTest, NoEndsTheProgramWithoutChange) {
  build_without_row();
  const QString before = snapshot();
  dialogs_.answer(false);
  EXPECT_EQ(upgrade::f_ver3(), Outcome::end_program);
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{kQuestion});
  EXPECT_FALSE(dialogs_.shown()[0].default_yes);
  EXPECT_EQ(snapshot().toStdString(), before.toStdString());
}

TEST_F(VersionRepairTest, YesInsertsTheShorterRowIntoA24ColumnSysAndRestarts) {
  build_without_row();
  dialogs_.answer(true);
  EXPECT_EQ(upgrade::f_ver3(), Outcome::restart_program);
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{kQuestion});
  EXPECT_EQ(rows("select id , bb , kernel_ver , style from sys"),
            QStringList{"1|13.00|V 6.01.01|默认"});
  EXPECT_EQ(value("select data_path from sys"), "d:\\zivezi\\data");
  EXPECT_FALSE(has_table("sk_mem_info"));  // the step stops at the restart
}

TEST_F(VersionRepairTest, YesFillsA25ColumnSys) {
  build_without_row(true);
  dialogs_.answer(true);
  EXPECT_EQ(upgrade::f_ver3(), Outcome::restart_program);
  EXPECT_EQ(rows("select id , bb , jhzd from sys"), QStringList{"1|13.00|"});
}

TEST_F(VersionRepairTest, BothInsertsFailingEndsTheProgram) {
  build_without_row();
  int attempts = 0;
  sqlca.set_fault_hook([&](const QString& sql) -> std::optional<db::DbError> {
    if (!sql.startsWith("insert into sys values")) return std::nullopt;
    ++attempts;
    return db::DbError{213,
                       "Insert Error: Column name or number of supplied values does not "
                       "match table definition."};
  });
  dialogs_.answer(true);
  EXPECT_EQ(upgrade::f_ver3(), Outcome::end_program);
  EXPECT_EQ(attempts, 2);
  EXPECT_EQ(dialogs_.lines(),
            (std::vector<QString>{kQuestion, "系统提示|系统数据修复失败! 请联系开发商..."}));
  EXPECT_EQ(value("select count ( *) from sys"), "0");
}

TEST_F(VersionRepairTest, ChainStopsAtTheRepairAfterStepTwosBox) {
  build_without_row();
  dialogs_.answer(true);
  EXPECT_EQ(upgrade::run_chain(), Outcome::restart_program);
  // Step 1 gives up without a box; step 2 says the base data is lost.
  EXPECT_EQ(dialogs_.lines(),
            (std::vector<QString>{"系统提示|系统基础数据丢失,不能升级,请与开发商联系", kQuestion}));
  EXPECT_FALSE(has_table("mem_item"));
  EXPECT_EQ(value("select count ( *) from mem_info where sum_deposit is null"), "1");
}

TEST_F(VersionRepairTest, StepOneLogsAFailedVersionRead) {
  build();
  exec("drop table sys");
  EXPECT_EQ(upgrade::f_ver(), Outcome::returned_early);
  EXPECT_TRUE(dialogs_.lines().empty());
  const QByteArray log = folder_.read("kv_log.txt");
  EXPECT_TRUE(log.startsWith("DBERR: ")) << log.toStdString();
  EXPECT_EQ(log.count('\n'), 1);
  EXPECT_FALSE(has_table("mem_item"));
}

// The null repairs of step 1 log a failed count for the first four columns and a failed
// update for integral and al_integral_c only; the log line carries the statement's error.
struct RepairLog {
  const char* failing;  // statements starting so fail, their text as the error
  std::vector<const char*> logged;
};

const RepairLog kRepairLogs[] = {
    {"select count ( *) from mem_info where",
     {"select count ( *) from mem_info where sum_deposit is null",
      "select count ( *) from mem_info where cash_consume is null",
      "select count ( *) from mem_info where integral is null",
      "select count ( *) from mem_info where al_integral_c is null"}},
    {"update mem_info SET",
     {"update mem_info SET integral =0 where integral is null",
      "update mem_info SET al_integral_c =0 where al_integral_c is null"}},
};

TEST_F(VersionRepairTest, StepOneLogsOnlyTheNullRepairsItLooksAt) {
  int n = 0;
  for (const RepairLog& c : kRepairLogs) {
    tools::FixtureOptions o;
    o.db_name = QStringLiteral("log%1").arg(++n);
    build(o);
    exec("update mem_info set integral =null , al_integral_c =null , cash_consume =null");
    QFile::remove(folder_.file("kv_log.txt"));
    const QString failing = QString::fromUtf8(c.failing);
    sqlca.set_fault_hook([&](const QString& sql) -> std::optional<db::DbError> {
      if (sql.startsWith(failing)) return db::DbError{-7, sql};
      return std::nullopt;
    });
    EXPECT_EQ(upgrade::f_ver(), Outcome::done) << c.failing;
    sqlca.set_fault_hook({});
    QStringList logged;
    for (const QByteArray& line : folder_.read("kv_log.txt").split('\n'))
      if (!line.trimmed().isEmpty())
        logged << QString::fromUtf8(line.trimmed()).section(QStringLiteral("-->"), 1);
    QStringList expected;
    for (const char* sql : c.logged) expected << QStringLiteral("-7-->") + QString::fromUtf8(sql);
    EXPECT_EQ(logged, expected) << c.failing;
    sqlca.disconnect();
  }
}

}  // namespace
