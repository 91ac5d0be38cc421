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

namespace {

// Values an older program stored as it was given them in the old database: decimals beyond
// their scale, negative ones, date-times in the forms SQL Server takes, a number with a
// fraction in an int column, code page 936 bytes in a char column, nulls. velmo41 holds them
// as SQL Server would, in the form it stores.
TEST_F(EndToEnd, ValuesArriveAsSqlServerHoldsThem) {
  {
    test::SqliteDb old(dir.file("velmo40.mdf"));
    ASSERT_TRUE(
        old.exec("insert into doc_m (doc_id, doc_date, pay_type, cash, card, oper, state) values "
                 "('W1', '2024/03/05', 2.5, 2.675, 0.125, cast(x'd6d0cec4' as text), null),"
                 "('W2', '20240305 10:00', -2.5, -2.675, -0.125, '会员', 1),"
                 "('W3', 'Mar  5 2024 10:00AM', 1, 12, '1.005', null, 0),"
                 "('W4', '2024-03-05T10:00:00.5', 0, null, 9.995, '', 2),"
                 "('W5', null, null, 0.004, -0.005, 'x', null),"
                 "('W6', '2024-03-05 23:59:59.997', 2, 12.5, 0.1, 'y', 3),"
                 "('W7', '20240305', 3, 1, 1, 'z', 4)"));
  }
  const QByteArray before = test::checksum(dir.file("velmo40.mdf"));
  kestrel::w_main w;
  w.open();
  w.cb_test->triggerevent_clicked();
  ASSERT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  test::SqliteDb got(dir.file("velmo41.mdf"));
  EXPECT_EQ(got.rows("select doc_id, quote(doc_date), quote(pay_type), quote(cash), quote(card), "
                     "oper, quote(state) from doc_m where doc_id like 'W%' order by doc_id"),
            (QStringList{"W1|'2024-03-05 00:00:00.000'|2|2.68|0.13|中文|NULL",
                         "W2|'2024-03-05 10:00:00.000'|-2|-2.68|-0.13|会员|1",
                         "W3|'2024-03-05 10:00:00.000'|1|12|1.01|~|0",
                         "W4|'2024-03-05 10:00:00.500'|0|NULL|10||2", "W5|NULL|NULL|0|-0.01|x|NULL",
                         "W6|'2024-03-05 23:59:59.997'|2|12.5|0.1|y|3",
                         "W7|'2024-03-05 00:00:00.000'|3|1|1|z|4"}));
  // An empty text stays an empty text, distinct from a null.
  EXPECT_EQ(got.rows("select quote(oper) from doc_m where doc_id = 'W4'"), QStringList{"''"});
  EXPECT_EQ(test::checksum(dir.file("velmo40.mdf")), before);
}

// A value no SQL Server column of its type holds (text in an int column) still stops the
// run, and the log names where it is.
TEST_F(EndToEnd, ALineTheImportRefusesIsNamedInTheLog) {
  long line = 0;
  {
    test::SqliteDb old(dir.file("velmo40.mdf"));
    ASSERT_TRUE(old.exec("insert into doc_m (doc_id, pay_type) values ('W9', 'abc')"));
    line = old.rows("select count(*) from doc_m").value(0).toLong();
  }
  kestrel::w_main w;
  w.open();
  w.cb_test->triggerevent_clicked();
  EXPECT_EQ(dialogs.lines(), Lines{"错误提示|恢复表: 8失败?import错误号:-4"});
  const QStringList log =
      rt::from_cp936(dir.read("kv_log.txt")).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  ASSERT_FALSE(log.isEmpty());
  EXPECT_TRUE(log.back().startsWith("IMPERR: ")) << log.back().toStdString();
  EXPECT_TRUE(log.back().endsWith(
      QStringLiteral(
          "-->恢复表: 8(doc_m) tab_back_8.txt 第%1行 列pay_type 值'abc': 不是该列类型的值")
          .arg(line)))
      << log.back().toStdString();
}

}  // namespace
