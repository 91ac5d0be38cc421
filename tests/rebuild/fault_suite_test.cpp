// The rebuild survives every fault. A child process runs kestrel's Start action on a fresh
// demo-like program folder and is killed (SIGKILL) at a chosen statement or at a seeded random
// moment, or meets a read error, a lock held too long or a second kestrel. Whatever it was,
// nothing may be lost, and one plain Start afterwards must end with "数据库处理完毕!" with
// velmo41 holding every row of the old database (less the blank keys the import drops) and the
// old database's files byte-identical.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <random>

#include "db/master_catalog.h"
#include "db/transaction.h"
#include "runtime/settings_file.h"
#include "shared/globals.h"
#include "shared/sp_attach_db.h"
#include "tests/rebuild/carried_contents.h"
#include "tests/rebuild/server_run.h"
#include "tests/rebuild/sqlite_db.h"
#include "tests/support/child_process.h"
#include "tests/support/full_disk_env.h"
#include "tests/support/temp_program_folder.h"
#include "tools/fixture.h"
#include "tools/old_database.h"

namespace {

using Lines = std::vector<QString>;

const QString kDone = QStringLiteral("系统提示|数据库处理完毕!");
const QString kRefused =
    QStringLiteral("系统提示|另一个程序正在处理本目录的数据库,请等它处理完毕后再开始!");

QStringList lines_of(const test::ChildEnd& end) {
  QStringList out;
  for (const QString& l : end.output.split('\n', Qt::SkipEmptyParts)) out << l.trimmed();
  return out;
}

// The boxes a child showed (see rebuild_child.cpp).
Lines boxes(const test::ChildEnd& end) {
  Lines b;
  for (const QString& l : lines_of(end))
    if (l.startsWith("box:")) b.push_back(l.mid(4));
  return b;
}

QString child_program() { return test::sibling_program("rebuild_child"); }

// A plain Start on a program folder, with the keep options that purge when asked.
test::ChildEnd plain_start(bool purge = false, const QString& folder = gs_apppath) {
  QStringList args{folder};
  if (purge) args << "--purge";
  return test::run_child(child_program(), args, 240000);
}

// Every object's definition and every table's rows of a database file: the whole database.
QStringList whole_database(const QString& file) {
  test::SqliteDb db(file);
  QStringList out = db.rows(
      "select type || ' ' || name || ': ' || ifnull ( sql , '' ) from "
      "sqlite_master order by type , name");
  for (const QString& t : db.rows("select name from sqlite_master where type = 'table' order "
                                  "by name")) {
    QStringList rows = db.rows("select * from \"" + t + "\"");
    rows.sort();
    out << "[" + t + "]" << rows;
  }
  return out;
}

// The first line where two whole databases differ; empty when they are equal.
std::string first_difference(const QStringList& expected, const QStringList& got) {
  for (qsizetype i = 0; i < std::max(expected.size(), got.size()); ++i) {
    const QString x = expected.value(i, "<end>"), y = got.value(i, "<end>");
    if (x != y) return ("expected " + x.left(300) + "\n   got " + y.left(300)).toStdString();
  }
  return {};
}

// A kestrel with a fault, followed while it runs.
class Child {
 public:
  explicit Child(const QStringList& options,
                 const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    p_.setProcessEnvironment(env);
    p_.setProcessChannelMode(QProcess::MergedChannels);
    p_.start(child_program(), QStringList{gs_apppath} + options);
    p_.waitForStarted();
  }
  ~Child() {
    if (p_.state() != QProcess::NotRunning) {
      kill();
      p_.waitForFinished();
    }
  }
  // Reads what it prints until that line; false when it ended first.
  bool wait_for(const QString& line) {
    for (;;) {
      while (p_.canReadLine()) out_ += QString::fromUtf8(p_.readLine());
      if (out_.split('\n').contains(line)) return true;
      if (p_.state() == QProcess::NotRunning || !p_.waitForReadyRead(120000)) return false;
    }
  }
  // True when it ended within `ms`.
  bool ends_within(int ms) { return p_.waitForFinished(ms); }
  void kill() { ::kill(static_cast<pid_t>(p_.processId()), SIGKILL); }
  void write_line() {
    p_.write("go\n");
    p_.waitForBytesWritten();
  }
  test::ChildEnd finish() {
    test::ChildEnd end;
    end.started = true;
    p_.waitForFinished(240000);
    end.output = out_ + QString::fromUtf8(p_.readAll());
    // A signal is reported as a crash with the signal's number as exit code.
    if (p_.exitStatus() == QProcess::CrashExit)
      end.killed = p_.exitCode() == SIGKILL;
    else
      end.exit_code = p_.exitCode();
    return end;
  }

 private:
  QProcess p_;
  QString out_;
};

enum class Fault {
  kill_at,         // SIGKILL just before the statement `at`
  kill_random,     // SIGKILL at a moment drawn from `seed`
  fail_at,         // the statement `at` fails
  lock_at,         // another process locks the old database's file for good just before `at`
  second_kestrel,  // a second kestrel is started while the first waits at `at`
  full_disk,       // the program folder's disk holds `free` bytes more
};

struct Case {
  const char* name;
  Fault fault;
  // A statement's beginning, or "A>B>...": the first B after an A, ... (so no ">" inside).
  const char* at = "";
  Lines boxes = {};               // what the run with the fault shows, when it is not killed
  bool source_is_target = false;  // database_name=velmo41: the old database is velmo41 itself
  bool rebuilt_before = false;    // a completed run first, so velmo41 holds rows to lose
  unsigned seed = 0;
  bool purge = false;  // both runs with keep options that purge (rebuild_child --purge)
  bool local = false;  // the local kind: velmo40.db copied to velmo41.db, then purged
  bool whole = false;  // the result is compared whole with an uninterrupted run's
  qint64 free = 0;     // Fault::full_disk
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const Case cases[] = {
    {"KilledDuringTheExport", Fault::kill_at, "select * from doc_m"},
    {"KilledBetweenTwoColumnsOfAClauseList", Fault::kill_at, "alter table mem_info add gj"},
    {"KilledBetweenTheCopyAndTheAttach", Fault::kill_at, "sp_attach_db"},
    {"KilledAfterTheFirstDelete", Fault::kill_at, "delete from yhrz"},
    {"KilledAtAMiddleDelete", Fault::kill_at, "delete from mem_info"},
    {"KilledDuringTheImportOfAMiddleTable", Fault::kill_at, "insert into mem_info"},
    {"KilledJustBeforeTheImportsCommit", Fault::kill_at, "insert into week_plan>COMMIT"},
    {"KilledJustBeforeThePurgesCommit", Fault::kill_at, "insert into week_plan>CONNECT>COMMIT"},
    {"SourceIsTargetKilledDuringTheImport", Fault::kill_at, "insert into mem_info", {}, true},
    {"SourceIsTargetKilledAfterTheEmptying",
     Fault::kill_at,
     "delete from week_plan>insert into",
     {},
     true},
    {"KilledAtRandom1", Fault::kill_random, "", {}, false, true, 1},
    {"KilledAtRandom2", Fault::kill_random, "", {}, false, true, 2},
    {"SourceIsTargetKilledAtRandom3", Fault::kill_random, "", {}, true, true, 3},
    {"SourceIsTargetKilledAtRandom4", Fault::kill_random, "", {}, true, true, 4},
    {"ReadErrorInTheExportOfOneTable",
     Fault::fail_at,
     "select mem_id, mem_name",
     {"备份失败|导出表: mem_info失败!"},
     false,
     true},
    // Once the export reads, no other program can lock the old database for writing until it
    // has read every table; a lock taken before it begins outlasts the busy timeout.
    {"OldDatabaseLockedLongerThanTheBusyTimeout",
     Fault::lock_at,
     "select snapshot_isolation_state",
     {"备份失败|导出表: dhfsq失败!"},
     false,
     true},
    {"FailedDeleteInTheMiddleOfTheEmptying",
     Fault::fail_at,
     "delete from mem_info",
     {"系统提示|删除原数据出错!"},
     true},
    // A text file that does not fit stops the run before anything is emptied.
    {.name = "DiskFullDuringTheExport",
     .fault = Fault::full_disk,
     .boxes = {"备份失败|导出表: doc_item失败!"},
     .rebuilt_before = true,
     .free = 30000},
    // A template copy that does not fit is neither attached nor left as a database.
    {.name = "DiskFullDuringTheTemplateCopy",
     .fault = Fault::full_disk,
     .boxes = {"创建数据库失败|生成数据库文件失败！"},
     .free = 5000},
    {"SecondKestrelWhileARunIsInProgress", Fault::second_kestrel, "delete from mem_info", {kDone}},
    // A clause of the upgrade that fails without a crash: its list is undone whole, so the next
    // run adds it again.
    {.name = "ClauseOfTheUpgradeFails",
     .fault = Fault::fail_at,
     .at = "alter table doc_item add emp_m",
     .boxes = {"错误信息|版本升级失败-doc_item! 停止升级"},
     .whole = true},
    // The purge is one transaction: a kill anywhere in it leaves velmo41 as the import (or the
    // copy) left it, never documents without their items.
    {.name = "PurgeKilledAtItsFirstStatement",
     .fault = Fault::kill_at,
     .at = "delete from doc_item where doc_id in ( select doc_id from doc_m where pay_type <",
     .purge = true},
    {.name = "PurgeKilledAtAMiddleStatement",
     .fault = Fault::kill_at,
     .at = "delete from wage_data where month_id",
     .purge = true},
    {.name = "PurgeKilledAtItsLastStatement",
     .fault = Fault::kill_at,
     .at = "delete from mem_fund where money",
     .purge = true},
    {.name = "SourceIsTargetPurgeKilledAtAMiddleStatement",
     .fault = Fault::kill_at,
     .at = "delete from doc_m where doc_date <",
     .source_is_target = true,
     .purge = true},
    {.name = "LocalPurgeKilledAtItsFirstStatement",
     .fault = Fault::kill_at,
     .at = "delete from doc_item where doc_id in ( select doc_id from doc_m where pay_type <",
     .purge = true,
     .local = true},
    {.name = "LocalPurgeKilledAtAMiddleStatement",
     .fault = Fault::kill_at,
     .at = "delete from wage_data where month_id",
     .purge = true,
     .local = true},
    {.name = "LocalPurgeKilledAtItsLastStatement",
     .fault = Fault::kill_at,
     .at = "delete from mem_fund where money",
     .purge = true,
     .local = true},
};

class RebuildFault : public ::testing::TestWithParam<Case> {
 protected:
  // The demo's template and old database, built once and copied into each case's folder.
  static void SetUpTestSuite() {
    pristine_ = new QTemporaryDir;
    set_program_folder(pristine_->path());
    tools::FixtureOptions tmpl;
    tmpl.db_name = "tmpl";
    build_error_ = tools::build_fixture(tmpl);
    tools::OldDatabaseOptions old;
    old.upgraded = true;
    if (build_error_.isEmpty()) build_error_ = tools::build_old_database(old);
    sqlca.disconnect();
  }
  static void TearDownTestSuite() { delete pristine_; }

  void SetUp() override {
    ASSERT_EQ(build_error_, QString());
    prepare(dir.path());
  }
  ~RebuildFault() override { sqlca.disconnect(); }

  // A program folder as the demo makes one: the template, the old database attached on the
  // folder's embedded server, velmo40.db for the local kind, user.ini naming the case's kind.
  void prepare(const QString& folder) {
    const QString from = pristine_->path() + "/";
    const std::pair<const char*, const char*> files[] = {{"tmpl.mdf", "base.mdf"},
                                                         {"tmpl.ldf", "base.ldf"},
                                                         {"velmo40.mdf", "velmo40.mdf"},
                                                         {"velmo40.ldf", "velmo40.ldf"},
                                                         {"velmo40.mdf", "velmo40.db"}};
    for (const auto& [src, dst] : files) ASSERT_TRUE(QFile::copy(from + src, folder + dst)) << dst;
    set_program_folder(folder);
    test::ServerRun::connect("master");
    sqlca.execute_immediate(
        shared::sp_attach_db("velmo40", folder + "velmo40.mdf", folder + "velmo40.ldf"));
    ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
    sqlca.disconnect();
    tools::write_server_settings();
    if (GetParam().local) rt::set_profile_string(gs_inifile, "database", "database_type", "1");
    set_program_folder(dir.path());
  }

  // The whole database an uninterrupted run with the case's options leaves, made in a program
  // folder of its own.
  QStringList uninterrupted_result() {
    const QString folder = dir.path() + "uninterrupted/";
    QDir().mkpath(folder);
    prepare(folder);
    const test::ChildEnd end = plain_start(GetParam().purge, folder);
    EXPECT_EQ(boxes(end), Lines{kDone}) << end.output.toStdString();
    return whole_database(folder + velmo41_file());
  }
  QString velmo41_file() const { return GetParam().local ? "velmo41.db" : "velmo41.mdf"; }

  QByteArray old_files() const {
    return test::checksum(dir.file("velmo40.mdf")) + test::checksum(dir.file("velmo40.ldf")) +
           test::checksum(dir.file("velmo40.db"));
  }
  QStringList text_files() const {
    return QDir(dir.path()).entryList({"tab_back_*.txt"}, QDir::Files);
  }

  test::TempProgramFolder dir;
  static inline QTemporaryDir* pristine_ = nullptr;
  static inline QString build_error_;
};

TEST_P(RebuildFault, NothingIsLostAndOnePlainStartCompletesTheRebuild) {
  const Case& c = GetParam();
  const test::Columns cols = test::carried_columns("velmo40");
  test::Contents expected = test::carried_rows("velmo40", cols);
  ASSERT_EQ(test::drop_blank_keys(expected, cols), 5);
  const QByteArray old_sum = old_files();
  const QStringList uninterrupted = c.purge || c.whole ? uninterrupted_result() : QStringList{};

  if (c.rebuilt_before || c.source_is_target) {
    const test::ChildEnd first = plain_start();
    ASSERT_EQ(boxes(first), Lines{kDone});
    ASSERT_EQ(first.exit_code, 0);
  }
  if (c.source_is_target) tools::write_server_settings("velmo41");
  // A random moment lies within a run like the one it disturbs, timed first.
  qint64 plain_ms = 0;
  if (c.fault == Fault::kill_random) {
    Child timed({});
    ASSERT_TRUE(timed.wait_for("started"));
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(boxes(timed.finish()), Lines{kDone});
    plain_ms = clock.elapsed();
  }
  const test::Contents before = QFile::exists(dir.file("velmo41.mdf"))
                                    ? test::carried_rows("velmo41", cols)
                                    : test::Contents{};

  Child child((c.purge ? QStringList{"--purge"} : QStringList{}) +
                  (c.fault == Fault::kill_at          ? QStringList{"--kill-at", c.at}
                   : c.fault == Fault::fail_at        ? QStringList{"--fail-at", c.at}
                   : c.fault == Fault::lock_at        ? QStringList{"--lock-at", c.at}
                   : c.fault == Fault::second_kestrel ? QStringList{"--pause-at", c.at}
                                                      : QStringList{}),
              c.fault == Fault::full_disk ? test::full_disk(dir.path(), c.free)
                                          : QProcessEnvironment::systemEnvironment());
  ASSERT_TRUE(child.wait_for("started"));
  switch (c.fault) {
    case Fault::kill_random: {
      std::mt19937 draw(c.seed);
      const int ms =
          std::uniform_int_distribution<int>(0, static_cast<int>(plain_ms * 9 / 10))(draw);
      RecordProperty("kill_after_ms", ms);
      if (!child.ends_within(ms)) child.kill();
      break;
    }
    case Fault::second_kestrel: {
      ASSERT_TRUE(child.wait_for("paused"));
      const test::ChildEnd second = plain_start();
      EXPECT_EQ(boxes(second), Lines{kRefused});
      EXPECT_EQ(second.exit_code, 0);
      child.write_line();
      break;
    }
    default:
      break;
  }
  const test::ChildEnd faulty = child.finish();
  RecordProperty("killed", faulty.killed);
  if (c.fault == Fault::kill_at) {
    EXPECT_TRUE(lines_of(faulty).contains("killing")) << "the kill point was never reached";
    EXPECT_TRUE(faulty.killed);
  }
  if (c.fault != Fault::kill_at && c.fault != Fault::kill_random) {
    EXPECT_EQ(faulty.exit_code, 0);
    EXPECT_EQ(boxes(faulty), c.boxes);
    if (boxes(faulty) != Lines{kDone}) {
      EXPECT_EQ(text_files(), QStringList{}) << "a failed run left the rows in plain text";
    }
    EXPECT_EQ(QDir(dir.path()).entryList({".salon-*"}, QDir::Files | QDir::Hidden), QStringList{})
        << "a temporary file left";
    if (c.fault == Fault::full_disk && before.empty()) {
      EXPECT_FALSE(QFile::exists(dir.file("velmo41.mdf"))) << "a truncated copy left";
      EXPECT_FALSE(db::find_database(gs_apppath, "velmo41")) << "a catalog entry left";
    }
  }
  if (!before.empty()) {
    EXPECT_EQ(test::first_difference(before, test::carried_rows("velmo41", cols)), "")
        << "lost by the run with the fault";
  }
  if (c.purge && c.fault == Fault::kill_at) {
    // Nothing of the purge stayed: velmo41 holds what the copy or the import gave it.
    if (c.local)
      EXPECT_EQ(first_difference(whole_database(dir.file("velmo40.db")),
                                 whole_database(dir.file("velmo41.db"))),
                "");
    else
      EXPECT_EQ(test::first_difference(c.source_is_target ? before : expected,
                                       test::carried_rows("velmo41", cols)),
                "")
          << "a purge half done";
  }
  EXPECT_EQ(old_files(), old_sum);

  const test::ChildEnd plain = plain_start(c.purge);
  EXPECT_EQ(boxes(plain), Lines{kDone}) << plain.output.toStdString();
  EXPECT_EQ(plain.exit_code, 0);
  if (!uninterrupted.isEmpty())
    EXPECT_EQ(first_difference(uninterrupted, whole_database(dir.file(velmo41_file()))), "");
  else
    EXPECT_EQ(test::first_difference(c.source_is_target ? before : expected,
                                     test::carried_rows("velmo41", cols)),
              "");
  EXPECT_EQ(old_files(), old_sum);
  EXPECT_EQ(text_files(), QStringList{});
}

INSTANTIATE_TEST_SUITE_P(Cases, RebuildFault, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
