// kestrel itself, run as a program in a program folder whose template has lost its version
// row: Start reaches the third upgrade step, which asks whether to repair the row, and the
// answer ends the program or starts it again. A driver loaded into the program (LD_PRELOAD)
// presses the buttons and writes down what it sees.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include "db/transaction.h"
#include "shared/globals.h"
#include "tests/support/driven_program.h"
#include "tests/support/temp_program_folder.h"
#include "tools/fixture.h"
#include "tools/old_database.h"

namespace {

const QString kStepTwoBox = "box 系统提示|系统基础数据丢失,不能升级,请与开发商联系";
const QString kQuestion = "box 系统提示|系统版本数据丢失,是否启用自动修复程序";

class RestartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(test::copy_program(QStringLiteral(KESTREL_PROGRAM), dir.path()).isEmpty());
    tools::OldDatabaseOptions old;
    old.rows = {};
    old.blank_keys = false;
    ASSERT_EQ(tools::build_old_database(old), QString());
    tools::FixtureOptions t;
    t.db_name = "tmpl";
    t.version_row = false;
    ASSERT_EQ(tools::build_fixture(t), QString());
    ASSERT_TRUE(QFile::copy(dir.file("tmpl.mdf"), dir.file("base.mdf")));
    ASSERT_TRUE(QFile::copy(dir.file("tmpl.ldf"), dir.file("base.ldf")));
    tools::write_server_settings();
  }
  ~RestartTest() override { sqlca.disconnect(); }

  // Runs kestrel with the driver's script; its exit code, -1 when it did not end by itself.
  int run(const QString& script) {
    return test::run_driven_program(dir.file("kestrel"), script, dir.file("driver.log"), 120000);
  }

  QStringList log() {
    return QString::fromUtf8(dir.read("driver.log")).split('\n', Qt::SkipEmptyParts);
  }

  // Waits until the log holds `n` lines "end" (a restarted process is not our child).
  QStringList log_with_ends(int n) {
    QDeadlineTimer deadline(30000);
    while (log().count("end") < n && !deadline.hasExpired()) QThread::msleep(50);
    return log();
  }

  QString started_here() const {
    QString folder = dir.path();
    folder.chop(1);  // without its trailing '/'
    return QStringLiteral("start ") + folder;
  }

  QString version_row_count() {
    EXPECT_TRUE(tools::connect_fixture("velmo41"));
    const auto row = sqlca.select_row("select count ( *) from sys where id =1");
    sqlca.disconnect();
    return row.empty() ? QStringLiteral("<none>") : row[0].to_text();
  }

  test::TempProgramFolder dir;
};

TEST_F(RestartTest, NoEndsTheProgramWithoutRepair) {
  EXPECT_EQ(run("click:cb_test,ok,no"), 0);
  QThread::msleep(1000);  // time enough for a second start to show, were there one
  EXPECT_EQ(log(), (QStringList{started_here(), kStepTwoBox, kQuestion, "end"}));
  EXPECT_EQ(version_row_count(), "0");
}

TEST_F(RestartTest, YesRepairsAndStartsTheProgramAgainInItsFolder) {
  EXPECT_EQ(run("click:cb_test,ok,yes"), 0);
  // The first process ends and the second starts side by side; each logs its start and end.
  const QStringList lines = log_with_ends(2);
  EXPECT_EQ(lines.mid(0, 3), (QStringList{started_here(), kStepTwoBox, kQuestion}));
  EXPECT_EQ(lines.count(started_here()), 2) << lines.join('\n').toStdString();
  EXPECT_EQ(lines.count("end"), 2) << lines.join('\n').toStdString();
  EXPECT_EQ(lines.size(), 6) << lines.join('\n').toStdString();
  EXPECT_EQ(version_row_count(), "1");
}

TEST_F(RestartTest, RestartThatCannotStartSaysSoAndEnds) {
  EXPECT_EQ(run("click:cb_test,ok,unexec,yes,ok"), 0);
  EXPECT_EQ(log_with_ends(1),
            (QStringList{started_here(), kStepTwoBox, kQuestion,
                         "box 错误信息|系统数据已修复,程序重新启动失败,请重新运行本程序!", "end"}));
  EXPECT_EQ(version_row_count(), "1");
}

}  // namespace
