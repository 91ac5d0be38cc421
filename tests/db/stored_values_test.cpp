// The embedded server stores values as SQL Server does: decimals rounded to their column's
// scale, date-times in any form SQL Server takes brought to one form, integers refusing what is
// no integer; and it reads values an older server kept as given as SQL Server would hold them.
#include <gtest/gtest.h>

#include "db/data_store.h"
#include "db/sqlite_connection.h"
#include "db/sqlserver_datetime.h"
#include "db/tsql_store.h"
#include "tests/db/embedded_fixture.h"

namespace {

using db::Value;
using test::EmbeddedServer;

TEST(SqlServerDateTime, TakesTheFormsOfTheDefaultSettingsOnly) {
  struct Case {
    const char* text;
    const char* want;  // nullptr: refused
  } cases[] = {
      {"2024-03-05 10:00:00.123", "2024-03-05 10:00:00.123"},
      {"2024-03-05 10:00:00", "2024-03-05 10:00:00.000"},
      {"2024-03-05 10:00", "2024-03-05 10:00:00.000"},
      {"2024-03-05 10:00:00.5", "2024-03-05 10:00:00.500"},
      {"2024-03-05", "2024-03-05 00:00:00.000"},
      {"  2024-3-5  ", "2024-03-05 00:00:00.000"},
      {"2024/03/05", "2024-03-05 00:00:00.000"},
      {"2024/3/5 23:59:59.997", "2024-03-05 23:59:59.997"},
      {"20240305", "2024-03-05 00:00:00.000"},
      {"20240305 10:00", "2024-03-05 10:00:00.000"},
      {"2024-03-05T10:00:00", "2024-03-05 10:00:00.000"},
      {"2024-03-05T10:00:00.12", "2024-03-05 10:00:00.120"},
      {"03/05/2024", "2024-03-05 00:00:00.000"},
      {"3-5-2024 1:02 PM", "2024-03-05 13:02:00.000"},
      {"Mar  5 2024 10:00AM", "2024-03-05 10:00:00.000"},
      {"Mar  5 2024 12:00AM", "2024-03-05 00:00:00.000"},
      {"mar 5, 2024 12:30pm", "2024-03-05 12:30:00.000"},
      {"March 5 2024", "2024-03-05 00:00:00.000"},
      {"5 Mar 2024 10PM", "2024-03-05 22:00:00.000"},
      {"", "1900-01-01 00:00:00.000"},
      {"   ", "1900-01-01 00:00:00.000"},
      {"2024-02-30", nullptr},
      {"2024-03-05 24:00", nullptr},
      {"2024-03-05 10:60", nullptr},
      {"2024-03-05 13:00PM", nullptr},
      {"2024-03-05 0:30AM", nullptr},
      {"2024-03-05 10", nullptr},
      {"2024-03-05 10:00:00.1234", nullptr},
      {"2024-03-05 10:00:00:123", nullptr},
      {"2024-03-05T10:00", nullptr},
      {"2024-03-05T10:00:00Z", nullptr},
      {"20240305T10:00:00", nullptr},
      {"2024.03.05", nullptr},
      {"03/05/24", nullptr},
      {"10:00", nullptr},
      {"Mrz 5 2024", nullptr},
      {"2024-03-05x", nullptr},
      {"abc", nullptr},
  };
  for (const Case& c : cases) {
    std::string got;
    const bool ok = db::sqlserver_datetime(c.text, got);
    EXPECT_EQ(ok, c.want != nullptr) << "'" << c.text << "' gave " << got;
    if (ok && c.want) {
      EXPECT_EQ(got, c.want) << c.text;
    }
  }
}

TEST(StoreStatements, ValuesOfConvertingColumnsAreWrappedAndWholeMarkersNamed) {
  const db::tsql::ColumnLookup lookup = [](const QString& table) {
    if (table.compare(QStringLiteral("doc_m"), Qt::CaseInsensitive) != 0)
      return std::vector<db::tsql::TargetColumn>{};
    return std::vector<db::tsql::TargetColumn>{
        {"doc_id", "char(20)"}, {"cash", "decimal(16,2)"}, {"doc_date", "datetime"}};
  };
  const db::tsql::Converts converts = [](const QString& type) { return !type.contains("char"); };
  struct Case {
    const char* sql;
    const char* want;  // nullptr: unchanged
    std::vector<QString> markers;
  } cases[] = {
      {"insert into doc_m values ('D1', -2.675, ?)",
       "insert into doc_m values ('D1', tsql_store(-2.675, 'decimal(16,2)'), ?)",
       {"datetime"}},
      {"insert into [dbo].[doc_m] (cash, doc_id) values (?, ?), (abs(?), 'x');",
       "insert into [dbo].[doc_m] (cash, doc_id) values (?, ?), (tsql_store(abs(?), "
       "'decimal(16,2)'), 'x');",
       {"decimal(16,2)", "", ""}},
      {"update doc_m set cash = cash * 1.1, doc_id = ?, doc_date =? where doc_id = ?",
       "update doc_m set cash = tsql_store(cash * 1.1, 'decimal(16,2)'), doc_id = ?, doc_date =? "
       "where doc_id = ?",
       {"", "datetime", ""}},
      {"insert into doc_m (doc_id, cash) select id, (select 1) from t",
       "with \"tsql_source\" (\"tsql_1\", \"tsql_2\") as (select id, (select 1) from t) insert "
       "into doc_m (doc_id, cash) select \"tsql_1\", tsql_store(\"tsql_2\", 'decimal(16,2)') from "
       "\"tsql_source\"",
       {}},
      {"insert into doc_m (doc_id) values ('x')", nullptr, {}},
      {"insert into doc_m values ('D1', 1)", nullptr, {}},
      {"insert into doc_m (nosuch) values (1)", nullptr, {}},
      {"insert into other values (1)", nullptr, {}},
      {"update doc_m set cash += 1", nullptr, {}},
      {"delete from doc_m where cash = 1", nullptr, {}},
      {"insert into doc_m values ('D1', ?1, ?2)",
       "insert into doc_m values ('D1', tsql_store(?1, 'decimal(16,2)'), tsql_store(?2, "
       "'datetime'))",
       {}},
  };
  for (const Case& c : cases) {
    const auto got = db::tsql::store_values(QString::fromUtf8(c.sql), lookup, converts);
    EXPECT_EQ(got.sql.toStdString(), c.want ? c.want : c.sql);
    EXPECT_EQ(got.marker_types, c.markers) << c.sql;
  }
}

// What the data file holds, as SQLite's own literal.
QString held(const EmbeddedServer&, const QString& column, int id) {
  const auto row =
      sqlca.select_row(QStringLiteral("select quote(%1) from v where id = %2").arg(column).arg(id));
  return row.empty() ? QStringLiteral("<none>") : row[0].to_text();
}

const char kTable[] =
    "create table v (id int not null, m decimal(16,2) null, n numeric(8,0) null, d datetime "
    "null, i int null, f float null, t char(10) null, primary key (id))";

TEST(StoredValues, InsertsAndUpdatesStoreWhatSqlServerWouldHold) {
  EmbeddedServer s;
  s.create_database(QStringLiteral("d"));
  s.run(QString::fromLatin1(kTable));
  struct Case {
    const char* column;
    const char* literal;  // as written in the statement
    Value bound;          // the same value given as a host value
    const char* stored;   // quote() of what the file holds
  } cases[] = {
      {"m", "2.675", Value::number(2.675), "2.68"},
      {"m", "'0.125'", Value::text("0.125"), "0.13"},
      {"m", "-2.675", Value::decimal("-2.675"), "-2.68"},
      {"m", "'-0.125'", Value::text(" -0.125 "), "-0.13"},
      {"m", "-0.004", Value::number(-0.004), "0"},
      {"m", "9.995", Value::decimal("9.995"), "10"},
      {"m", "12.5", Value::decimal("12.50"), "12.5"},
      {"m", "'1.2345e1'", Value::text("1.2345e1"), "12.35"},
      {"n", "2.5", Value::number(2.5), "3"},
      {"n", "-2.5", Value::text("-2.5"), "-3"},
      {"d", "'2024/03/05'", Value::text("2024/03/05"), "'2024-03-05 00:00:00.000'"},
      {"d", "'20240305 10:00'", Value::text("20240305 10:00"), "'2024-03-05 10:00:00.000'"},
      {"d", "'Mar  5 2024 10:00AM'", Value::text("Mar  5 2024 10:00AM"),
       "'2024-03-05 10:00:00.000'"},
      {"d", "'2024-03-05T10:00:00.5'", Value::datetime(QDate(2024, 3, 5), QTime(10, 0, 0, 500)),
       "'2024-03-05 10:00:00.500'"},
      {"i", "' 42 '", Value::text("+42"), "42"},
      {"i", "2.9", Value::number(2.9), "2"},
      {"i", "-2.9", Value::decimal("-2.9"), "-2"},
      {"i", "''", Value::text(""), "0"},
      {"f", "'0.5'", Value::text(" 0.5"), "0.5"},
      {"t", "'2.675'", Value::text("2.675"), "'2.675'"},
      {"m", "null", Value::null(), "NULL"},
  };
  int id = 0;
  for (const Case& c : cases) {
    const QString col = QString::fromLatin1(c.column);
    s.run(
        QStringLiteral("insert into v (id, %1) values (%2, %3)").arg(col).arg(++id).arg(c.literal));
    EXPECT_EQ(held(s, col, id), c.stored) << "insert " << c.literal;
    sqlca.execute(QStringLiteral("insert into v (%1, id) values (?, ?)").arg(col),
                  {c.bound, Value::integer(++id)});
    EXPECT_EQ(held(s, col, id), c.stored) << "insert bound " << c.literal;
    s.run(QStringLiteral("update v set %1 = %2 where id = 1").arg(col, c.literal));
    EXPECT_EQ(held(s, col, 1), c.stored) << "update " << c.literal;
    sqlca.execute(QStringLiteral("update v set %1 =? where id =?").arg(col),
                  {c.bound, Value::integer(2)});
    EXPECT_EQ(held(s, col, 2), c.stored) << "update bound " << c.literal;
  }
  s.run(QStringLiteral("delete from v"));
  s.run(
      QStringLiteral("insert into v (id, m, d) select 1, 0.125, '2024/03/05' union all "
                     "select 2, -0.125, 'Mar  5 2024 10:00AM'"));
  EXPECT_EQ(held(s, QStringLiteral("m"), 2), "-0.13");
  EXPECT_EQ(held(s, QStringLiteral("d"), 1), "'2024-03-05 00:00:00.000'");
}

TEST(StoredValues, WhatSqlServerRefusesFailsTheStatementWithItsError) {
  EmbeddedServer s;
  s.create_database(QStringLiteral("d"));
  s.run(QString::fromLatin1(kTable));
  s.run(QStringLiteral("insert into v (id, i) values (1, 7)"));
  struct Case {
    const char* column;
    Value given;
    long code;
    const char* text;
  } cases[] = {
      {"d", Value::text("2024-13-05"), 241,
       "Conversion failed when converting date and/or time from character string."},
      {"d", Value::text("05.03.2024"), 241,
       "Conversion failed when converting date and/or time from character string."},
      {"i", Value::text("2.5"), 245,
       "Conversion failed when converting the varchar value '2.5' to data type int."},
      {"i", Value::text("abc"), 245,
       "Conversion failed when converting the varchar value 'abc' to data type int."},
      {"i", Value::text("99999999999999999999"), 248,
       "The conversion of the varchar value '99999999999999999999' overflowed an int column. "
       "Use a larger integer column."},
      {"m", Value::text("1,5"), 8114, "Error converting data type varchar to numeric."},
      {"m", Value::text(""), 8114, "Error converting data type varchar to numeric."},
      {"f", Value::text("x"), 8114, "Error converting data type varchar to float."},
  };
  for (const Case& c : cases) {
    const QString col = QString::fromLatin1(c.column);
    const QString literal = QStringLiteral("'") + c.given.to_text() + QStringLiteral("'");
    for (const QString& sql :
         {QStringLiteral("insert into v (id, %1) values (2, %2)").arg(col, literal),
          QStringLiteral("update v set %1 = %2").arg(col, literal)}) {
      sqlca.execute_immediate(sql);
      EXPECT_EQ(sqlca.status, -1) << sql.toStdString();
      EXPECT_EQ(sqlca.db_error_code, c.code) << sql.toStdString();
      EXPECT_EQ(sqlca.db_error_text.toStdString(), c.text);
    }
    sqlca.execute(QStringLiteral("insert into v (id, %1) values (2, ?)").arg(col), {c.given});
    EXPECT_EQ(sqlca.db_error_code, c.code) << "bound " << col.toStdString();
    EXPECT_EQ(sqlca.db_error_text.toStdString(), c.text);
  }
  // A statement that fails stores nothing of it.
  sqlca.execute_immediate(QStringLiteral("insert into v (id, i) values (3, 1), (4, 'x')"));
  EXPECT_EQ(sqlca.db_error_code, 245);
  EXPECT_EQ(s.value(QStringLiteral("select count(*) from v")), "1");
  EXPECT_EQ(s.value(QStringLiteral("select i from v")), "7");
}

// An older server stored values as it was given them; they read, save and import as SQL
// Server would hold them, and a value no column of its type can hold reads as it is.
TEST(StoredValues, ValuesKeptAsGivenReadAsSqlServerHoldsThem) {
  EmbeddedServer s;
  s.make_files(QStringLiteral("old"));
  db::SqliteConnection old;
  ASSERT_EQ(old.open(s.folder.file("old.mdf").toUtf8().constData()), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(old.get(),
                         "create table v (id int not null, m decimal(16,2) null, d datetime null, "
                         "i int null, t char(10) null, primary key (id));"
                         "insert into v values (1, 2.675, '2024/03/05', 2.5, 'ok');"
                         "insert into v values (2, 0.125, '20240305 10:00', '-7', x'd6d0cec4');"
                         "insert into v values (3, -2.675, 'Mar  5 2024 10:00AM', 3, '会员');"
                         "insert into v values (4, '-0.125', '2024-03-05T10:00:00.5', null, null);"
                         "insert into v values (5, 12, 'not a date', 'abc', '');"
                         "insert into v values (6, '1e1', '', ' 8 ', 'x');"
                         "insert into v values (7, null, '20240305', null, null);"
                         "insert into v values (8, null, 2024, null, null);",
                         nullptr, nullptr, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(old.get());
  // The char column's x'd6d0cec4' is 中文 in code page 936, as a Chinese server holds it.
  ASSERT_EQ(sqlite3_exec(old.get(), "update v set t = cast(t as text) where id = 2", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  old.close();
  s.connect(QStringLiteral("master"));
  s.run(QStringLiteral("sp_attach_db 'old','%1','%2'")
            .arg(s.folder.file("old.mdf"), s.folder.file("old.ldf")));
  s.connect(QStringLiteral("old"));
  using db::ColumnType;
  ASSERT_TRUE(db::register_table_definition(
      {.name = QStringLiteral("v"),
       .select_sql = QStringLiteral("select id, m, d, i, t from v order by id"),
       .columns = {{QStringLiteral("id"), ColumnType::Integer},
                   {QStringLiteral("m"), ColumnType::Decimal, 2},
                   {QStringLiteral("d"), ColumnType::DateTime},
                   {QStringLiteral("i"), ColumnType::Integer},
                   {QStringLiteral("t"), ColumnType::Text}},
       .update_table = QStringLiteral("v")}));
  db::DataStore ds;
  ds.set_dataobject(QStringLiteral("v"));
  ds.settransobject(sqlca);
  ASSERT_EQ(ds.retrieve(), 8);
  ASSERT_EQ(ds.saveas(s.folder.file("v.txt")), 1);
  EXPECT_EQ(
      QString::fromUtf8(s.folder.read("v.txt")).split('\n'),
      QStringList({"1\t2.68\t2024-03-05 00:00:00.000\t2\tok",
                   "2\t0.13\t2024-03-05 10:00:00.000\t-7\t中文",
                   "3\t-2.68\t2024-03-05 10:00:00.000\t3\t会员",
                   "4\t-0.13\t2024-03-05 10:00:00.500\t\\N\t\\N", "5\t12.00\tnot a date\tabc\t",
                   "6\t10.00\t1900-01-01 00:00:00.000\t8\tx",
                   "7\t\\N\t2024-03-05 00:00:00.000\t\\N\t\\N", "8\t\\N\t2024\t\\N\t\\N", ""}));
  const auto row = sqlca.select_row(QStringLiteral("select m, d, i from v where id = 1"));
  ASSERT_EQ(row.size(), 3u);
  EXPECT_EQ(row[0], Value::decimal("2.68"));
  EXPECT_EQ(row[1], Value::datetime(QDate(2024, 3, 5), QTime(0, 0)));
  EXPECT_EQ(row[2], Value::integer(2));
  EXPECT_EQ(s.value(QStringLiteral("select i from v where id = 5")), "abc");
}

}  // namespace
