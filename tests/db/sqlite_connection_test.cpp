// The owner of a SQLite connection lets the file go: at once on close(), when it goes, and, when
// a statement of it is still open then, as soon as that statement is finalized.
#include "db/sqlite_connection.h"

#include <gtest/gtest.h>

#include "tests/support/temp_program_folder.h"

namespace {

// Whether another connection may write the file now.
bool writable(const QString& path) {
  db::SqliteConnection other;
  if (other.open(path.toUtf8().constData()) != SQLITE_OK) return false;
  return sqlite3_exec(other.get(), "begin immediate; rollback;", nullptr, nullptr, nullptr) ==
         SQLITE_OK;
}

// A connection in the middle of a write to `path`.
db::SqliteConnection writing(const QString& path) {
  db::SqliteConnection db;
  EXPECT_EQ(db.open(path.toUtf8().constData()), SQLITE_OK);
  EXPECT_EQ(
      sqlite3_exec(db.get(), "create table if not exists t (a); begin; insert into t values (1);",
                   nullptr, nullptr, nullptr),
      SQLITE_OK);
  return db;
}

TEST(SqliteConnection, LetsTheFileGoWhenItsOwnerIsDone) {
  test::TempProgramFolder folder;
  const QString path = folder.file(QStringLiteral("x.db"));

  db::SqliteConnection first = writing(path);
  db::SqliteConnection moved = std::move(first);
  EXPECT_FALSE(first);
  EXPECT_FALSE(writable(path));
  EXPECT_EQ(moved.close(), SQLITE_OK);
  EXPECT_FALSE(moved);
  EXPECT_TRUE(writable(path));

  sqlite3_stmt* st = nullptr;
  {
    const db::SqliteConnection reading = writing(path);
    ASSERT_EQ(sqlite3_prepare_v2(reading.get(), "select a from t", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
  }
  EXPECT_FALSE(writable(path));
  sqlite3_finalize(st);
  EXPECT_TRUE(writable(path));
}

}  // namespace
