// The derived member amount, as step 9 fills it when it adds mem_info.sy_favour.
#include "db/transaction.h"
#include "kestrel/upgrade/f_calc_sy_favour.h"
#include "kestrel/upgrade/steps.h"
#include "tests/upgrade/late_steps_support.h"

namespace {

using upgrade::Outcome;

struct Member {
  const char* id;
  const char* store;
  const char* sum_deposit;  // SQL literals, "null" for a null
  const char* card_consume;
  const char* favour;
  const char* sy_favour;  // expected
};

const Member kMembers[] = {
    {"A01", "1001", "1000", "600", "200", "100.00"},  // 600 × 200 ÷ 1200
    {"A02", "1001", "200", "100", "100", "33.33"},
    {"A03", "1001", "300", "250", "100", "62.50"},
    {"B01", "1001", "500", "300", "0", "0.00"},     // no bonus
    {"B02", "1001", "500", "0", "100", "0.00"},     // no card consumption
    {"C01", "1001", "-100", "50", "100", "0.00"},   // deposits and bonus sum to 0
    {"C02", "1001", "-50", "30", "100", "60.00"},   // share 2: not clamped
    {"D01", "1001", "null", "100", "100", "0.00"},  // skipped
    {"D02", "1001", "100", "null", "100", "0.00"},  // skipped
    // 2.05 × 0.5 is 1.02499999999999991…, 1.025 at 15 digits: half away from zero.
    {"E01", "1001", "100", "2.05", "100", "1.03"},
    {"F01", "2002", "1000", "600", "200", "0.00"},  // another store's member
};

class SyFavourTest : public test::LateStepsTest {
 protected:
  void members() {
    exec("delete from mem_info");
    for (const Member& m : kMembers)
      exec(QStringLiteral("insert into mem_info (mem_id, s_id, sum_deposit, card_consume, favour) "
                          "values ('%1', '%2', %3, %4, %5)")
               .arg(m.id, m.store, m.sum_deposit, m.card_consume, m.favour));
  }
  QString amount(const char* id) {
    return value(QStringLiteral("select sy_favour from mem_info where mem_id ='%1'").arg(id));
  }
};

TEST_F(SyFavourTest, Step9ComputesEveryMemberOfTheStore) {
  build_through(8);
  members();
  EXPECT_EQ(upgrade::f_ver9(), Outcome::done);
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{});
  for (const Member& m : kMembers) EXPECT_EQ(amount(m.id), m.sy_favour) << m.id;
}

TEST_F(SyFavourTest, NullRowsAreSkippedAndAnEmptyStoreWritesNothing) {
  build_through(8);
  members();
  exec("alter table mem_info add sy_favour numeric(15,2) null");
  exec("update mem_info set sy_favour =9.99");
  EXPECT_EQ(upgrade::f_calc_sy_favour(), 0);
  EXPECT_EQ(amount("A01"), "100.00");
  EXPECT_EQ(amount("D01"), "9.99");
  EXPECT_EQ(amount("D02"), "9.99");
  EXPECT_EQ(amount("F01"), "9.99");

  exec("update mem_info set sy_favour =9.99");
  exec("update mem_info set s_id ='3003'");
  watch();
  EXPECT_EQ(upgrade::f_calc_sy_favour(), 0);
  EXPECT_FALSE(trace_.join(QLatin1Char('\n')).contains("update mem_info"));
  EXPECT_EQ(amount("A01"), "9.99");

  exec("update mem_info set s_id ='1001'");
  watch(QStringLiteral("select mem_id , sum_deposit"));  // the retrieve fails
  EXPECT_EQ(upgrade::f_calc_sy_favour(), 0);
  EXPECT_EQ(amount("A01"), "9.99");
}

TEST_F(SyFavourTest, Step9LeavesAnExistingAmountAlone) {
  build_through(8);
  members();
  exec("alter table mem_info add sy_favour numeric(15,2) null");
  exec("update mem_info set sy_favour =9.99");
  EXPECT_EQ(upgrade::f_ver9(), Outcome::done);
  EXPECT_EQ(value("select count ( *) from mem_info where sy_favour <> 9.99"), "0");
}

TEST_F(SyFavourTest, FailedUpdateStopsTheComputationAndStep9GoesOn) {
  build_through(8);
  exec("delete from mem_info");
  for (const char* id : {"M1", "M2", "M3"})
    exec(QStringLiteral("insert into mem_info (mem_id, s_id, sum_deposit, card_consume, favour) "
                        "values ('%1', '1001', 1000, 600, 200)")
             .arg(id));
  watch(QStringLiteral("update mem_info set sy_favour =? where mem_id =?"), 2);
  EXPECT_EQ(upgrade::f_ver9(), Outcome::done);
  EXPECT_EQ(dialogs_.lines(),
            std::vector<QString>{"错误信息|计算优惠额使用情况失败,请与供应商联系"});
  EXPECT_EQ(rows("select mem_id , sy_favour from mem_info order by mem_id"),
            (QStringList{"M1|100.00", "M2|0.00", "M3|0.00"}));
  EXPECT_TRUE(has_column("mem_jc", "bc_amount"));
  EXPECT_EQ(value("select bb from sys"), "16.05");
}

TEST_F(SyFavourTest, FailedUpdateGivesMinusOne) {
  build_through(8);
  exec("alter table mem_info add sy_favour numeric(15,2) null");
  watch(QStringLiteral("update mem_info set sy_favour ="));
  EXPECT_EQ(upgrade::f_calc_sy_favour(), -1);
}

}  // namespace
