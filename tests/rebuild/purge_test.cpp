#include "kestrel/rebuild/purge.h"

#include <gtest/gtest.h>

#include <QDir>

#include "kestrel/rebuild/keep_options.h"
#include "tests/db/embedded_fixture.h"
#include "tests/rebuild/fake_window.h"
#include "tests/rebuild/server_run.h"
#include "tests/rebuild/sqlite_db.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace {

TEST(KeepOptions, ConversionsOfTheDateAndAmountTexts) {
  EXPECT_EQ(rebuild::cut_off_day("2024/03/01"), QDateTime(QDate(2024, 3, 1), QTime(0, 0)));
  EXPECT_EQ(rebuild::cut_off_day("2024/3/1"), QDateTime(QDate(2024, 3, 1), QTime(0, 0)));
  EXPECT_EQ(rebuild::cut_off_day("2024/1/15"), QDateTime(QDate(2024, 1, 15), QTime(0, 0)));
  EXPECT_EQ(rebuild::month_of(*rebuild::cut_off_day("2024/03/31")), "202403");
  for (const char* bad : {"", "    /  /  ", "2024/02/30", "2024-03-01", "abc"})
    EXPECT_FALSE(rebuild::cut_off_day(bad)) << bad;
  EXPECT_EQ(rebuild::cut_off_amount("100.00"), 100.0);
  EXPECT_EQ(rebuild::cut_off_amount(" 0.50 "), 0.5);
  for (const char* bad : {"", " ", ".", "1,00", "x1"})
    EXPECT_FALSE(rebuild::cut_off_amount(bad)) << bad;
}

const char kBadDate[] = "错误提示|指定时间为空或无效,\r\n请输入正确的日期!";
const char kBadAmount[] = "错误提示|指定金额为空或无效,\r\n请输入正确的金额!";

// Every file of the program folder with its checksum.
QStringList folder_state(const test::TempProgramFolder& dir) {
  QStringList out;
  for (const QString& f : QDir(dir.path()).entryList(QDir::Files, QDir::Name))
    out << f + " " + test::checksum(dir.file(f));
  return out;
}

// A checked date or amount option whose field is empty or does not convert would delete nothing
// and look done: the Start action refuses it before anything happens, on either kind.
TEST(KeepOptions, StartRefusesAFieldThatDoesNotConvert) {
  test::TempProgramFolder dir;
  test::sqlite_file(dir.file("velmo40.db"), "create table mem_info (mem_id varchar(20));");
  test::sqlite_file(dir.file("velmo41.db"), "create table mem_info (mem_id varchar(20));");
  const QStringList before = folder_state(dir);
  struct Case {
    int box;
    const char *em_1, *em_2, *refusal;
  } cases[] = {
      {5, "", "100.00", kBadDate},
      {5, "2031/02/30", "100.00", kBadDate},
      {6, "2031/06/15", "", kBadAmount},
      {6, "2031/06/15", "1,00", kBadAmount},
  };
  for (const bool server : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(server ? "SQL Server " : "local ") + c.em_1 + "|" + c.em_2);
      test::ScriptedDialogs dialogs;
      test::FakeWindow w;
      w.connection.rb_2 = server;
      w.cbx[c.box] = true;
      w.em_1 = c.em_1;
      w.em_2 = c.em_2;
      int statements = 0;
      sqlca.set_fault_hook([&](const QString&) -> std::optional<db::DbError> {
        ++statements;
        return std::nullopt;
      });
      rebuild::StartAction(w, {nullptr, nullptr, nullptr}).clicked();
      sqlca.set_fault_hook({});
      EXPECT_EQ(dialogs.lines(), std::vector<QString>{c.refusal});
      EXPECT_EQ(dialogs.shown()[0].kind, test::Shown::Failure);
      EXPECT_EQ(statements, 0);
      EXPECT_EQ(w.position, -1) << "the bar is not even reset";
      EXPECT_TRUE(w.st_11_history.isEmpty());
      EXPECT_EQ(folder_state(dir), before);
    }
  }
}

// The keep options stay usable while a run yields: one changed meanwhile is checked again
// before the purge connects.
TEST(KeepOptions, AnOptionChangedDuringTheRunIsCheckedBeforeThePurge) {
  struct ChangingWindow : test::FakeWindow {
    void set_st_11(const QString& t) override {
      FakeWindow::set_st_11(t);
      if (t == "复制完成!") cbx[6] = true, em_2 = "";
    }
  };
  test::TempProgramFolder dir;
  test::ScriptedDialogs dialogs;
  test::sqlite_file(dir.file("velmo40.db"),
                    "create table mem_info (mem_id varchar(20)); insert into mem_info values (1);");
  ChangingWindow w;
  w.connection.rb_2 = false;
  w.cbx[2] = false;
  int connects = 0;
  rebuild::StartAction(w, {nullptr, nullptr, [&](auto&&...) { return ++connects; }}).clicked();
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{kBadAmount});
  EXPECT_EQ(connects, 0);
  EXPECT_EQ(w.position, 2);
  EXPECT_EQ(test::SqliteDb(dir.file("velmo41.db")).count("mem_info"), 1);
}

TEST(PurgeText, HostValuesBecomeMarkersInOrder) {
  const auto b = rebuild::bind_markers(
      "delete from doc_item where doc_id in ( select doc_id from doc_m where doc_date < {ldt_1} )");
  EXPECT_EQ(b.sql,
            "delete from doc_item where doc_id in ( select doc_id from doc_m where doc_date < ? )");
  ASSERT_EQ(b.names.size(), 1u);
  EXPECT_EQ(b.names[0], "ldt_1");
  size_t total = 0;
  for (const auto& g : rebuild::purge_groups()) total += g.statements.size();
  EXPECT_EQ(total, 41u);
}

// The purge tables with one row per case, on both engines the purge meets: the local database
// (a SQLite file through the ODBC driver, auto_commit off) and the embedded SQL Server
// (velmo41 attached, auto_commit on, as the Start action's SQL Server path connects).
enum class Engine { LocalOdbc, EmbeddedServer };

class Purge : public ::testing::TestWithParam<Engine> {
 protected:
  static bool embedded() { return GetParam() == Engine::EmbeddedServer; }

  void SetUp() override {
    w.connection.kind = embedded() ? 2 : 1;
    if (embedded()) {
      server.create_database("velmo41");
      sqlca.disconnect();
    }
    for (const char* t : {"loss_card", "mrcs", "data_tf", "mem_item", "mem_info", "card_s", "sr",
                          "attend_end", "attend_origin", "yy"})
      db.exec(QString("create table %1 (id int, attend_date datetime, start_d datetime)").arg(t));
    db.exec(
        "create table doc_m (doc_id varchar(20), doc_date datetime, pay_type int,"
        " cash numeric(15,2), card numeric(15,2));"
        "create table doc_item (doc_id varchar(20)); create table doc_ware (doc_id varchar(20));"
        "create table deduct_data (doc_id varchar(20), d_date datetime, money numeric(15,2));"
        "create table wage_data (month_id varchar(6));"
        "create table ie_data (id int, type_name varchar(20), zy varchar(40), rq datetime,"
        " income numeric(15,2), expens numeric(15,2));"
        "create table mem_fund (id int, fund_time datetime, money numeric(15,2));"
        "create table bespoke (id int, b_time datetime);"
        "create table info_message (id int, rq datetime);"
        "create table log_card_oper (id int, log_time datetime);"
        "create table bill_m (doc_id varchar(20), d_date datetime);"
        "create table bill_d (doc_id varchar(20));");
    for (const char* t : {"loss_card", "mrcs", "data_tf", "mem_item", "mem_info", "card_s", "sr",
                          "mem_fund", "bespoke", "info_message", "log_card_oper"})
      db.exec(QString("insert into %1 (id) values (1)").arg(t));
  }
  void TearDown() override { sqlca.disconnect(); }

  // Documents: id, date, pay_type, cash, card; each with one item, ware and deduction row.
  void documents(const QStringList& rows) {
    for (const QString& r : rows) {
      const QStringList c = r.split(',');
      db.exec(QString("insert into doc_m values ('%1', %2, %3, %4, %5);"
                      "insert into doc_item values ('%1'); insert into doc_ware values ('%1');"
                      "insert into deduct_data values ('%1', %2, 1)")
                  .arg(c[0], c[1], c[2], c[3], c[4]));
    }
  }
  // As the Start action purges: one transaction (auto_commit off on either engine), committed
  // when every statement ran, else rolled back.
  bool purge() {
    if (embedded())
      server.connect("velmo41", false);
    else
      db.connect_sqlca(false);
    EXPECT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
    w.hpb_start(8);
    const bool ran = rebuild::run_purge_groups(w);
    if (ran)
      sqlca.commit();
    else
      sqlca.rollback();
    sqlca.disconnect();
    return ran;
  }
  QStringList ids(const QString& table) {
    return db.rows("select doc_id from " + table + " order by 1");
  }

  test::EmbeddedServer server;  // its folder is the program folder on either engine
  test::TempProgramFolder& dir = server.folder;
  test::SqliteDb db{dir.file(embedded() ? "velmo41.mdf" : "velmo41.db")};
  test::FakeWindow w;
};

TEST_P(Purge, DefaultOptionsDeleteNothingAndStepFiveTimes) {
  documents({"A,'2020-01-01 00:00:00.000',1,10,0"});
  std::vector<QString> seen;
  sqlca.set_fault_hook([&](const QString& s) -> std::optional<db::DbError> {
    if (s.startsWith("delete")) seen.push_back(s);
    return std::nullopt;
  });
  EXPECT_TRUE(purge());
  sqlca.set_fault_hook({});
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(w.position, 5);
  EXPECT_EQ(db.count("mem_info"), 1);
  EXPECT_EQ(ids("doc_m"), QStringList{"A"});
}

TEST_P(Purge, EveryGroupRunsItsStatementsInOrder) {
  w.cbx = {{2, false}, {3, false}, {4, false}, {5, true}, {6, true}};
  w.em_1 = "2024/03/01";
  std::vector<QString> seen;
  sqlca.set_fault_hook([&](const QString& s) -> std::optional<db::DbError> {
    if (s.startsWith("delete")) seen.push_back(s);
    return std::nullopt;
  });
  EXPECT_TRUE(purge());
  sqlca.set_fault_hook({});
  ASSERT_EQ(seen.size(), 41u);
  EXPECT_EQ(seen.front(), "delete from loss_card");
  EXPECT_EQ(seen[11], "delete from ie_data where type_name like '%会员%'");
  EXPECT_EQ(seen[25], "delete from wage_data where month_id < ?");
  EXPECT_EQ(seen.back(), "delete from mem_fund where money >= ?");
  EXPECT_EQ(w.position, 5);
}

// Whatever statement fails, nothing of the purge stays: no documents without their items,
// no members without their side tables.
TEST_P(Purge, AFailedStatementUndoesTheWholePurge) {
  documents({"OLD,'2020-01-01 00:00:00.000',1,150,0", "NEW,'2031-01-01 00:00:00.000',2,1,1"});
  w.cbx = {{2, false}, {3, false}, {4, false}, {5, true}, {6, true}};
  w.em_1 = "2030/01/01";
  const QStringList before = db.dump();
  for (const char* failing : {"delete from loss_card",
                              "delete from doc_m where doc_id in ( select doc_id from doc_m "
                              "where pay_type <> 1 )",
                              "delete from mem_fund where money >= ?"}) {
    SCOPED_TRACE(failing);
    int runs = 0;
    sqlca.set_fault_hook([&](const QString& s) -> std::optional<db::DbError> {
      if (s.startsWith("delete")) ++runs;
      if (s == failing) return db::DbError{1205, "chosen as deadlock victim (injected)"};
      return std::nullopt;
    });
    EXPECT_FALSE(purge());
    sqlca.set_fault_hook({});
    EXPECT_EQ(db.dump(), before);
    EXPECT_LT(w.position, 5);
  }
  EXPECT_TRUE(purge());
  EXPECT_EQ(ids("doc_item"), QStringList{});
}

TEST_P(Purge, AMissingTableOrColumnIsNothingToDelete) {
  db.exec("drop table sr");
  db.exec("alter table ie_data drop column type_name");
  db.exec("insert into ie_data (id) values (1)");
  w.cbx[2] = false;
  EXPECT_TRUE(purge());
  EXPECT_EQ(db.count("mem_info"), 0);
  EXPECT_EQ(db.count("ie_data"), 1);
  EXPECT_EQ(w.position, 5);
}

TEST_P(Purge, MemberDataGoesAndOnlyMemberIncomeRows) {
  w.cbx[2] = false;
  db.exec("insert into ie_data (id, type_name) values (1, '会员充值'), (2, '营业收入'), (3, null)");
  EXPECT_TRUE(purge());
  for (const char* t : {"loss_card", "mrcs", "mem_fund", "data_tf", "mem_item", "bespoke",
                        "mem_info", "info_message", "card_s", "log_card_oper", "sr"})
    EXPECT_EQ(db.count(t), 0) << t;
  EXPECT_EQ(db.rows("select id from ie_data order by id"), (QStringList{"2", "3"}));
}

TEST_P(Purge, ConsumptionGroupsByPayType) {
  struct Case {
    bool keep_members, keep_cash;
    QStringList left;
  } cases[] = {
      {false, true, {"P1", "PN"}},  // pay_type <> 1 goes
      {true, false, {"P2", "PN"}},  // pay_type <= 1 goes
      {false, false, {"PN"}},       // only a null pay_type stays
  };
  for (const Case& c : cases) {
    for (const char* t : {"doc_m", "doc_item", "doc_ware", "deduct_data", "ie_data"})
      db.exec(QString("delete from %1").arg(t));
    documents({"P0,null,0,1,1", "P1,null,1,1,1", "P2,null,2,1,1", "PN,null,null,1,1"});
    db.exec(
        "insert into ie_data (id, type_name, zy) values (1, '营业收入', '会员卡支付'),"
        " (2, '营业收入', '现金支付'), (3, '其他', '现金支付')");
    w.cbx[3] = c.keep_members;
    w.cbx[4] = c.keep_cash;
    EXPECT_TRUE(purge());
    for (const char* t : {"doc_m", "doc_item", "doc_ware", "deduct_data"})
      EXPECT_EQ(ids(t), c.left) << t << " " << c.keep_members << c.keep_cash;
    QStringList ie = {"3"};
    if (c.keep_cash) ie.prepend("2");
    if (c.keep_members) ie.prepend("1");
    EXPECT_EQ(db.rows("select id from ie_data order by id"), ie);
  }
}

TEST_P(Purge, DateCutOffKeepsTheChosenDayFromMidnight) {
  w.cbx[5] = true;
  w.em_1 = "2024/03/01";
  documents({"OLD,'2024-02-29 23:59:59.000',1,1,1", "NEW,'2024-03-01 00:00:00.000',1,1,1"});
  db.exec(
      "insert into wage_data values ('202402'), ('202403'), ('202404');"
      "insert into bill_m values ('B1', '2024-02-29 23:59:59.000'),"
      " ('B2', '2024-03-01 00:00:00.000');"
      "insert into bill_d values ('B1'), ('B2');"
      "insert into mem_fund (id, fund_time) values (2, '2024-02-01 10:00:00.000'),"
      " (3, '2024-03-02 10:00:00.000')");
  EXPECT_TRUE(purge());
  for (const char* t : {"doc_m", "doc_item", "doc_ware", "deduct_data"})
    EXPECT_EQ(ids(t), QStringList{"NEW"}) << t;
  EXPECT_EQ(db.rows("select month_id from wage_data order by 1"),
            (QStringList{"202403", "202404"}));
  EXPECT_EQ(ids("bill_m"), QStringList{"B2"});
  EXPECT_EQ(ids("bill_d"), QStringList{"B2"});
  // The row without a date stays (null is not before the day).
  EXPECT_EQ(db.rows("select id from mem_fund order by id"), (QStringList{"1", "3"}));
}

TEST_P(Purge, AmountCutOffDeletesAtOrAbove) {
  w.cbx[6] = true;
  w.em_2 = "100.00";
  documents({"D100,null,1,60,40", "D9999,null,1,99.99,0", "DNULL,null,1,150,null"});
  db.exec(
      "insert into mem_fund (id, money) values (2, 100), (3, 99.99);"
      "insert into ie_data (id, income, expens) values (1, 50, 50), (2, 99, 0.99)");
  db.exec("update deduct_data set money = 100 where doc_id = 'D9999'");
  EXPECT_TRUE(purge());
  EXPECT_EQ(ids("doc_m"), (QStringList{"D9999", "DNULL"}));
  EXPECT_EQ(ids("doc_item"), (QStringList{"D100", "D9999", "DNULL"}));  // details stay
  EXPECT_EQ(ids("deduct_data"), (QStringList{"D100", "DNULL"}));        // by its own money
  EXPECT_EQ(db.rows("select id from mem_fund order by id"), (QStringList{"1", "3"}));
  EXPECT_EQ(db.rows("select id from ie_data order by id"), QStringList{"2"});
}

// Rows of the chosen day stay in whatever text form of a date-time the file holds; the
// embedded server stores one form, the local engine keeps what wrote the row.
TEST_P(Purge, DateCutOffOverTheStoredFormsOfADate) {
  struct Case {
    const char* stored;
    bool stays;
    bool local_only;  // a form the embedded server never stores
  } cases[] = {
      {"2031-06-15 00:00:00.000", true, false},
      {"2031-06-15 00:00:00", true, true},
      {"2031-06-15", true, true},
      {"2031-06-15 12:00:00.000", true, false},
      {"2031-06-15 12:00:00", true, true},
      {"2031-06-14 23:59:59.999", false, false},
      {"2031-06-14 23:59:59", false, true},
      {"2031-06-14", false, true},
  };
  QStringList stay;
  int n = 0;
  for (const Case& c : cases) {
    if (embedded() && c.local_only) continue;
    const QString id = QString("D%1").arg(++n);
    documents({QString("%1,'%2',1,1,1").arg(id, c.stored)});
    db.exec(QString("insert into ie_data (id, rq) values (%1, '%2')").arg(n).arg(c.stored));
    if (c.stays) stay << id;
  }
  w.cbx[5] = true;
  w.em_1 = "2031/06/15";
  EXPECT_TRUE(purge());
  for (const char* t : {"doc_m", "doc_item", "doc_ware", "deduct_data"})
    EXPECT_EQ(ids(t), stay) << t;
  QStringList ie;
  for (const QString& id : stay) ie << id.mid(1);
  EXPECT_EQ(db.rows("select id from ie_data order by id"), ie);
}

INSTANTIATE_TEST_SUITE_P(Engines, Purge,
                         ::testing::Values(Engine::LocalOdbc, Engine::EmbeddedServer),
                         [](const ::testing::TestParamInfo<Engine>& i) {
                           return i.param == Engine::LocalOdbc ? "LocalOdbc" : "EmbeddedServer";
                         });

}  // namespace
