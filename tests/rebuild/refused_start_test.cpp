// A refused Start changes nothing, whatever state velmo41 is in: the source is connected to and
// checked before velmo41 is attached, copied, set aside or re-pointed. Compared byte for byte
// with the program folder before it (the catalog included, and named row by row), and with the
// folder of another program whose files the catalog names. A run killed while it checks the
// source or attaches velmo41 is repaired by the next plain Start.
#include <QDir>
#include <QFile>

#include "tests/rebuild/source_identity.h"

namespace {

using namespace source_test;

// Where velmo41 stands before the Start: each a state in which the attach has work to do.
enum class State {
  not_attached,  // its files stay in the folder
  not_attached_no_files,
  lone_log,  // not attached; a log of another database where the template's goes
  entry_on_missing_file,
  entry_on_other_folder,  // the files lie in another program folder, named by absolute path
  damaged,
};

struct Arranged {
  const char* name;
  State state;
};

void PrintTo(const Arranged& c, std::ostream* os) { *os << c.name; }

class RefusedStart : public SourceIdentity {
 protected:
  QString other() const { return QDir::cleanPath(dir.path() + "../other") + "/"; }

  void arrange(State s) {
    const auto remove_files = [this] {
      ASSERT_TRUE(QFile::remove(dir.file("velmo41.mdf")));
      ASSERT_TRUE(QFile::remove(dir.file("velmo41.ldf")));
    };
    switch (s) {
      case State::not_attached:
        run_on_master("sp_detach_db 'velmo41'");
        break;
      case State::not_attached_no_files:
        run_on_master("sp_detach_db 'velmo41'");
        remove_files();
        break;
      case State::lone_log:
        run_on_master("sp_detach_db 'velmo41'");
        ASSERT_TRUE(QFile::remove(dir.file("velmo41.mdf")));
        test::ServerRun::write(dir.file("velmo41.ldf"), "the log of another database");
        break;
      case State::entry_on_missing_file:
        ASSERT_TRUE(QFile::remove(dir.file("velmo41.mdf")));
        break;
      case State::entry_on_other_folder:
        ASSERT_TRUE(QDir().mkpath(other()));
        ASSERT_TRUE(QFile::copy(dir.file("velmo41.mdf"), other() + "velmo41.mdf"));
        ASSERT_TRUE(QFile::copy(dir.file("velmo41.ldf"), other() + "velmo41.ldf"));
        remove_files();
        test::sqlite_file(dir.file("master.sqlite"),
                          QString("update sysdatabases set filename = '%1velmo41.mdf', "
                                  "logname = '%1velmo41.ldf' where name = 'velmo41'")
                              .arg(other())
                              .toUtf8()
                              .constData());
        break;
      case State::damaged:
        ASSERT_TRUE(QFile::resize(dir.file("velmo41.mdf"), 0));
        break;
    }
  }

  // Every file of both folders with its bytes, and the catalog's rows.
  Sums snapshot() {
    Sums out = files_of(dir.path());
    for (const auto& [name, sum] : files_of(other())) out["other/" + name] = sum;
    const QStringList rows =
        test::SqliteDb(dir.file("master.sqlite")).rows("select * from sysdatabases order by name");
    for (const QString& r : rows) out["catalog: " + r] = "";
    return out;
  }

  void expect_refused(const QString& database_name, const QString& box) {
    tools::write_server_settings(database_name);
    const Sums before = snapshot();
    EXPECT_EQ(start(), Lines{box});
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(text_files(dir.path()), QStringList{});
  }
};

class RefusedSourceInState : public RefusedStart, public ::testing::WithParamInterface<Arranged> {};

// Every reason a source is refused, after our checks or the connect.
TEST_P(RefusedSourceInState, ChangesNothingInEitherFolderNorTheCatalog) {
  arrange(GetParam().state);
  attach_variant("norow", "delete from sys;");
  attach_variant("nokey", "alter table mem_info rename column mem_id to member_code;");
  test::sqlite_file(dir.file("notes.mdf"), "create table notes (a int);");
  ASSERT_TRUE(QFile::copy(dir.file("velmo40.ldf"), dir.file("notes.ldf")));
  run_on_master(shared::sp_attach_db("notes", dir.file("notes.mdf"), dir.file("notes.ldf")));
  const struct {
    const char* database_name;
    const char* box;
  } reasons[] = {
      {"velmo4O", "|连接原始数据库失败"},
      {"notes",
       "错误提示|原始数据库notes不是本系统的数据库(缺少表yhrz,zd,card_level,dept_info,doc_item"
       "等),\r\n未做任何处理!"},
      {"norow", "错误提示|原始数据库norow没有版本信息(sys表),\r\n未做任何处理!"},
      {"nokey", "备份失败|导出表: mem_info失败!"},
  };
  for (const auto& r : reasons) {
    SCOPED_TRACE(r.database_name);
    expect_refused(r.database_name, QString::fromUtf8(r.box));
  }
  test::sqlite_file(dir.file("velmo40.mdf"), later_release("17.00").constData());
  expect_refused("velmo40",
                 "错误提示|原始数据库velmo40的版本17.00高于本程序的版本16.10,\r\n未做任何处理!");
}

const Arranged states[] = {
    {"NotAttached", State::not_attached},
    {"NotAttachedWithoutFiles", State::not_attached_no_files},
    {"ALoneLog", State::lone_log},
    {"EntryOnAMissingFile", State::entry_on_missing_file},
    {"EntryOnAnotherFolder", State::entry_on_other_folder},
    {"Damaged", State::damaged},
};

INSTANTIATE_TEST_SUITE_P(States, RefusedSourceInState, ::testing::ValuesIn(states),
                         [](const auto& info) { return std::string(info.param.name); });

// velmo41 as the old database is refused where it is not this folder's intact velmo41: the attach
// would put the templates (or this folder's files) in its place, and the rebuild would end in a
// success on an empty template.
TEST_F(RefusedStart, Velmo41AsItsOwnSourceOnlyOnThisFoldersFiles) {
  const struct {
    State state;
    QString box;
  } cases[] = {
      {State::not_attached_no_files, "|连接原始数据库失败"},
      {State::entry_on_missing_file, "|连接原始数据库失败"},
      {State::entry_on_other_folder, "错误提示|原始数据库velmo41登记的文件" + other() +
                                         "velmo41.mdf不是本目录的velmo41.mdf,\r\n未做任何处理!"},
      {State::damaged, "错误提示|原始数据库velmo41已损坏,\r\n未做任何处理!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.state));
    arrange(c.state);
    expect_refused("velmo41", c.box);
    // Back to the folder the first rebuild left.
    QDir(other()).removeRecursively();
    for (const char* f : {"velmo41.mdf", "velmo41.ldf"}) QFile::remove(dir.file(f));
    test::sqlite_file(dir.file("master.sqlite"), "delete from sysdatabases where name = 'velmo41'");
    tools::write_server_settings();
    ASSERT_EQ(start(), Lines{kDone});
    ASSERT_EQ(test::first_difference(expected, test::carried_rows("velmo41", cols)), "");
  }
}

QStringList boxes(const test::ChildEnd& end) {
  QStringList out;
  for (const QString& l : end.output.split('\n'))
    if (l.startsWith("box:")) out << l.mid(4).trimmed();
  return out;
}

// A run killed while it checks the source has changed nothing; one killed at the attach, after
// a lone log was set aside and the templates copied, is completed by the next plain Start, the
// log kept as it was.
TEST_F(RefusedStart, KilledAtTheCheckOrTheAttachOnePlainStartCompletes) {
  const QString child = test::sibling_program("rebuild_child");
  arrange(State::lone_log);
  const Sums before = snapshot();
  const test::ChildEnd at_check =
      test::run_child(child, {gs_apppath, "--kill-at", "select isnull ( bb"}, 240000);
  EXPECT_TRUE(at_check.killed) << at_check.output.toStdString();
  EXPECT_EQ(snapshot(), before);

  const test::ChildEnd at_attach =
      test::run_child(child, {gs_apppath, "--kill-at", "sp_attach_db"}, 240000);
  EXPECT_TRUE(at_attach.killed) << at_attach.output.toStdString();
  const test::ChildEnd plain = test::run_child(child, {gs_apppath}, 240000);
  EXPECT_EQ(boxes(plain), QStringList{kDone}) << plain.output.toStdString();
  EXPECT_EQ(test::first_difference(expected, test::carried_rows("velmo41", cols)), "");
  const QStringList kept = QDir(dir.path()).entryList({"velmo41.ldf.replaced-*"}, QDir::Files);
  ASSERT_EQ(kept.size(), 1);
  EXPECT_EQ(dir.read(kept[0]), "the log of another database");
  EXPECT_EQ(log_lines(dir.path()).filter("已改名为" + kept[0]).size(), 1);
  EXPECT_EQ(text_files(dir.path()), QStringList{});
}

}  // namespace
