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
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{"系统提示|数据库连接失败!是否要注册数据库?",
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

// A folder name with a control character would write lines of its own into the profile (a
// driver, a section declaring another data source) and read back cut short: the registration
// is refused before anything is written, on both paths.
class ControlCharacterInFolderName : public FolderName {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::make_sqlite_file(dir.file("velmo41.db")));
    rt::registry_set(kOdbcIni + "velmo40", "DatabaseFile", "/salon/velmo40.db");
    profile = QFile(dir.odbc_ini()).exists() ? dir.read("../home/.odbc.ini") : QByteArray();
    ASSERT_TRUE(profile.contains("[velmo40]"));
  }
  void expect_nothing_written() {
    EXPECT_EQ(dir.read("../home/.odbc.ini"), profile);
    EXPECT_FALSE(QFile::exists(dir.config_folder() + "USER.INI"));
  }
  QByteArray profile;
};

TEST_P(ControlCharacterInFolderName, TheSilentRegistrationIsRefused) {
  gi_connect_time = 1;
  EXPECT_EQ(register_in_program_folder("velmo41", QString()), -1);
  EXPECT_EQ(f_conect("velmo41", QString(), "dba", "kpz531274"), 1);
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_NE(sqlca.status, 0);
  EXPECT_TRUE(dialogs.shown().empty());
  expect_nothing_written();
}

TEST_P(ControlCharacterInFolderName, TheRegistrationThroughTheFileDialogIsRefused) {
  gi_connect_time = 2;
  dialogs.answer(true);
  dialogs.choose_file(dir.file("velmo41.db"));
  EXPECT_EQ(f_conect("velmo41", QString(), "dba", "kpz531274"), 0);
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{"系统提示|数据库连接失败!是否要注册数据库?",
                                                   "请选择数据库路径|DB Files (*.DB),*.DB",
                                                   "系统提示|本数据库注册失败!"}));
  EXPECT_FALSE(sqlca.is_connected());
  expect_nothing_written();
}

INSTANTIATE_TEST_SUITE_P(Names, ControlCharacterInFolderName,
                         ::testing::Values(QStringLiteral("a\nDriver=evil.so\nb"),
                                           QStringLiteral("\n[ODBC Data Sources]\nevil=x\n"),
                                           QStringLiteral("a\rb"), QStringLiteral("a\tb"),
                                           QStringLiteral("a\x01-b"), QStringLiteral("a\u0085b")),
                         [](const auto& i) { return std::to_string(i.index); });

}  // namespace
