// kestrel run as a program on the SQL Server kind, in front of a fake server: Start's first
// login, to the old database, carries the stored user and password as they stand, and nothing
// reaches another server that they name.
#include <gtest/gtest.h>

#include "tests/support/driven_program.h"
#include "tests/support/fake_tds_server.h"
#include "tests/support/temp_program_folder.h"

namespace {

TEST(StartLogin, StoredValuesReachTheLoginAsTheyStand) {
  test::IsolatedFreeTds freetds;
  test::TempProgramFolder dir;
  test::FakeTdsServer named, other;
  const QString copy = test::copy_program(QStringLiteral(KESTREL_PROGRAM), dir.path());
  ASSERT_FALSE(copy.isEmpty());
  const QString user = QStringLiteral("sa};Server=127.0.0.1;Port=%1").arg(other.port());
  const QString password = QStringLiteral("a}b};APP=INJ");
  dir.write("user.ini", QStringLiteral("[database]\r\nserver_name=127.0.0.1,%1\r\n"
                                       "database_name=velmo40\r\nuser_name=%2\r\n"
                                       "user_password=%3\r\ndatabase_type=2\r\nconnect=1\r\n")
                            .arg(QString::number(named.port()), user, password)
                            .toUtf8());
  EXPECT_EQ(test::run_driven_program(copy, "window,click:cb_test,ok,close", dir.file("driver.log"),
                                     60000),
            0);
  EXPECT_TRUE(QString::fromUtf8(dir.read("driver.log")).contains("|连接原始数据库失败\n"))
      << dir.read("driver.log").toStdString();
  EXPECT_EQ(named.sole_login(), (QStringList{user, password, "velmo40", ""}));
  EXPECT_EQ(other.connections(), 0);
}

}  // namespace
