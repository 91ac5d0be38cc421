// A database without its version row: step 1 and 2 give up, step 3 offers the repair.
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

}  // namespace
