// kestrel's Start button on its real window, the embedded server, the data store and the whole
// upgrade chain: old database velmo40 at 4.00, template base.mdf at 4.00.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "db/transaction.h"
#include "kestrel/w_main.h"
#include "runtime/codepage.h"
#include "shared/globals.h"
#include "tests/rebuild/carried_contents.h"
#include "tests/rebuild/demo_folder.h"
#include "tests/rebuild/server_run.h"
#include "tests/rebuild/sqlite_db.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace {

using Lines = std::vector<QString>;

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    test::build_demo_folder(old_upgraded);
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
  // The rows the import left out are named in the log.
  const QStringList log = rt::from_cp936(dir.read("kv_log.txt")).split("\r\n").filter("IMPORT: ");
  ASSERT_EQ(log.size(), 3) << log.join('\n').toStdString();
  EXPECT_TRUE(log[0].contains("-->表info_item的2行键为空,未导入: item_id='' item_name='名称"));
  EXPECT_TRUE(log[1].contains("-->表info_ware的2行键为空,未导入: ware_id='' ware_name='名称"));
  EXPECT_TRUE(log[2].contains("-->表emp_info的1行键为空,未导入: emp_id='' emp_name='名称"));
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
