// How steps 4 to 10 react when a change fails: step 4 tells and goes on with its clause list;
// from step 5 on the first failing clause or statement ends the step with its box, and no
// later stamp is written. A clause list that did not complete is undone whole.
#include <algorithm>

#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "kestrel/upgrade/steps.h"
#include "tests/upgrade/late_steps_support.h"

namespace {

using upgrade::Outcome;

class LateFailuresTest : public test::LateStepsTest {};

// Every clause is tried and told of; a column that is there already is passed over, but any
// other failure leaves the group incomplete: it is undone whole and the chain stops before
// step 5's stamp could close the gate on it. The next run does the group again.
TEST_F(LateFailuresTest, Step4UndoesAnIncompleteGroupAndTheNextRunDoesItAgain) {
  build_through(3);
  exec("alter table emp_info add pzlx char(1) null");
  exec("update emp_info set item6 =5");

  watch(QStringLiteral("alter table emp_info add photo"));  // fails; pzlx is there already
  EXPECT_EQ(upgrade::f_ver4(), Outcome::failed);
  EXPECT_EQ(dialogs_.lines(),
            std::vector<QString>(2, QStringLiteral("错误信息|版本升级失败-emp_info!")));
  EXPECT_FALSE(has_column("emp_info", "photo"));
  EXPECT_FALSE(has_column("emp_info", "pzxl"));
  EXPECT_EQ(value("select count ( *) from emp_info where item6 <> 5"), "0");
  EXPECT_EQ(value("select mc from zd where id =31 and lx ='操作类型'"), "<none>");
  EXPECT_EQ(value("select name from menu where id =178"), "无效卡清除");
  EXPECT_EQ(value("select bb from sys"), "13.109");

  dialogs_.clear();
  watch();
  EXPECT_EQ(upgrade::f_ver4(), Outcome::done);
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{"错误信息|版本升级失败-emp_info!"});
  EXPECT_TRUE(has_column("emp_info", "photo"));
  EXPECT_TRUE(has_column("emp_info", "pzxl"));
  EXPECT_EQ(value("select count ( *) from emp_info where item6 <> 0"), "0");
  EXPECT_EQ(value("select mc from zd where id =31 and lx ='操作类型'"), "修改信息");
}

TEST_F(LateFailuresTest, Step4WithPhotoPresentSkipsItsFirstGroupOnly) {
  build_through(3);
  exec("alter table emp_info add photo char(100) null");
  exec("update emp_info set item6 =5");

  EXPECT_EQ(upgrade::f_ver4(), Outcome::done);
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{});
  EXPECT_FALSE(has_column("emp_info", "pzlx"));
  EXPECT_EQ(value("select count ( *) from emp_info where item6 <> 5"), "0");
  EXPECT_EQ(value("select count ( *) from zd where id =31 and lx ='操作类型'"), "0");
  EXPECT_EQ(value("select mc from zd where id =25 and lx ='操作类型'"), "无效卡清除");
}

struct StopCase {
  int steps_before;       // the step under test is the next one
  const char* prepare;    // run before the step (may be empty)
  const char* fail;       // the statement made to fail (may be empty)
  const char* box;        // "title|text"
  const char* kept;       // "table.column" committed before the failed change (may be empty)
  const char* undone;     // "table.column" of the failed list, added before it failed
  const char* not_tried;  // "table.column" after it, never added
  const char* bb;         // the version left
};

const StopCase kStops[] = {
    // Clause lists: the first failing clause ends the step; the list is undone whole, so the
    // next run's probe finds it missing.
    {4, "alter table doc_item add emp_l char(20) null", "",
     "错误信息|版本升级失败-doc_item! 停止升级", "card_level.jfxs", "doc_item.emp_k",
     "doc_item.emp_m", "13.109"},
    {5, "alter table emp_info add gzyj numeric(16,2) null", "",
     "错误信息|版本升级失败-emp_info! 停止升级", "doc_mem_item.doc_id", "emp_info.dept_id",
     "info_item.item_jfxs", "14.50"},
    {6, "alter table emp_info add emp_sr_type int null", "",
     "错误信息|版本升级失败-emp_info! 停止升级", "", "emp_info.emp_sr", "sys.jhzd", "15.11"},
    {8, "alter table card_level add jf_limit_u numeric(16,2) null", "",
     "错误信息|版本升级失败-card_level! 停止升级", "", "card_level.jf_limit", "card_level.ck_limit",
     "15.97"},
    {9, "alter table doc_ware add b_xs numeric(15,2) null", "",
     "错误信息|版本升级失败-doc_ware! 停止升级", "", "doc_ware.emp_b", "doc_ware.emp_c", "16.09"},
    {4, "", "alter table doc_item add emp_m", "错误信息|版本升级失败-doc_item! 停止升级",
     "card_level.jfxs", "doc_item.emp_l", "emp_rebate.lplp", "13.109"},
    // Single changes, tested statements and stamps, with their own texts and titles.
    {4, "", "alter table emp_rebate add lplp", "错误信息|版本升级失败-emp_rebate! 停止升级",
     "doc_item.emp_m", "", "info_item.rebate_k", "13.109"},
    {4, "", "update sys SET bb ='14.50'", "错误信息|版本升级失败-update sys.bb!", "info_ware.cyjf",
     "", "", "13.109"},
    {5, "", "alter table emp_deduct ALTER COLUMN", "错误信息|版本升级失败-emp_deduct!",
     "doc_mem_item.doc_id", "", "emp_info.dept_id", "14.50"},
    {5, "", "alter table info_ware add ware_jfxs", "错误信息|版本升级失败-info_ware!",
     "info_item.item_jcxstc", "", "mem_jc.mem_id", "14.50"},
    {5, "", "update sys SET bb ='15.11'", "错误信息6|版本升级失败-update sys.bb!",
     "emp_jk_rz.jk_doc_id", "", "", "14.50"},
    {6, "", "update wage_item set item_name ='员工借款'", "错误信息7|版本升级失败-update sys.bb!",
     "mem_fjjr.mem_id", "", "", "15.11"},
    {7, "", "update wage_item set item_name ='包卡提成'", "错误信息|版本升级失败-update wage_item!",
     "mem_item_bk.mem_id", "", "mem_jb_info.jb_id", "15.31"},
    {7, "", "update wage_item set item_name ='轮牌累进提成'",
     "错误信息|版本升级失败-update wage_item!", "emp_deduct.dk_rebate", "", "yhj.yhj_id", "15.31"},
    // A failure after a stamp of the step keeps that stamp.
    {7, "", "create table ware_lp_info", "错误信息|版本升级失败-ware_lp_info! 停止升级",
     "item_ware_tx.tx_id", "", "doc_lp.doc_lp_id", "15.95"},
    {8, "", "alter table mem_info add sy_favour", "错误信息|版本升级失败-mem_info! 停止升级",
     "doc_ware.favour_money", "", "mem_jc.bc_amount", "15.97"},
    {8, "", "create table sy", "错误信息|版本升级失败-sy! 停止升级", "week_plan.id", "",
     "card_level.jf_limit", "15.97"},
    {9, "", "CREATE TABLE tc_ware", "错误信息|版本升级失败-tc_ware! 停止升级", "tc_item.tc_id", "",
     "doc_pgd.pgd_id", "16.06"},
    {9, "", "alter table card_level add kj_xz", "错误信息|版本升级失败-card_level! 停止升级",
     "doc_ware.rebate_c", "", "", "16.09"},
};

QStringList split_column(const char* s) { return QString::fromUtf8(s).split(QLatin1Char('.')); }

TEST_F(LateFailuresTest, FromStep5OnAFailureEndsTheStepBeforeAnyLaterStamp) {
  // The steps before each case run once, on one database; every case works on a copy.
  std::vector<StopCase> cases(std::begin(kStops), std::end(kStops));
  std::stable_sort(cases.begin(), cases.end(), [](const StopCase& a, const StopCase& b) {
    return a.steps_before < b.steps_before;
  });
  build();
  int steps_run = 0;
  int n = 0;
  for (const StopCase& c : cases) {
    const std::string label = std::to_string(c.steps_before + 1) + ": " + c.box;
    ASSERT_TRUE(tools::connect_fixture(QStringLiteral("velmo41")));
    for (; steps_run < c.steps_before; ++steps_run)
      ASSERT_NE(upgrade::chain_steps()[static_cast<size_t>(steps_run)](), Outcome::failed);
    clone(QStringLiteral("velmo41"), QStringLiteral("case%1").arg(++n));
    dialogs_.clear();
    if (*c.prepare) exec(QString::fromUtf8(c.prepare));
    watch(QString::fromUtf8(c.fail));
    EXPECT_EQ(upgrade::chain_steps()[static_cast<size_t>(c.steps_before)](), Outcome::failed)
        << label;
    sqlca.set_fault_hook({});
    EXPECT_EQ(dialogs_.lines(), std::vector<QString>{QString::fromUtf8(c.box)}) << label;
    if (*c.kept) {
      const QStringList k = split_column(c.kept);
      EXPECT_TRUE(has_column(k[0], k[1])) << label;
    }
    for (const char* gone : {c.undone, c.not_tried}) {
      if (!*gone) continue;
      const QStringList k = split_column(gone);
      EXPECT_FALSE(has_column(k[0], k[1])) << label << " " << gone;
    }
    EXPECT_EQ(value("select bb from sys"), QString::fromUtf8(c.bb)) << label;
  }
}

TEST_F(LateFailuresTest, Step7RetriesItsLowerBlocksUntilTheyAllSucceed) {
  build_through(6);
  watch(QStringLiteral("create table mem_fjjr"));
  EXPECT_EQ(upgrade::f_ver7(), Outcome::failed);
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{"错误信息|版本升级失败-mem_fjjr! 停止升级"});
  EXPECT_EQ(rows("select bb , kernel_ver from sys"), QStringList{"15.11|V 6.01.01"});
  EXPECT_NE(value("select item_name from wage_item where item_id ='item_24'"), "员工借款");

  watch();
  EXPECT_EQ(upgrade::f_ver7(), Outcome::done);
  EXPECT_TRUE(has_table("mem_fjjr"));
  EXPECT_TRUE(has_column("sys", "jhzd"));
  EXPECT_EQ(rows("select bb , kernel_ver , jhzd from sys"), QStringList{"15.31|V 6.03.01|"});
  EXPECT_EQ(value("select item_name from wage_item where item_id ='item_24'"), "员工借款");
}

TEST_F(LateFailuresTest, Step7Between1520And1530AddsJhzdBeforeItsStamp) {
  build_through(6);
  set_version(QStringLiteral("15.25"));
  EXPECT_EQ(upgrade::f_ver7(), Outcome::done);
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{});
  EXPECT_FALSE(has_column("emp_info", "emp_sr"));
  EXPECT_EQ(rows("select bb , kernel_ver , jhzd from sys"), QStringList{"15.31|V 6.03.01|"});
}

TEST_F(LateFailuresTest, Step8GoesOnWhenOnlyAnEarlierWageUpdateFails) {
  build_through(7);
  watch(QStringLiteral("update wage_item set item_name ='点客累进业绩'"));
  EXPECT_EQ(upgrade::f_ver8(), Outcome::done);
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{});
  EXPECT_EQ(value("select bb from sys"), "15.97");
}

TEST_F(LateFailuresTest, ChainStopsAtTheFirstFailedStep) {
  build();
  watch(QStringLiteral("alter table card_level add jfxs"));
  int steps = 0;
  EXPECT_EQ(upgrade::run_chain(&steps), Outcome::failed);
  EXPECT_EQ(steps, 5);
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{"错误信息|版本升级失败-card_level! 停止升级"});
  EXPECT_FALSE(traced("select count ( men ) from doc_ware"));  // step 6 not called
  EXPECT_EQ(value("select bb from sys"), "13.109");
}

}  // namespace
