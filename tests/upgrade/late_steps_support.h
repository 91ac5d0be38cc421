#pragma once
// For the tests of steps 4 to 10: a fixture brought through the steps before the one under
// test, a record of the statements a step issues, and a statement made to fail.
#include <QString>
#include <QStringList>

#include "tests/upgrade/upgrade_test_support.h"

namespace test {

class LateStepsTest : public UpgradeTest {
 protected:
  // The base fixture (4.00) named `db_name`, connected, brought through the first `steps`
  // steps of the chain; the boxes they showed are cleared.
  void build_through(int steps, const QString& db_name = QStringLiteral("velmo41"));

  // A copy of database `from` attached as `to`, and sqlca connected to the copy: cheaper than
  // running the steps again for every case.
  void clone(const QString& from, const QString& to);

  bool has_column(const QString& table, const QString& column);
  bool has_table(const QString& table);

  // From now on every statement sqlca runs is recorded in trace_; statements starting with
  // `fail_prefix` (when given) fail instead of running, the `fail_at`-th one only when set.
  void watch(const QString& fail_prefix = {}, int fail_at = 0);
  bool traced(const QString& sql) const { return trace_.contains(sql); }

  QStringList trace_;
};

}  // namespace test
