// kestrel's Start button on its real window, the embedded server, the data store and the whole
// upgrade chain: old database velmo40 at 4.00, template base.mdf at 4.00.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>

#include "db/transaction.h"
#include "kestrel/w_main.h"
#include "shared/globals.h"
#include "tests/rebuild/carried_contents.h"
#include "tests/rebuild/server_run.h"
#include "tests/rebuild/sqlite_db.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"
#include "tools/fixture.h"
#include "tools/old_database.h"

namespace {

using Lines = std::vector<QString>;

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    sqlca.disconnect();
    tools::OldDatabaseOptions old;
    old.upgraded = old_upgraded;
    ASSERT_EQ(tools::build_old_database(old), QString());
    tools::FixtureOptions t;
    t.db_name = "tmpl";
    ASSERT_EQ(tools::build_fixture(t), QString());
    ASSERT_TRUE(QFile::copy(dir.file("tmpl.mdf"), dir.file("base.mdf")));
    ASSERT_TRUE(QFile::copy(dir.file("tmpl.ldf"), dir.file("base.ldf")));
    tools::write_server_settings();
    old_sum = test::checksum(dir.file("velmo40.mdf"));
  }
  ~EndToEnd() override { sqlca.disconnect(); }

  // Every row of the old database but those with a blank key reaches velmo41.
  void full_run_carries_every_row();

  test::TempProgramFolder dir;
  test::ScriptedDialogs dialogs;
  QByteArray old_sum;
  bool old_upgraded = false;
};

// The old database at 16.10 already, with every table filled.
class EndToEndFromCurrent : public EndToEnd {
 protected:
  EndToEndFromCurrent() { old_upgraded = true; }
};

TEST_F(EndToEnd, DefaultOptionsCarryEveryRowButTheBlankKeys) { full_run_carries_every_row(); }

TEST_F(EndToEndFromCurrent, DefaultOptionsCarryEveryRowButTheBlankKeys) {
  full_run_carries_every_row();
}

void EndToEnd::full_run_carries_every_row() {
  const test::Columns cols = test::carried_columns("velmo40");
  test::Contents expected = test::carried_rows("velmo40", cols);
  EXPECT_EQ(test::drop_blank_keys(expected, cols), 5);

  kestrel::w_main w;
  w.open();
  ASSERT_TRUE(w.rb_2->isChecked());
  w.cb_test->triggerevent_clicked();

  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(w.hpb_1->value(), 8);
  EXPECT_EQ(w.st_11->text(), "复制完成!");
  EXPECT_FALSE(w.w_wait_open());
  EXPECT_EQ(QDir(dir.path()).entryList({"tab_back_*.txt"}), QStringList{});
  const test::Contents got = test::carried_rows("velmo41", cols);
  EXPECT_EQ(test::first_difference(expected, got), "");
  long carried = 0;
  for (const auto& [n, r] : got) carried += r.size();
  EXPECT_GT(carried, 5000);
  EXPECT_EQ(test::checksum(dir.file("velmo40.mdf")), old_sum);
}

}  // namespace

namespace {

long count_in(const QString& db_name, const QString& sql) {
  test::ServerRun::connect(db_name);
  const auto row = sqlca.select_row(sql);
  const long n = row.empty() ? -1 : static_cast<long>(row[0].to_integer());
  sqlca.disconnect();
  return n;
}

// A table that neither the template nor the old database has is nothing to carry: it
// exports as empty, the emptying finds nothing to delete and the count finds no rows.
TEST_F(EndToEnd, ATableMissingFromBothDatabasesIsNoFailure) {
  for (const char* file : {"velmo40.mdf", "base.mdf"})
    ASSERT_TRUE(test::SqliteDb(dir.file(file)).exec("drop table dhfsq"));
  old_sum = test::checksum(dir.file("velmo40.mdf"));
  full_run_carries_every_row();
  EXPECT_EQ(count_in("velmo41", "select count(*) from dhfsq"), -1);
}

// The salon program writes a member and his deposit while the export runs, after the members
// were read and before the deposits are: the export reads every table as of one moment, so
// the writer's commit waits until the export is done, and velmo41 never gets a deposit
// without its member.
TEST_F(EndToEnd, TheExportReadsEveryTableAsOfOneMoment) {
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(dir.file("velmo40.mdf").toUtf8().constData(), &writer), SQLITE_OK);
  sqlite3_busy_timeout(writer, 200);
  int commit = SQLITE_OK;
  sqlca.set_fault_hook([&](const QString& s) -> std::optional<db::DbError> {
    if (s == "select * from mem_fund where 1 = 0") {
      sqlite3_exec(writer,
                   "begin; insert into mem_info ( mem_id ) values ( 'M9' );"
                   "insert into mem_fund ( mem_id , fund_time , money ) values"
                   " ( 'M9' , '2031-06-01 10:00:00.000' , 50 )",
                   nullptr, nullptr, nullptr);
      commit = sqlite3_exec(writer, "commit", nullptr, nullptr, nullptr);
    }
    return std::nullopt;
  });
  kestrel::w_main w;
  w.open();
  w.cb_test->triggerevent_clicked();
  sqlca.set_fault_hook({});
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(commit, SQLITE_BUSY);
  EXPECT_EQ(count_in("velmo41", "select count(*) from mem_fund where mem_id = 'M9'"), 0);
  EXPECT_EQ(count_in("velmo41", "select count(*) from mem_info where mem_id = 'M9'"), 0);
  // Once the export is done the writer gets through, and the next run carries both rows.
  EXPECT_EQ(sqlite3_exec(writer, "commit", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(writer);
  dialogs.clear();
  w.cb_test->triggerevent_clicked();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(count_in("velmo41", "select count(*) from mem_fund where mem_id = 'M9'"), 1);
  EXPECT_EQ(count_in("velmo41", "select count(*) from mem_info where mem_id = 'M9'"), 1);
}

TEST_F(EndToEnd, ClearedCashOptionDropsCashDocumentsWithTheirItems) {
  const long docs = count_in("velmo40", "select count(*) from doc_m");
  const long cash = count_in("velmo40", "select count(*) from doc_m where pay_type <= 1");
  ASSERT_GT(cash, 0);
  kestrel::w_main w;
  w.open();
  w.cbx_4->setChecked(false);
  w.cb_test->triggerevent_clicked();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(count_in("velmo41", "select count(*) from doc_m"), docs - cash);
  EXPECT_EQ(count_in("velmo41", "select count(*) from doc_m where pay_type <= 1"), 0);
  EXPECT_EQ(count_in("velmo41",
                     "select count(*) from doc_item where doc_id not in"
                     " ( select doc_id from doc_m )"),
            0);
  EXPECT_EQ(count_in("velmo40", "select count(*) from doc_m"), docs);
}

TEST_F(EndToEnd, LocalKindCopiesTheOldFileAndPurgesThroughOdbc) {
  ASSERT_TRUE(QFile::copy(dir.file("velmo40.mdf"), dir.file("velmo40.db")));
  const QByteArray before = test::checksum(dir.file("velmo40.db"));
  kestrel::w_main w;
  w.open();
  w.rb_1->setChecked(true);
  w.cbx_2->setChecked(false);
  w.cb_test->triggerevent_clicked();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(w.hpb_1->value(), 8);
  test::SqliteDb copy(dir.file("velmo41.db"));
  EXPECT_EQ(copy.count("mem_info"), 0);
  EXPECT_GT(copy.count("doc_m"), 0);
  EXPECT_EQ(test::checksum(dir.file("velmo40.db")), before);
}

}  // namespace

namespace {

TEST_F(EndToEnd, DuringARunTheWindowStaysOpenAndStartIsIgnored) {
  kestrel::w_main w;
  w.open();
  w.show();
  int attempts = 0;
  sqlca.set_fault_hook([&](const QString& s) -> std::optional<db::DbError> {
    if (s == "delete from emp_tm_yj") {
      ++attempts;
      w.close();
      w.cb_test->triggerevent_clicked();
    }
    return std::nullopt;
  });
  w.cb_test->triggerevent_clicked();
  sqlca.set_fault_hook({});
  EXPECT_EQ(attempts, 1);
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  w.close();
  EXPECT_FALSE(w.isVisible());
}

}  // namespace
