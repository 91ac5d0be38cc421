#include <gtest/gtest.h>

#include "db/transaction.h"
#include "runtime/registry.h"
#include "runtime/settings_file.h"
#include "shared/globals.h"
#include "shared/panel_save.h"
#include "shared/panel_test.h"
#include "shared/sp_attach_db.h"
#include "tests/shared/connect_counter.h"
#include "tests/shared/fake_panel.h"
#include "tests/shared/sqlite_file.h"
#include "tests/support/fake_tds_server.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace {

const QString kOk = QStringLiteral("系统提示|数据库连接成功，设置正确！\r\n请保存设置!");
const QString kFailed = QStringLiteral("系统提示|数据库连接失败，设置错误！\r\n请不要保存设置!");
const QString kAsk = QStringLiteral("操作提示|真的要保存刚才的修改吗?");

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p.on_save = [this] { shared::cb_save_clicked(p); };
  }
  void TearDown() override { sqlca.disconnect(); }

  // The local kind's built-in data source, on a SQLite file of the program folder.
  void register_kiosk_base() {
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\Kiosk_base");
    ASSERT_TRUE(test::make_sqlite_file(tmp.file("kiosk.db")));
    rt::registry_set(key, "Driver", gs_apppath + "wod50t.dll");
    rt::registry_set(key, "DatabaseFile", tmp.file("kiosk.db"));
  }

  test::TempProgramFolder tmp;
  test::ScriptedDialogs dlg;
  test::fake_panel p;
};

TEST_F(PanelTest, MismatchStopsBeforeAnyConnect) {
  test::connect_counter connects;
  p.local("s", "d", "u", "pw", "pW");
  shared::cb_test2_clicked(p);
  EXPECT_EQ(dlg.lines(), std::vector<QString>{"错误提示|用户密码前后不一致!"});
  EXPECT_EQ(p.focused, shared::sle::user_password);
  EXPECT_EQ(connects.count(), 0);
}

TEST_F(PanelTest, LocalKindUsesItsOwnDataSourceAndRunsTheSave) {
  register_kiosk_base();
  sqlca.server = "kept";
  sqlca.db_name = "kept too";
  p.local("typed", "ignored", "nobody", "x", "x");
  dlg.answer(true);
  std::vector<bool> connected;
  dlg.while_shown([&](const test::Shown&) { connected.push_back(sqlca.is_connected()); });
  shared::cb_test2_clicked(p);

  EXPECT_EQ(dlg.lines(), (std::vector<QString>{kOk, kAsk}));
  EXPECT_EQ(connected, (std::vector<bool>{true, false})) << "the notice, then the disconnect";
  EXPECT_EQ(dlg.shown()[0].kind, test::Shown::Notice);
  EXPECT_EQ(p.saves_raised, 1);
  EXPECT_EQ(sqlca.interface_id, "ODBC");
  EXPECT_FALSE(sqlca.auto_commit);
  EXPECT_EQ(sqlca.connect_params, "Connectstring='DSN=Kiosk_base;UID=dba;PWD=rutvoplemsk4817'");
  EXPECT_EQ(sqlca.server, "kept");
  EXPECT_EQ(sqlca.db_name, "kept too");
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_EQ(rt::profile_string(gs_inifile, "database", "server_name", ""), "typed");
  EXPECT_EQ(p.kind, 1);
}

TEST_F(PanelTest, LocalKindWithoutItsDataSourceFails) {
  p.local("", "", "", "", "");
  shared::cb_test2_clicked(p);
  EXPECT_EQ(dlg.lines(), std::vector<QString>{kFailed});
  EXPECT_EQ(dlg.shown()[0].kind, test::Shown::Failure);
  EXPECT_EQ(p.saves_raised, 0);
  EXPECT_FALSE(QFile::exists(gs_inifile));
}

TEST_F(PanelTest, ServerKindConnectsWithTheTypedValues) {
  // A database attached on the embedded server to connect to.
  ASSERT_TRUE(test::make_sqlite_file(tmp.file("shop.mdf")));
  tmp.write("shop.ldf", "log");
  sqlca.interface_id = "MSS Microsoft SQL Server 6.x";
  sqlca.server = "(embedded)";
  sqlca.db_name = "master";
  sqlca.auto_commit = true;
  sqlca.connect();
  ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
  sqlca.execute_immediate(shared::sp_attach_db("shop", tmp.file("shop.mdf"), tmp.file("shop.ldf")));
  ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
  sqlca.disconnect();

  p.local(" (embedded) ", " shop ", " sa ", "", "");
  p.rb_2 = true;
  dlg.answer(false);  // the save's question
  shared::cb_test2_clicked(p);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{kOk, kAsk}));
  EXPECT_EQ(sqlca.db_name, "shop");
  EXPECT_EQ(sqlca.server, "(embedded)");
  EXPECT_EQ(sqlca.login, "sa");
  EXPECT_FALSE(sqlca.auto_commit);
  EXPECT_EQ(sqlca.connect_params, "");
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_EQ(p.kind, 2);
  EXPECT_FALSE(QFile::exists(gs_inifile));
}

TEST_F(PanelTest, ServerKindThatCannotConnectFailsAndSavesNothing) {
  p.local("(embedded)", "no_such_database", "sa", "", "");
  p.rb_2 = true;
  shared::cb_test2_clicked(p);
  EXPECT_EQ(dlg.lines(), std::vector<QString>{kFailed});
  EXPECT_EQ(p.saves_raised, 0);
  EXPECT_EQ(p.kind, 2);
  EXPECT_FALSE(sqlca.is_connected());
}

}  // namespace

namespace {

// A password and a user that read as attributes where a driver parses them reach the login as
// typed, on the server the settings name.
TEST_F(PanelTest, SqlServerKindLogsInWithTheTypedValues) {
  test::IsolatedFreeTds freetds;
  test::FakeTdsServer named, other;
  const QString user = QStringLiteral("u};Port=%1").arg(other.port());
  p.rb_2 = true;
  p.local(QStringLiteral("127.0.0.1,%1").arg(named.port()), "数据;库}", user, "a};APP=INJ",
          "a};APP=INJ");
  shared::cb_test2_clicked(p);
  EXPECT_EQ(dlg.lines(), std::vector<QString>{kFailed});  // the fake server ends the login
  EXPECT_EQ(named.sole_login(), (QStringList{user, "a};APP=INJ", "数据;库}", ""}));
  EXPECT_EQ(other.connections(), 0);
}

}  // namespace
