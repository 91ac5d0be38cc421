// kestrel's Start button on its real window, the embedded server, the data store and the whole
// upgrade chain: old database velmo40 at 4.00, template base.mdf at 4.00.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "db/sqlite_connection.h"
#include "db/transaction.h"
#include "kestrel/rebuild/del_b_list.h"
#include "kestrel/rebuild/start_action.h"
#include "kestrel/upgrade/chain.h"
#include "kestrel/w_main.h"
#include "runtime/codepage.h"
#include "shared/f_conect.h"
#include "shared/globals.h"
#include "shared/w_wait.h"
#include "tests/rebuild/carried_contents.h"
#include "tests/rebuild/demo_folder.h"
#include "tests/rebuild/hooked_store.h"
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
  db::SqliteConnection connection;
  ASSERT_EQ(connection.open(dir.file("velmo40.mdf").toUtf8().constData()), SQLITE_OK);
  sqlite3* writer = connection.get();
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
  connection.close();
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

namespace {

// What a label shows on the screen (its window's flushed backing store) against a fresh
// rendering of the window there: equal when the label's current text has been painted.
bool painted(QLabel* l) {
  QWidget* top = l->window();
  const QRect r(l->mapTo(top, QPoint(0, 0)), l->size());
  const QImage screen = top->screen()
                            ->grabWindow(top->winId(), r.x(), r.y(), r.width(), r.height())
                            .toImage()
                            .convertToFormat(QImage::Format_RGB32);
  return !screen.isNull() && screen == top->grab(r).toImage().convertToFormat(QImage::Format_RGB32);
}

// Each progress text names the step that runs while it runs: the status line and the wait
// window are looked at inside the long calls (the statements, the import of a table's file).
TEST_F(EndToEnd, TheProgressShownIsTheStepThatRuns) {
  kestrel::w_main w;
  w.open();
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QStringList wrong;
  long looks = 0;
  const auto look = [&](QLabel* l, const QString& step, const QString& expected) {
    if (!l) return;
    ++looks;
    const bool shown = painted(l);
    if (l->text() != expected || !shown)
      wrong << step + ": " + l->text() + (shown ? "" : " (not painted)") + ", not " + expected;
  };
  const auto wait_line = [&]() -> QLabel* {
    for (QWidget* t : QApplication::topLevelWidgets())
      if (auto* wait = dynamic_cast<w_wait*>(t); wait && wait->isVisible()) return wait->st_1;
    ADD_FAILURE() << "no wait window";
    return nullptr;
  };
  enum class Phase { before, emptying, importing } phase = Phase::before;
  int table = 0;
  sqlca.set_fault_hook([&](const QString& s) -> std::optional<db::DbError> {
    if (s.startsWith("sp_attach_db 'velmo41'")) look(w.st_11, s, "附加数据库2");
    if (phase == Phase::emptying && s.startsWith("delete from "))
      for (const rebuild::DelEntry& e : rebuild::del_b_list())
        if (s == QString("delete from ") + e.table)
          look(w.st_11, s, QString("初始化...%1/%2").arg(e.shown).arg(gi_tables));
    if (phase == Phase::importing && w.w_wait_open() && s.startsWith("insert into "))
      look(wait_line(), s.left(40), QString("保存数据:%1/%2中...").arg(table).arg(gi_tables));
    return std::nullopt;
  });
  const auto store = [&] {
    return std::make_unique<test::HookedStore>([&](const char* call, int n) {
      if (QByteArray(call) == "importfile") {
        phase = Phase::importing;
        table = n;
        look(wait_line(), QString("import %1").arg(n), QString("导入第:%1号表").arg(n));
      } else {
        const QString t = w.w_wait_text();
        look(wait_line(), QString("check %1").arg(n),
             t.startsWith("数据处理:1/") ? t : "数据处理:1/<rows>");
      }
    });
  };
  const auto upgrade = [&] {
    look(w.st_11, "upgrade", "升级数据库");
    const upgrade::Outcome o = upgrade::run_chain();
    phase = Phase::emptying;
    return o == upgrade::Outcome::done || o == upgrade::Outcome::returned_early;
  };
  rebuild::StartAction(w, {store, upgrade, f_conect}).clicked();
  sqlca.set_fault_hook({});
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(table, gi_tables);
  EXPECT_GT(looks, 2 * gi_tables);
  EXPECT_EQ(wrong.join('\n'), "");
}

}  // namespace

namespace {

// The wait window shows a run that goes on: a close request sent to it changes nothing.
TEST_F(EndToEnd, TheWaitWindowStaysWhileTheRunGoesOn) {
  kestrel::w_main w;
  w.open();
  w.show();
  int requests = 0;
  sqlca.set_fault_hook([&](const QString& s) -> std::optional<db::DbError> {
    if (!w.w_wait_open() || !s.startsWith("insert into ")) return std::nullopt;
    for (QWidget* t : QApplication::topLevelWidgets())
      if (auto* wait = dynamic_cast<w_wait*>(t)) {
        ++requests;
        EXPECT_FALSE(wait->close());
        if (QWindow* native = wait->windowHandle()) {
          EXPECT_FALSE(native->close());
        }
        EXPECT_TRUE(wait->isVisible());
      }
    return std::nullopt;
  });
  w.cb_test->triggerevent_clicked();
  sqlca.set_fault_hook({});
  EXPECT_GT(requests, 10);
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_FALSE(w.w_wait_open()) << "the run ends it";
}

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
      QStringLiteral("-->恢复表: 8(doc_m) 第%1行 列pay_type 值'abc': 不是该列类型的值").arg(line)))
      << log.back().toStdString();
  // The line names no text file: the run removes them all.
  EXPECT_FALSE(log.back().contains("tab_back_")) << log.back().toStdString();
  EXPECT_EQ(QDir(dir.path()).entryList({"tab_back_*.txt"}), QStringList{});
}

}  // namespace
