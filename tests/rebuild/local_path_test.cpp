#include <gtest/gtest.h>
#include <sqlext.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "db/odbc_calls.h"
#include "db/transaction.h"
#include "kestrel/rebuild/start_action.h"
#include "runtime/registry.h"
#include "shared/f_conect.h"
#include "tests/rebuild/fake_window.h"
#include "tests/rebuild/server_run.h"
#include "tests/rebuild/sqlite_db.h"
#include "tests/support/folder_holder.h"
#include "tests/support/held_database.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace {

using Lines = std::vector<QString>;

// The local kind through the real f_conect and the SQLite ODBC driver, in a program folder of
// the given name.
class LocalRun {
 protected:
  explicit LocalRun(const QString& folder = QStringLiteral("app")) : dir(folder) {
    sqlca.disconnect();
    w.connection.rb_2 = false;
    test::sqlite_file(dir.file("velmo40.db"),
                      "create table mem_info (mem_id varchar(20));"
                      "insert into mem_info values ('M1'), ('M2');");
    old_sum = test::checksum(dir.file("velmo40.db"));
  }
  ~LocalRun() {
    sqlca.disconnect();
    sqlca.set_fault_hook({});
  }
  void run(bool with_f_conect = true) {
    rebuild::StartServices s{nullptr, nullptr, nullptr};
    if (with_f_conect) s.f_conect = f_conect;
    rebuild::StartAction(w, s).clicked();
  }
  long members() {
    test::SqliteDb db(dir.file("velmo41.db"));
    return db.count("mem_info");
  }

  test::TempProgramFolder dir;
  test::ScriptedDialogs dialogs;
  test::FakeWindow w;
  QByteArray old_sum;
};

class LocalPath : public LocalRun, public ::testing::Test {};

TEST_F(LocalPath, CopiesThenPurgesAtTheCommit) {
  w.cbx[2] = false;
  std::vector<bool> held_at_box;
  dialogs.while_shown([&](const test::Shown&) { held_at_box.push_back(sqlca.is_connected()); });
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(held_at_box, std::vector<bool>{false}) << "velmo41 is let go before the success box";
  EXPECT_EQ(w.position, 8);
  EXPECT_EQ(w.st_11_history, (QStringList{"连接数据库1", "复制完成!"}));
  EXPECT_EQ(members(), 0);
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_EQ(test::checksum(dir.file("velmo40.db")), old_sum);
  EXPECT_EQ(QDir(dir.path()).entryList({"velmo41*"}), QStringList{"velmo41.db"});
}

// Another process at work in the program folder: refused before anything is touched.
TEST_F(LocalPath, RefusedWhileAnotherProcessWorksInTheFolder) {
  ASSERT_TRUE(QFile::copy(dir.file("velmo40.db"), dir.file("velmo41.db")));
  test::SqliteDb(dir.file("velmo41.db")).exec("insert into mem_info values ('M3')");
  test::FolderHolder other(dir.path());
  ASSERT_TRUE(other.locked());
  w.cbx[2] = false;
  run();
  EXPECT_EQ(dialogs.lines(),
            Lines{"系统提示|另一个程序正在处理本目录的数据库,请等它处理完毕后再开始!"});
  EXPECT_EQ(w.position, -1);
  EXPECT_EQ(members(), 3);
  other.release();
  dialogs.clear();
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(members(), 0);
}

// The text files a killed run of the SQL Server kind left hold customer data in plain text:
// the next run of either kind removes them.
TEST_F(LocalPath, DefaultOptionsKeepEveryRowAndNoTextFileStays) {
  dir.write("tab_back_5.txt", "A01\t4\n");
  dir.write("tab_back_94.txt", "");
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(members(), 2);
  EXPECT_EQ(QDir(dir.path()).entryList({"tab_back_*"}), QStringList{});
}

TEST_F(LocalPath, AFailedCommitUndoesThePurgeAndSaysSo) {
  w.cbx[2] = false;
  sqlca.set_fault_hook([](const QString& s) -> std::optional<db::DbError> {
    if (s == "COMMIT") return db::DbError{-1, "injected"};
    return std::nullopt;
  });
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|保存数据出错!"});
  EXPECT_EQ(w.position, 7);
  sqlca.set_fault_hook({});
  EXPECT_EQ(members(), 2);
}

// velmo41 not let go at the end does not change what the run says: the purge is committed (or
// undone after a failed commit) before the disconnect, which rolls back whatever is left open
// first, so the file holds what the box says and no lock stays on it.
TEST_F(LocalPath, ADisconnectThatFailsChangesNeitherTheOutcomeNorTheBox) {
  struct Case {
    bool commit_fails;
    Lines box;
    long members;
  } cases[] = {
      {false, {"系统提示|数据库处理完毕!"}, 0},
      {true, {"系统提示|保存数据出错!"}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commit_fails);
    dialogs.clear();
    w.cbx[2] = false;
    sqlca.set_fault_hook([&c](const QString& s) -> std::optional<db::DbError> {
      if (c.commit_fails && s == "COMMIT") return db::DbError{-1, "injected"};
      return std::nullopt;
    });
    db::odbc_calls::disconnect = [](SQLHDBC) -> SQLRETURN { return SQL_ERROR; };
    run();
    db::odbc_calls::disconnect = &SQLDisconnect;
    sqlca.set_fault_hook({});
    EXPECT_EQ(dialogs.lines(), c.box);
    EXPECT_EQ(sqlca.status, -1);
    EXPECT_TRUE(sqlca.is_connected());
    test::SqliteDb other(dir.file("velmo41.db"));
    EXPECT_EQ(other.count("mem_info"), c.members);
    EXPECT_TRUE(other.exec("insert into mem_info values ('M9')")) << "no lock is left";
    sqlca.disconnect();
    EXPECT_EQ(sqlca.status, 0);
    EXPECT_FALSE(sqlca.is_connected());
  }
}

// The copy is the program's own file: from an old database in WAL mode it leaves no companion
// beside velmo41.db, neither when it replaces velmo41.db nor when its version is refused.
TEST_F(LocalPath, AWalSourceLeavesNoCompanionOfTheCopy) {
  test::SqliteDb(dir.file("velmo40.db"))
      .exec(
          "pragma journal_mode = wal; create table sys (id int, bb varchar(10));"
          "insert into sys values (1, '4.00');");
  ASSERT_EQ(test::SqliteDb(dir.file("velmo40.db")).rows("pragma journal_mode"), QStringList{"wal"});
  const QStringList old_files = QDir(dir.path()).entryList({"velmo40.db*"}, QDir::Files);
  const struct {
    const char* bb;
    Lines box;
  } cases[] = {
      {"4.00", {"系统提示|数据库处理完毕!"}},
      {"17.00",
       {"错误提示|原始数据库velmo40.db的版本17.00高于本程序的版本16.10,\r\n未做任何处理!"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bb);
    test::SqliteDb(dir.file("velmo40.db")).exec(QString("update sys set bb = '%1'").arg(c.bb));
    dialogs.clear();
    run();
    EXPECT_EQ(dialogs.lines(), c.box);
    EXPECT_EQ(members(), 2);
    EXPECT_EQ(QDir(dir.path()).entryList({"velmo41*"}), QStringList{"velmo41.db"});
    EXPECT_EQ(QDir(dir.path()).entryList({"velmo40.db*"}, QDir::Files), old_files);
  }
}

TEST_F(LocalPath, AReadOnlyOldCopyIsReplaced) {
  test::sqlite_file(dir.file("velmo41.db"), "create table stale (a int);");
  QFile::setPermissions(dir.file("velmo41.db"), QFileDevice::ReadOwner);
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(members(), 2);
}

TEST_F(LocalPath, WithoutTheOldDatabaseTheLastCopyStays) {
  test::sqlite_file(dir.file("velmo41.db"),
                    "create table mem_info (mem_id varchar(20));"
                    "insert into mem_info values ('KEEP');");
  QFile::remove(dir.file("velmo40.db"));
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"创建数据库失败|生成数据库文件失败！"});
  EXPECT_EQ(w.position, 1);
  EXPECT_EQ(members(), 1);
  EXPECT_FALSE(QFile::exists(dir.file("velmo41.db.new")));
}

TEST_F(LocalPath, ATargetThatCannotGoIsReported) {
  QDir().mkpath(dir.file("velmo41.db"));
  run();
  EXPECT_EQ(dialogs.lines(),
            Lines{"系统提示false|删除老的目标数据库文件失败,\r\n请手工删除velmo41.db."});
  EXPECT_EQ(w.position, 0);
  EXPECT_EQ(w.st_11, "连接数据库1");
}

TEST_F(LocalPath, NoConnectionForThePurgeIsAFailureNotASuccess) {
  run(false);
  EXPECT_EQ(dialogs.lines(), Lines{"|连接新数据库失败"});
  EXPECT_EQ(w.position, 2);
}

}  // namespace

namespace {

using Lines = std::vector<QString>;

const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\velmo41");
const QString kDone = QStringLiteral("系统提示|数据库处理完毕!");

// Salon folders are often named in Chinese; the driver takes no braces and ends a value at ';'.
class LocalPathInFolder : public LocalRun, public ::testing::TestWithParam<QString> {
 protected:
  LocalPathInFolder() : LocalRun(GetParam()) {}
};

TEST_P(LocalPathInFolder, CopiesConnectsAndPurges) {
  w.cbx[2] = false;
  run();
  EXPECT_EQ(dialogs.lines(), Lines{kDone});
  EXPECT_EQ(members(), 0);
  EXPECT_EQ(test::checksum(dir.file("velmo40.db")), old_sum);
  QString file;
  rt::registry_get(kKey, "DatabaseFile", file);
  EXPECT_EQ(file, dir.file("velmo41.db"));
}

INSTANTIATE_TEST_SUITE_P(Names, LocalPathInFolder,
                         ::testing::Values(QStringLiteral("美发店"), QStringLiteral("a;b=c"),
                                           QStringLiteral("{x}"), QStringLiteral("my salon")),
                         [](const auto& i) { return std::to_string(i.index); });

// A folder name with a control character cannot be registered as a data source: the profile
// stays byte for byte as it was, and the Start stops at the connect before the purge.
class LocalPathInControlFolder : public LocalRun, public ::testing::TestWithParam<QString> {
 protected:
  LocalPathInControlFolder() : LocalRun(GetParam()) {}
};

TEST_P(LocalPathInControlFolder, TheConnectFailsAndTheProfileStaysAsItWas) {
  rt::registry_set(QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\velmo40"),
                   "DatabaseFile", "/salon/velmo40.db");
  const QByteArray profile = dir.read("../home/.odbc.ini");
  ASSERT_FALSE(profile.isEmpty());
  w.cbx[2] = false;
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"|连接新数据库失败"});
  EXPECT_EQ(dir.read("../home/.odbc.ini"), profile);
  EXPECT_FALSE(QFile::exists(dir.config_folder() + "USER.INI"));
  EXPECT_EQ(members(), 2);
  EXPECT_EQ(test::checksum(dir.file("velmo40.db")), old_sum);
}

INSTANTIATE_TEST_SUITE_P(Names, LocalPathInControlFolder,
                         ::testing::Values(QStringLiteral("a\nDriver=evil.so\nb"),
                                           QStringLiteral("\n[ODBC Data Sources]\nevil=x\n"),
                                           QStringLiteral("a\tb"), QStringLiteral("a\x01-b")),
                         [](const auto& i) { return std::to_string(i.index); });

// A data source velmo41 left in the profile that names another database: the purge must not
// touch it, and this folder's copy is purged.
struct Stale {
  const char* name;
  const char* points_at;  // "other" (another folder's velmo41.db) or "old" (velmo40.db)
  bool list_write_fails;  // the registration for this folder cannot be done
};

class StaleDataSource : public LocalRun, public ::testing::TestWithParam<Stale> {
 protected:
  void SetUp() override {
    saved = f_conect_registry_in_use();
    QDir().mkpath(dir.path() + "../other");
    other = QDir::cleanPath(dir.path() + "../other/velmo41.db");
    test::sqlite_file(other,
                      "create table mem_info (mem_id varchar(20));"
                      "insert into mem_info values ('X1'), ('X2'), ('X3');");
    const QString stale = QString(GetParam().points_at) == "other" ? other : dir.file("velmo40.db");
    rt::registry_set(kKey, "Driver", QFileInfo(stale).path() + "/wod50t.dll");
    rt::registry_set(kKey, "DatabaseFile", stale);
    rt::registry_set(kKey, "DatabaseName", "velmo41");
    sums = {test::checksum(other), test::checksum(dir.file("velmo40.db"))};
  }
  void TearDown() override { f_conect_registry_in_use() = saved; }

  f_conect_registry saved{};
  QString other;
  std::pair<QByteArray, QByteArray> sums;
};

TEST_P(StaleDataSource, IsRegisteredAgainForThisFolderOrNothingIsDeleted) {
  if (GetParam().list_write_fails)
    f_conect_registry_in_use().set = [](const QString& key, const QString& name,
                                        const QString& value) {
      return key.endsWith("ODBC Data Sources") ? -1 : rt::registry_set(key, name, value);
    };
  w.cbx[2] = false;
  run();
  EXPECT_EQ(std::make_pair(test::checksum(other), test::checksum(dir.file("velmo40.db"))), sums);
  if (GetParam().list_write_fails) {
    EXPECT_EQ(dialogs.lines(), Lines{"错误信息|数据源velmo41注册失败,\r\n未删除任何数据!"});
    EXPECT_EQ(dialogs.shown()[0].kind, test::Shown::Failure);
    EXPECT_EQ(members(), 2);
    EXPECT_EQ(w.position, 2);
  } else {
    EXPECT_EQ(dialogs.lines(), Lines{kDone});
    EXPECT_EQ(members(), 0);
    QString file;
    rt::registry_get(kKey, "DatabaseFile", file);
    EXPECT_EQ(file, dir.file("velmo41.db"));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, StaleDataSource,
                         ::testing::Values(Stale{"OtherFolder", "other", false},
                                           Stale{"OldDatabase", "old", false},
                                           Stale{"CannotRegister", "other", true}),
                         [](const auto& i) { return std::string(i.param.name); });

// Whatever f_conect connected to (its dialog lets the user pick any file), the purge runs only
// on this folder's velmo41.db.
TEST_F(LocalPath, AConnectionToAnotherFileIsRefused) {
  w.cbx[2] = false;
  rebuild::StartServices s{nullptr, nullptr, [this](auto&&...) {
                             rt::registry_set(kKey, "Driver", gs_apppath + "wod50t.dll");
                             rt::registry_set(kKey, "DatabaseFile", dir.file("velmo40.db"));
                             sqlca.interface_id = "ODBC";
                             sqlca.connect_params = "Connectstring='DSN=velmo41'";
                             sqlca.connect();
                             return 1;
                           }};
  rebuild::StartAction(w, s).clicked();
  EXPECT_EQ(dialogs.lines(),
            Lines{"错误信息|数据源velmo41不是本目录的velmo41.db,\r\n未删除任何数据!"});
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_EQ(test::checksum(dir.file("velmo40.db")), old_sum);
  EXPECT_EQ(members(), 2);
}

// The salon program may have the old database open in write-ahead-log mode: rows it committed
// may still lie only in the log, whether it still runs or was killed.
TEST_F(LocalPath, TheCopyHoldsTheRowsStillInTheOldDatabasesLog) {
  for (const bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "writer killed" : "writer running");
    test::sqlite_file(dir.file("velmo40.db"), "delete from mem_info where mem_id = 'WAL'");
    test::HeldDatabase writer(dir.file("velmo40.db"),
                              {"pragma journal_mode=wal", "pragma wal_autocheckpoint=0",
                               "insert into mem_info values ('WAL')"});
    ASSERT_TRUE(writer.ready()) << writer.errors().toStdString();
    if (killed) writer.kill();
    // The database file alone does not have the row yet.
    QFile::remove(dir.file("bytes.db"));
    QFile::copy(dir.file("velmo40.db"), dir.file("bytes.db"));
    EXPECT_EQ(test::SqliteDb(dir.file("bytes.db")).count("mem_info"), 2);
    const QByteArray old_file = test::checksum(dir.file("velmo40.db"));

    dialogs.clear();
    run();
    EXPECT_EQ(dialogs.lines(), Lines{kDone});
    EXPECT_EQ(test::SqliteDb(dir.file("velmo41.db")).rows("select mem_id from mem_info"),
              (QStringList{"M1", "M2", "WAL"}));
    EXPECT_EQ(test::checksum(dir.file("velmo40.db")), old_file);
  }
}

// A salon program killed in the middle of a transaction leaves a journal that only a writer can
// roll back. The copy holds what was committed; the old database and its journal are only read.
TEST_F(LocalPath, AHotJournalOfTheOldDatabaseIsRolledBackInACopy) {
  {
    test::HeldDatabase writer(
        dir.file("velmo40.db"),
        {"pragma cache_size = 2", "begin",
         "insert into mem_info with recursive n(i) as (select 1 union all select i + 1 from n "
         "where i < 20000) select 'U' || i || printf('%.80c', 'x') from n"});
    ASSERT_TRUE(writer.ready()) << writer.errors().toStdString();
    writer.kill();
  }
  ASSERT_GT(QFileInfo(dir.file("velmo40.db-journal")).size(), 0);
  // The uncommitted rows reached the file itself: only the journal makes it whole.
  ASSERT_NE(test::checksum(dir.file("velmo40.db")), old_sum);
  const QByteArray before =
      test::checksum(dir.file("velmo40.db")) + test::checksum(dir.file("velmo40.db-journal"));
  run();
  EXPECT_EQ(dialogs.lines(), Lines{kDone});
  EXPECT_EQ(test::SqliteDb(dir.file("velmo41.db")).rows("select mem_id from mem_info"),
            (QStringList{"M1", "M2"}));
  EXPECT_EQ(test::checksum(dir.file("velmo40.db")) + test::checksum(dir.file("velmo40.db-journal")),
            before);
  EXPECT_EQ(QDir(dir.path()).entryList({"velmo41*"}, QDir::Files | QDir::Dirs | QDir::Hidden),
            QStringList{"velmo41.db"});
}

TEST_F(LocalPath, AnOldCopyHeldOpenByAnotherProgramIsNotReplaced) {
  test::sqlite_file(dir.file("velmo41.db"),
                    "create table mem_info (mem_id varchar(20));"
                    "insert into mem_info values ('KEEP');");
  test::HeldDatabase holder(dir.file("velmo41.db"));
  ASSERT_TRUE(holder.ready()) << holder.errors().toStdString();
  const QByteArray before = test::checksum(dir.file("velmo41.db"));
  run();
  EXPECT_EQ(dialogs.lines(),
            Lines{"系统提示false|删除老的目标数据库文件失败,\r\n请手工删除velmo41.db."});
  EXPECT_EQ(dialogs.shown()[0].kind, test::Shown::Failure);
  EXPECT_EQ(w.position, 0);
  EXPECT_EQ(test::checksum(dir.file("velmo41.db")), before);
  EXPECT_EQ(QDir(dir.path()).entryList({"velmo41*"}), QStringList{"velmo41.db"});
}

// A program killed while it wrote to the old copy leaves its log behind; replayed into the new
// copy it would bring back rows of the old one.
TEST_F(LocalPath, TheLogOfAKilledWriterOfTheOldCopyIsNotReplayed) {
  test::sqlite_file(dir.file("velmo41.db"), "create table mem_info (mem_id varchar(20));");
  {
    test::HeldDatabase writer(dir.file("velmo41.db"),
                              {"pragma journal_mode=wal", "pragma wal_autocheckpoint=0",
                               "insert into mem_info values ('STALE')"});
    ASSERT_TRUE(writer.ready()) << writer.errors().toStdString();
    writer.kill();
  }
  ASSERT_TRUE(QFile::exists(dir.file("velmo41.db-wal")));
  run();
  EXPECT_EQ(dialogs.lines(), Lines{kDone});
  EXPECT_EQ(test::SqliteDb(dir.file("velmo41.db")).dump(),
            test::SqliteDb(dir.file("velmo40.db")).dump());
}

}  // namespace
