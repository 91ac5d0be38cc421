// The embedded server's check of a data file: only its content calls it damaged.
#include "db/data_file_check.h"

#include <gtest/gtest.h>

#include <QFile>

#include "db/sqlite_connection.h"
#include "tests/support/held_database.h"
#include "tests/support/temp_program_folder.h"

namespace {

// A database of a few hundred pages.
void make_database(const QString& path) {
  db::SqliteConnection db;
  ASSERT_EQ(db.open(path.toUtf8().constData()), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db.get(),
                         "create table t (a text); create index ta on t (a);"
                         "insert into t with recursive n(i) as (select 1 union all select i + 1 "
                         "from n where i < 5000) select printf('%080d', i) from n;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
}

struct Case {
  const char* name;
  std::function<void(QFile&)> change;
  db::DataFileState state;
};

TEST(DataFileCheck, OnlyTheContentCallsAFileDamaged) {
  const Case cases[] = {
      {"sound", [](QFile&) {}, db::DataFileState::sound},
      {"zero length", [](QFile& f) { f.resize(0); }, db::DataFileState::damaged},
      {"truncated", [](QFile& f) { f.resize(f.size() / 2 + 100); }, db::DataFileState::damaged},
      {"pages overwritten, header intact",
       [](QFile& f) {
         f.seek(4096 * 3);
         f.write(QByteArray(4096 * 20, '\x5a'));
       },
       db::DataFileState::damaged},
      {"no database at all",
       [](QFile& f) {
         f.resize(0);
         f.write("not a database, only some text that is long enough to have a header");
       },
       db::DataFileState::damaged},
      {"missing", [](QFile& f) { f.remove(); }, db::DataFileState::unknown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempProgramFolder dir;
    const QString path = dir.file(QStringLiteral("velmo41.mdf"));
    make_database(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    c.change(f);
    f.close();
    QString detail;
    EXPECT_EQ(db::check_data_file(path, detail), c.state) << detail.toStdString();
    if (c.state != db::DataFileState::sound) {
      EXPECT_FALSE(detail.isEmpty());
    }
  }
}

// Another program holding the file says nothing about its content.
TEST(DataFileCheck, ABusyFileIsNotDamaged) {
  test::TempProgramFolder dir;
  const QString path = dir.file(QStringLiteral("velmo41.mdf"));
  make_database(path);
  test::HeldDatabase holder(path, {QStringLiteral("begin exclusive")});
  ASSERT_TRUE(holder.ready()) << holder.errors().toStdString();
  QString detail;
  EXPECT_EQ(db::check_data_file(path, detail), db::DataFileState::unknown) << detail.toStdString();
}

// A writer killed in a transaction left its journal: rolled back, the file is sound.
TEST(DataFileCheck, AHotJournalIsRolledBackNotCalledDamage) {
  test::TempProgramFolder dir;
  const QString path = dir.file(QStringLiteral("velmo41.mdf"));
  make_database(path);
  {
    test::HeldDatabase writer(path, {QStringLiteral("pragma cache_size = 2"),
                                     QStringLiteral("begin"), QStringLiteral("delete from t")});
    ASSERT_TRUE(writer.ready()) << writer.errors().toStdString();
    writer.kill();
  }
  ASSERT_TRUE(QFile::exists(path + QStringLiteral("-journal")));
  QString detail;
  EXPECT_EQ(db::check_data_file(path, detail), db::DataFileState::sound) << detail.toStdString();
  db::SqliteConnection db;
  db.open(path.toUtf8().constData());
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db.get(), "select count(*) from t", -1, &st, nullptr);
  ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(st, 0), 5000);
  sqlite3_finalize(st);
}

}  // namespace
