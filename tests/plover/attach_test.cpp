// uo_1 "附加": attaching a pair of database files of the program folder on the server.
#include <QDir>

#include "db/master_catalog.h"
#include "db/sqlite_connection.h"
#include "tests/plover/plover_fixture.h"
#include "tests/support/fake_tds_server.h"

namespace {

using test::PloverWindow;

const QString kAttachFailed =
    QStringLiteral("错误信息|附加数据库失败,原因:数据库文件不存在或错误!");
const QString kConnectMaster = QStringLiteral("CONNECT MSS Microsoft SQL Server 6.x master");

class Attach : public PloverWindow {
 protected:
  void SetUp() override {
    PloverWindow::SetUp();
    open_window();
    w->rb_2->setChecked(true);
  }
  void attach(const QString& name, bool yes = true) {
    local("(embedded)", name, "sa", "pw", "different");  // the confirmation plays no part
    dialogs.answer(yes);
    w->uo_1_clicked();
  }
  bool reachable(const QString& name) const {
    server.connect(name);
    const bool ok = sqlca.status == 0;
    sqlca.disconnect();
    return ok;
  }
};

TEST_F(Attach, OnlyForSqlServer) {
  w->rb_1->setChecked(true);
  server.make_files("salon");
  local("(embedded)", "salon", "sa", "", "");
  w->uo_1_clicked();
  EXPECT_EQ(dialogs.lines(),
            std::vector<QString>{"系统提示|不是SQL Server 7.00 or 2000数据库不能进行创建操作!"});
  EXPECT_EQ(dialogs.shown()[0].kind, test::Shown::Failure);
  EXPECT_TRUE(seen.isEmpty());
}

// A name that is empty or would lead out of the program folder never reaches the server.
TEST_F(Attach, RefusesNamesThatAreNotPlainFileNames) {
  for (const char* name : {"", "   ", "..", "../salon", "a/b", "a\\b", "x..y"}) {
    dialogs.clear();
    local("(embedded)", name, "sa", "", "");
    w->uo_1_clicked();
    EXPECT_EQ(dialogs.lines(), std::vector<QString>{kAttachFailed}) << name;
  }
  EXPECT_TRUE(seen.isEmpty()) << seen.join('\n').toStdString();
}

TEST_F(Attach, LoginFailureOnARealServer) {
  local("127.0.0.1,1", "salon", "sa", "pw", "");
  w->uo_1_clicked();
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{"|连接失败"});
  EXPECT_EQ(dialogs.shown()[0].kind, test::Shown::Failure);
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_EQ(seen, QStringList{kConnectMaster});
}

// On a real server the login to master carries the user and password as typed.
TEST_F(Attach, LogsInToMasterWithTheTypedValues) {
  test::IsolatedFreeTds freetds;
  test::FakeTdsServer named, other;
  const QString password = QStringLiteral("a}b;Port=%1").arg(other.port());
  local(QStringLiteral("127.0.0.1,%1").arg(named.port()), "salon", "sa};APP=INJ", password, "");
  w->uo_1_clicked();
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{"|连接失败"});
  EXPECT_EQ(named.sole_login(), (QStringList{"sa};APP=INJ", password, "master", ""}));
  EXPECT_EQ(other.connections(), 0);
}

TEST_F(Attach, NoLeavesTheServerAsItWas) {
  server.make_files("salon");
  attach("salon", false);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.lines()[0], "系统提示|您真的要附加salon数据库吗？");
  EXPECT_FALSE(dialogs.shown()[0].default_yes);
  EXPECT_EQ(seen, QStringList{kConnectMaster});
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_FALSE(reachable("salon"));
}

TEST_F(Attach, MissingFilesAreTheServersRefusal) {
  attach("salon");  // neither file
  EXPECT_EQ(dialogs.lines().back(), kAttachFailed);
  server.make_files("salon");
  QFile::remove(server.folder.file("salon.ldf"));
  dialogs.clear();
  attach("salon");  // the data file alone
  EXPECT_EQ(dialogs.lines().back(), kAttachFailed);
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_FALSE(reachable("salon"));
}

TEST_F(Attach, SucceedsOnceAndNotTwice) {
  server.make_files("salon");
  attach("  salon ");
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{"系统提示|您真的要附加salon数据库吗？",
                                                   "系统提示|附加数据库成功!"}));
  EXPECT_EQ(dialogs.shown()[1].kind, test::Shown::Notice);
  EXPECT_EQ(
      seen,
      (QStringList{
          kConnectMaster,
          QStringLiteral("sp_attach_db 'salon','%1salon.mdf','%1salon.ldf'").arg(gs_apppath)}));
  EXPECT_TRUE(sqlca.auto_commit);
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_TRUE(reachable("salon"));
  EXPECT_EQ(w->sle_database_name->text(), "  salon ") << "the fields keep what was typed";
  EXPECT_FALSE(ini_exists()) << "the new database is not written to the settings";

  dialogs.clear();
  attach("salon");
  EXPECT_EQ(dialogs.lines().back(), kAttachFailed) << "the name is attached already";
}

TEST_F(Attach, AQuoteInTheNameStaysInsideItsLiteral) {
  server.make_files("o'k");
  attach("o'k");
  EXPECT_EQ(dialogs.lines().back(), "系统提示|附加数据库成功!");
  EXPECT_EQ(seen.last(),
            QStringLiteral("sp_attach_db 'o''k','%1o''k.mdf','%1o''k.ldf'").arg(gs_apppath));
  EXPECT_TRUE(reachable("o'k"));
}

}  // namespace

namespace {

TEST_F(Attach, AQuoteInTheProgramFolderStaysInsideItsLiteral) {
  const QString folder = server.folder.path() + "it's here/";
  ASSERT_TRUE(QDir().mkpath(folder));
  set_program_folder(folder);
  QFile log(folder + "x.ldf");
  ASSERT_TRUE(log.open(QIODevice::WriteOnly));
  log.write("log");
  log.close();
  {
    db::SqliteConnection db;
    ASSERT_EQ(db.open((folder + "x.mdf").toUtf8().constData()), SQLITE_OK);
    sqlite3_exec(db.get(), "create table t (a int)", nullptr, nullptr, nullptr);
  }
  attach("x");
  EXPECT_EQ(dialogs.lines().back(), "系统提示|附加数据库成功!");
  EXPECT_TRUE(seen.last().contains("'" + QString(folder).replace("'", "''") + "x.mdf'"))
      << seen.last().toStdString();
  EXPECT_TRUE(reachable("x"));
}

}  // namespace

namespace {

// The server's own databases cannot be attached or created again, in any letter case: the
// server refuses (error 1801) and plover shows its failure box.
TEST_F(Attach, SystemDatabaseNamesAreRefusedByTheServer) {
  server.make_files("base");
  for (const char* name : {"master", "MASTER"}) {
    server.make_files(name);
    dialogs.clear();
    attach(name);
    EXPECT_EQ(dialogs.lines().back(), kAttachFailed) << name;

    dialogs.clear();
    local("(embedded)", name, "sa", "", "");
    dialogs.answer(true);
    w->cb_create_clicked();
    EXPECT_EQ(dialogs.lines(),
              (std::vector<QString>{QStringLiteral("系统提示|您真的要创建%1数据库吗？").arg(name),
                                    "错误信息|创建数据库失败"}))
        << name;
    EXPECT_FALSE(sqlca.is_connected());
  }
  EXPECT_FALSE(db::find_database(gs_apppath, "master").has_value());
  EXPECT_TRUE(reachable("master")) << "master is still the server's catalog";
}

}  // namespace
