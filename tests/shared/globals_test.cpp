#include "shared/globals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "runtime/files.h"
#include "tests/support/qt_print.h"

namespace {

TEST(Globals, InitialValuesAndStartUp) {
  EXPECT_EQ(gi_connect_time, 1);
  EXPECT_EQ(gs_fd_id, "1001");
  EXPECT_EQ(gi_database_type, 2);
  EXPECT_EQ(gi_soft, 1);
  EXPECT_EQ(gi_sr, 1);
  EXPECT_EQ(gi_tables, 94);

  app_startup("database_reg");
  EXPECT_EQ(QCoreApplication::applicationName(), "database_reg");
  EXPECT_EQ(gs_apppath, rt::program_folder());
  EXPECT_TRUE(gs_apppath.endsWith('/'));
  EXPECT_EQ(gs_inifile, gs_apppath + "user.ini");

  set_program_folder("/d/salon");
  EXPECT_EQ(gs_apppath, "/d/salon/");
  EXPECT_EQ(gs_inifile, "/d/salon/user.ini");
}

}  // namespace
