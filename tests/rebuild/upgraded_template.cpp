#include "tests/rebuild/upgraded_template.h"

#include <gtest/gtest.h>

#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "tools/fixture.h"

namespace test {

std::map<QString, QStringList> upgraded_template_schema() {
  std::map<QString, QStringList> out;
  const QString err = tools::build_fixture();
  EXPECT_EQ(err, QString());
  EXPECT_TRUE(tools::connect_fixture());
  EXPECT_EQ(upgrade::run_chain(), upgrade::Outcome::done);
  auto ds = sqlca.prepare(
      "select m.name, p.name, p.type from sqlite_master m, pragma_table_info(m.name) p"
      " where m.type = 'table' order by m.name, p.cid");
  db::DbError e;
  if (ds && ds->execute(e))
    while (ds->fetch(e))
      out[ds->column(0).to_text()] << ds->column(1).to_text() + " " + ds->column(2).to_text();
  sqlca.disconnect();
  return out;
}

}  // namespace test
