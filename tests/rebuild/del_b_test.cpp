#include <gtest/gtest.h>

#include <set>

#include "kestrel/rebuild/del_b_list.h"
#include "kestrel/rebuild/f_del_b.h"
#include "tests/rebuild/fake_window.h"
#include "tests/rebuild/sqlite_db.h"
#include "tests/support/temp_program_folder.h"

namespace {

using rebuild::del_b_list;

TEST(DelBList, EveryTableWithItsShownNumber) {
  ASSERT_EQ(del_b_list().size(), 93u);
  std::set<std::string> tables;
  std::multiset<int> shown;
  for (const auto& e : del_b_list()) {
    tables.insert(e.table);
    shown.insert(e.shown);
  }
  EXPECT_EQ(tables.size(), 93u);
  EXPECT_EQ(shown.count(36), 0u);
  EXPECT_EQ(shown.count(55), 0u);
  EXPECT_EQ(shown.count(3), 2u);
  EXPECT_STREQ(del_b_list()[2].table, "zd");
  EXPECT_STREQ(del_b_list()[3].table, "card_level");
  EXPECT_STREQ(del_b_list()[60].table, "sys");
  EXPECT_STREQ(del_b_list()[25].table, "menu");
  EXPECT_STREQ(del_b_list()[86].table, "emp_tm_yj");
  EXPECT_EQ(del_b_list()[86].shown, 88);
  EXPECT_STREQ(del_b_list().back().table, "week_plan");
  EXPECT_EQ(del_b_list().back().shown, 94);
  // Positions 1-3 show their position, 4-36 one less, 37-54 their own, 55-93 one more.
  for (size_t i = 0; i < del_b_list().size(); ++i) {
    const int p = static_cast<int>(i) + 1;
    const int expected = p <= 3 ? p : p <= 36 ? p - 1 : p <= 54 ? p : p + 1;
    EXPECT_EQ(del_b_list()[i].shown, expected) << del_b_list()[i].table;
  }
}

class DelB : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& e : del_b_list()) {
      db.exec(QString("create table %1 (a int); insert into %1 values (1);").arg(e.table));
    }
    db.connect_sqlca(true);
    ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
  }
  void TearDown() override { sqlca.disconnect(); }
  void build_without(const char* table) {
    sqlca.disconnect();
    db.exec(QString("drop table %1").arg(table));
    db.connect_sqlca(true);
  }
  test::TempProgramFolder dir;
  test::SqliteDb db{dir.file("velmo41.db")};
  test::FakeWindow w;
};

TEST_F(DelB, EmptiesEveryTableAndClearsTheStatusLine) {
  EXPECT_EQ(rebuild::f_del_b(w), 0);
  for (const auto& e : del_b_list()) EXPECT_EQ(db.count(e.table), 0) << e.table;
  ASSERT_EQ(w.st_11_history.size(), 94);
  EXPECT_EQ(w.st_11_history.front(), "初始化...1/94");
  EXPECT_EQ(w.st_11_history[3], "初始化...3/94");
  EXPECT_EQ(w.st_11_history[86], "初始化...88/94");
  EXPECT_EQ(w.st_11_history[92], "初始化...94/94");
  EXPECT_EQ(w.st_11, "");
}

// A table the database does not have holds nothing to delete, the list's first one (dhfsq)
// and its last one alike.
TEST_F(DelB, ATableTheDatabaseLacksIsNothingToDelete) {
  for (const char* table : {"dhfsq", "zd_data", "week_plan"}) {
    SCOPED_TRACE(table);
    build_without(table);
    for (const auto& e : del_b_list()) db.exec(QString("insert into %1 values (1)").arg(e.table));
    EXPECT_EQ(rebuild::f_del_b(w), 0);
    EXPECT_EQ(db.count("mem_info"), 0);
    EXPECT_EQ(db.count("emp_tm_yj"), 0);
    db.exec(QString("create table %1 (a int)").arg(table));
  }
}

// A table that keeps its rows would get the imported ones on top; the later tables are still
// emptied.
TEST_F(DelB, AnyOtherFailedDeleteFails) {
  for (const char* table : {"dhfsq", "zd_data", "week_plan"}) {
    SCOPED_TRACE(table);
    for (const auto& e : del_b_list()) db.exec(QString("insert into %1 values (1)").arg(e.table));
    const QString failing = QString("delete from ") + table;
    sqlca.set_fault_hook([failing](const QString& s) -> std::optional<db::DbError> {
      if (s == failing) return db::DbError{1205, "chosen as deadlock victim (injected)"};
      return std::nullopt;
    });
    EXPECT_EQ(rebuild::f_del_b(w), -1);
    sqlca.set_fault_hook({});
    EXPECT_EQ(db.count("mem_info"), 0);
    EXPECT_EQ(db.count("emp_tm_yj"), 0);
    EXPECT_EQ(w.st_11, "");
  }
}

TEST_F(DelB, NotConnectedFails) {
  sqlca.disconnect();
  EXPECT_EQ(rebuild::f_del_b(w), -1);
}

}  // namespace
