// A statement on a failure path fails: its box, no stamp, and the chain stops there.
#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "tests/upgrade/upgrade_test_support.h"

namespace {

using upgrade::Outcome;

struct FaultCase {
  const char* name;
  const char* statement_start;  // the first statement whose text starts so fails
  const char* box;
  const char* bb_after;
  const char* made_before;  // a table the chain made before the failure
  const char* not_made;     // one it did not reach
};

const FaultCase kFaults[] = {
    {"create_in_step1", "CREATE TABLE data_tf", "错误信息|版本升级失败-data_tf!", "4.00",
     "mem_item", "loss_card"},
    {"fourth_info_bill_update", "update info_bill set mem ='退货'",
     "错误信息|版本升级失败-info_bill!", "4.00", "card_s", "yy"},
    {"stamp_of_step1", "update sys SET bb ='9.691'", "错误信息|版本升级失败-update sys.bb!", "4.00",
     "ware_deduct", "emp_rebate"},
    {"column_change_in_step2", "alter table mem_info add post", "错误信息|版本升级失败-mem_info!",
     "9.691", "emp_rebate", "edit_time"},
    {"create_in_step3", "create table sk_mem_info", "错误信息|版本升级失败-sk_mem_info!", "13.109",
     "edit_time", "sk_mem_info"},
};

class FaultTest : public test::UpgradeTest, public ::testing::WithParamInterface<FaultCase> {
 protected:
  bool has_table(const char* t) {
    sqlca.select_row(QStringLiteral("select count ( *) from ") + t);
    return sqlca.status == 0;
  }
};

TEST_P(FaultTest, FailurePathStopsTheChain) {
  const FaultCase& c = GetParam();
  build();
  QStringList seen;
  sqlca.set_fault_hook([&](const QString& sql) -> std::optional<db::DbError> {
    seen << sql;
    if (sql.startsWith(QString::fromUtf8(c.statement_start)))
      return db::DbError{-1, QStringLiteral("injected")};
    return std::nullopt;
  });
  EXPECT_EQ(upgrade::run_chain(), Outcome::failed);
  sqlca.set_fault_hook({});
  EXPECT_EQ(dialogs_.lines(), std::vector<QString>{QString::fromUtf8(c.box)});
  EXPECT_EQ(value("select bb from sys"), QString::fromUtf8(c.bb_after));
  EXPECT_TRUE(has_table(c.made_before));
  EXPECT_FALSE(has_table(c.not_made));
  // The failure path rolls back right after the failing statement, and nothing follows.
  qsizetype at = 0;
  while (at < seen.size() && !seen[at].startsWith(QString::fromUtf8(c.statement_start))) ++at;
  ASSERT_LT(at, seen.size());
  EXPECT_EQ(seen.mid(at + 1), QStringList{"ROLLBACK"});
}

INSTANTIATE_TEST_SUITE_P(Statements, FaultTest, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
