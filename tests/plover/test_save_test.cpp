// The test button and the save it leads to.
#include <functional>

#include "plover/cb_test.h"
#include "runtime/files.h"
#include "runtime/registry.h"
#include "tests/plover/plover_fixture.h"
#include "tests/shared/sqlite_file.h"

namespace {

using test::PloverWindow;

const QString kConnected = QStringLiteral("系统提示|数据库连接成功，设置正确！\r\n请保存设置!");
const QString kNotConnected =
    QStringLiteral("系统提示|数据库连接失败，设置错误！\r\n请不要保存设置!");
const QString kSaveQuestion = QStringLiteral("操作提示|真的要保存刚才的修改吗?");
const QString kFixed = QStringLiteral("Connectstring='DSN=velmo40;UID=dba;PWD=kpz531274'");

// The old database's data source, registered as the local engine's over velmo40.db.
void register_velmo40(const test::TempProgramFolder& dir) {
  test::make_sqlite_file(dir.file("velmo40.db"));
  const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\velmo40");
  rt::registry_set(key, "Driver", dir.file("wod50t.dll"));
  rt::registry_set(key, "DatabaseFile", dir.file("velmo40.db"));
}

TEST_F(PloverWindow, TestRefusesDifferingPasswordsBeforeConnecting) {
  open_window();
  local("(embedded)", "master", "sa", "secret", "Secret");
  w->rb_2->setChecked(true);
  w->cb_test_clicked();
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{"错误提示|用户密码前后不一致!"});
  EXPECT_EQ(dialogs.shown()[0].kind, test::Shown::Failure);
  EXPECT_EQ(w->focusWidget(), w->sle_user_password);
  EXPECT_TRUE(seen.isEmpty());
  EXPECT_EQ(w->ii_database, 1) << "the kind is taken only after the check";
}

// Kind 1 ignores everything typed and tries the old database's own data source, even when a
// SQL Server test just left its values in sqlca.
TEST_F(PloverWindow, KindOneTestsTheFixedDataSourceOnly) {
  open_window();
  local("nowhere", "nothing", "nobody", " pw", "pw ");

  w->cb_test_clicked();  // no such data source yet
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{kNotConnected});
  EXPECT_EQ(dialogs.shown()[0].kind, test::Shown::Failure);
  EXPECT_EQ(sqlca.connect_params, kFixed);
  EXPECT_FALSE(sqlca.is_connected());

  dialogs.clear();
  w->rb_2->setChecked(true);
  local("(embedded)", "master", "sa", "", "");
  dialogs.answer(false);
  w->cb_test_clicked();
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{kConnected, kSaveQuestion}));
  EXPECT_EQ(sqlca.server, "(embedded)");

  dialogs.clear();
  register_velmo40(server.folder);
  w->rb_1->setChecked(true);
  local("nowhere", "nothing", "nobody", "", "");
  dialogs.answer(false);
  w->cb_test_clicked();
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{kConnected, kSaveQuestion}));
  EXPECT_EQ(sqlca.interface_id, "ODBC");
  EXPECT_EQ(sqlca.connect_params, kFixed);
  EXPECT_FALSE(sqlca.auto_commit);
  EXPECT_EQ(sqlca.server, "(embedded)") << "kind 1 leaves the server fields as they were";
  EXPECT_EQ(sqlca.db_name, "master");
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_EQ(w->ii_database, 1);
  EXPECT_FALSE(ini_exists()) << "No to the save question writes nothing";
}

// The local test opens velmo40's file as a database: a text file or a 0-byte file is no
// working connection, and the test leaves it as it was.
TEST_F(PloverWindow, LocalTestPassesOnlyARealDatabase) {
  register_velmo40(server.folder);
  const QByteArray real = server.folder.read("velmo40.db");
  const std::pair<QByteArray, std::vector<QString>> cases[] = {
      {"[database]\r\nserver_name=.\r\n", {kNotConnected}},
      {"", {kNotConnected}},
      {real, {kConnected, kSaveQuestion}},
  };
  open_window();
  for (const auto& [bytes, lines] : cases) {
    server.folder.write("velmo40.db", bytes);
    dialogs.clear();
    if (lines.size() > 1) dialogs.answer(false);
    w->cb_test_clicked();
    EXPECT_EQ(dialogs.lines(), lines) << bytes.size();
    EXPECT_FALSE(sqlca.is_connected());
    EXPECT_EQ(server.folder.read("velmo40.db"), bytes);
    EXPECT_FALSE(ini_exists());
  }
}

// The connection is closed before the outcome is shown and the save runs.
TEST_F(PloverWindow, TestDisconnectsBeforeItsNoticeAndTheSave) {
  register_velmo40(server.folder);
  open_window();
  local("", "", "", "", "");
  std::vector<bool> connected;
  dialogs.while_shown([&](const test::Shown&) { connected.push_back(sqlca.is_connected()); });
  dialogs.answer(false);
  w->cb_test_clicked();
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{kConnected, kSaveQuestion}));
  EXPECT_EQ(connected, (std::vector<bool>{false, false}));
}

TEST_F(PloverWindow, KindTwoTestsTheTypedServerAndSavesOnYes) {
  ini("[database]\nuser_name2=old\n");
  open_window();
  w->rb_2->setChecked(true);
  local("  (embedded) ", " master ", " sa ", " pw ", "pw");
  network("net", "branch", "u2", "p2", "p2");
  dialogs.answer(true);
  w->cb_test_clicked();
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{kConnected, kSaveQuestion}));
  EXPECT_EQ(dialogs.shown()[1].default_yes, true);
  EXPECT_EQ(seen.first(), "CONNECT MSS Microsoft SQL Server 6.x master");
  EXPECT_EQ(sqlca.server, "(embedded)");
  EXPECT_EQ(sqlca.login, "sa");
  EXPECT_EQ(sqlca.password, "pw");
  EXPECT_FALSE(sqlca.auto_commit) << "the test opens SQL Server without auto-commit too";
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_EQ(w->ii_database, 2);
  const std::pair<const char*, const char*> written[] = {
      {"server_name", "(embedded)"}, {"database_name", "master"},  {"user_name", "sa"},
      {"user_password", "pw"},       {"database_type", "2"},       {"connect", "1"},
      {"server_name2", "net"},       {"database_name2", "branch"}, {"user_name2", "u2"},
      {"user_password2", "p2"}};
  for (const auto& [k, v] : written) EXPECT_EQ(key(k), v) << k;
  EXPECT_EQ(w->sle_server_name->text(), "  (embedded) ") << "the fields keep what was typed";
}

TEST_F(PloverWindow, KindTwoFailureSavesNothing) {
  open_window();
  w->rb_2->setChecked(true);
  local("(embedded)", "nosuch", "sa", "", "");
  w->cb_test_clicked();
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{kNotConnected});
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_FALSE(ini_exists());
  EXPECT_EQ(w->ii_database, 2);
}

TEST_F(PloverWindow, SaveStopsAtANetworkMismatchWithTheLocalKeysWritten) {
  ini("[database]\nserver_name2=keep\nuser_password2=keep\n");
  open_window();
  local("srv", "salon", "sa", "pw", "pw");
  network("net", "branch", "u2", "a", "b");
  w->cbx_1->setChecked(true);
  dialogs.answer(true);
  w->cb_save_clicked();
  EXPECT_EQ(dialogs.lines(),
            (std::vector<QString>{kSaveQuestion, "错误提示|网络数据库用户密码前后不一致!"}));
  EXPECT_EQ(w->focusWidget(), w->sle_user_password2);
  EXPECT_EQ(key("server_name"), "srv");
  EXPECT_EQ(key("database_type"), "1");
  EXPECT_EQ(key("connect"), "2");
  EXPECT_EQ(key("server_name2"), "keep");
  EXPECT_EQ(key("user_password2"), "keep");
  EXPECT_EQ(key("database_name2"), "<missing>");
}

TEST_F(PloverWindow, SaveRefusesALocalMismatchBeforeAsking) {
  open_window();
  local("srv", "salon", "sa", "pw", "pW");
  w->cb_save_clicked();
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{"错误提示|本地数据库用户密码前后不一致!"});
  EXPECT_EQ(w->focusWidget(), w->sle_user_password);
  EXPECT_FALSE(ini_exists());
}

// A settings file that cannot be written is said so once, and nothing further is tried.
TEST_F(PloverWindow, SaveThatCannotWriteSaysSoAndStops) {
  ini("[database]\nserver_name=old\n");
  const QByteArray before = server.folder.read("user.ini");
  rt::set_file_attributes(gs_inifile, 1);  // read-only
  open_window();
  local("srv", "salon", "sa", "pw", "pw");
  dialogs.answer(true);
  w->cb_save_clicked();
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{kSaveQuestion, "错误信息|保存设置失败!"}));
  EXPECT_EQ(dialogs.shown()[1].kind, test::Shown::Failure);
  EXPECT_EQ(server.folder.read("user.ini"), before);
}

}  // namespace

namespace {

// The panel's own buttons in plover reach the shared handlers (first message of each, with
// "ACCESS" chosen and a password that differs from its confirmation).
TEST_F(PloverWindow, PanelButtonsRunTheSharedHandlers) {
  open_window();
  const auto clicked = [](auto* button) { return [button] { emit button->clicked(); }; };
  const std::pair<std::function<void()>, QString> cases[] = {
      {clicked(w->cb_create), "系统提示|不是SQL Server 7.00 or 2000数据库不能进行创建操作!"},
      {clicked(w->cb_create2), "系统提示|不是SQL Server 7.00 or 2000数据库不能进行创建操作!"},
      {clicked(w->cb_save2), "错误提示|用户密码前后不一致!"},
      {clicked(w->cb_test2), "错误提示|用户密码前后不一致!"},
      {clicked(w->cb_save), "错误提示|本地数据库用户密码前后不一致!"},
      {clicked(w->cb_test), "错误提示|用户密码前后不一致!"},
  };
  for (const auto& [click, line] : cases) {
    dialogs.clear();
    local("srv", "salon", "sa", "a", "b");
    click();
    EXPECT_EQ(dialogs.lines(), std::vector<QString>{line}) << line.toStdString();
  }
  // cb_save2 saves the local set alone, passwords as typed, and leaves "connect" alone.
  dialogs.clear();
  local("srv", "salon", "sa", "pw", "pw");
  dialogs.answer(true);
  w->cb_save2->click();
  EXPECT_EQ(key("user_password"), "pw");
  EXPECT_EQ(key("connect"), "<missing>");
  EXPECT_EQ(key("server_name2"), "<missing>");
}

}  // namespace
