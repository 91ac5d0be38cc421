// A change of the chain that fails with an error of the server (not a crash) and takes its
// failure path stops the chain with its box; one plain run afterwards must leave the database
// exactly as one uninterrupted run would, every object's definition and every row of every
// table. Each schema change and stamp of the chain from 4.00 is made to fail once; an untested
// one, which the chain passes over without a box, only has to let the chain end.
#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "tests/upgrade/upgrade_test_support.h"

namespace {

using upgrade::Outcome;

const QString kDb = QStringLiteral("velmo41");
constexpr int kShards = 6;
#ifdef SALON_SANITIZED
constexpr size_t kEvery = 4;  // a quarter of the points, spread over the chain
#else
constexpr size_t kEvery = 1;
#endif

bool may_fail(const QString& sql) {
  return sql.startsWith(QStringLiteral("alter table"), Qt::CaseInsensitive) ||
         sql.startsWith(QStringLiteral("create table"), Qt::CaseInsensitive) ||
         sql.startsWith(QStringLiteral("update sys SET bb"));
}

class ChainRerunTest : public test::UpgradeTest, public ::testing::WithParamInterface<int> {
 protected:
  static void SetUpTestSuite() { use_memory_folders(); }
};

TEST_P(ChainRerunTest, NextRunCompletesTheChainAfterAChangeFailed) {
  build();
  keep_pristine(kDb);
  ASSERT_TRUE(tools::connect_fixture(kDb));
  const QStringList trace = traced_chain_run();
  const QString expected = whole_database();

  std::vector<long> all;
  for (qsizetype i = 0; i < trace.size(); ++i)
    if (may_fail(trace[i])) all.push_back(static_cast<long>(i + 1));
  int stopped = 0, passed_over = 0;
  for (size_t j = GetParam(); j < all.size(); j += kShards * kEvery) {
    const long k = all[j];
    const std::string at =
        "failed at statement " + std::to_string(k) + ": " + trace[k - 1].left(120).toStdString();
    restore_pristine(kDb);
    ASSERT_TRUE(tools::connect_fixture(kDb)) << at;
    long seen = 0;
    sqlca.set_fault_hook([&](const QString&) -> std::optional<db::DbError> {
      if (++seen == k) return db::DbError{1105, QStringLiteral("The log file is full.")};
      return std::nullopt;
    });
    const Outcome first = upgrade::run_chain();
    sqlca.set_fault_hook({});
    if (dialogs_.lines().empty()) {
      EXPECT_EQ(first, Outcome::done) << at;
      ++passed_over;
      continue;
    }
    EXPECT_EQ(first, Outcome::failed) << at;
    ++stopped;
    dialogs_.clear();
    EXPECT_EQ(upgrade::run_chain(), Outcome::done) << at;
    EXPECT_EQ(dialogs_.lines(), std::vector<QString>{}) << at;
    dialogs_.clear();
    const QString got = whole_database();
    if (got != expected) ADD_FAILURE() << at << "\n" << first_difference(expected, got);
  }
  EXPECT_GT(stopped, 0);
  std::printf("[ measure ] %d stopped the chain, %d passed over, of %zu changes\n", stopped,
              passed_over, all.size());
}

INSTANTIATE_TEST_SUITE_P(Shards, ChainRerunTest, ::testing::Range(0, kShards),
                         [](const auto& info) { return "shard" + std::to_string(info.param); });

}  // namespace
