#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cerrno>

#include "runtime/codepage.h"
#include "runtime/files.h"
#include "tests/rebuild/server_run.h"
#include "tests/support/fake_tds_server.h"
#include "tests/support/fs_faults.h"

namespace {

using Lines = std::vector<QString>;

class SqlServerPath : public test::ServerRun {
 protected:
  // Every statement sqlca runs from now on.
  std::shared_ptr<QStringList> record_statements() {
    auto statements = std::make_shared<QStringList>();
    sqlca.set_fault_hook([statements](const QString& s) -> std::optional<db::DbError> {
      *statements << s;
      return std::nullopt;
    });
    return statements;
  }
};

// On a real server Start's first login, to the old database, carries the user and password as
// typed.
TEST_F(SqlServerPath, LogsInWithTheTypedValues) {
  test::IsolatedFreeTds freetds;
  test::FakeTdsServer named, other;
  const QString password = QStringLiteral("p}};Port=%1").arg(other.port());
  w.connection.local(QStringLiteral("127.0.0.1,%1").arg(named.port()), "velmo40", "用户};APP=INJ",
                     password, password);
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"|连接原始数据库失败"});
  EXPECT_EQ(named.sole_login(), (QStringList{"用户};APP=INJ", password, "velmo40", ""}));
  EXPECT_EQ(other.connections(), 0);
}

TEST_F(SqlServerPath, FullRunAttachesExportsEmptiesAndImports) {
  build();
  store.old_rows[1] = {"~\tx", "5\tz", "~\ty"};             // numeric key: the nulls go
  store.old_rows[5] = {"A01\t4", "~\t1", "\t2", "   \t3"};  // text key: null and blanks go
  store.old_rows[25] = {"X\t~", "Y\t ", "Z\tE9"};           // emp_id: sorted by it first
  store.old_rows[6] = {"~\tq"};                             // no key: stays
  store.old_rows[9] = {};                                   // empty file: skipped
  std::vector<bool> held_at_box;
  dialogs.while_shown([&](const test::Shown&) { held_at_box.push_back(sqlca.is_connected()); });
  run();

  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(held_at_box, std::vector<bool>{false}) << "velmo41 is let go before the success box";
  EXPECT_EQ(w.position, 8);
  EXPECT_EQ(w.maxposition, 8);
  EXPECT_EQ(w.st_11, "复制完成!");
  EXPECT_EQ(upgrades, 1);
  EXPECT_TRUE(text_files().isEmpty()) << text_files().join(' ').toStdString();
  EXPECT_EQ(store.stored[1], QStringList{"5\tz"});
  EXPECT_EQ(store.stored[5], QStringList{"A01\t4"});
  EXPECT_EQ(store.stored[25], QStringList{"Z\tE9"});
  EXPECT_EQ(store.stored[6], QStringList{"~\tq"});
  EXPECT_EQ(store.stored.count(9), 0u);
  EXPECT_EQ(store.stored.size(), 92u);  // 94 numbers, less 2 and the empty 9
  // What the row check left out, for a technician to see.
  const QStringList log = rt::from_cp936(dir.read("kv_log.txt")).split("\r\n");
  EXPECT_EQ(log.filter(QRegularExpression("^IMPORT: .*-->表dhfsq的2行键为空,未导入: id=")).size(),
            1);
  EXPECT_EQ(log.filter("-->表card_level的3行键为空,未导入: ").size(), 1);
  EXPECT_EQ(log.filter("-->表emp_info的2行键为空,未导入: ").size(), 1);
  EXPECT_EQ(log.filter("IMPORT: ").size(), 3);
  EXPECT_EQ(store.calls.filter("import").size(), 93);

  const QStringList& st = w.st_11_history;
  EXPECT_EQ(st.mid(0, 4), (QStringList{"连接数据库2", "附加数据库2", "导出2 -->1", "导出2 -->2"}));
  EXPECT_EQ(st[2 + 93], "导出2 -->94");
  EXPECT_EQ(st[2 + 94], "升级数据库");
  EXPECT_EQ(st.count("检查数据"), 94);
  EXPECT_TRUE(st.contains("初始化...88/94"));
  EXPECT_TRUE(st.contains("初始化...94/94"));
  EXPECT_EQ(st.mid(st.size() - 2), (QStringList{"", "复制完成!"}));

  const QStringList& ww = w.wait_history;
  EXPECT_EQ(ww.front(), "open:数据处理中");
  EXPECT_EQ(ww.back(), "close");
  EXPECT_FALSE(ww.contains("导入第:2号表"));
  const qsizetype t1 = ww.indexOf("导入第:1号表");
  EXPECT_EQ(ww.mid(t1, 5), (QStringList{"导入第:1号表", "数据处理:1/3", "数据处理:1/2",
                                        "数据处理:1/1", "保存数据:1/94中..."}));
  const qsizetype t6 = ww.indexOf("导入第:6号表");
  EXPECT_EQ(ww.mid(t6, 3), (QStringList{"导入第:6号表", "数据处理:1/1", "保存数据:6/94中..."}));
  EXPECT_EQ(ww[ww.size() - 2], "保存数据:94/94中...");

  // velmo41 is attached and was emptied; the old database is untouched.
  EXPECT_EQ(value("velmo41", "select count(*) from emp_tm_yj"), "0");
  EXPECT_EQ(value("velmo41", "select count(*) from mem_info"), "0");
  EXPECT_EQ(test::checksum(app("velmo40.mdf")), old_sum);
}

TEST_F(SqlServerPath, AnAttachedVelmo41IsReusedWithoutAttach) {
  build();
  run();
  ASSERT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  dialogs.clear();
  w.st_11_history.clear();
  const auto statements = record_statements();
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(w.st_11_history.mid(0, 2), (QStringList{"连接数据库2", "导出2 -->1"}));
  EXPECT_TRUE(statements->filter("sp_attach_db").isEmpty());
  EXPECT_EQ(w.position, 8);
}

// A run that stopped between the copies and the attach: the data file it left is attached as it
// stands, never overwritten by the template; only the missing log file is copied.
TEST_F(SqlServerPath, ADataFileNotYetAttachedIsAttachedAsItStands) {
  build();
  ASSERT_TRUE(QFile::copy(app("base.mdf"), app("velmo41.mdf")));
  test::sqlite_file(app("velmo41.mdf"), "create table left_by_the_stopped_run (a int);");
  const auto statements = record_statements();
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(w.st_11_history.mid(0, 2), (QStringList{"连接数据库2", "附加数据库2"}));
  EXPECT_EQ(statements->filter("sp_attach_db").size(), 1);
  EXPECT_EQ(test::checksum(app("velmo41.ldf")), test::checksum(app("base.ldf")));
  EXPECT_EQ(value("velmo41", "select count(*) from left_by_the_stopped_run"), "0");
}

// A data file that holds no database is no state to stop at: it is kept under another name and
// the template takes its place.
TEST_F(SqlServerPath, ADataFileOfNoDatabaseIsSetAsideNotOverwritten) {
  build();
  write(app("velmo41.mdf"), "not attached");
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  const QStringList kept = QDir(gs_apppath).entryList({"velmo41.mdf.damaged-*"}, QDir::Files);
  ASSERT_EQ(kept.size(), 1);
  EXPECT_EQ(QFile(app(kept[0])).size(), 12);
  EXPECT_EQ(value("velmo41", "select count(*) from emp_tm_yj"), "0");
}

// What lies where a template's copy goes belongs to another database: set aside under a dated
// name, named in kv_log.txt, never overwritten. A copy of the template is as good as a new one.
TEST_F(SqlServerPath, WhatLiesWhereTheTemplatesGoIsSetAsideNotOverwritten) {
  const struct {
    const char* name;
    const char* file;
    QByteArray bytes;
    const char* kept;  // the name it is kept under; none for a copy of the template
  } cases[] = {
      {"ALoneLog", "velmo41.ldf", "the log of another database", "velmo41.ldf.replaced-*"},
      {"ALoneJournal", "velmo41.mdf-journal", "a journal", "velmo41.mdf.replaced-*-journal"},
      {"ACopyOfTheTemplate", "velmo41.ldf", "log", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    build(QString(c.name) + "/");
    dialogs.clear();
    write(app(c.file), c.bytes);
    run();
    EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
    EXPECT_EQ(test::checksum(app("velmo41.ldf")), test::checksum(app("base.ldf")));
    EXPECT_EQ(value("velmo41", "select count(*) from emp_tm_yj"), "0");
    const QStringList kept = QDir(gs_apppath).entryList({"*.replaced-*"}, QDir::Files);
    const QStringList logged =
        rt::from_cp936(dir.read(QString(c.name) + "/kv_log.txt")).split("\r\n").filter("已改名为");
    if (!c.kept) {
      EXPECT_EQ(kept, QStringList{});
      EXPECT_EQ(logged, QStringList{});
      continue;
    }
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(QDir::match(c.kept, kept[0])) << kept[0].toStdString();
    EXPECT_EQ(dir.read(QString(c.name) + "/" + kept[0]), c.bytes);
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains(QString(c.file) + "已改名为" + kept[0]));
  }
}

// A damaged velmo41 whose log cannot be set aside, and whose data file then cannot be named back:
// the run stops, kv_log.txt names the file left renamed, and the next plain run goes on from
// there without losing a byte of it.
TEST_F(SqlServerPath, AFailedUndoOfTheDamagedSetAsideIsLoggedAndRepairedByTheNextRun) {
  build();
  write(app("velmo41.mdf"), "not attached");
  write(app("velmo41.ldf"), "its log");
  const QRegularExpression aside("\\.damaged-\\d{8}-\\d{6}$");
  {
    test::RenameFault fault([&](const QString& from, const QString&) {
      const bool refused = from == app("velmo41.ldf") ||
                           (from.startsWith(app("velmo41.mdf.")) && aside.match(from).hasMatch());
      return refused ? EACCES : 0;
    });
    run();
  }
  EXPECT_EQ(dialogs.lines(),
            Lines{"错误信息|velmo41.mdf已损坏,无法改名,\r\n请关闭使用它的程序后重新开始!"});
  const QStringList kept = QDir(gs_apppath).entryList({"velmo41.mdf.damaged-*"}, QDir::Files);
  ASSERT_EQ(kept.size(), 1);
  const QStringList logged =
      rt::from_cp936(dir.read("kv_log.txt")).split("\r\n").filter("未能改回原名");
  ASSERT_EQ(logged.size(), 1);
  EXPECT_TRUE(logged[0].endsWith("velmo41.mdf已改名为" + kept[0] + ",未能改回原名"));

  dialogs.clear();
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(dir.read(kept[0]), "not attached");
  const QStringList logs = QDir(gs_apppath).entryList({"velmo41.ldf.replaced-*"}, QDir::Files);
  ASSERT_EQ(logs.size(), 1);
  EXPECT_EQ(dir.read(logs[0]), "its log");
}

// Unless it is the source itself: then nothing is done.
TEST_F(SqlServerPath, ADamagedVelmo41AsItsOwnSourceIsRefused) {
  build();
  run();
  ASSERT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  dialogs.clear();
  write(app("velmo41.mdf"), "");
  w.connection[shared::sle::database_name] = "VELMO41";
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"错误提示|原始数据库velmo41已损坏,\r\n未做任何处理!"});
  EXPECT_EQ(QFile(app("velmo41.mdf")).size(), 0);
  EXPECT_TRUE(QDir(gs_apppath).entryList({"*.damaged-*"}).isEmpty());
  EXPECT_TRUE(text_files().isEmpty());
}

TEST_F(SqlServerPath, AQuoteInTheProgramFolderIsDoubledInTheAttach) {
  build("it's here/");
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(value("velmo41", "select count(*) from emp_tm_yj"), "0");
}

TEST_F(SqlServerPath, BlanksAroundTheConnectionFieldsAreRemoved) {
  build();
  w.connection[shared::sle::server_name] = "  (embedded) ";
  w.connection[shared::sle::database_name] = " velmo40  ";
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(sqlca.server, "(embedded)");
}

TEST_F(SqlServerPath, ASecondStartDuringARunDoesNothing) {
  build();
  int nested = 0;
  store.on_update = [&](int n) {
    if (n != 3) return;
    rebuild::StartAction again(w, {test::fake_store_factory(store), nullptr, nullptr});
    EXPECT_TRUE(rebuild::StartAction::running());
    again.clicked();
    ++nested;
  };
  run();
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(store.calls.count("import 3"), 1);
  EXPECT_FALSE(rebuild::StartAction::running());
}

TEST_F(SqlServerPath, LargeTablesAreNotMistakenForErrorCodes) {
  build();
  store.import_result[3] = 65534;  // -2 in 16 bits
  store.import_result[4] = 65535;  // -1 in 16 bits
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(store.stored[3], QStringList{"R3\tE3"});
  EXPECT_EQ(store.stored[4], QStringList{"R4\tE4"});
}

// Every way the SQL Server path can stop: its message, the bar, what is left behind.
struct Stop {
  const char* name;
  std::function<void(test::ServerRun&, test::FakeWindow&, test::StoreScript&, bool&)> arrange;
  Lines lines;
  int bar;
  bool emptied;                 // velmo41's rows were deleted
  const char* st_11 = nullptr;  // the status line afterwards, when it matters
};

void fail_statement(const QString& prefix) {
  sqlca.set_fault_hook([prefix](const QString& s) -> std::optional<db::DbError> {
    if (s.startsWith(prefix)) return db::DbError{3701, "injected"};
    return std::nullopt;
  });
}

// Refuses the `nth` connect to that database.
void refuse_connect(const QString& db_name, int nth) {
  auto connects = std::make_shared<int>(0);
  sqlca.set_fault_hook([=](const QString& s) -> std::optional<db::DbError> {
    if (s.startsWith("CONNECT") && s.endsWith(" " + db_name) && ++*connects == nth)
      return db::DbError{4060, "injected"};
    return std::nullopt;
  });
}

void PrintTo(const Stop& s, std::ostream* os) { *os << s.name; }

class SqlServerStop : public test::ServerRun, public ::testing::WithParamInterface<Stop> {};

TEST_P(SqlServerStop, ShowsItsMessageAndLeavesTheOldDatabaseAlone) {
  build();
  const Stop& c = GetParam();
  c.arrange(*this, w, store, upgrade_ok);
  run();
  EXPECT_EQ(dialogs.lines(), c.lines);
  EXPECT_EQ(w.position, c.bar);
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_FALSE(w.wait_open);
  sqlca.set_fault_hook({});
  if (QFile::exists(app("velmo41.mdf")) && c.bar > 0) {
    const QString left = value("velmo41", "select count(*) from emp_tm_yj");
    if (left != "<none>") {
      EXPECT_EQ(left, c.emptied ? "0" : "1");
    }
  }
  if (c.st_11) {
    EXPECT_EQ(w.st_11, QString::fromUtf8(c.st_11));
  }
  // However the run stopped, no customer data stays behind in plain text.
  EXPECT_EQ(text_files(), QStringList{});
  EXPECT_EQ(test::checksum(app("velmo40.mdf")), old_sum);
}

const Stop stops[] = {
    // The source is connected first: a server that is not there refuses it.
    {"ServerUnreachable",
     [](auto&, auto& w, auto&, auto&) {
       w.connection[shared::sle::server_name] = "nowhere.invalid";
     },
     {"|连接原始数据库失败"},
     0,
     false},
    {"MasterRefused",
     [](auto&, auto&, auto&, auto&) { refuse_connect("master", 1); },
     {"|连接失败"},
     0,
     false},
    {"TemplateMissing",
     [](auto& r, auto&, auto&, auto&) { QFile::remove(r.app("base.ldf")); },
     {"创建数据库失败|生成数据库文件失败！"},
     0,
     false},
    {"AttachFails",
     [](auto&, auto&, auto&, auto&) { fail_statement("sp_attach_db"); },
     {"错误信息|创建数据库失败"},
     0,
     false},
    {"OldDatabaseRefused",
     [](auto&, auto& w, auto&, auto&) { w.connection[shared::sle::database_name] = "nosuch"; },
     {"|连接原始数据库失败"},
     0,
     false},
    {"FirstTableNotSaved",
     [](auto&, auto&, auto& s, auto&) { s.save_fails = {1}; },
     {"备份失败|请检查备份路径是否存在!"},
     0,
     false},
    {"NewDatabaseRefused",
     [](auto&, auto&, auto&, auto&) { refuse_connect("velmo41", 1); },
     {"|连接新数据库失败"},
     1,
     false},
    {"TableUnreadable",
     [](auto&, auto&, auto& s, auto&) { s.retrieve_fails = {8}; },
     {"备份失败|导出表: doc_m失败!"},
     0,
     false},
    {"TableNotSaved",
     [](auto&, auto&, auto& s, auto&) { s.save_fails = {30}; },
     {"备份失败|导出表: wage_data失败!"},
     0,
     false},
    {"UpgradeStopped",
     [](auto&, auto&, auto&, bool& ok) { ok = false; },
     {},
     1,
     false,
     "升级数据库失败,已停止,数据未改动!"},
    {"LowTableFileMissing",
     [](auto& r, auto&, auto&, auto&) {
       r.during_upgrade = [&r] { QFile::remove(r.app("tab_back_30.txt")); };
     },
     {"错误信息|要恢复的数据文件并不存在，请检查后重新恢复!"},
     1,
     false},
    {"ReadOnlyLeftoverOfAnUnsavedTable",
     [](auto& r, auto&, auto& s, auto&) {
       r.write(r.app("tab_back_30.txt"), "stale\trow\n");
       rt::set_file_attributes(r.app("tab_back_30.txt"), 1);
       s.save_fails = {30};
     },
     {"备份失败|导出表: wage_data失败!"},
     0,
     false},
    {"HighTableFileMissing",
     [](auto& r, auto&, auto&, auto&) {
       r.during_upgrade = [&r] { QFile::remove(r.app("tab_back_70.txt")); };
     },
     {"错误信息|要恢复的数据文件并不存在，请检查后重新恢复!"},
     1,
     false},
    // The emptying and the import are one transaction: each of their failures undoes both.
    {"EmptyingFails",
     [](auto&, auto&, auto&, auto&) { fail_statement("delete from emp_tm_yj"); },
     {"系统提示|删除原数据出错!"},
     1,
     false},
    {"AMiddleDeleteFails",
     [](auto&, auto&, auto&, auto&) { fail_statement("delete from zd_data"); },
     {"系统提示|删除原数据出错!"},
     1,
     false},
    {"EmptyingConnectRefused",
     [](auto&, auto&, auto&, auto&) { refuse_connect("velmo41", 2); },
     {"|连接新数据库失败"},
     1,
     false},
    {"ImportFails",
     [](auto&, auto&, auto& s, auto&) { s.import_result[7] = -1; },
     {"错误提示|恢复表: 7失败?import错误号:-1"},
     1,
     false},
    {"UpdateFails",
     [](auto&, auto&, auto& s, auto&) { s.update_result[6] = -1; },
     {"错误提示|恢复表: 6失败?update错误号:-1"},
     1,
     false},
    {"LastStatusNegative",
     [](auto&, auto&, auto& s, auto&) {
       s.on_update = [](int n) {
         if (n == 94) sqlca.status = -1;
       };
     },
     {"系统提示|保存数据出错!"},
     1,
     false},
    {"RowsMissingAfterTheImport",
     [](auto&, auto&, auto& s, auto&) { s.held_offset[13] = -1; },
     {"错误提示|恢复表: mem_info行数不符,应为1行,实为0行!"},
     1,
     false},
    {"RowsDuplicatedAfterTheImport",
     [](auto&, auto&, auto& s, auto&) {
       s.old_rows[5] = {"A01\t4", "~\t1"};
       s.held_offset[5] = 1;
     },
     {"错误提示|恢复表: card_level行数不符,应为1行,实为2行!"},
     1,
     false},
    {"CommitFails",
     [](auto&, auto&, auto&, auto&) {
       auto seen = std::make_shared<bool>(false);
       sqlca.set_fault_hook([seen](const QString& s) -> std::optional<db::DbError> {
         if (s.startsWith("delete from")) *seen = true;
         if (*seen && s == "COMMIT") return db::DbError{1205, "injected"};
         return std::nullopt;
       });
     },
     {"系统提示|保存数据出错!"},
     1,
     false},
    // The purge is one transaction: a failed statement or commit undoes all of it.
    {"PurgeStatementFails",
     [](auto&, auto& w, auto&, auto&) {
       w.cbx[2] = false;
       fail_statement("delete from ie_data where type_name like");
     },
     {"系统提示|保存数据出错!"},
     2,
     true},
    {"PurgeCommitFails",
     [](auto&, auto&, auto&, auto&) {
       auto connects = std::make_shared<int>(0);
       sqlca.set_fault_hook([connects](const QString& s) -> std::optional<db::DbError> {
         if (s.startsWith("CONNECT") && s.endsWith(" velmo41")) ++*connects;
         if (*connects == 3 && s == "COMMIT") return db::DbError{1205, "injected"};
         return std::nullopt;
       });
     },
     {"系统提示|保存数据出错!"},
     7,
     true},
    {"TailConnectRefused",
     [](auto&, auto&, auto&, auto&) { refuse_connect("velmo41", 3); },
     {"|连接新数据库失败"},
     2,
     true},
};

INSTANTIATE_TEST_SUITE_P(Stops, SqlServerStop, ::testing::ValuesIn(stops),
                         [](const auto& info) { return std::string(info.param.name); });

// A table or column the database lacks holds nothing to purge: velmo41 here has no table sr.
TEST_F(SqlServerPath, APurgeStatementOnAMissingTableDeletesNothing) {
  build();
  w.cbx[2] = false;
  run();
  EXPECT_EQ(dialogs.lines(), Lines{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(w.position, 8);
}

TEST_F(SqlServerPath, TheTablesBeforeAFailedImportKeepTheirRows) {
  build();
  store.import_result[7] = -1;
  run();
  EXPECT_EQ(store.stored.size(), 5u);  // 1, 3, 4, 5, 6
  EXPECT_FALSE(text_files().contains("tab_back_6.txt"));
  EXPECT_TRUE(w.wait_history.contains("导入第:7号表"));
  EXPECT_FALSE(w.wait_history.contains("导入第:8号表"));
}

}  // namespace
