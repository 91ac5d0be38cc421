// The whole chain from the base fixture to 16.10: the schema it leaves, the reference rows of
// steps 4 to 10, and a second run that changes nothing.
#include <QElapsedTimer>
#include <iostream>

#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "tests/upgrade/golden_steps_4_to_10.h"
#include "tests/upgrade/late_steps_support.h"

namespace {

using upgrade::Outcome;

class LateChainTest : public test::LateStepsTest {};

// "table.column: what" for every difference between two schemas.
QStringList differences(const golden::Schema& actual, const golden::Schema& expected) {
  QStringList out;
  for (const auto& [table, cols] : expected) {
    if (!actual.count(table)) {
      out << table + QStringLiteral(": missing");
      continue;
    }
    const auto& got = actual.at(table);
    for (const auto& [name, shape] : cols) {
      const QString where = table + QLatin1Char('.') + name;
      if (!got.count(name))
        out << where + QStringLiteral(": missing");
      else if (!(got.at(name) == shape))
        out << where + QStringLiteral(": ") + got.at(name).type + QLatin1Char('/') +
                   QString::number(got.at(name).key) + QStringLiteral(" instead of ") + shape.type +
                   QLatin1Char('/') + QString::number(shape.key);
    }
    for (const auto& [name, shape] : got)
      if (!cols.count(name)) out << table + QLatin1Char('.') + name + QStringLiteral(": extra");
  }
  for (const auto& [table, cols] : actual)
    if (!expected.count(table)) out << table + QStringLiteral(": extra table");
  return out;
}

TEST_F(LateChainTest, BaseFixtureReachesTheGoldenSchemaAt1610) {
  build();
  QElapsedTimer timer;
  timer.start();
  int steps = 0;
  EXPECT_EQ(upgrade::run_chain(&steps), Outcome::done);
  const qint64 ms = timer.elapsed();
  std::cout << "[ measure ] whole chain, 4.00 to 16.10, embedded server: " << ms << " ms\n";
  RecordProperty("chain_ms", static_cast<int>(ms));
  EXPECT_EQ(steps, 10);
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{});

  const golden::Schema expected =
      golden::expected_schema({&golden::steps_1_to_3(), &golden::steps_4_to_10()});
  EXPECT_EQ(differences(schema(), expected), QStringList{});
  EXPECT_EQ(rows("select bb , kernel_ver , jhzd from sys"), QStringList{"16.10|V7.80.01|"});
  // What the source check takes for the newest version is what the chain stamps last.
  EXPECT_EQ(rows("select bb from sys"), QStringList{upgrade::kLastVersion});

  for (const auto& r : golden::table_rules_4_to_10()) {
    const QString table = QString::fromLatin1(r.table);
    QStringList not_null;  // cid|name|type|notnull|dflt_value|pk
    for (const QString& c :
         rows(QStringLiteral("select * from pragma_table_info ( '%1' )").arg(table)))
      if (c.section(QLatin1Char('|'), 3, 3) == QLatin1String("1"))
        not_null << c.section(QLatin1Char('|'), 1, 1);
    EXPECT_EQ(not_null.join(QLatin1Char(',')), QString::fromLatin1(r.not_null)) << r.table;
    const QString create =
        value(QStringLiteral("select sql from sqlite_master where type ='table' and name ='%1'")
                  .arg(table));
    const QString key = *r.key_name
                            ? QStringLiteral("constraint \"%1\" primary key").arg(r.key_name)
                            : QStringLiteral("primary key");
    EXPECT_EQ(create.contains(key, Qt::CaseInsensitive), *r.key_name != 0) << create.toStdString();
  }
}

TEST_F(LateChainTest, ReferenceRowsOfTheLaterSteps) {
  build();
  ASSERT_EQ(upgrade::run_chain(), Outcome::done);

  // One menu name of each block, with the odd ones: four blanks in 185, 239 written, 229 not.
  EXPECT_EQ(rows("select id , name from menu where id in (178, 180, 185, 206, 207, 210, 216, "
                 "217, 228, 229, 239, 232, 243, 244, 245, 247, 248, 249) order by id"),
            (QStringList{"178|无效卡清除", "180|会员级别设置", "185|排    钟", "206|会员分析报表",
                         "207|报表导出EXCEL权限", "210|优惠卷管理权限", "216|短信单发提醒权限",
                         "217|员工业绩综合报表权限", "228|工资--提成", "229|菜单229",
                         "232|礼品信息设置", "239|工资--模板", "243|员工外卖业绩日/月分类统计表",
                         "244|项目综合业绩分析表", "245|预发卡号管理", "247|收银员对帐表",
                         "248|派工单管理", "249|员工竞赛分组设置"}));
  // item_19 gets its name only.
  EXPECT_EQ(rows("select item_id , item_name , state , type , sum_state , tax_state from "
                 "wage_item where item_id in ('item_19', 'item_23', 'item_24', 'item_25', "
                 "'item_26', 'item_27', 'item_28') order by item_id"),
            (QStringList{"item_19|轮牌累进业绩|1|1|3|0", "item_23|罚款|1|2|2|1",
                         "item_24|员工借款|1|2|2|1", "item_25|包卡提成|1|1|1|1",
                         "item_26|点客累进业绩|1|1|3|1", "item_27|点客累进提成|1|1|1|1",
                         "item_28|轮牌累进提成|1|1|1|1"}));
  EXPECT_EQ(rows("select id , lx , mc from zd where id in (3, 25, 31) order by id"),
            (QStringList{"3|卡型|固定套餐卡", "25|操作类型|无效卡清除", "31|操作类型|修改信息"}));
  EXPECT_EQ(rows("select id , lx , lb , mc , bz from zd_data where id =500 order by lb"),
            (QStringList{"500|收支类别|支出类|现金支出|", "500|收支类别|收入类|现金收入|"}));
  EXPECT_EQ(value("select count ( *) from emp_info where item6 <> 0 or item6 is null"), "0");
  EXPECT_EQ(value("select count ( *) from card_level where kj_xz <> 0 or kj_je <> 0 or jfxs <> 1 "
                  "or kj_xz is null or kj_je is null or jfxs is null"),
            "0");
}

TEST_F(LateChainTest, SecondRunOn1610ChangesNothing) {
  build();
  ASSERT_EQ(upgrade::run_chain(), Outcome::done);
  const QString before = snapshot();
  int steps = 0;
  EXPECT_EQ(upgrade::run_chain(&steps), Outcome::done);
  EXPECT_EQ(steps, 10);
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{});
  EXPECT_EQ(snapshot(), before);
}

}  // namespace
