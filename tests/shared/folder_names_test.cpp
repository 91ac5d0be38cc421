// The local engine in program folders of any name: salon folders are often named in Chinese,
// and the SQLite ODBC driver takes no braces and ends a connection-string value at ';'.
#include <gtest/gtest.h>

#include "db/transaction.h"
#include "runtime/registry.h"
#include "shared/f_conect.h"
#include "shared/globals.h"
#include "shared/panel_test.h"
#include "tests/shared/fake_panel.h"
#include "tests/shared/sqlite_file.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace {

const QString kOdbcIni = QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\");

class FolderName : public ::testing::TestWithParam<QString> {
 protected:
  FolderName() : dir(GetParam()) {}
  ~FolderName() override {
    sqlca.disconnect();
    gi_connect_time = 1;
  }
  test::TempProgramFolder dir;
  test::ScriptedDialogs dialogs;
};

TEST_P(FolderName, ThePanelsTestOfTheLocalKindConnects) {
  ASSERT_TRUE(test::make_sqlite_file(dir.file("kiosk.db")));
  rt::registry_set(kOdbcIni + "Kiosk_base", "Driver", gs_apppath + "wod50t.dll");
  rt::registry_set(kOdbcIni + "Kiosk_base", "DatabaseFile", dir.file("kiosk.db"));
  test::fake_panel p;
  shared::cb_test2_clicked(p);
  EXPECT_EQ(dialogs.lines(),
            std::vector<QString>{"系统提示|数据库连接成功，设置正确！\r\n请保存设置!"});
  EXPECT_EQ(p.saves_raised, 1);
}

TEST_P(FolderName, ARegistrationThroughTheFileDialogConnects) {
  ASSERT_TRUE(test::make_sqlite_file(dir.file("shop.db")));
  gi_connect_time = 2;
  dialogs.answer(true);
  dialogs.choose_file(dir.file("shop.db"));
  EXPECT_EQ(f_conect("velmo41", QString(), "dba", "kpz531274"), 1);
  EXPECT_EQ(dialogs.lines(),
            (std::vector<QString>{"系统提示|数据库连接失败!是否要注册数据库?",
                                  "请选择数据库路径|DB Files (*.DB),*.DB",
                                  "系统提示|本数据库注册成功!"}));
  EXPECT_TRUE(sqlca.is_connected());
  EXPECT_EQ(sqlca.database_file(), dir.file("shop.db"));
  // Text goes both ways intact.
  sqlca.execute("insert into sys (id, bb) values (1, ?)", {db::Value::text("美发16.10")});
  EXPECT_EQ(sqlca.select_row("select bb from sys").at(0).to_text(), "美发16.10");
}

INSTANTIATE_TEST_SUITE_P(Names, FolderName,
                         ::testing::Values(QStringLiteral("美发店"), QStringLiteral("a;b=c"),
                                           QStringLiteral("{x}"), QStringLiteral("my salon")));

}  // namespace
