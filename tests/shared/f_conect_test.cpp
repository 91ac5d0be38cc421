#include "shared/f_conect.h"

#include <gtest/gtest.h>

#include <QDir>

#include "db/odbc_backend.h"
#include "db/transaction.h"
#include "runtime/registry.h"
#include "runtime/settings_file.h"
#include "shared/globals.h"
#include "tests/shared/connect_counter.h"
#include "tests/shared/sqlite_file.h"
#include "tests/support/fake_tds_server.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace {

const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\velmo41");
const QString kList =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\ODBC Data Sources");

QString reg(const QString& key, const QString& name) {
  QString v;
  return rt::registry_get(key, name, v) == 1 ? v : QStringLiteral("<missing>");
}

class FConect : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = f_conect_registry_in_use();
    gi_connect_time = 1;
  }
  void TearDown() override {
    f_conect_registry_in_use() = saved_;
    sqlca.disconnect();
    gi_connect_time = 1;
  }

  int call() { return f_conect(QStringLiteral("velmo41"), QString(), "dba", "kpz531274"); }

  QString user_ini(const QString& key) {
    return rt::profile_string(tmp.config_folder() + "USER.INI", "Application", key, "<missing>");
  }

  // The values the registration writes for a database in `folder`, file `file`.
  void expect_registered(const QString& folder, const QString& file) {
    EXPECT_EQ(reg(kKey, "Driver"), folder + "wod50t.dll");
    EXPECT_EQ(reg(kKey, "Start"), folder + "dbeng50.exe -Q");
    EXPECT_EQ(reg(kKey, "DatabaseFile"), file);
    EXPECT_EQ(reg(kKey, "DatabaseName"), "velmo41");
    EXPECT_EQ(reg(kKey, "AutoStop"), "yes");
    EXPECT_EQ(reg(kKey, "ServerName"), "");
    EXPECT_EQ(reg(kList, "velmo41"), "Sybase SQL Anywhere 5.0");
    EXPECT_EQ(user_ini("Path"), folder);
    EXPECT_EQ(user_ini("Pathdemo"), folder + "photo/");
  }

  void expect_nothing_written() {
    EXPECT_EQ(reg(kKey, "Driver"), "<missing>");
    EXPECT_EQ(reg(kList, "velmo41"), "<missing>");
    EXPECT_FALSE(QFile::exists(tmp.config_folder() + "USER.INI"));
  }

  test::TempProgramFolder tmp;
  test::ScriptedDialogs dlg;
  test::connect_counter connects;
  f_conect_registry saved_{};
};

const QString kQuestion = QStringLiteral("系统提示|数据库连接失败!是否要注册数据库?");
const QString kDialog = QStringLiteral("请选择数据库路径|DB Files (*.DB),*.DB");

TEST_F(FConect, ConnectAtOnceWritesNothing) {
  ASSERT_TRUE(test::make_sqlite_file(tmp.file("velmo41.db")));
  rt::registry_set(kKey, "Driver", gs_apppath + "wod50t.dll");
  rt::registry_set(kKey, "DatabaseFile", tmp.file("velmo41.db"));

  EXPECT_EQ(call(), 1);
  EXPECT_EQ(sqlca.status, 0);
  EXPECT_TRUE(sqlca.is_connected());
  EXPECT_EQ(sqlca.interface_id, "ODBC");
  EXPECT_FALSE(sqlca.auto_commit);
  EXPECT_EQ(sqlca.server, "");
  EXPECT_EQ(sqlca.connect_params, "Connectstring='DSN=velmo41;UID=dba;PWD=kpz531274'");
  EXPECT_EQ(connects.count(), 1);
  EXPECT_TRUE(dlg.shown().empty());
  EXPECT_EQ(reg(kKey, "Start"), "<missing>");
  EXPECT_FALSE(QFile::exists(tmp.config_folder() + "USER.INI"));
}

TEST_F(FConect, SilentRegistrationConnectsToTheProgramFolderDatabase) {
  ASSERT_TRUE(test::make_sqlite_file(tmp.file("velmo41.db")));

  EXPECT_EQ(call(), 1);
  EXPECT_TRUE(dlg.shown().empty());
  EXPECT_EQ(connects.count(), 2);
  EXPECT_EQ(gi_connect_time, 2);
  EXPECT_EQ(sqlca.status, 0);
  EXPECT_TRUE(sqlca.is_connected());
  expect_registered(gs_apppath, gs_apppath + "velmo41.db");
}

TEST_F(FConect, SilentRegistrationWhoseRetryFailsAsksAndStillReturnsOne) {
  // No velmo41.db: the retry fails and the nested call asks; the user declines.
  dlg.answer(false);
  EXPECT_EQ(call(), 1);
  EXPECT_EQ(dlg.lines(), std::vector<QString>{kQuestion});
  EXPECT_TRUE(dlg.shown()[0].default_yes);
  EXPECT_EQ(connects.count(), 2);
  EXPECT_NE(sqlca.status, 0);
  expect_registered(gs_apppath, gs_apppath + "velmo41.db");
}

TEST_F(FConect, SilentRegistrationWhoseListWriteFailsEndsQuietly) {
  f_conect_registry_in_use().set = [](const QString& key, const QString& name,
                                      const QString& value) {
    return key.endsWith("ODBC Data Sources") ? -1 : rt::registry_set(key, name, value);
  };
  EXPECT_EQ(call(), 1);
  EXPECT_TRUE(dlg.shown().empty());
  EXPECT_EQ(connects.count(), 1);
  EXPECT_EQ(gi_connect_time, 1);
  EXPECT_EQ(reg(kKey, "DatabaseFile"), gs_apppath + "velmo41.db");
}

TEST_F(FConect, AskingRegistrationAnsweredNoWritesNothing) {
  gi_connect_time = 2;
  dlg.answer(false);
  EXPECT_EQ(call(), 0);
  EXPECT_EQ(dlg.lines(), std::vector<QString>{kQuestion});
  EXPECT_EQ(connects.count(), 1);
  expect_nothing_written();
}

TEST_F(FConect, AskingRegistrationWithTheDialogCancelledWritesNothing) {
  gi_connect_time = 2;
  dlg.answer(true);
  dlg.cancel_file();
  EXPECT_EQ(call(), 0);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{kQuestion, kDialog}));
  EXPECT_EQ(dlg.shown()[1].default_extension, "DB");
  EXPECT_EQ(connects.count(), 1);
  expect_nothing_written();
}

TEST_F(FConect, ChosenFileNamedOtherwiseIsRegisteredByItsPath) {
  gi_connect_time = 2;
  const QString folder = tmp.path() + "data/";
  QDir().mkpath(folder);
  ASSERT_TRUE(test::make_sqlite_file(folder + "shop.db"));
  dlg.answer(true);
  dlg.choose_file(folder + "shop.db");

  EXPECT_EQ(call(), 1);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{kQuestion, kDialog, "系统提示|本数据库注册成功!"}));
  EXPECT_EQ(connects.count(), 2);
  EXPECT_TRUE(sqlca.is_connected());
  expect_registered(folder, folder + "shop.db");
}

// USER.INI is code page 936: a folder whose name it cannot hold writes neither key, says so,
// and the registration goes on.
TEST_F(FConect, AFolderUserIniCannotHoldWritesNeitherKey) {
  gi_connect_time = 2;
  const QString folder = tmp.path() + QStringLiteral("김민준 살롱/");
  QDir().mkpath(folder);
  ASSERT_TRUE(test::make_sqlite_file(folder + "shop.db"));
  QDir().mkpath(tmp.config_folder());
  const QByteArray before = "[Application]\r\nPath=/old/\r\nPathdemo=/old/photo/\r\n";
  tmp.write("../home/.config/USER.INI", before);
  ASSERT_EQ(user_ini("Path"), "/old/");
  dlg.answer(true);
  dlg.choose_file(folder + "shop.db");

  EXPECT_EQ(call(), 1);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{
                             kQuestion, kDialog,
                             "错误信息|写入USER.INI失败!\r\n" + tmp.config_folder() + "USER.INI",
                             "系统提示|本数据库注册成功!"}));
  EXPECT_EQ(tmp.read("../home/.config/USER.INI"), before);
  EXPECT_EQ(reg(kKey, "DatabaseFile"), folder + "shop.db");
  EXPECT_TRUE(sqlca.is_connected());
}

TEST_F(FConect, DatabaseNameThatSurvivesTheRemovalsMeansAlreadyRegistered) {
  gi_connect_time = 2;
  rt::registry_set(kKey, "DatabaseName", "velmo41");
  f_conect_registry_in_use().remove = [](const QString&, const QString&) { return -1; };
  dlg.answer(true);
  dlg.choose_file(tmp.file("velmo41.db"));

  EXPECT_EQ(call(), 1);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{kQuestion, kDialog, "系统提示|本数据库已注册!"}));
  EXPECT_EQ(connects.count(), 1);
  EXPECT_EQ(reg(kKey, "Driver"), "<missing>");
  EXPECT_EQ(user_ini("Path"), gs_apppath);
}

TEST_F(FConect, AskingRegistrationWhoseListWriteFailsReportsIt) {
  gi_connect_time = 2;
  f_conect_registry_in_use().set = [](const QString& key, const QString& name,
                                      const QString& value) {
    return key.endsWith("ODBC Data Sources") ? -1 : rt::registry_set(key, name, value);
  };
  dlg.answer(true);
  dlg.choose_file(tmp.file("velmo41.db"));
  EXPECT_EQ(call(), 0);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{kQuestion, kDialog, "系统提示|本数据库注册失败!"}));
  EXPECT_EQ(connects.count(), 1);
}

TEST_F(FConect, RegistrationOfARetryThatFailsAsksAgainUntilNo) {
  // Registered, but the chosen file does not exist: the nested call asks again.
  gi_connect_time = 2;
  dlg.answer(true);
  dlg.choose_file(tmp.file("missing.db"));
  dlg.answer(false);
  EXPECT_EQ(call(), 1);
  EXPECT_EQ(dlg.lines(),
            (std::vector<QString>{kQuestion, kDialog, "系统提示|本数据库注册成功!", kQuestion}));
  EXPECT_EQ(connects.count(), 2);
}

TEST_F(FConect, ConnectTimeNeitherOneNorTwoEndsWithOne) {
  gi_connect_time = 3;
  EXPECT_EQ(call(), 1);
  EXPECT_TRUE(dlg.shown().empty());
  EXPECT_EQ(connects.count(), 1);
  expect_nothing_written();
}

}  // namespace

namespace {

// A new account has no configuration folder yet: the registration makes it, and a write that
// still fails is said.
TEST_F(FConect, RegistrationWithoutAConfigurationFolderYet) {
  ASSERT_TRUE(test::make_sqlite_file(tmp.file("velmo41.db")));
  struct Case {
    const char* name;
    bool blocked;  // a file stands where the folder would be
  } cases[] = {{"made", false}, {"blocked", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString config = tmp.path() + "../home/" + c.name + "/.config";
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    if (c.blocked) {
      QDir().mkpath(tmp.path() + "../home/" + c.name);
      QFile(config).open(QIODevice::WriteOnly);
    }
    dlg.clear();
    sqlca.disconnect();
    gi_connect_time = 1;
    rt::registry_delete(kKey, "DatabaseFile");  // the first connect fails
    EXPECT_EQ(call(), 1);
    EXPECT_TRUE(sqlca.is_connected());
    if (c.blocked) {
      EXPECT_EQ(dlg.lines(),
                std::vector<QString>{"错误信息|写入USER.INI失败!\r\n" + config + "/USER.INI"});
      EXPECT_EQ(dlg.shown()[0].kind, test::Shown::Failure);
    } else {
      EXPECT_TRUE(dlg.shown().empty());
      EXPECT_EQ(rt::profile_string(config + "/USER.INI", "Application", "Path", "<missing>"),
                gs_apppath);
    }
  }
}

}  // namespace

namespace {

// A data source of another driver (here FreeTDS, in front of a fake server): the name, user and
// password of the connect text reach it as given, and none of them adds an attribute.
class FConectDataSource : public FConect {
 protected:
  void SetUp() override {
    FConect::SetUp();
    gi_connect_time = 3;  // one connect, no registration
    for (const auto& [name, server] : {std::pair{"tds", &named}, {"elsewhere", &other}}) {
      const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\") + name;
      rt::registry_set(key, "Driver", db::odbc_driver_path("libtdsodbc.so", "FreeTDS", false));
      rt::registry_set(key, "Server", "127.0.0.1");
      rt::registry_set(key, "Port", QString::number(server->port()));
      rt::registry_set(key, "TDS_Version", "7.1");
      rt::registry_set(key, "ClientCharset", "UTF-8");
    }
  }
  test::IsolatedFreeTds freetds;
  test::FakeTdsServer named, other;
};

TEST_F(FConectDataSource, UserAndPasswordReachTheLoginAsGiven) {
  const struct {
    const char *user, *password;
  } cases[] = {
      {"dba", "a}b"},
      {"u;DSN=elsewhere", "p;DSN=elsewhere"},
      {"u}", "p};DSN=elsewhere"},
      {"{u", "}}"},
      {" 用户 ", "密码="},
      {"u'", "p';UID=x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.user) + " / " + c.password);
    const size_t before = named.logins().size();
    f_conect("tds", QString(), QString::fromUtf8(c.user), QString::fromUtf8(c.password));
    ASSERT_EQ(named.logins().size(), before + 1);
    EXPECT_EQ(named.logins().back().user, QString::fromUtf8(c.user));
    EXPECT_EQ(named.logins().back().password, QString::fromUtf8(c.password));
  }
  EXPECT_EQ(other.connections(), 0);
}

TEST_F(FConectDataSource, ANameThatReadsAsAttributesNamesNoDataSource) {
  for (const char* dsn : {"tds;DSN=elsewhere", "elsewhere};DSN=tds", "x;Driver={FreeTDS}"}) {
    SCOPED_TRACE(dsn);
    f_conect(QString::fromUtf8(dsn), QString(), "dba", "pw");
    EXPECT_NE(sqlca.status, 0);
  }
  EXPECT_EQ(named.connections(), 0);
  EXPECT_EQ(other.connections(), 0);
}

}  // namespace
