// plover on a full disk (libfull_disk.so loaded into the real program): its save and its create
// fail visibly and leave the program folder as it was; with room enough they succeed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "db/master_catalog.h"
#include "db/sqlite_connection.h"
#include "tests/support/driven_program.h"
#include "tests/support/full_disk_env.h"
#include "tests/support/temp_program_folder.h"

namespace {

const QByteArray kIni =
    "[database]\r\nserver_name=(embedded)\r\ndatabase_name=shop2\r\nuser_name=sa\r\n"
    "database_type=2\r\n";

class FullDiskPlover : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(test::copy_program(QStringLiteral(PLOVER_PROGRAM), dir.path()).isEmpty());
    dir.write("user.ini", kIni);
  }
  // Runs plover with `free` bytes left in its folder; the boxes it showed.
  QStringList run(const QString& script, qint64 free) {
    const QString log = dir.config_folder() + "driver.log";
    QFile::remove(log);
    EXPECT_EQ(test::run_driven_program(dir.file("plover"), "window," + script + ",close", log,
                                       60000, test::full_disk(dir.path(), free)),
              0);
    QFile f(log);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList boxes;
    for (const QString& l : QString::fromUtf8(f.readAll()).split('\n'))
      if (l.startsWith("box ")) boxes << l.mid(4);
    return boxes;
  }
  QStringList files() const {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  }
  test::TempProgramFolder dir;
};

TEST_F(FullDiskPlover, ASaveThatDoesNotFitKeepsUserIni) {
  const QString ask = "操作提示|真的要保存刚才的修改吗?";
  for (const qint64 free : {0, 40}) {
    SCOPED_TRACE(free);
    EXPECT_EQ(run("click:cb_save,yes,ok", free), (QStringList{ask, "错误信息|保存设置失败!"}));
    EXPECT_EQ(dir.read("user.ini"), kIni);
    EXPECT_EQ(files(), (QStringList{"plover", "user.ini"}));
  }
  EXPECT_EQ(run("click:cb_save,yes", 1 << 20), QStringList{ask});
  EXPECT_TRUE(dir.read("user.ini").startsWith(kIni)) << "the keys it lacked added";
  EXPECT_GT(dir.read("user.ini").size(), kIni.size());
  EXPECT_EQ(files(), (QStringList{"plover", "user.ini"}));
}

// A template copy that does not fit is no database: nothing of it is left and the catalog
// names no file of it.
TEST_F(FullDiskPlover, ACreateThatDoesNotFitLeavesNoDatabase) {
  {
    db::SqliteConnection base;
    ASSERT_EQ(base.open(QFile::encodeName(dir.file("base.mdf")).constData()), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(base.get(),
                           "create table t (a); with recursive n(i) as (select 1 union all "
                           "select i + 1 from n where i < 20000) insert into t select "
                           "printf('row %08d', i) from n",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
  }
  dir.write("base.ldf", "template log");
  // The catalog made first, with room, by a create of another name.
  dir.write("user.ini", QByteArray(kIni).replace("shop2", "shop1"));
  const QString done = "系统提示|创建数据库成功!";
  ASSERT_EQ(run("click:cb_create,yes,ok", 1 << 30),
            (QStringList{"系统提示|您真的要创建shop1数据库吗？", done}));
  dir.write("user.ini", kIni);
  const QStringList before = files();
  const QByteArray catalog = dir.read("master.sqlite");
  const QString ask = "系统提示|您真的要创建shop2数据库吗？";

  const qint64 mdf = QFileInfo(dir.file("base.mdf")).size();
  for (const qint64 free : {qint64(0), mdf - 3}) {
    SCOPED_TRACE(free);
    EXPECT_EQ(run("click:cb_create,yes,ok", free),
              (QStringList{ask, "创建数据库失败|生成数据库文件失败！"}));
    EXPECT_EQ(files(), before);
    EXPECT_EQ(dir.read("master.sqlite"), catalog);
    EXPECT_FALSE(db::find_database(dir.path(), "shop2"));
  }
  EXPECT_EQ(run("click:cb_create,yes,ok", 1 << 30), (QStringList{ask, done}));
  EXPECT_EQ(dir.read("shop2.mdf"), dir.read("base.mdf"));
  EXPECT_TRUE(db::find_database(dir.path(), "shop2"));
}

}  // namespace
