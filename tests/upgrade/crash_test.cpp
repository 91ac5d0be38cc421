// The chain killed (SIGKILL, in a child process) right before a statement, then run again
// plainly: the database must end exactly as after one uninterrupted run, every object's
// definition and every row of every table.
//
// Kill points: before every statement of the chain that can change the database (a read
// changes nothing, and with auto_commit on neither does a COMMIT or ROLLBACK), except that
// inside a unit, which a crash undoes whole, only its first change, its middle one and its end
// are taken. They are dealt out to kShards tests, which run side by side.
#include <QDir>

#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "tests/support/child_process.h"
#include "tests/upgrade/upgrade_test_support.h"

namespace {

using upgrade::Outcome;

const QString kDb = QStringLiteral("velmo41");
constexpr int kShards = 24;
#ifdef SALON_SANITIZED
// Under the sanitizers a quarter of the points, spread over the chain: memory faults show on
// the same code paths, and the plain build still takes every point.
constexpr size_t kEvery = 4;
#else
constexpr size_t kEvery = 1;
#endif

bool changes_nothing(const QString& sql) {
  return sql.startsWith(QStringLiteral("select"), Qt::CaseInsensitive) ||
         sql == QStringLiteral("COMMIT") || sql == QStringLiteral("ROLLBACK");
}

// Statement numbers (from 1) to kill before.
std::vector<long> kill_points(const QStringList& trace) {
  std::vector<long> points;
  std::vector<long> unit;  // the changes of the unit being read
  bool in_unit = false;
  for (qsizetype i = 0; i < trace.size(); ++i) {
    const QString& sql = trace[i];
    if (sql == QStringLiteral("BEGIN UNIT")) {
      in_unit = true;
      unit.clear();
    } else if (sql == QStringLiteral("END UNIT")) {
      in_unit = false;
      if (!unit.empty()) {
        points.push_back(unit.front());
        if (unit.size() > 2) points.push_back(unit[unit.size() / 2]);
      }
      points.push_back(static_cast<long>(i + 1));
    } else if (!changes_nothing(sql)) {
      (in_unit ? unit : points).push_back(static_cast<long>(i + 1));
    }
  }
  return points;
}

class ChainCrashTest : public test::UpgradeTest, public ::testing::WithParamInterface<int> {
 protected:
  static void SetUpTestSuite() { use_memory_folders(); }
};

TEST_P(ChainCrashTest, NextRunCompletesTheChainAfterAKillAtAnyChange) {
  const int shard = GetParam();
  build();
  keep_pristine(kDb);

  // The uninterrupted run: its statements and the database it leaves.
  ASSERT_TRUE(tools::connect_fixture(kDb));
  const QStringList trace = traced_chain_run();
  const QString expected = whole_database();
  ASSERT_TRUE(dialogs_.lines().empty());

  std::vector<long> points;
  const std::vector<long> all = kill_points(trace);
  for (size_t j = shard; j < all.size(); j += kShards * kEvery) points.push_back(all[j]);
  ASSERT_FALSE(points.empty());

  const QString child = test::sibling_program(QStringLiteral("upgrade_chain_child"));
  for (long k : points) {
    const std::string at = "killed before statement " + std::to_string(k) + ": " +
                           trace[k - 1].left(120).toStdString();
    restore_pristine(kDb);
    const test::ChildEnd end = test::run_child(child, {folder_.path(), kDb, QString::number(k)});
    ASSERT_TRUE(end.killed) << at << "\n" << end.output.toStdString();

    ASSERT_TRUE(tools::connect_fixture(kDb)) << at;
    EXPECT_EQ(upgrade::run_chain(), Outcome::done) << at;
    EXPECT_EQ(dialogs_.lines(), std::vector<QString>{}) << at;
    dialogs_.clear();
    const QString got = whole_database();
    if (got != expected) ADD_FAILURE() << at << "\n" << first_difference(expected, got);
  }
  std::printf("[ measure ] %zu of %zu kill points\n", points.size(), all.size());
}

INSTANTIATE_TEST_SUITE_P(Shards, ChainCrashTest, ::testing::Range(0, kShards),
                         [](const auto& info) { return "shard" + std::to_string(info.param); });

}  // namespace
