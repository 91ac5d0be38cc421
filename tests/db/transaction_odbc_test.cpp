#include <gtest/gtest.h>
#include <sqlext.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <filesystem>
#include <memory>
#include <string>

#include "db/data_store.h"
#include "db/odbc_backend.h"
#include "db/odbc_calls.h"
#include "db/sqlite_connection.h"
#include "db/transaction.h"
#include "runtime/registry.h"
#include "tests/support/temp_program_folder.h"

namespace {

// A local-engine data source "velmo41" over a SQLite file, registered as the programs do.
class LocalEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      db::SqliteConnection db;
      ASSERT_EQ(db.open(dir.file("velmo41.db").toUtf8().constData()), SQLITE_OK);
      sqlite3_exec(db.get(),
                   "create table mem(id integer primary key, name varchar(20), "
                   "born datetime, amount decimal(12,2));"
                   "insert into mem values(1,'张三','2020-01-02 03:04:05.000',12.50);",
                   nullptr, nullptr, nullptr);
    }
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\velmo41");
    rt::registry_set(key, "Driver", dir.file("wod50t.dll"));
    rt::registry_set(key, "DatabaseFile", dir.file("velmo41.db"));
    rt::registry_set(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\ODBC Data Sources"), "velmo41",
        "Sybase SQL Anywhere 5.0");
  }
  void connect(db::Transaction& t) {
    t.interface_id = "ODBC";
    t.auto_commit = false;
    t.connect_params = "Connectstring='DSN=velmo41;UID=dba;PWD=kpz531274'";
    t.connect();
  }
  long count(db::Transaction& t) {
    auto row = t.select_row("select count(*) from mem");
    return row.empty() ? -99 : static_cast<long>(row[0].to_integer());
  }
  test::TempProgramFolder dir;
};

TEST_F(LocalEngine, StatusAfterEachKindOfStatement) {
  db::Transaction t;
  t.disconnect();  // not connected: harmless
  EXPECT_EQ(t.status, 0);
  t.execute("select 1");
  EXPECT_EQ(t.status, -1);

  connect(t);
  ASSERT_EQ(t.status, 0) << t.db_error_text.toStdString();

  auto row = t.select_row("select name, amount from mem where id = ?", {db::Value::integer(1)});
  EXPECT_EQ(t.status, 0);
  ASSERT_EQ(row.size(), 2u);
  EXPECT_EQ(row[0].to_text(), QStringLiteral("张三"));
  EXPECT_DOUBLE_EQ(row[1].to_double(), 12.5);

  t.select_row("select name from mem where id = ?", {db::Value::integer(2)});
  EXPECT_EQ(t.status, 100);

  t.execute("insert into nosuch values(1)");
  EXPECT_EQ(t.status, -1);
  EXPECT_FALSE(t.db_error_text.isEmpty());
  EXPECT_NE(t.db_error_code, 0);
  t.disconnect();
}

TEST_F(LocalEngine, HostValuesAreBoundNotPasted) {
  db::Transaction t;
  connect(t);
  const QDateTime born(QDate(2021, 12, 31), QTime(23, 59, 58, 123));
  const QString name = QStringLiteral("O'Brien; drop table mem --");
  t.execute("insert into mem(id, name, born) values(?, ?, ?)",
            {db::Value::integer(2), db::Value::text(name), db::Value::datetime(born)});
  ASSERT_EQ(t.status, 0) << t.db_error_text.toStdString();
  EXPECT_EQ(t.sqlnrows, 1);
  auto row = t.select_row("select name, born from mem where born >= ?",
                          {db::Value::datetime(born.addSecs(-1))});
  ASSERT_EQ(row.size(), 2u);
  EXPECT_EQ(row[0].to_text(), name);
  EXPECT_EQ(row[1].to_datetime(), born);
  // The timestamp is stored in the same text form as the embedded server uses.
  auto text = t.select_row("select cast(born as text) from mem where id = 2");
  EXPECT_EQ(text.at(0).to_text(), "2021-12-31 23:59:58.123");
}

TEST_F(LocalEngine, CommitAndRollbackWithAutoCommitOff) {
  db::Transaction t;
  connect(t);
  t.execute("insert into mem(id, name) values(3, 'a')");
  t.rollback();
  EXPECT_EQ(t.status, 0);
  EXPECT_EQ(count(t), 1);
  t.execute("insert into mem(id, name) values(4, 'b')");
  t.commit();
  t.disconnect();
  connect(t);
  EXPECT_EQ(count(t), 2);
}

// With auto_commit on a unit is a transaction of its own: a commit or rollback issued inside it
// belongs to it, so its end stores or undoes the whole.
TEST_F(LocalEngine, CommitAndRollbackInsideAUnitWaitForItsEnd) {
  db::Transaction t;
  connect(t);
  t.disconnect();
  t.auto_commit = true;
  t.connect();
  ASSERT_TRUE(t.begin_unit());
  t.execute("insert into mem(id, name) values(5, 'c')");
  t.commit();
  t.execute("insert into mem(id, name) values(6, 'd')");
  t.rollback();
  EXPECT_EQ(count(t), 3);
  ASSERT_TRUE(t.end_unit(false));
  EXPECT_EQ(count(t), 1);
  ASSERT_TRUE(t.begin_unit());
  t.execute("insert into mem(id, name) values(7, 'e')");
  t.commit();
  ASSERT_TRUE(t.end_unit(true));
  t.execute("insert into mem(id, name) values(8, 'f')");  // auto_commit again
  t.disconnect();
  t.auto_commit = false;
  connect(t);
  EXPECT_EQ(count(t), 3);
}

TEST_F(LocalEngine, MissingDatabaseFileIsNotCreated) {
  QFile::remove(dir.file("velmo41.db"));
  db::Transaction t;
  connect(t);
  EXPECT_EQ(t.status, -1);
  EXPECT_FALSE(t.is_connected());
  EXPECT_FALSE(QFile::exists(dir.file("velmo41.db")));
}

// The driver opens a file only when a statement needs it: the connect reads the schema, so a
// file that is no database, or one without any table, fails here, and is left as it was.
TEST_F(LocalEngine, OnlyADatabaseWithTablesConnects) {
  {
    db::SqliteConnection db;
    ASSERT_EQ(db.open(dir.file("empty.db").toUtf8().constData()), SQLITE_OK);
    sqlite3_exec(db.get(), "pragma user_version = 3", nullptr, nullptr, nullptr);
  }
  const QByteArray empty_db = dir.read("empty.db");
  struct Case {
    const char* what;
    QByteArray bytes;
    const char* error;
  } cases[] = {
      {"text file", "[database]\r\nserver_name=x\r\n", "数据库文件不是数据库"},
      {"0-byte file", "", "数据库文件中没有任何表"},
      {"database without tables", empty_db, "数据库文件中没有任何表"},
  };
  for (const Case& c : cases) {
    dir.write("velmo41.db", c.bytes);
    const QDateTime stamp = QFileInfo(dir.file("velmo41.db")).lastModified();
    for (const bool auto_commit : {false, true}) {
      db::Transaction t;
      t.interface_id = "ODBC";
      t.connect_params = "Connectstring='DSN=velmo41;UID=dba;PWD=kpz531274'";
      t.auto_commit = auto_commit;
      t.connect();
      EXPECT_EQ(t.status, -1) << c.what;
      EXPECT_FALSE(t.is_connected()) << c.what;
      EXPECT_TRUE(t.db_error_text.contains(QString::fromUtf8(c.error)))
          << c.what << ": " << t.db_error_text.toStdString();
    }
    EXPECT_EQ(dir.read("velmo41.db"), c.bytes) << c.what;
    EXPECT_EQ(QFileInfo(dir.file("velmo41.db")).lastModified(), stamp) << c.what;
    EXPECT_EQ(QDir(dir.path()).entryList({"velmo41.db*"}, QDir::Files), QStringList{"velmo41.db"})
        << c.what << ": no journal or log beside it";
  }
}

// The check ends the read it began: another connection may write at once.
TEST_F(LocalEngine, TheSchemaCheckHoldsNoLock) {
  db::Transaction t;
  connect(t);
  ASSERT_EQ(t.status, 0);
  {
    db::SqliteConnection other;
    ASSERT_EQ(other.open(dir.file("velmo41.db").toUtf8().constData()), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other.get(), "insert into mem(id) values(7)", nullptr, nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(other.get());
  }
  EXPECT_EQ(count(t), 2);
}

TEST_F(LocalEngine, FaultHookFailsTheChosenStatement) {
  db::Transaction t;
  connect(t);
  t.set_fault_hook([](const QString& sql) -> std::optional<db::DbError> {
    if (sql.contains("insert")) return db::DbError{2627, "injected"};
    return std::nullopt;
  });
  t.execute("insert into mem(id) values(9)");
  EXPECT_EQ(t.status, -1);
  EXPECT_EQ(t.db_error_code, 2627);
  EXPECT_EQ(count(t), 1);
}

// The driver manager's calls replaced for one test: the n-th SQLGetData (from 1), or every
// SQLSetConnectAttr of auto_commit off, fails without a word.
class FailingCalls {
 public:
  ~FailingCalls() { restore(); }
  void restore() {
    db::odbc_calls::get_data = &SQLGetData;
    db::odbc_calls::set_connect_attr = &SQLSetConnectAttr;
    db::odbc_calls::end_tran = &SQLEndTran;
    db::odbc_calls::disconnect = &SQLDisconnect;
    db::odbc_calls::free_handle = &SQLFreeHandle;
  }
  void fail_get_data(int n) {
    calls_ = 0;
    fail_at_ = n;
    db::odbc_calls::get_data = [](SQLHSTMT h, SQLUSMALLINT c, SQLSMALLINT t, SQLPOINTER b, SQLLEN l,
                                  SQLLEN* i) -> SQLRETURN {
      return ++calls_ == fail_at_ ? SQL_ERROR : SQLGetData(h, c, t, b, l, i);
    };
  }
  void fail_auto_commit_off() {
    db::odbc_calls::set_connect_attr = [](SQLHDBC h, SQLINTEGER a, SQLPOINTER v,
                                          SQLINTEGER l) -> SQLRETURN {
      if (a == SQL_ATTR_AUTOCOMMIT && v == reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF))
        return SQL_ERROR;
      return SQLSetConnectAttr(h, a, v, l);
    };
  }
  // Every commit and rollback.
  void fail_end_tran() {
    db::odbc_calls::end_tran = [](SQLSMALLINT, SQLHANDLE, SQLSMALLINT) -> SQLRETURN {
      return SQL_ERROR;
    };
  }
  void fail_disconnect() {
    db::odbc_calls::disconnect = [](SQLHDBC) -> SQLRETURN { return SQL_ERROR; };
  }
  void fail_freeing_the_connection() {
    db::odbc_calls::free_handle = [](SQLSMALLINT type, SQLHANDLE h) -> SQLRETURN {
      return type == SQL_HANDLE_DBC ? SQL_ERROR : SQLFreeHandle(type, h);
    };
  }

 private:
  static inline int calls_ = 0;
  static inline int fail_at_ = 0;
};

// A column that cannot be read fails its statement: it never reads as a null, a row is never
// short of a column, and a retrieve that met one holds no rows.
TEST_F(LocalEngine, AColumnThatCannotBeReadFailsTheStatement) {
  db::Transaction t;
  connect(t);
  ASSERT_EQ(t.status, 0);
  t.execute("insert into mem values(2, 'b', '2020-01-03 00:00:00.000', 1.25)");
  ASSERT_TRUE(db::register_table_definition(
      {.name = "odbc_mem",
       .select_sql = "select id, name, born, amount from mem order by id",
       .columns = {{"id", db::ColumnType::Integer},
                   {"name", db::ColumnType::Text},
                   {"born", db::ColumnType::DateTime},
                   {"amount", db::ColumnType::Decimal, 2}}}));
  db::DataStore ds;
  ds.set_dataobject("odbc_mem");
  ds.settransobject(t);
  ASSERT_EQ(ds.retrieve(), 2);
  FailingCalls calls;
  // Each call of the first row, then one of the second row's.
  for (int n : {1, 2, 3, 4, 7}) {
    calls.fail_get_data(n);
    EXPECT_EQ(ds.retrieve(), -1) << n;
    EXPECT_EQ(ds.rowcount(), 0) << n;
    EXPECT_EQ(t.status, -1) << n;
    EXPECT_FALSE(t.db_error_text.isEmpty()) << n;
  }
  calls.fail_get_data(2);
  const auto row = t.select_row("select id, name from mem where id = 1");
  EXPECT_EQ(t.status, -1);
  EXPECT_TRUE(row.empty());
  calls.fail_get_data(0);
  EXPECT_EQ(ds.retrieve(), 2);
}

TEST_F(LocalEngine, AConnectionWhoseAutoCommitCannotBeTurnedOffFailsToConnect) {
  FailingCalls calls;
  calls.fail_auto_commit_off();
  db::Transaction t;
  connect(t);
  EXPECT_EQ(t.status, -1);
  EXPECT_FALSE(t.is_connected());
  EXPECT_EQ(t.db_error_text, "auto_commit could not be turned off");
  t.auto_commit = true;
  t.connect();
  EXPECT_EQ(t.status, 0) << t.db_error_text.toStdString();
  // A unit needs auto_commit off for a while: one that cannot have it fails, storing nothing.
  EXPECT_FALSE(t.begin_unit());
  EXPECT_EQ(t.status, -1);
}

// How the process stands towards the database file: its descriptors open on the file (or its
// journal), whether another connection can write at once, whether a row is in the file.
int descriptors_on(const QString& file) {
  const std::filesystem::path target = QFile::encodeName(file).toStdString();
  int n = 0;
  std::error_code ec;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
    const std::string link = std::filesystem::read_symlink(fd.path(), ec).string();
    if (!ec && link.starts_with(target.string())) ++n;
  }
  return n;
}

bool another_writer_writes(const QString& file, int id) {
  db::SqliteConnection other;  // no busy timeout: a lock held elsewhere fails at once
  if (other.open(file.toUtf8().constData()) != SQLITE_OK) return false;
  const std::string sql = "insert into mem(id) values(" + std::to_string(id) + ")";
  return sqlite3_exec(other.get(), sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool row_in_file(const QString& file, int id) {
  db::SqliteConnection db;
  sqlite3_stmt* st = nullptr;
  if (db.open(file.toUtf8().constData(), SQLITE_OPEN_READONLY) != SQLITE_OK ||
      sqlite3_prepare_v2(db.get(), "select count(*) from mem where id = ?", -1, &st, nullptr) !=
          SQLITE_OK)
    return false;
  sqlite3_bind_int(st, 1, id);
  const bool found = sqlite3_step(st) == SQLITE_ROW && sqlite3_column_int(st, 0) > 0;
  sqlite3_finalize(st);
  return found;
}

// With auto_commit off the driver opens a transaction with the first statement and will not
// disconnect while it is open: the disconnect undoes it, never stores it, and lets the file go,
// whether sqlca disconnects, connects again or is destroyed.
TEST_F(LocalEngine, EndingAConnectionUndoesItsOpenTransactionAndLetsTheFileGo) {
  const QString file = dir.file("velmo41.db");
  enum class End { disconnect, connect_again, destroy };
  for (const End end : {End::disconnect, End::connect_again, End::destroy}) {
    SCOPED_TRACE(static_cast<int>(end));
    auto t = std::make_unique<db::Transaction>();
    connect(*t);
    ASSERT_EQ(t->status, 0) << t->db_error_text.toStdString();
    t->execute("insert into mem(id, name) values(3, 'uncommitted')");
    ASSERT_EQ(t->status, 0) << t->db_error_text.toStdString();
    ASSERT_GT(descriptors_on(file), 0);
    ASSERT_FALSE(another_writer_writes(file, 10)) << "the transaction holds the file";
    switch (end) {
      case End::disconnect:
        t->disconnect();
        EXPECT_EQ(t->status, 0) << t->db_error_text.toStdString();
        EXPECT_FALSE(t->is_connected());
        EXPECT_TRUE(t->database_file().isEmpty());
        EXPECT_EQ(descriptors_on(file), 0);
        break;
      case End::connect_again:
        connect(*t);
        ASSERT_EQ(t->status, 0) << t->db_error_text.toStdString();
        EXPECT_EQ(count(*t), 1);
        t->rollback();
        break;
      case End::destroy:
        t.reset();
        EXPECT_EQ(descriptors_on(file), 0);
        break;
    }
    EXPECT_FALSE(row_in_file(file, 3));
    EXPECT_TRUE(another_writer_writes(file, 10));
    t.reset();
    db::SqliteConnection db;
    ASSERT_EQ(db.open(file.toUtf8().constData()), SQLITE_OK);
    sqlite3_exec(db.get(), "delete from mem where id = 10", nullptr, nullptr, nullptr);
  }
}

// A disconnect the driver refuses, or whose handle cannot be freed, says so with the driver's
// text and leaves the connection where a later disconnect ends it. Whatever failed, nothing
// uncommitted reaches the file.
TEST_F(LocalEngine, ADisconnectThatFailsSaysSoAndTheNextOneEndsIt) {
  const QString file = dir.file("velmo41.db");
  struct Case {
    const char* what;
    void (FailingCalls::*fault)();
    const char* text;
    bool file_let_go;  // the descriptors closed and the lock gone despite the failure
    bool lock_gone;
  } cases[] = {
      // The driver's own refusal (SQLSTATE 25000), since the rollback did not happen.
      {"rollback fails", &FailingCalls::fail_end_tran, "incomplete transaction", false, false},
      {"disconnect fails", &FailingCalls::fail_disconnect, "disconnecting failed", false, true},
      {"freeing the handle fails", &FailingCalls::fail_freeing_the_connection,
       "the connection handle could not be freed", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    db::Transaction t;
    connect(t);
    ASSERT_EQ(t.status, 0) << t.db_error_text.toStdString();
    t.execute("insert into mem(id, name) values(3, 'uncommitted')");
    ASSERT_EQ(t.status, 0) << t.db_error_text.toStdString();
    FailingCalls calls;
    (calls.*c.fault)();
    t.disconnect();
    EXPECT_EQ(t.status, -1);
    EXPECT_NE(t.db_error_code, 0);
    EXPECT_TRUE(t.db_error_text.contains(QString::fromUtf8(c.text)))
        << t.db_error_text.toStdString();
    EXPECT_TRUE(t.is_connected());
    EXPECT_EQ(descriptors_on(file) == 0, c.file_let_go);
    EXPECT_EQ(another_writer_writes(file, 10), c.lock_gone);
    EXPECT_FALSE(row_in_file(file, 3));

    calls.restore();
    t.disconnect();
    EXPECT_EQ(t.status, 0) << t.db_error_text.toStdString();
    EXPECT_FALSE(t.is_connected());
    EXPECT_EQ(descriptors_on(file), 0);
    EXPECT_FALSE(row_in_file(file, 3));
    EXPECT_TRUE(another_writer_writes(file, 11));
    db::SqliteConnection db;
    db.open(file.toUtf8().constData());
    sqlite3_exec(db.get(), "delete from mem where id >= 10", nullptr, nullptr, nullptr);
  }
}

TEST(SqlServer, AbsentServerFailsQuicklyWithTheDriversText) {
  test::TempProgramFolder dir;
  db::Transaction t;
  t.interface_id = "MSS Microsoft SQL Server 6.x";
  t.server = "127.0.0.1,1";  // nothing listens on port 1
  t.db_name = "master";
  t.login = "sa";
  t.password = "x";
  t.auto_commit = true;
  QElapsedTimer timer;
  timer.start();
  t.connect();
  EXPECT_LT(timer.elapsed(), 15000);
  EXPECT_LT(t.status, 0);
  EXPECT_FALSE(t.db_error_text.isEmpty());
  EXPECT_FALSE(t.is_connected());
}

TEST(SqlServer, UnknownInterfaceAndEmbeddedWithoutServerFail) {
  db::Transaction t;
  t.interface_id = "XYZ";
  t.connect();
  EXPECT_EQ(t.status, -1);
  EXPECT_FALSE(t.db_error_text.isEmpty());
}

TEST(ConnectString, TakesTheTextBetweenTheQuotes) {
  EXPECT_EQ(db::connect_string_of("Connectstring='DSN=velmo41;UID=dba;PWD=x'"),
            "DSN=velmo41;UID=dba;PWD=x");
  EXPECT_EQ(db::connect_string_of("DSN=a"), "DSN=a");
}

}  // namespace
