// Every version gate of steps 1 to 10, on a database double that lets every statement pass:
// a gate's block is sent just below the gate's version and not at it. Only the steps' own
// statements count here; presence probes and transaction control are left out, so a probe
// added in front of a block changes nothing.
#include <gtest/gtest.h>

#include <QStringList>

#include "kestrel/upgrade/chain.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/upgrade/trace_double.h"

namespace {

// The statements one step sends from the stored `version`, probes and commits left out.
QStringList sent(int step, const QString& version, bool with_transaction_control = false) {
  test::TraceDouble database(version);
  upgrade::chain_steps()[static_cast<size_t>(step - 1)]();
  QStringList out;
  for (const QString& sql : database.trace()) {
    const bool control =
        sql == "COMMIT" || sql == "ROLLBACK" || sql == "BEGIN UNIT" || sql == "END UNIT";
    if (!test::is_presence_probe(sql) && (with_transaction_control || !control)) out << sql;
  }
  return out;
}

// What `more` sends beyond `fewer`, in the order `more` sends it.
QStringList beyond(const QStringList& more, QStringList fewer) {
  QStringList out;
  for (const QString& sql : more)
    if (!fewer.removeOne(sql)) out << sql;
  return out;
}

// True when each of `expected` starts a statement of `got`, in this order.
bool in_order(const QStringList& got, const std::vector<const char*>& expected) {
  qsizetype at = 0;
  for (const char* e : expected) {
    while (at < got.size() && !got[at].startsWith(QString::fromUtf8(e))) ++at;
    if (at++ == got.size()) return false;
  }
  return true;
}

struct Gate {
  int step;
  const char* at;                  // the gate's version
  const char* below;               // just below it
  int sent;                        // statements sent below the gate and not at it
  std::vector<const char*> block;  // some of them (a statement or its start), in order
};

const Gate kGates[] = {
    // Step 1: the block below 7.80, its inner blocks below 5.00 and 5.50, then 8.00 to 9.581.
    {1,
     "7.80",
     "7.799",
     43,
     {"delete from zd where lx ='卡型' and id =3",
      "CREATE TABLE mem_item (",
      "CREATE TABLE data_tf (",
      "alter table ie_data add fd char(30) null",
      "update ie_data set fd =?",
      "alter table s_storage add fd char(30) null",
      "update s_storage set fd =?",
      "update bill_m set in_s =?",
      "CREATE TABLE loss_card (",
      "update info_bill set bill_kind =5 where bill_id ='00003'",
      "select count ( *) from info_storage where s_id ='1001'",
      "alter table card_level add re_m decimal(16, 2) null",
      "update card_level set re_m =1",
      "CREATE TABLE emp_deduct (",
      "CREATE TABLE bespoke (",
      "update doc_ware set re_m =1",
      "alter table mem_info add mem_photo char(100) null",
      "delete from zd where lx =\"资金类型\" and id =12",
      "insert zd values ( 12 , '资金类型' , '资金转帐' )",
      "CREATE TABLE info_table (",
      "alter table doc_m add table_id char(30) null",
      "update doc_m set people =1",
      "CREATE TABLE info_card (",
      "alter table info_table add jz datetime null",
      "update info_table set zt ='000'",
      "update menu set name ='项目提成设置' where id =140",
      "update menu set name ='业务单修改删除' where id =143"}},
    {1,
     "5.00",
     "4.999",
     31,
     {"alter table mem_info add sg decimal(16, 2) null", "alter table mem_info add item1 int null",
      "alter table mem_info add item20 int null", "alter table mem_info add bz varchar(1000) null",
      "alter table info_storage add tel char(30) null",
      "alter table info_storage add path char(100) null", "update emp_info set state =1"}},
    {1,
     "5.50",
     "5.499",
     8,
     {"alter table emp_info add item3 char(30) null",
      "alter table emp_info add item4 char(30) null",
      "alter table emp_info add item5 char(30) null",
      "alter table emp_info add item6 decimal(16, 2) null", "update emp_info set item6 =0",
      "update wage_item set item_name ='员工业绩' , state =1 , sum_state =3 where item_id "
      "='item_19'",
      "update wage_item set item_name ='员工提成' , state =1 , sum_state =1 where item_id "
      "='item_20'",
      "update doc_item set r_e =1"}},
    {1,
     "8.00",
     "7.999",
     9,
     {"alter table info_table add guest_id char(30) null",
      "alter table info_table add emp_id char(30) null",
      "alter table info_table add in_time datetime null",
      "alter table info_table add out_time datetime null",
      "alter table mem_info add favour decimal(15,2) null",
      "alter table mem_info add overdraft decimal(15,2) null", "update mem_info set favour =0",
      "update mem_info set overdraft =0", "CREATE TABLE item_time ("}},
    {1,
     "8.01",
     "8.009",
     2,
     {"alter table mem_info add yxq datetime null", "update mem_info set yxq =?"}},
    {1,
     "8.10",
     "8.099",
     2,
     {"update menu set name ='收支修改' where id =144",
      "update menu set name ='分店管理' where id =145"}},
    {1,
     "8.20",
     "8.199",
     4,
     {"update menu set name ='短消息设置' where id =146",
      "update menu set name ='自己生成短消息' where id =147",
      "update menu set name ='审查短消息' where id =148", "CREATE TABLE info_message ("}},
    {1,
     "8.30",
     "8.299",
     4,
     {"update menu set name ='附属卡设置' where id =149", "CREATE TABLE card_s (",
      "alter table doc_m add fsk int null", "update doc_m set fsk =0"}},
    {1,
     "8.50",
     "8.499",
     2,
     {"CREATE TABLE deposit_deduct (",
      "update wage_item set item_name ='售卡提成' , state =1 , sum_state =1 where item_id "
      "='item_18'"}},
    {1,
     "8.70",
     "8.699",
     4,
     {"update info_bill set mem ='内耗' where bill_id ='00003'",
      "update info_bill set mem ='入库' where bill_id ='00002'",
      "update info_bill set mem ='盘点' where bill_id ='00005'",
      "update info_bill set mem ='退货' where bill_id ='00006'"}},
    {1,
     "8.71",
     "8.709",
     5,
     {"alter table card_level add rebate_w decimal(16,2) null",
      "update card_level set rebate_w =rebate", "alter table mem_info add jsr char(30) null",
      "alter table mem_info add jsjf decimal(16,2) null",
      "alter table info_item add tm char(30) null"}},
    {1, "9.01", "9.009", 1, {"CREATE TABLE yy ("}},
    // Tested before the two gates at 9.55: 9.55 itself runs it; 350 menu rows among its 356.
    {1,
     "9.56",
     "9.559",
     356,
     {"update menu set name ='查询所有业务单' where id =150",
      "select id , group_name from group_ order by id", "insert into menu values ( ? , null )",
      "update menu set name ='结账' where id =153",
      "update menu set name ='清除历史数据' where id =156",
      "alter table info_table add item_id char(30) null",
      "alter table info_table add time_gd decimal(16,2) null"}},
    {1,
     "9.55",
     "9.549",
     10,
     {"alter table emp_info add xs1 decimal(16,4) null", "update emp_info set xs1 =1 , xs2 =1",
      "alter table emp_info add xs2 decimal(16,4) null", "update emp_info set xs1 =1 , xs2 =1",
      "alter table mem_info add email char(60) null", "update mem_info set gj =\"中国\"",
      "alter table mem_info add gj char(60) null", "update mem_info set gj =\"中国\"",
      "alter table mem_info add dq char(60) null", "update mem_info set gj =\"中国\""}},
    {1,
     "9.581",
     "9.58",
     13,
     {"alter table data_tf add char6 char(30) null", "alter table data_tf add char12 char(30) null",
      "alter table data_tf add char18 char(30) null"}},
    // The end of step 1's window: everything from the null repairs on.
    {1,
     "9.691",
     "9.69",
     32,
     {"select count ( *) from mem_info where sum_deposit is null",
      "update mem_info SET sum_deposit =0 where sum_deposit is null",
      "update mem_info SET favour =0 where favour is null",
      "alter table bespoke add table_id char(30) null",
      "alter table deduct_data add money decimal(16,2) null",
      "alter table doc_ware add print_state int null",
      "update menu set name ='会员卡查询' where id =160",
      "alter table card_level add time_len int null",
      "update card_level set time_len =5 , time_type =1",
      "alter table card_level add time_type int null",
      "update card_level set time_len =5 , time_type =1",
      "update menu set name ='修改会员有效期' where id =161", "CREATE TABLE item_bom (",
      "CREATE TABLE doc_bom (", "CREATE TABLE ware_deduct (",
      "update wage_item set item_name ='项目业绩' , state =1 , sum_state =3 where item_id "
      "='item_19'",
      "update menu set name ='会员信息修改' where id =163", "update sys SET bb ='9.691'"}},
    {2,
     "13.1",
     "13.099",
     55,
     {"update menu set name ='开牌' where id =151",
      "update menu set name ='报表数据导出' where id =176", "CREATE TABLE emp_rebate (",
      "CREATE TABLE emp_rebate_w (", "alter table info_ware add item4 int null",
      "update info_ware set item4 =2 where rebate =0", "update mem_info set item20 =?",
      "alter table info_table add z_state int null", "update info_table set z_state =1",
      "alter table mem_info DROP COLUMN  xx ", "alter table mem_info add xx char(60) null",
      "alter table mem_info DROP COLUMN  post ", "alter table mem_info add post char(60) null",
      "CREATE TABLE edit_time (", "select count ( *) from emp_info where item4 is null",
      "update emp_info set item4 =? where item4 is null",
      "delete from zd where id =13 and lx ='资金类型'",
      "insert zd values ( 16 , '操作类型' , '增加计次' )", "update sys SET bb ='13.109'"}},
    {3, "13.17", "13.169", 1, {"alter table sys ALTER COLUMN logon_serial char(32) null"}},
    {4,
     "14.189",
     "14.188",
     9,
     {"alter table emp_info add photo char(100) null", "alter table emp_info add pzlx char(1) null",
      "alter table emp_info add pzxl decimal(16, 0) null", "update emp_info set item6 =0",
      "delete from zd where id =31 and lx ='操作类型'",
      "insert zd values ( 31 , '操作类型' , '修改信息' )",
      "update menu set name ='无效卡清除' where id =178",
      "delete from zd where id =25 and lx ='操作类型'",
      "insert zd values ( 25 , '操作类型' , '无效卡清除' )"}},
    {5,
     "14.50",
     "14.499",
     11,
     {"alter table card_level add jfxs numeric(16,2) null",
      "alter table doc_item add emp_k char(20) null",
      "alter table doc_item add emp_m char(20) null",
      "alter table emp_rebate add lplp decimal(16,4) null",
      "alter table info_item add rebate_k numeric(15, 4) NULL",
      "alter table info_item add cyjf int null", "alter table info_ware add cyjf int null",
      "update sys SET bb ='14.50' , kernel_ver ='V 4.50.00'"}},
    {6,
     "15.11",
     "15.109",
     15,
     {"alter table doc_ware add men char(30) null", "create table doc_mem_item (",
      "alter table emp_deduct ALTER COLUMN rebate decimal(14, 4) null",
      "alter table emp_info add dept_id char(10) null",
      "alter table info_item add item_jcxstc numeric(15,4) null",
      "alter table info_ware add ware_jfxs numeric(15, 2) null", "create table mem_jc (",
      "create table jcw (", "create table storage_qu (", "create table emp_mem_qk_rz (",
      "create table emp_jk_rz (",
      "update wage_item set item_name ='罚款' , state =1 , type =2 , sum_state =2 , tax_state "
      "=1 where item_id ='item_23'",
      "update sys SET bb ='15.11' , kernel_ver ='V 6.01.01'"}},
    {7,
     "15.31",
     "15.309",
     2,
     {"update wage_item set item_name ='员工借款' , state =1 , type =2 , sum_state =2 , "
      "tax_state =1 where item_id ='item_24'",
      "update sys SET bb ='15.31' , kernel_ver ='V 6.03.01' , jhzd =''"}},
    {7, "15.30", "15.299", 1, {"alter table sys add jhzd char(30) null"}},
    {7,
     "15.20",
     "15.199",
     3,
     {"alter table emp_info add emp_sr smalldatetime null",
      "alter table emp_info add emp_sr_type int null", "create table mem_fjjr ("}},
    {8,
     "15.40",
     "15.399",
     2,
     {"create table mem_item_bk (",
      "update wage_item set item_name ='包卡提成' , state =1 , type =1 , sum_state =1 , "
      "tax_state =1 where item_id ='item_25'"}},
    {8,
     "15.50",
     "15.499",
     2,
     {"create table mem_jb_info (", "alter table mem_info add jb_id char(20) null"}},
    {8, "15.60", "15.599", 1, {"create table yywsz ("}},
    {8, "15.70", "15.699", 1, {"create table query_rz ("}},
    {8,
     "15.90",
     "15.899",
     27,
     {"update menu set name ='会员级别设置' where id =180",
      "update menu set name ='排    钟' where id =185",
      "update menu set name ='会员分析报表' where id =206"}},
    {8, "15.91", "15.909", 1, {"alter table info_table add ky_time decimal(15,2) null"}},
    {8, "15.92", "15.919", 1, {"update menu set name ='报表导出EXCEL权限' where id =207"}},
    {8,
     "15.93",
     "15.929",
     5,
     {"alter table emp_deduct add dk_rebate decimal(14,4) null",
      "update wage_item set item_name ='点客累进业绩' , state =1 , type =1 , sum_state =3 , "
      "tax_state =1 where item_id ='item_26'",
      "update wage_item set item_name ='轮牌累进业绩' where item_id ='item_19'",
      "update wage_item set item_name ='点客累进提成' , state =1 , type =1 , sum_state =1 , "
      "tax_state =1 where item_id ='item_27'",
      "update wage_item set item_name ='轮牌累进提成' , state =1 , type =1 , sum_state =1 , "
      "tax_state =1 where item_id ='item_28'"}},
    {8,
     "15.94",
     "15.939",
     6,
     {"create table yhj (", "update menu set name ='优惠卷生成权限' where id =208",
      "update menu set name ='优惠卷修改权限' where id =209",
      "update menu set name ='优惠卷管理权限' where id =210", "create table telrcd (",
      "update sys SET bb ='15.94' , kernel_ver ='V 6.07.01' , jhzd =''"}},
    {8,
     "15.95",
     "15.949",
     4,
     {"alter table info_item add item_tx int null", "alter table info_ware add ware_tx int null",
      "create table item_ware_tx (",
      "update sys SET bb ='15.95' , kernel_ver ='V 6.08.01' , jhzd =''"}},
    {8,
     "15.96",
     "15.959",
     9,
     {"create table ware_lp_info (", "create table doc_lp (",
      "update menu set name ='优惠卷删除权限' where id =211",
      "update menu set name ='短信单发提醒权限' where id =216",
      "update sys SET bb ='15.96' , kernel_ver ='V 6.50.01' , jhzd =''"}},
    {8,
     "15.97",
     "15.969",
     15,
     {"alter table doc_mem_item add constraint pk_doc_id_serial primary key(doc_id,serial_no)",
      "alter table doc_lp add constraint pk_doc_lp_id primary key(doc_lp_id)",
      "update sys SET bb ='15.97' , kernel_ver ='V 6.50.01' , jhzd =''"}},
    {9,
     "15.98",
     "15.979",
     16,
     {"alter table doc_item add favour_money numeric(15,2) null",
      "alter table doc_m add people_m decimal(10,0) null",
      "alter table doc_ware add favour_money numeric(15,2) null",
      "alter table mem_info add sy_favour numeric(15,2) null",
      "update mem_info set sy_favour =0.00",
      "select mem_id , sum_deposit , card_consume , favour from mem_info where s_id =?",
      "alter table mem_jc add bc_amount numeric(16,2) null",
      "alter table mem_jc add dw char(10) null", "create table mem_jc_ls (",
      "alter table mem_jc_ls add constraint pk_jc_ls_id primary key(jc_ls_id) ",
      "create table doc_yd (", "alter table doc_yd add constraint pk_doc_yd_id",
      "create table week_plan (", "alter table week_plan add constraint pk_id", "create table sy (",
      "alter table sy add constraint pk_year_month"}},
    {9,
     "15.99",
     "15.989",
     16,
     {"update menu set name ='员工业绩综合报表权限' where id =217",
      "update menu set name ='工资--模板' where id =239",
      "update menu set name ='礼品信息设置' where id =232"}},
    {9,
     "16.01",
     "16.009",
     2,
     {"alter table card_level add jf_limit numeric(16,2) null",
      "alter table card_level add jf_limit_u numeric(16,2) null"}},
    {9,
     "16.03",
     "16.029",
     7,
     {"alter table card_level add ck_limit numeric(16,2) null",
      "alter table card_level add ck_limit_u numeric(16,2) null",
      "update menu set name ='项目业绩月份对比表' where id =240",
      "update menu set name ='员工外卖业绩日/月分类统计表' where id =243",
      "update sys SET bb ='16.03' , kernel_ver ='V7.20.01' , jhzd =''"}},
    {9,
     "16.04",
     "16.039",
     2,
     {"update menu set name ='项目综合业绩分析表' where id =244",
      "update sys SET bb ='16.04' , kernel_ver ='V7.20.01' , jhzd =''"}},
    {9,
     "16.05",
     "16.049",
     3,
     {"alter table info_item add item_sms char(100) null",
      "alter table info_ware add ware_sms char(100) null",
      "update sys SET bb ='16.05' , kernel_ver ='V7.30.01' , jhzd =''"}},
    {10,
     "16.06",
     "16.059",
     6,
     {"alter table mem_info add gps char(30) null",
      "alter table mem_info add bx_dt smalldatetime null",
      "update sys SET bb ='16.06' , kernel_ver ='V7.30.01' , jhzd =''"}},
    {10,
     "16.07",
     "16.069",
     16,
     {"alter table card_level add kj_je numeric(16,2) null", "CREATE TABLE sq_card (",
      "alter table sq_card add constraint pk_sq_id primary key(sq_id) ", "CREATE TABLE tc_info (",
      "CREATE TABLE tc_item (", "CREATE TABLE tc_ware (",
      "alter table tc_ware add constraint pk_tc_id_ware_id primary key(tc_id,ware_id) ",
      "update menu set name ='预发卡号管理' where id =245",
      "update menu set name ='收银员对帐表' where id =247",
      "insert into zd_data values ( 500 , '收支类别' , '收入类' , '现金收入' , '' )",
      "insert into zd_data values ( 500 , '收支类别' , '支出类' , '现金支出' , '' )",
      "insert into zd values ( 3 , '卡型' , '固定套餐卡' )",
      "update sys SET bb ='16.07' , kernel_ver ='V7.30.01' , jhzd =''"}},
    {10,
     "16.08",
     "16.079",
     3,
     {"CREATE TABLE doc_pgd (", "alter table doc_pgd add constraint pk_pgd_id primary key(pgd_id) ",
      "update sys SET bb ='16.08' , kernel_ver ='V7.50.01' , jhzd =''"}},
    {10,
     "16.09",
     "16.089",
     4,
     {"alter table doc_pgd add pg_date smalldatetime null",
      "alter table doc_pgd add cl_date smalldatetime null",
      "update menu set name ='派工单管理' where id =248",
      "update sys SET bb ='16.09' , kernel_ver ='V7.50.01' , jhzd =''"}},
    {10,
     "16.10",
     "16.099",
     19,
     {"CREATE TABLE emp_team (", "alter table emp_team add constraint emp_team_id",
      "CREATE TABLE emp_tm_detail (", "alter table emp_tm_detail add constraint emp_tm_id",
      "CREATE TABLE emp_tm_yj (", "alter table emp_tm_yj add constraint emp_tm_yj_id",
      "alter table doc_ware add a_xs numeric(15,2) null",
      "alter table doc_ware add rebate_c numeric(15,2) null",
      "alter table card_level add kj_xz int null", "update card_level set kj_xz =0",
      "update card_level set kj_je =0 where kj_je is null",
      "update card_level set jfxs =1 where jfxs is null",
      "update menu set name ='员工竞赛分组设置' where id =249",
      "update sys SET bb ='16.10' , kernel_ver ='V7.80.01' , jhzd =''"}},
};

TEST(GateTraceTest, EachGateSendsItsBlockJustBelowItsVersionAndNotAtIt) {
  test::ScriptedDialogs dialogs;
  for (const Gate& g : kGates) {
    const std::string label = "step " + std::to_string(g.step) + " gate " + g.at;
    const QStringList below = sent(g.step, QString::fromUtf8(g.below));
    const QStringList at = sent(g.step, QString::fromUtf8(g.at));
    const QStringList block = beyond(below, at);
    EXPECT_EQ(beyond(at, below), QStringList{}) << label;
    EXPECT_EQ(block.size(), g.sent) << label << "\n" << block.join('\n').toStdString();
    EXPECT_TRUE(in_order(block, g.block)) << label << "\n" << block.join('\n').toStdString();
  }
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{});
}

// The version windows of the steps: where a step returns right after its version read.
struct Window {
  int step;
  const char* version;
  int sent;          // statements sent, the version read included
  const char* last;  // the last of them
};

const char kRead[] = "select isnull ( bb , '0' ) from sys where id =1";

const Window kWindows[] = {
    {1, "0", 1, kRead},
    {1, "0   ", 1, kRead},  // a null read from a padded char column
    {1, "abc", 1, kRead},
    {1, "9.691", 1, kRead},
    {2, "0", 1, kRead},
    {2, "9.69", 1, kRead},
    {2, "9.691", 56, "update sys SET bb ='13.109'"},
    {2, "13.1", 1, kRead},
    // Step 3 makes its ungated changes whatever the version; "0" skips its block below 13.17.
    {3, "0", 11, "alter table mem_fund add ck_doc_id char(30) null"},
    {3, "13.169", 12, "alter table sys ALTER COLUMN logon_serial char(32) null"},
    {3, "13.17", 11, "alter table mem_fund add ck_doc_id char(30) null"},
    // Step 4 has no exception for "0", which counts as 0.
    {4, "0", 10, "insert zd values ( 25 , '操作类型' , '无效卡清除' )"},
    {5, "0", 12, "update sys SET bb ='14.50' , kernel_ver ='V 4.50.00'"},
    {5, "14.50", 1, kRead},
    {6, "15.11", 1, kRead},
    {7, "15.31", 1, kRead},
    {8, "15.97", 1, kRead},
    {9, "16.05", 1, kRead},
    {10, "16.10", 1, kRead},
};

TEST(GateTraceTest, StepsReturnWhereTheirWindowEnds) {
  test::ScriptedDialogs dialogs;
  for (const Window& w : kWindows) {
    const std::string label = "step " + std::to_string(w.step) + " at '" + w.version + "'";
    const QStringList got = sent(w.step, QString::fromUtf8(w.version));
    EXPECT_EQ(got.size(), w.sent) << label << "\n" << got.join('\n').toStdString();
    EXPECT_EQ(got.value(got.size() - 1), QString::fromUtf8(w.last)) << label;
  }
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{});
}

// Above 14.189 step 4 ends right after its version read; at 14.189 itself it skips both of its
// groups but still commits.
TEST(GateTraceTest, Step4EndsAbove14189AndOnlyCommitsAtIt) {
  EXPECT_EQ(sent(4, "14.19", true), QStringList{kRead});
  EXPECT_EQ(sent(4, "14.189", true), (QStringList{kRead, "COMMIT"}));
}

}  // namespace
