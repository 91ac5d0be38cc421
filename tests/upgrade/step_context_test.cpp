// The shared mechanics: version texts, probes, clause lists in their three failure modes.
#include "kestrel/upgrade/step_context.h"

#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "kestrel/upgrade/steps.h"
#include "tests/upgrade/upgrade_test_support.h"

namespace {

using upgrade::ClauseFailure;
using upgrade::StepContext;

class StepContextTest : public test::UpgradeTest {
 protected:
  void SetUp() override {
    build();
    exec("create table t (a int null, c int null)");
    exec("insert into t (a, c) values (1, 2)");
  }
  QStringList columns() {
    QStringList out;
    golden::Schema s = schema();  // kept: a loop over a part of a temporary outlives it
    for (const auto& [name, shape] : s["t"]) out << name;
    return out;
  }
};

struct VersionText {
  const char* stored;
  bool number;
  double value;
  bool zero;
};

TEST_F(StepContextTest, VersionTexts) {
  const VersionText cases[] = {{"9.691", true, 9.691, false}, {" 13.109 ", true, 13.109, false},
                               {"0", true, 0, true},          {"abc", false, 0, false},
                               {"", false, 0, false},         {"7.80", true, 7.8, false},
                               {"inf", false, 0, false},      {"0    ", true, 0, true}};
  for (const VersionText& c : cases) {
    set_version(QString::fromUtf8(c.stored));
    StepContext s;
    ASSERT_TRUE(s.read_version()) << c.stored;
    EXPECT_EQ(s.version_is_number(), c.number) << c.stored;
    EXPECT_DOUBLE_EQ(s.version(), c.value) << c.stored;
    EXPECT_EQ(s.version_text_is_zero(), c.zero) << c.stored;
  }
  set_version(std::nullopt);
  StepContext s;
  ASSERT_TRUE(s.read_version());
  EXPECT_EQ(s.version_text(), "0");
  exec("delete from sys");
  EXPECT_FALSE(s.read_version());
  EXPECT_EQ(s.version_text(), "");
}

// Read as the gates read it: a text that equals the last version as a number is not above it.
TEST(LastVersion, AboveItIsALaterRelease) {
  const std::pair<const char*, bool> cases[] = {
      {"16.10", false}, {"16.1", false}, {" 16.100 ", false}, {"16.09", false},
      {"16.101", true}, {"16.20", true}, {"17.00  ", true},   {"V17.00", false},
      {"17,00", false}, {"inf", false},  {"", false},         {"0", false}};
  for (const auto& [text, above] : cases)
    EXPECT_EQ(upgrade::above_last_version(QString::fromUtf8(text)), above) << text;
}

TEST_F(StepContextTest, ProbesCountMissingTablesAndColumns) {
  StepContext s;
  EXPECT_FALSE(s.table_missing("t"));
  EXPECT_TRUE(s.table_missing("no_such_table"));
  EXPECT_FALSE(s.column_missing("t", "c"));
  EXPECT_TRUE(s.column_missing("t", "b"));
}

struct ClauseCase {
  const char* name;
  ClauseFailure mode;
  const char* fail;  // a clause made to fail with an error of the server (empty: none)
  bool result;
  int boxes;
  const char* columns;  // of t afterwards
};

class ClauseListTest : public StepContextTest, public ::testing::WithParamInterface<ClauseCase> {};

// The middle clause names a column that t already has. A list that did not complete is undone
// whole, its fills too, so that the next run's probe finds it missing and does it again.
TEST_P(ClauseListTest, FailingClause) {
  const ClauseCase& c = GetParam();
  const QString fail = QString::fromUtf8(c.fail);
  sqlca.set_fault_hook([fail](const QString& sql) -> std::optional<db::DbError> {
    if (!fail.isEmpty() && sql.startsWith(fail)) return db::DbError{1105, "log full"};
    return std::nullopt;
  });
  StepContext s;
  EXPECT_EQ(s.clause_list("t", "add b int null/add c int null/add d int null/", c.mode,
                          "版本升级失败-t!", "update t set b =7"),
            c.result);
  sqlca.set_fault_hook({});
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>(c.boxes, "错误信息|版本升级失败-t!"));
  EXPECT_EQ(columns().join(' '), QString::fromUtf8(c.columns));
  if (c.result) EXPECT_EQ(value("select b from t"), "7");  // the fill ran after the first clause
}

const ClauseCase kClauseCases[] = {
    {"silent", ClauseFailure::silent, "", true, 0, "a b c d"},
    {"silent_with_an_error", ClauseFailure::silent, "alter table t add d", false, 1, "a c"},
    {"message", ClauseFailure::message, "", true, 1, "a b c d"},
    {"message_with_an_error", ClauseFailure::message, "alter table t add d", false, 2, "a c"},
    {"failure_path", ClauseFailure::failure_path, "", false, 1, "a c"},
};

INSTANTIATE_TEST_SUITE_P(Modes, ClauseListTest, ::testing::ValuesIn(kClauseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StepContextTest, ClauseListCommitsEachClauseAndRollsBackEachFailure) {
  QStringList seen;
  sqlca.set_fault_hook([&](const QString& sql) -> std::optional<db::DbError> {
    seen << sql;
    return std::nullopt;
  });
  StepContext s;
  s.clause_list("t", "add b int null/add c int null/");
  // The whole list is one unit, so a crash inside it never leaves half of it.
  EXPECT_EQ(seen, (QStringList{"BEGIN UNIT", "alter table t add b int null", "COMMIT",
                               "alter table t add c int null", "ROLLBACK", "END UNIT"}));
}

// A list the server cannot open or store as a unit leaves nothing of itself and stops its
// step, so no later stamp claims a version whose columns are missing.
TEST_F(StepContextTest, ListThatCannotBeStoredLeavesNothingAndTakesTheFailurePath) {
  for (const char* refused : {"BEGIN UNIT", "END UNIT"}) {
    SCOPED_TRACE(refused);
    dialogs_.clear();
    sqlca.set_fault_hook([refused](const QString& sql) -> std::optional<db::DbError> {
      if (sql == refused) return db::DbError{-1, "disk full"};
      return std::nullopt;
    });
    StepContext s;
    EXPECT_FALSE(s.clause_list("t", "add b int null/add d int null/", ClauseFailure::silent, {},
                               "update t set b =7"));
    sqlca.set_fault_hook({});
    EXPECT_EQ(dialogs_.lines(), std::vector<QString>{"错误信息|版本升级失败-t!"});
    EXPECT_EQ(columns().join(' '), "a c");
  }
}

// Step 1 on a member table that already has some of its 26 new columns.
TEST_F(StepContextTest, StepOneAddsTheMissingColumnsOfAPartlyPresentList) {
  exec("alter table mem_info add fz char(30) null");
  exec("alter table mem_info add item7 int null");
  EXPECT_EQ(upgrade::f_ver(), upgrade::Outcome::done);
  EXPECT_TRUE(dialogs_.lines().empty());
  auto cols = schema()["mem_info"];
  for (const char* c : {"sg", "xx", "fz", "tz", "item1", "item7", "item20", "bz"})
    EXPECT_TRUE(cols.count(c)) << c;
}

TEST_F(StepContextTest, ChangeTakesTheFailurePathOrCommits) {
  StepContext s;
  EXPECT_FALSE(s.change("alter table no_such_table add x int null", "版本升级失败-x!"));
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{"错误信息|版本升级失败-x!"});
  EXPECT_TRUE(s.change("alter table t add x int null", "版本升级失败-x!"));
  EXPECT_FALSE(s.stamp("update no_such_table SET bb ='1'", "错误信息6"));
  EXPECT_EQ(dialogs_.lines().back(), "错误信息6|版本升级失败-update sys.bb!");
}

}  // namespace
