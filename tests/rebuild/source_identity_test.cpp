// kestrel rebuilds only from a salon database of its own release or an earlier one, and only on
// its own folder's files, and gets out of a stale catalog or a damaged velmo41 by itself. The real
// Start button on kestrel's window, the embedded server, the data store and the upgrade chain,
// after a first completed rebuild: old database velmo40 at 4.00 with rows (and the blank keys the
// import drops), template at 4.00.
#include "tests/rebuild/source_identity.h"

namespace {

using namespace source_test;

// Sources that are not the salon's old database: refused before anything is exported or
// emptied, every file of the folder as it was and no text file left.
struct Refused {
  const char* name;
  const char* database_name;
  std::function<void()> arrange;
  const char* box;
  const char* logged = nullptr;     // what kv_log.txt says besides
  const char* velmo41 = "velmo41";  // the name velmo41's files are attached under
};

void PrintTo(const Refused& c, std::ostream* os) { *os << c.name; }

class RefusedSource : public SourceIdentity, public ::testing::WithParamInterface<Refused> {};

TEST_P(RefusedSource, ChangesNothingAndLeavesNoTextFile) {
  const Refused& c = GetParam();
  if (c.arrange) c.arrange();
  tools::write_server_settings(QString::fromUtf8(c.database_name));
  const Sums before = files_of(dir.path());

  EXPECT_EQ(start(), Lines{QString::fromUtf8(c.box)});
  EXPECT_EQ(dialogs.shown()[0].kind, test::Shown::Failure);
  EXPECT_EQ(files_of(dir.path()), before);
  EXPECT_EQ(text_files(dir.path()), QStringList{});
  EXPECT_EQ(test::first_difference(expected, test::carried_rows(c.velmo41, cols)), "");
  if (c.logged) {
    EXPECT_EQ(log_lines(dir.path()).filter(c.logged).size(), 1);
  }
}

const Refused refused[] = {
    {"EmptyName", "", nullptr, "错误提示|没有指定原始数据库,\r\n未做任何处理!"},
    {"Master", "master", nullptr, "错误提示|原始数据库master是系统数据库,\r\n未做任何处理!"},
    {"MsdbInCapitals", "MSDB", nullptr, "错误提示|原始数据库MSDB是系统数据库,\r\n未做任何处理!"},
    {"NotASalonDatabase", "notes",
     [] {
       test::sqlite_file(gs_apppath + "notes.mdf",
                         "create table notes (a int); insert into notes values (1);");
       QFile::copy(gs_apppath + "velmo40.ldf", gs_apppath + "notes.ldf");
       run_on_master(
           shared::sp_attach_db("notes", gs_apppath + "notes.mdf", gs_apppath + "notes.ldf"));
     },
     "错误提示|原始数据库notes不是本系统的数据库(缺少表yhrz,zd,card_level,dept_info,doc_item等),"
     "\r\n未做任何处理!"},
    {"WithoutSys", "nosys", [] { attach_variant("nosys", "drop table sys;"); },
     "错误提示|原始数据库nosys不是本系统的数据库(缺少表sys),\r\n未做任何处理!"},
    {"WithoutTheVersionRow", "norow", [] { attach_variant("norow", "delete from sys;"); },
     "错误提示|原始数据库norow没有版本信息(sys表),\r\n未做任何处理!"},
    {"MemInfoWithoutItsKey", "nokey",
     [] { attach_variant("nokey", "alter table mem_info rename column mem_id to member_code;"); },
     "备份失败|导出表: mem_info失败!", "-->207-->Invalid column name 'mem_id'."},
    {"ALaterRelease1700", "velmo40",
     [] { test::sqlite_file(gs_apppath + "velmo40.mdf", later_release("17.00").constData()); },
     "错误提示|原始数据库velmo40的版本17.00高于本程序的版本16.10,\r\n未做任何处理!"},
    {"ALaterRelease1620", "velmo40",
     [] { test::sqlite_file(gs_apppath + "velmo40.mdf", later_release("16.20").constData()); },
     "错误提示|原始数据库velmo40的版本16.20高于本程序的版本16.10,\r\n未做任何处理!"},
    // A version that is no number cannot be told from a later one: no version at all.
    {"AVersionThatIsNoNumber", "velmo40",
     [] { test::sqlite_file(gs_apppath + "velmo40.mdf", later_release("V17.00").constData()); },
     "错误提示|原始数据库velmo40没有版本信息(sys表),\r\n未做任何处理!"},
    {"Velmo41sFilesUnderAnotherName", "copy41",
     [] {
       run_on_master("sp_detach_db 'velmo41'");
       run_on_master(
           shared::sp_attach_db("copy41", gs_apppath + "velmo41.mdf", gs_apppath + "velmo41.ldf"));
     },
     "错误提示|原始数据库copy41用的是velmo41的数据文件,\r\n未做任何处理!", nullptr, "copy41"},
};

INSTANTIATE_TEST_SUITE_P(Cases, RefusedSource, ::testing::ValuesIn(refused),
                         [](const auto& info) { return std::string(info.param.name); });

// The chain's own last version is still a source, in whichever form the number is written.
TEST_F(SourceIdentity, TheLastVersionOfTheChainIsStillASource) {
  for (const char* bb : {"16.10", "16.1"}) {
    SCOPED_TRACE(bb);
    test::sqlite_file(gs_apppath + "velmo40.mdf",
                      QString("update sys set bb = '%1';").arg(bb).toUtf8().constData());
    test::Contents now = test::carried_rows("velmo40", cols);
    test::drop_blank_keys(now, cols);
    EXPECT_EQ(start(), Lines{kDone});
    EXPECT_EQ(test::first_difference(now, test::carried_rows("velmo41", cols)), "");
    EXPECT_EQ(text_files(dir.path()), QStringList{});
  }
}

// The local kind runs no chain: a velmo40.db of a later release would be copied with its schema
// under this program, so it is refused the same way, and velmo41.db stays as the last run left
// it, its read-only flag included. At the chain's last version it is copied whole.
TEST_F(SourceIdentity, TheLocalKindRefusesALaterReleaseAndCopiesTheLastVersion) {
  const QString old_db = dir.file("velmo40.db");
  ASSERT_TRUE(QFile::copy(dir.file("velmo40.mdf"), old_db));
  const auto start_local = [this] {
    dialogs.clear();
    kestrel::w_main w;
    w.open();
    w.rb_1->setChecked(true);
    w.cb_test->triggerevent_clicked();
    return dialogs.lines();
  };
  ASSERT_EQ(start_local(), Lines{kDone});
  for (const char* bb : {"17.00", "16.20"}) {
    SCOPED_TRACE(bb);
    test::sqlite_file(old_db, later_release(bb).constData());
    // Read-only as a salon may keep it: the flag stays too.
    ASSERT_TRUE(QFile::setPermissions(dir.file("velmo41.db"), QFileDevice::ReadOwner));
    const auto flags = QFile::permissions(dir.file("velmo41.db"));
    const Sums before = files_of(dir.path());
    EXPECT_EQ(start_local(), Lines{QString("错误提示|原始数据库velmo40.db的版本%1高于本程序的"
                                           "版本16.10,\r\n未做任何处理!")
                                       .arg(bb)});
    EXPECT_EQ(dialogs.shown()[0].kind, test::Shown::Failure);
    EXPECT_EQ(files_of(dir.path()), before);
    EXPECT_EQ(QFile::permissions(dir.file("velmo41.db")), flags);
    EXPECT_EQ(QDir(dir.path())
                  .entryList({"velmo41.db*"}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{"velmo41.db"});
    EXPECT_EQ(text_files(dir.path()), QStringList{});
    QFile::remove(old_db);
    ASSERT_TRUE(QFile::copy(dir.file("velmo40.mdf"), old_db));
  }
  test::sqlite_file(old_db, "update sys set bb = '16.10';");
  EXPECT_EQ(start_local(), Lines{kDone});
  EXPECT_EQ(test::SqliteDb(dir.file("velmo41.db")).dump(), test::SqliteDb(old_db).dump());
}

// A copied program folder works on its own files: the original's stay as they were, whether its
// catalog records them relative to it or, as earlier releases wrote it, by absolute path.
class CopiedFolder : public SourceIdentity, public ::testing::WithParamInterface<bool> {};

TEST_P(CopiedFolder, WorksOnItsOwnFilesAndLeavesTheOriginalAlone) {
  const QString original = gs_apppath;
  if (GetParam()) catalog_written_in(db::comparable_path(original) + "/");
  const QString copy = QDir::cleanPath(original + "../copy") + "/";
  ASSERT_EQ(QProcess::execute("cp", {"-a", QDir::cleanPath(original), QDir::cleanPath(copy)}), 0);
  const Sums before = files_of(original);
  const QByteArray log_before = test::checksum(original + "kv_log.txt");

  set_program_folder(copy);
  EXPECT_EQ(start(), Lines{kDone});
  EXPECT_EQ(test::first_difference(expected, test::carried_rows("velmo41", cols)), "");
  EXPECT_EQ(text_files(copy), QStringList{});
  EXPECT_EQ(log_lines(copy).filter("不是本目录的velmo41.mdf,已改为本目录的文件").size(),
            GetParam() ? 1 : 0);
  set_program_folder(original);
  EXPECT_EQ(files_of(original), before);
  EXPECT_EQ(test::checksum(original + "kv_log.txt"), log_before);
}

INSTANTIATE_TEST_SUITE_P(Catalogs, CopiedFolder, ::testing::Bool(), [](const auto& info) {
  return std::string(info.param ? "AbsolutePaths" : "RelativePaths");
});

// A folder moved or restored elsewhere, its catalog written where it was: one plain Start, also
// when velmo41's files did not come along.
TEST_F(SourceIdentity, ACatalogNamingAVanishedFolderIsRepairedByOnePlainStart) {
  for (const bool velmo41_files : {true, false}) {
    SCOPED_TRACE(velmo41_files ? "velmo41's files here" : "velmo41's files gone");
    catalog_written_in("/nonexistent-salon-folder/app/");
    if (!velmo41_files) {
      QFile::remove(dir.file("velmo41.mdf"));
      QFile::remove(dir.file("velmo41.ldf"));
    }
    EXPECT_EQ(start(), Lines{kDone});
    EXPECT_EQ(test::first_difference(expected, test::carried_rows("velmo41", cols)), "");
    EXPECT_EQ(text_files(dir.path()), QStringList{});
  }
}

// A run killed while the entry of velmo41 on the old database's files (as a catalog edited by
// hand can have it) gives way: the old database stays as it was, and one plain Start completes.
TEST_F(SourceIdentity, KilledWhileAStaleEntryGivesWayOnePlainStartCompletes) {
  const QString child = test::sibling_program("rebuild_child");
  const auto boxes = [](const test::ChildEnd& end) {
    QStringList out;
    for (const QString& l : end.output.split('\n'))
      if (l.startsWith("box:")) out << l.mid(4).trimmed();
    return out;
  };
  for (const char* at : {"sp_detach_db", "sp_attach_db"}) {
    SCOPED_TRACE(at);
    test::sqlite_file(gs_apppath + "master.sqlite",
                      "delete from sysdatabases where name = 'velmo41';"
                      "insert into sysdatabases values ('velmo41', 'velmo40.mdf', 'velmo40.ldf');");
    const Sums old = {{"mdf", test::checksum(dir.file("velmo40.mdf"))},
                      {"ldf", test::checksum(dir.file("velmo40.ldf"))}};
    const test::ChildEnd killed = test::run_child(child, {gs_apppath, "--kill-at", at}, 240000);
    EXPECT_TRUE(killed.killed) << killed.output.toStdString();
    const test::ChildEnd plain = test::run_child(child, {gs_apppath}, 240000);
    EXPECT_EQ(boxes(plain), QStringList{kDone}) << plain.output.toStdString();
    EXPECT_EQ(plain.exit_code, 0);
    EXPECT_EQ(test::first_difference(expected, test::carried_rows("velmo41", cols)), "");
    const Sums now = {{"mdf", test::checksum(dir.file("velmo40.mdf"))},
                      {"ldf", test::checksum(dir.file("velmo40.ldf"))}};
    EXPECT_EQ(now, old);
    EXPECT_EQ(text_files(dir.path()), QStringList{});
  }
}

// A damaged velmo41.mdf, with or without its catalog entry: set aside, never deleted, and one
// plain Start rebuilds velmo41 from the template with every row.
enum class Damage { zero_length, truncated, pages_overwritten };

struct Damaged {
  const char* name;
  Damage damage;
  bool catalog_entry;
};

void PrintTo(const Damaged& c, std::ostream* os) { *os << c.name; }

void damage(const QString& path, Damage how) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  const qint64 size = f.size();
  ASSERT_GT(size, 64 * 1024);
  switch (how) {
    case Damage::zero_length:
      ASSERT_TRUE(f.resize(0));
      break;
    case Damage::truncated:
      ASSERT_TRUE(f.resize(size * 2 / 3));
      break;
    case Damage::pages_overwritten:
      // The first page, with the file's header, stays; half of the others are garbage.
      ASSERT_TRUE(f.seek(4096));
      ASSERT_EQ(f.write(QByteArray(size / 2, '\xA5')), size / 2);
      break;
  }
}

class DamagedVelmo41 : public SourceIdentity, public ::testing::WithParamInterface<Damaged> {};

TEST_P(DamagedVelmo41, IsSetAsideAndRebuiltByOnePlainStart) {
  const Damaged& c = GetParam();
  if (!c.catalog_entry) run_on_master("sp_detach_db 'velmo41'");
  damage(dir.file("velmo41.mdf"), c.damage);
  const QByteArray damaged = test::checksum(dir.file("velmo41.mdf"));
  const QByteArray old_files =
      test::checksum(dir.file("velmo40.mdf")) + test::checksum(dir.file("velmo40.ldf"));

  EXPECT_EQ(start(), Lines{kDone});
  EXPECT_EQ(test::first_difference(expected, test::carried_rows("velmo41", cols)), "");
  const QStringList kept = QDir(dir.path()).entryList({"velmo41.*.damaged-*"}, QDir::Files);
  ASSERT_EQ(kept.size(), 2) << kept.join(' ').toStdString();
  EXPECT_TRUE(kept[0].startsWith("velmo41.ldf.damaged-"));
  EXPECT_TRUE(kept[1].startsWith("velmo41.mdf.damaged-"));
  EXPECT_EQ(test::checksum(dir.file(kept[1])), damaged);
  EXPECT_EQ(log_lines(dir.path()).filter("velmo41.mdf已损坏").size(), 1);
  EXPECT_EQ(test::checksum(dir.file("velmo40.mdf")) + test::checksum(dir.file("velmo40.ldf")),
            old_files);
  EXPECT_EQ(text_files(dir.path()), QStringList{});
}

const Damaged damaged[] = {
    {"ZeroLength", Damage::zero_length, true},
    {"Truncated", Damage::truncated, true},
    {"PagesOverwritten", Damage::pages_overwritten, true},
    {"ZeroLengthWithoutItsEntry", Damage::zero_length, false},
    {"TruncatedWithoutItsEntry", Damage::truncated, false},
    {"PagesOverwrittenWithoutItsEntry", Damage::pages_overwritten, false},
};

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedVelmo41, ::testing::ValuesIn(damaged),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
