// kestrel itself, run as a program in a program folder whose template has lost its version
// row: Start reaches the third upgrade step, which asks whether to repair the row, and the
// answer ends the program or starts it again. A driver loaded into the program (LD_PRELOAD)
// presses the buttons and writes down what it sees.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include "db/transaction.h"
#include "shared/globals.h"
#include "tests/support/temp_program_folder.h"
#include "tools/fixture.h"
#include "tools/old_database.h"

namespace {

const QString kStepTwoBox = "box 系统提示|系统基础数据丢失,不能升级,请与开发商联系";
const QString kQuestion = "box 系统提示|系统版本数据丢失,是否启用自动修复程序";

class RestartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString program = dir.file("kestrel");
    ASSERT_TRUE(QFile::copy(QStringLiteral(KESTREL_PROGRAM), program));
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
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
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", QStringLiteral(SALON_GUI_DRIVER));
    env.insert("SALON_DRIVER_SCRIPT", script);
    env.insert("SALON_DRIVER_LOG", dir.file("driver.log"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // A sanitized build wants its runtime first among the libraries; the driver comes first.
    env.insert("ASAN_OPTIONS",
               env.value("ASAN_OPTIONS") + QStringLiteral(":verify_asan_link_order=0"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(dir.file("kestrel"), {});
    if (!p.waitForStarted() || !p.waitForFinished(120000)) {
      p.kill();
      p.waitForFinished();
      return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
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
