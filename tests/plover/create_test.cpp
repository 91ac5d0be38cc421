// cb_create "创建": a new database from the templates base.mdf / base.ldf, over files of its
// name that may hold a database of their own.
#include <QDir>
#include <csignal>
#include <cstdlib>

#include "db/master_catalog.h"
#include "db/sqlite_connection.h"
#include "runtime/codepage.h"
#include "tests/plover/plover_fixture.h"
#include "tests/support/kill_point.h"

namespace {

using test::PloverWindow;

const QString kDone = QStringLiteral("系统提示|创建数据库成功!");
const QString kCopyFailed = QStringLiteral("创建数据库失败|生成数据库文件失败！");
const QString kAsk = QStringLiteral("系统提示|您真的要创建shop2数据库吗？");
const int kRows = 800;

class Create : public PloverWindow {
 protected:
  void SetUp() override {
    PloverWindow::SetUp();
    server.make_files("base");
    server.folder.write("base.ldf", "template log");
    open_window();
    w->rb_2->setChecked(true);
  }
  void create() {
    local("(embedded)", "shop2", "sa", "", "");
    dialogs.answer(true);
    w->cb_create_clicked();
  }
  // shop2 attached on the server with rows of its own; detached afterwards unless `keep`.
  void shop2_with_rows(bool keep) {
    server.create_database("shop2", false);
    server.run("create table members (id int primary key, name varchar(20))");
    for (int i = 0; i < kRows; ++i)
      server.run(QStringLiteral("insert members values (%1, 'member %1')").arg(i));
    sqlca.commit();
    sqlca.disconnect();
    if (keep) return;
    server.connect("master");
    server.run("sp_detach_db 'shop2'");
    sqlca.disconnect();
  }
  // The members a data file holds, read straight from it; -1 without the table.
  long members_in(const QString& file) const {
    db::SqliteConnection db;
    if (db.open(QFile::encodeName(server.folder.file(file)).constData()) != SQLITE_OK) return -1;
    sqlite3_stmt* st = nullptr;
    long n = -1;
    if (sqlite3_prepare_v2(db.get(), "select count(*) from members", -1, &st, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
  }
  QStringList set_aside() const {
    return QDir(gs_apppath).entryList({"shop2.*.replaced-*"}, QDir::Files, QDir::Name);
  }
  QStringList log_lines() const {
    return rt::from_cp936(server.folder.read("kv_log.txt")).split("\r\n", Qt::SkipEmptyParts);
  }
  QString members_on_server() const {
    server.connect("shop2");
    const QString n = sqlca.status == 0 ? server.value("select count(*) from members")
                                        : QStringLiteral("<no connection>");
    sqlca.disconnect();
    return n;
  }
};

// A detached database under the new name (restored from a backup, detached by hand): its two
// files are set aside with every row, the new database is attached from the templates, and the
// catalog, the boxes and the log say what is there.
TEST_F(Create, ADetachedDatabaseIsSetAsideWithEveryRow) {
  shop2_with_rows(false);
  const QByteArray data = server.folder.read("shop2.mdf"), log = server.folder.read("shop2.ldf");
  ASSERT_EQ(members_in("shop2.mdf"), kRows);
  ASSERT_FALSE(db::find_database(gs_apppath, "shop2"));

  create();
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{kAsk, kDone}));
  const QStringList aside = set_aside();
  ASSERT_EQ(aside.size(), 2) << aside.join(' ').toStdString();
  const QString suffix = aside[0].mid(QString("shop2.ldf").size());
  EXPECT_EQ(aside, (QStringList{"shop2.ldf" + suffix, "shop2.mdf" + suffix}));
  EXPECT_EQ(server.folder.read(aside[1]), data);
  EXPECT_EQ(server.folder.read(aside[0]), log);
  EXPECT_EQ(members_in(aside[1]), kRows);

  const auto entry = db::find_database(gs_apppath, "shop2");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->data_file, db::comparable_path(gs_apppath + "shop2.mdf"));
  EXPECT_EQ(entry->log_file, db::comparable_path(gs_apppath + "shop2.ldf"));
  EXPECT_FALSE(db::catalog_holds_file(gs_apppath, gs_apppath + aside[1]));
  EXPECT_EQ(members_on_server(), "<failed>") << "the new database is the template";
  EXPECT_EQ(server.folder.read("shop2.ldf"), "template log");

  const QStringList lines = log_lines();
  ASSERT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
  EXPECT_TRUE(lines[0].startsWith("CREATE: "));
  EXPECT_TRUE(lines[0].endsWith("-->shop2.mdf不是base.mdf的副本,已改名为" + aside[1]))
      << lines[0].toStdString();
  EXPECT_TRUE(lines[1].endsWith("-->shop2.ldf不是base.ldf的副本,已改名为" + aside[0]))
      << lines[1].toStdString();
}

// Files that are the templates' copies are just copied over: nothing to set aside or log.
TEST_F(Create, CopiesOfTheTemplatesAreCopiedOver) {
  ASSERT_TRUE(QFile::copy(gs_apppath + "base.mdf", gs_apppath + "shop2.mdf"));
  ASSERT_TRUE(QFile::copy(gs_apppath + "base.ldf", gs_apppath + "shop2.ldf"));
  create();
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{kAsk, kDone}));
  EXPECT_TRUE(set_aside().isEmpty());
  EXPECT_FALSE(QFile::exists(gs_apppath + "kv_log.txt"));
  EXPECT_TRUE(db::find_database(gs_apppath, "shop2"));
}

// An attached database's files are refused as before: nothing renamed, every row still there.
TEST_F(Create, AnAttachedDatabasesFilesAreStillRefused) {
  shop2_with_rows(true);
  const QByteArray data = server.folder.read("shop2.mdf");
  create();
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{kAsk, kCopyFailed}));
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_TRUE(set_aside().isEmpty());
  EXPECT_EQ(server.folder.read("shop2.mdf"), data);
  EXPECT_EQ(members_on_server(), QString::number(kRows));
  EXPECT_FALSE(QFile::exists(gs_apppath + "kv_log.txt"));
}

// A create killed (SIGKILL) right before its attach, the files set aside and the templates
// copied: the next plain create attaches the copies, and the set-aside files keep every row.
TEST_F(Create, ACreateKilledBeforeTheAttachIsCompletedByTheNext) {
  shop2_with_rows(false);
  const QByteArray data = server.folder.read("shop2.mdf");
  // Forked, so that the child works on this test's own program folder.
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(
      {
        sqlca.set_fault_hook(test::kill_before(1, QStringLiteral("sp_attach_db")));
        create();
        std::exit(0);
      },
      testing::KilledBySignal(SIGKILL), "");
  QStringList aside = set_aside();
  ASSERT_EQ(aside.size(), 2) << aside.join(' ').toStdString();
  ASSERT_FALSE(db::find_database(gs_apppath, "shop2"));

  create();
  EXPECT_EQ(dialogs.lines(), (std::vector<QString>{kAsk, kDone}));
  EXPECT_EQ(set_aside(), aside) << "copies of the templates are not set aside again";
  EXPECT_EQ(server.folder.read(aside[1]), data);
  EXPECT_EQ(members_in(aside[1]), kRows);
  EXPECT_TRUE(db::find_database(gs_apppath, "shop2"));
}

}  // namespace
