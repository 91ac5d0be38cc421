#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "db/transaction.h"
#include "kestrel/rebuild/start_action.h"
#include "shared/f_conect.h"
#include "tests/rebuild/fake_window.h"
#include "tests/rebuild/server_run.h"
#include "tests/rebuild/sqlite_db.h"
#include "tests/support/folder_holder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace {

using Lines = std::vector<QString>;

// The local kind through the real f_conect and the SQLite ODBC driver.
class LocalPath : public ::testing::Test {
 protected:
  LocalPath() {
    sqlca.disconnect();
    w.rb_2 = false;
    test::sqlite_file(dir.file("velmo40.db"),
                      "create table mem_info (mem_id varchar(20));"
                      "insert into mem_info values ('M1'), ('M2');");
    old_sum = test::checksum(dir.file("velmo40.db"));
  }
  ~LocalPath() override {
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

TEST_F(LocalPath, CopiesThenPurgesAtTheCommit) {
  w.cbx[2] = false;
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
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

TEST_F(LocalPath, DefaultOptionsKeepEveryRow) {
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(members(), 2);
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
