// The failure paths of steps 6 to 10 that end neither the step nor the chain, or that a rerun
// must get past: what the database holds afterwards.
#include <algorithm>

#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "tests/upgrade/late_steps_support.h"

namespace {

using upgrade::Outcome;

struct Check {
  const char* query;
  const char* value;  // the first column of its first row
};

struct PathCase {
  const char* name;
  int step;                          // the step under test; the steps before it have run
  std::vector<const char*> prepare;  // run before the step
  const char* fail;                  // statements starting so fail (empty: none)
  Outcome outcome;
  const char* box;  // "title|text"; empty: no box
  bool rerun;       // the step runs once more, plainly, before the checks
  std::vector<Check> checks;
};

const PathCase kCases[] = {
    {"failing_item_23_update_is_passed_over",
     6,
     {},
     "update wage_item set item_name ='罚款'",
     Outcome::done,
     "",
     false,
     {{"select bb || ' ' || kernel_ver from sys", "15.11 V 6.01.01"},
      {"select item_name from wage_item where item_id ='item_23'", "工资项23"}}},
    {"primary_key_rejected_by_the_rows",
     8,
     {"insert into jcw ( jcw_id ) values ( 'J1' )", "insert into jcw ( jcw_id ) values ( 'J1' )"},
     "",
     Outcome::done,
     "",
     false,
     {{"select bb from sys", "15.97"},
      {"select count ( *) from pragma_table_info ( 'jcw' ) where pk > 0", "0"},
      {"select count ( *) from pragma_table_info ( 'storage_qu' ) where pk > 0", "1"},
      {"select count ( *) from jcw", "2"}}},
    {"step_9_create_whose_key_fails",
     9,
     {},
     "alter table doc_yd add constraint",
     Outcome::done,
     "",
     false,
     {{"select bb from sys", "16.05"},
      {"select count ( *) from sqlite_master where name ='doc_yd'", "1"},
      {"select count ( *) from pragma_table_info ( 'doc_yd' ) where pk > 0", "0"},
      {"select count ( *) from pragma_table_info ( 'week_plan' ) where pk > 0", "1"}}},
    {"step_10_create_whose_key_fails",
     10,
     {},
     "alter table tc_info add constraint",
     Outcome::done,
     "",
     false,
     {{"select bb from sys", "16.10"},
      {"select count ( *) from sqlite_master where name ='tc_info'", "1"},
      {"select count ( *) from pragma_table_info ( 'tc_info' ) where pk > 0", "0"},
      {"select count ( *) from pragma_table_info ( 'tc_item' ) where pk > 0", "2"}}},
    {"kj_xz_present_keeps_card_level_as_it_is",
     10,
     {"alter table card_level add kj_xz int null", "update card_level set kj_xz =7"},
     "",
     Outcome::done,
     "",
     false,
     {{"select count ( *) from card_level where kj_xz =7", "2"},
      {"select count ( *) from card_level where kj_je is null", "2"},
      {"select count ( *) from card_level where jfxs is null", "2"},
      {"select bb from sys", "16.10"}}},
    // The rerun starts at gate 16.08: the reference rows of 16.07 are not inserted again.
    {"failure_at_16_08_and_the_rerun",
     10,
     {},
     "CREATE TABLE doc_pgd",
     Outcome::failed,
     "错误信息|版本升级失败-doc_pgd! 停止升级",
     true,
     {{"select bb from sys", "16.10"},
      {"select count ( *) from zd_data where id =500 and lb ='收入类'", "1"},
      {"select count ( *) from zd_data where id =500 and lb ='支出类'", "1"},
      {"select mc from zd where id =3 and lx ='卡型'", "固定套餐卡"},
      {"select count ( *) from pragma_table_info ( 'doc_pgd' ) where pk > 0", "1"}}},
    {"ck_limit_present_still_renames_and_stamps",
     9,
     {"alter table card_level add ck_limit numeric(16,2) null"},
     "",
     Outcome::done,
     "",
     false,
     {{"select name from menu where id =240", "项目业绩月份对比表"},
      {"select name from menu where id =243", "员工外卖业绩日/月分类统计表"},
      {"select count ( *) from pragma_table_info ( 'card_level' ) where name ='ck_limit_u'", "0"},
      {"select bb from sys", "16.05"}}},
    {"first_clause_of_a_card_level_list_fails",
     9,
     {},
     "alter table card_level add jf_limit numeric",
     Outcome::failed,
     "错误信息|版本升级失败-card_level! 停止升级",
     false,
     {{"select count ( *) from pragma_table_info ( 'card_level' ) where name like 'jf_limit%'",
       "0"},
      {"select count ( *) from pragma_table_info ( 'card_level' ) where name ='ck_limit'", "0"},
      {"select name from menu where id =217", "员工业绩综合报表权限"},
      {"select bb from sys", "15.97"}}},
};

class FailurePathsTest : public test::LateStepsTest {};

TEST_F(FailurePathsTest, WhatTheDatabaseHoldsAfterwards) {
  // The steps before each case run once, on one database; every case works on a copy.
  std::vector<PathCase> cases(std::begin(kCases), std::end(kCases));
  std::stable_sort(cases.begin(), cases.end(),
                   [](const PathCase& a, const PathCase& b) { return a.step < b.step; });
  build();
  int steps_run = 0;
  int n = 0;
  for (const PathCase& c : cases) {
    ASSERT_TRUE(tools::connect_fixture(QStringLiteral("velmo41")));
    for (; steps_run < c.step - 1; ++steps_run)
      ASSERT_NE(upgrade::chain_steps()[static_cast<size_t>(steps_run)](), Outcome::failed);
    clone(QStringLiteral("velmo41"), QStringLiteral("path%1").arg(++n));
    dialogs_.clear();
    for (const char* sql : c.prepare) exec(QString::fromUtf8(sql));
    const auto step = upgrade::chain_steps()[static_cast<size_t>(c.step - 1)];
    watch(QString::fromUtf8(c.fail));
    EXPECT_EQ(step(), c.outcome) << c.name;
    sqlca.set_fault_hook({});
    const std::vector<QString> boxes =
        *c.box ? std::vector<QString>{QString::fromUtf8(c.box)} : std::vector<QString>{};
    EXPECT_EQ(dialogs_.lines(), boxes) << c.name;
    if (c.rerun) {
      dialogs_.clear();
      EXPECT_EQ(step(), Outcome::done) << c.name;
      EXPECT_EQ(dialogs_.lines(), std::vector<QString>{}) << c.name;
    }
    for (const Check& k : c.checks)
      EXPECT_EQ(value(QString::fromUtf8(k.query)), QString::fromUtf8(k.value))
          << c.name << ": " << k.query;
  }
}

}  // namespace
