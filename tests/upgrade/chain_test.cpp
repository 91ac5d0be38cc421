// Steps 1 to 3 on the base fixture: the schema they leave, the rows they write, a second run.
#include "kestrel/upgrade/chain.h"

#include <QElapsedTimer>
#include <iostream>

#include "db/data_store.h"
#include "db/transaction.h"
#include "kestrel/upgrade/chain_definitions.h"
#include "kestrel/upgrade/steps.h"
#include "tests/upgrade/upgrade_test_support.h"

namespace {

using upgrade::Outcome;

// The first three steps of the chain as it runs them; the later steps have tests of their own.
Outcome run_steps_1_to_3() {
  for (size_t i = 0; i < 3; ++i) {
    const Outcome o = upgrade::chain_steps()[i]();
    if (o == Outcome::failed || o == Outcome::end_program || o == Outcome::restart_program)
      return o;
  }
  return Outcome::done;
}

class ChainTest : public test::UpgradeTest {};

TEST_F(ChainTest, BaseSchemaIsBroughtToTheGoldenSchema) {
  build();
  int statements = 0;
  sqlca.set_fault_hook([&](const QString&) -> std::optional<db::DbError> {
    ++statements;
    return std::nullopt;
  });
  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(run_steps_1_to_3(), Outcome::done);
  std::cout << "[ measure ] steps 1-3 on the base fixture: " << timer.elapsed() << " ms, "
            << statements << " statements\n";
  EXPECT_TRUE(dialogs_.lines().empty()) << dialogs_.lines().front().toStdString();

  const golden::Schema expected = golden::expected_schema({&golden::steps_1_to_3()});
  const golden::Schema actual = schema();
  for (const auto& [table, cols] : expected) {
    ASSERT_TRUE(actual.count(table)) << "missing table " << table.toStdString();
    for (const auto& [name, shape] : cols) {
      const auto& got = actual.at(table);
      ASSERT_TRUE(got.count(name))
          << "missing " << table.toStdString() << "." << name.toStdString();
      EXPECT_EQ(got.at(name).type, shape.type) << table.toStdString() << "." << name.toStdString();
      EXPECT_EQ(got.at(name).key, shape.key) << table.toStdString() << "." << name.toStdString();
    }
    EXPECT_EQ(actual.at(table).size(), cols.size()) << "extra columns in " << table.toStdString();
  }
  EXPECT_EQ(actual.size(), expected.size());
}

TEST_F(ChainTest, ReferenceRowsAndFills) {
  build();
  ASSERT_EQ(run_steps_1_to_3(), Outcome::done);

  EXPECT_EQ(rows("select bb , kernel_ver from sys"), QStringList{"13.109|V 4.00.00"});

  // Menu names, as the last writer leaves them; 151 and 152 by step 2.
  const QStringList menus = rows(
      "select id , name from menu where id in (140, 143, 144, 148, 149, 150, 151, 152, 153, "
      "154, 156, 160, 163, 164, 167, 176, 177, 250, 500) order by id");
  EXPECT_EQ(menus,
            (QStringList{"140|项目提成设置", "143|业务单修改删除", "144|收支修改", "148|审查短消息",
                         "149|附属卡设置", "150|查询所有业务单", "151|开牌", "152|输单", "153|结账",
                         "154|菜单154", "156|清除历史数据", "160|会员卡查询", "163|会员信息修改",
                         "164|会员资料高级查询", "167|手牌/场馆信息设置", "176|报表数据导出",
                         "177|菜单177", "250|<null>", "500|<null>"}));
  EXPECT_EQ(value("select count ( *) from menu"), "361");  // 140 to 500
  // Every group gets rows for the new entries 151 to 500; seeded rows stay.
  EXPECT_EQ(value("select count ( *) from group_menu where menu_id >= 151"), "700");
  EXPECT_EQ(value("select count ( *) from group_menu"), "711");
  EXPECT_EQ(rows("select group_id , menu_id , state from group_menu where menu_id =500 order by "
                 "group_id"),
            (QStringList{"1|500|1", "2|500|1"}));

  QStringList zd = rows("select id , lx , mc from zd");
  zd.sort();
  QStringList expected_zd = {"1|卡型|会员卡",        "7|其他类型|不变",
                             "7|操作类型|存款",      "8|操作类型|存款优惠",
                             "9|操作类型|续卡存款",  "11|操作类型|会员取款",
                             "12|资金类型|资金转帐", "13|资金类型|顾客欠款",
                             "14|资金类型|归还欠款", "15|操作类型|计次项目设置",
                             "16|操作类型|增加计次", "21|操作类型|会员冻结",
                             "22|操作类型|会员解冻"};
  expected_zd.sort();
  EXPECT_EQ(zd, expected_zd);

  EXPECT_EQ(rows("select item_id , item_name , state , sum_state from wage_item where item_id "
                 "in ('item_16','item_17','item_18','item_19','item_20','item_21') order by "
                 "item_id"),
            (QStringList{"item_16|售卡业绩|1|3", "item_17|产品业绩|1|3", "item_18|售卡提成|1|1",
                         "item_19|项目业绩|1|3", "item_20|员工提成|1|1", "item_21|工资项21|0|0"}));
  EXPECT_EQ(rows("select bill_id , bill_kind , mem from info_bill order by bill_id"),
            (QStringList{"00002|1|入库", "00003|5|内耗", "00005|1|盘点", "00006|1|退货"}));
  EXPECT_EQ(rows("select s_id , s_name , s_addr from info_storage"),
            QStringList{"1001|总店|<null>"});

  // Members: nulls repaired, new columns filled, xx and post dropped and added empty.
  EXPECT_EQ(value("select count ( *) from mem_info where sum_deposit is null or cash_consume is "
                  "null or integral is null or al_integral_c is null or balance is null or "
                  "card_consume is null or favour is null or overdraft is null"),
            "0");
  EXPECT_EQ(value("select count ( *) from mem_info where favour =0 and overdraft =0 and item20 "
                  "=1 and xx is null and post is null and gj ='中国' and yxq ='2010-12-31 "
                  "23:59:59.000'"),
            "3");
  EXPECT_EQ(value("select count ( *) from mem_info where mem_id ='M003' and sum_deposit =1000 "
                  "and card_consume =600"),
            "1");
  EXPECT_EQ(rows("select emp_id , state , item4 from emp_info where item6 =0 and xs1 =1 and xs2 "
                 "=1 order by emp_id"),
            (QStringList{"E01|1|1001", "E02|1|1001"}));
  EXPECT_EQ(value("select count ( *) from card_level where re_m =1 and rebate_w =rebate and "
                  "time_len =5 and time_type =1"),
            "2");
  EXPECT_EQ(value("select count ( *) from item_card where re_m =1"), "1");
  EXPECT_EQ(value("select count ( *) from ware_card where re_m =1"), "1");
  EXPECT_EQ(value("select count ( *) from doc_ware where re_m =1"), "1");
  EXPECT_EQ(value("select count ( *) from doc_item where r_e =1"), "1");
  EXPECT_EQ(value("select count ( *) from doc_m where people =1 and fsk =0"), "1");
  EXPECT_EQ(value("select fd from ie_data"), "1001");
  EXPECT_EQ(value("select fd from s_storage"), "1001");
  EXPECT_EQ(value("select in_s from bill_m"), "1001");
  EXPECT_EQ(rows("select ware_id , item4 from info_ware order by ware_id"),
            (QStringList{"W01|1", "W02|2", "W03|<null>"}));
  EXPECT_EQ(value("select logon_serial from sys"), "0f0f0f");
}

TEST_F(ChainTest, SecondRunChangesNothing) {
  build();
  ASSERT_EQ(run_steps_1_to_3(), Outcome::done);
  const QString first = snapshot();
  EXPECT_EQ(run_steps_1_to_3(), Outcome::done);
  EXPECT_EQ(snapshot().toStdString(), first.toStdString());
  EXPECT_TRUE(dialogs_.lines().empty());
}

// Without groups, or when the group list cannot be read, the menu rows still come.
class NoGroupsTest : public test::UpgradeTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(NoGroupsTest, MenuRowsStillComeWithoutGroupRows) {
  build();
  exec(GetParam());
  ASSERT_EQ(run_steps_1_to_3(), Outcome::done);
  EXPECT_EQ(value("select count ( *) from menu where id between 151 and 500"), "350");
  EXPECT_EQ(value("select count ( *) from group_menu"), "11");  // the seeded ones
}

INSTANTIATE_TEST_SUITE_P(Groups, NoGroupsTest,
                         ::testing::Values("delete from group_", "drop table group_"));

TEST_F(ChainTest, DataStoreDefinitionsOfTheChain) {
  build();
  upgrade::register_chain_definitions();
  db::DataStore ds;
  ASSERT_TRUE(ds.set_dataobject("d_mem_info_list3"));
  ds.settransobject(sqlca);
  exec("update mem_info set s_id ='1002' where mem_id ='M002'");
  ASSERT_EQ(ds.retrieve({db::Value::text("1001")}), -1);  // favour comes with step 1
  ASSERT_EQ(upgrade::f_ver(), Outcome::done);
  ASSERT_EQ(ds.retrieve({db::Value::text("1001")}), 2);
  EXPECT_EQ(ds.getitemstring(2, "mem_id").value_or(""), "M003");
  EXPECT_EQ(ds.getitemnumber(2, "sum_deposit").value_or(-1), 1000);
  EXPECT_EQ(ds.getitemnumber(2, "card_consume").value_or(-1), 600);
  EXPECT_EQ(ds.getitemnumber(2, "favour").value_or(-1), 0);
}

}  // namespace
