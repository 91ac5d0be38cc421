// Version gates of steps 4 to 10, on a database that already has the whole schema, so that
// only the gates decide: a statement of a block is issued exactly when its gate admits the
// stored version. Every gate is strict; a null version reads as 0 and opens them all.
#include <optional>

#include "kestrel/upgrade/chain.h"
#include "kestrel/upgrade/steps.h"
#include "tests/upgrade/late_steps_support.h"

namespace {

using upgrade::Outcome;

struct GateCase {
  Outcome (*step)();
  std::optional<QString> version;
  const char* statement;  // a statement of the block at the gate's edge
  bool issued;
};

const GateCase kCases[] = {
    {upgrade::f_ver4, "14.188", "select count ( photo ) from emp_info", true},
    {upgrade::f_ver4, "14.188", "update menu set name ='无效卡清除' where id =178", true},
    {upgrade::f_ver4, "14.189", "select count ( photo ) from emp_info", false},
    {upgrade::f_ver4, "14.189", "update menu set name ='无效卡清除' where id =178", false},
    {upgrade::f_ver4, std::nullopt, "update menu set name ='无效卡清除' where id =178", true},
    {upgrade::f_ver5, "14.49", "select count ( jfxs ) from card_level", true},
    {upgrade::f_ver5, "14.50", "select count ( jfxs ) from card_level", false},
    {upgrade::f_ver5, std::nullopt, "update sys SET bb ='14.50' , kernel_ver ='V 4.50.00'", true},
    {upgrade::f_ver6, "15.10", "alter table emp_deduct ALTER COLUMN rebate decimal(14, 4) null",
     true},
    {upgrade::f_ver6, "15.11", "alter table emp_deduct ALTER COLUMN rebate decimal(14, 4) null",
     false},
    {upgrade::f_ver6, std::nullopt, "update sys SET bb ='15.11' , kernel_ver ='V 6.01.01'", true},
    {upgrade::f_ver7, "15.30", "select count ( jhzd ) from sys", false},
    {upgrade::f_ver7, "15.30", "update sys SET bb ='15.31' , kernel_ver ='V 6.03.01' , jhzd =''",
     true},
    {upgrade::f_ver7, "15.20", "select count ( jhzd ) from sys", true},
    {upgrade::f_ver7, "15.20", "select count ( emp_sr ) from emp_info", false},
    {upgrade::f_ver7, "15.19", "select count ( emp_sr ) from emp_info", true},
    {upgrade::f_ver7, "15.31", "select count ( jhzd ) from sys", false},
    {upgrade::f_ver7, "15.31", "update sys SET bb ='15.31' , kernel_ver ='V 6.03.01' , jhzd =''",
     false},
    {upgrade::f_ver7, std::nullopt, "select count ( emp_sr ) from emp_info", true},
    {upgrade::f_ver8, "15.40", "select count ( mem_id ) from mem_item_bk", false},
    {upgrade::f_ver8, "15.40", "select count ( jb_id ) from mem_jb_info", true},
    {upgrade::f_ver8, "15.93", "select count ( dk_rebate ) from emp_deduct", false},
    {upgrade::f_ver8, "15.93", "select count ( yhj_id ) from yhj", true},
    {upgrade::f_ver8, "15.95", "update sys SET bb ='15.95' , kernel_ver ='V 6.08.01' , jhzd =''",
     false},
    {upgrade::f_ver8, "15.95", "update sys SET bb ='15.96' , kernel_ver ='V 6.50.01' , jhzd =''",
     true},
    {upgrade::f_ver8, "15.97",
     "alter table doc_lp add constraint pk_doc_lp_id primary key(doc_lp_id)", false},
    {upgrade::f_ver8, std::nullopt, "select count ( mem_id ) from mem_item_bk", true},
    {upgrade::f_ver9, "15.98", "select count ( favour_money ) from doc_item", false},
    {upgrade::f_ver9, "15.98", "update menu set name ='员工业绩综合报表权限' where id =217", true},
    {upgrade::f_ver9, "16.03", "update sys SET bb ='16.03' , kernel_ver ='V7.20.01' , jhzd =''",
     false},
    {upgrade::f_ver9, "16.03", "update sys SET bb ='16.04' , kernel_ver ='V7.20.01' , jhzd =''",
     true},
    {upgrade::f_ver9, "16.05", "select count ( item_sms ) from info_item", false},
    {upgrade::f_ver9, std::nullopt, "select count ( favour_money ) from doc_item", true},
    {upgrade::f_ver10, "16.06", "update sys SET bb ='16.06' , kernel_ver ='V7.30.01' , jhzd =''",
     false},
    {upgrade::f_ver10, "16.06", "select count ( kj_je ) from card_level", true},
    // Its zd row is there already: the insert is rejected and the stamp still follows.
    {upgrade::f_ver10, "16.06", "update sys SET bb ='16.07' , kernel_ver ='V7.30.01' , jhzd =''",
     true},
    {upgrade::f_ver10, "16.09", "update menu set name ='派工单管理' where id =248", false},
    {upgrade::f_ver10, "16.09", "update menu set name ='员工竞赛分组设置' where id =249", true},
    {upgrade::f_ver10, "16.10", "update menu set name ='员工竞赛分组设置' where id =249", false},
    {upgrade::f_ver10, std::nullopt, "select count ( gps ) from mem_info", true},
};

class LateGatesTest : public test::LateStepsTest {};

TEST_F(LateGatesTest, EachBlockRunsExactlyBelowItsGate) {
  build();
  ASSERT_EQ(upgrade::run_chain(), Outcome::done);
  for (const GateCase& c : kCases) {
    const std::string label =
        c.version.value_or(QStringLiteral("null")).toStdString() + ": " + c.statement;
    set_version(c.version);
    watch();
    EXPECT_NE(c.step(), Outcome::failed) << label;
    EXPECT_EQ(traced(QString::fromUtf8(c.statement)), c.issued) << label;
  }
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{});
}

TEST_F(LateGatesTest, LostVersionRowStopsEachStepWithItsBox) {
  build();
  ASSERT_EQ(upgrade::run_chain(), Outcome::done);
  exec("delete from sys");
  for (auto step : {upgrade::f_ver4, upgrade::f_ver5, upgrade::f_ver6, upgrade::f_ver7,
                    upgrade::f_ver8, upgrade::f_ver9, upgrade::f_ver10}) {
    watch();
    EXPECT_EQ(step(), Outcome::returned_early);
    EXPECT_EQ(trace_, QStringList{"select isnull ( bb , '0' ) from sys where id =1"});
  }
  EXPECT_EQ(dialogs_.lines(),
            std::vector<QString>(7, "系统提示|系统基础数据丢失,不能升级,请与开发商联系"));
}

}  // namespace
