#pragma once
// A program folder at gs_apppath as the demo has it: the old database velmo40 at 4.00 (or
// upgraded to 16.10 first) with rows and a few blank keys, the template base.mdf/base.ldf at
// 4.00, user.ini naming velmo40 on the embedded server. sqlca ends disconnected.
#include <gtest/gtest.h>

#include <QFile>

#include "db/transaction.h"
#include "shared/globals.h"
#include "tools/fixture.h"
#include "tools/old_database.h"

namespace test {

inline void build_demo_folder(bool old_upgraded = false) {
  sqlca.disconnect();
  tools::OldDatabaseOptions old;
  old.upgraded = old_upgraded;
  ASSERT_EQ(tools::build_old_database(old), QString());
  tools::FixtureOptions t;
  t.db_name = "tmpl";
  ASSERT_EQ(tools::build_fixture(t), QString());
  ASSERT_TRUE(QFile::copy(gs_apppath + "tmpl.mdf", gs_apppath + "base.mdf"));
  ASSERT_TRUE(QFile::copy(gs_apppath + "tmpl.ldf", gs_apppath + "base.ldf"));
  tools::write_server_settings();
}

}  // namespace test
