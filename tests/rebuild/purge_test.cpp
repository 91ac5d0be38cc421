#include "kestrel/rebuild/purge.h"

#include <gtest/gtest.h>

#include "kestrel/rebuild/keep_options.h"
#include "runtime/codepage.h"
#include "tests/db/embedded_fixture.h"
#include "tests/rebuild/fake_window.h"
#include "tests/rebuild/sqlite_db.h"

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
  void purge() {
    if (embedded())
      server.connect("velmo41", true);
    else
      db.connect_sqlca(false);
    ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
    w.hpb_start(8);
    rebuild::run_purge_groups(w);
    sqlca.commit();
    sqlca.disconnect();
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
  purge();
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
  purge();
  sqlca.set_fault_hook({});
  ASSERT_EQ(seen.size(), 41u);
  EXPECT_EQ(seen.front(), "delete from loss_card");
  EXPECT_EQ(seen[11], "delete from ie_data where type_name like '%会员%'");
  EXPECT_EQ(seen[25], "delete from wage_data where month_id < ?");
  EXPECT_EQ(seen.back(), "delete from mem_fund where money >= ?");
  EXPECT_EQ(w.position, 5);
}

TEST_P(Purge, MemberDataGoesAndOnlyMemberIncomeRows) {
  w.cbx[2] = false;
  db.exec("insert into ie_data (id, type_name) values (1, '会员充值'), (2, '营业收入'), (3, null)");
  purge();
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
    purge();
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
  purge();
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
  purge();
  EXPECT_EQ(ids("doc_m"), (QStringList{"D9999", "DNULL"}));
  EXPECT_EQ(ids("doc_item"), (QStringList{"D100", "D9999", "DNULL"}));  // details stay
  EXPECT_EQ(ids("deduct_data"), (QStringList{"D100", "DNULL"}));        // by its own money
  EXPECT_EQ(db.rows("select id from mem_fund order by id"), (QStringList{"1", "3"}));
  EXPECT_EQ(db.rows("select id from ie_data order by id"), QStringList{"2"});
}

TEST_P(Purge, UnreadableDateOrAmountDeletesNothingAndIsLogged) {
  documents({"A,'2020-01-01 00:00:00.000',1,500,0"});
  db.exec("insert into mem_fund (id, money) values (2, 1000)");
  w.cbx[5] = true;
  w.cbx[6] = true;
  w.em_1 = "";
  w.em_2 = "";
  purge();
  EXPECT_EQ(ids("doc_m"), QStringList{"A"});
  EXPECT_EQ(db.count("mem_fund"), 2);  // 1 and 2
  EXPECT_EQ(w.position, 5);
  const QStringList log = rt::from_cp936(dir.read("kv_log.txt")).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(log.size(), 2);
  EXPECT_TRUE(log[0].startsWith("DBERR: "));
  EXPECT_TRUE(log[0].contains("保留指定时间以后的数据"));
  EXPECT_TRUE(log[1].contains("保留小于指定金额的数据"));
}

INSTANTIATE_TEST_SUITE_P(Engines, Purge,
                         ::testing::Values(Engine::LocalOdbc, Engine::EmbeddedServer),
                         [](const ::testing::TestParamInfo<Engine>& i) {
                           return i.param == Engine::LocalOdbc ? "LocalOdbc" : "EmbeddedServer";
                         });

}  // namespace
