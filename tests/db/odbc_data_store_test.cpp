// The data store through ODBC (the local engine's data source): update is one unit there too.
#include <gtest/gtest.h>

#include "db/data_store.h"
#include "db/sqlite_connection.h"
#include "db/transaction.h"
#include "tests/support/temp_program_folder.h"

namespace {

TEST(OdbcDataStore, FailingUpdateWithAutoCommitLeavesTheTableAsItWas) {
  test::TempProgramFolder folder;
  const QString file = folder.file(QStringLiteral("velmo41.db"));
  {
    db::SqliteConnection db;
    ASSERT_EQ(db.open(file.toUtf8().constData()), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db.get(),
                           "create table zd (id int not null primary key, lx char(30));"
                           "insert into zd values (1, 'old');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
  }
  // Written before the first ODBC call of this process, which reads it.
  folder.write(QStringLiteral("../home/.odbc.ini"),
               QStringLiteral("[velmo41]\nDriver=%1wod50t.dll\nDatabaseFile=%2\n")
                   .arg(folder.path(), file)
                   .toUtf8());
  sqlca.interface_id = QStringLiteral("ODBC");
  sqlca.connect_params = QStringLiteral("Connectstring='DSN=velmo41;UID=dba;PWD=sql'");
  sqlca.auto_commit = true;
  sqlca.connect();
  ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();

  ASSERT_TRUE(
      db::register_table_definition({.name = QStringLiteral("odbc_zd"),
                                     .select_sql = QStringLiteral("select id, lx from zd"),
                                     .columns = {{QStringLiteral("id"), db::ColumnType::Integer},
                                                 {QStringLiteral("lx"), db::ColumnType::Text}},
                                     .update_table = QStringLiteral("zd")}));
  db::DataStore ds;
  ds.set_dataobject(QStringLiteral("odbc_zd"));
  ds.settransobject(sqlca);
  folder.write(QStringLiteral("f.txt"), "2\ta\n1\tduplicate\n");
  ASSERT_EQ(ds.importfile(folder.file(QStringLiteral("f.txt"))), 2);
  EXPECT_EQ(ds.update(), -1);
  EXPECT_EQ(sqlca.status, -1);
  EXPECT_EQ(ds.retrieve(), 1);

  ds.reset();
  folder.write(QStringLiteral("g.txt"), "2\ta\n3\t会员\n");
  ASSERT_EQ(ds.importfile(folder.file(QStringLiteral("g.txt"))), 2);
  EXPECT_EQ(ds.update(), 1) << sqlca.db_error_text.toStdString();
  EXPECT_EQ(ds.retrieve(), 3);
  sqlca.disconnect();
}

}  // namespace
