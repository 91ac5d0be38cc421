// The data store on the embedded server: the text form round trip, importfile's codes, sort
// with nulls first, reading cells, and update as one unit.
#include "db/data_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <ostream>

#include "runtime/files.h"
#include "tests/db/embedded_fixture.h"

namespace {

using db::ColumnType;
using db::DataStore;
using db::Value;
using test::EmbeddedServer;

const char kAwkwardTable[] =
    "create table %1 (id int not null, t char(60) null, d datetime null, m decimal(16,2) "
    "null, f float null, primary key (id))";

void register_awkward(const QString& name, const QString& table) {
  ASSERT_TRUE(db::register_table_definition({
      .name = name,
      .select_sql = QStringLiteral("select id, t, d, m, f from %1 order by id").arg(table),
      .columns = {{QStringLiteral("id"), ColumnType::Integer},
                  {QStringLiteral("t"), ColumnType::Text},
                  {QStringLiteral("d"), ColumnType::DateTime},
                  {QStringLiteral("m"), ColumnType::Decimal},
                  {QStringLiteral("f"), ColumnType::Double}},
      .update_table = table,
  }));
}

// Every row of a table as text, nulls marked, for comparing two tables.
QStringList dump(const QString& table) {
  QStringList out;
  auto st = sqlca.prepare(QStringLiteral("select * from %1 order by 1").arg(table));
  db::DbError err;
  if (!st || !st->execute(err)) return {QStringLiteral("<failed>")};
  while (st->fetch(err)) {
    QStringList cells;
    for (int i = 0; i < st->column_count(); ++i) {
      const Value v = st->column(i);
      cells << (v.is_null() ? QStringLiteral("<null>") : v.to_text());
    }
    out << cells.join(QStringLiteral("|"));
  }
  return out;
}

TEST(DataStore, TextFormRoundTripsEveryAwkwardValue) {
  EmbeddedServer s;
  s.create_database(QStringLiteral("d"));
  s.run(QString::fromLatin1(kAwkwardTable).arg(QStringLiteral("src")));
  s.run(QString::fromLatin1(kAwkwardTable).arg(QStringLiteral("dst")));
  const QDateTime t(QDate(2023, 12, 31), QTime(23, 59, 58, 7));
  const std::vector<std::vector<Value>> rows = {
      {Value::integer(1), Value::null(), Value::null(), Value::null(), Value::null()},
      {Value::integer(2), Value::text(QString()), Value::datetime(t),
       Value::decimal(QStringLiteral("12.50")), Value::number(0.1)},
      {Value::integer(3), Value::text(QStringLiteral("a\tb\r\nc\nd\re")),
       Value::datetime(t.addMSecs(1)), Value::decimal(QStringLiteral("-0.05")),
       Value::number(-1e300)},
      {Value::integer(4), Value::text(QStringLiteral("back\\slash \\N \\t")), Value::null(),
       Value::decimal(QStringLiteral("9999999999999.99")), Value::number(3)},
      {Value::integer(5), Value::text(QStringLiteral("会员资料 中国")), Value::null(),
       Value::decimal(QStringLiteral("0")), Value::null()},
      {Value::integer(6), Value::text(QStringLiteral("\\N")), Value::null(), Value::null(),
       Value::null()},
      {Value::integer(7), Value::text(QStringLiteral("  ")), Value::null(), Value::null(),
       Value::null()},
  };
  for (const auto& r : rows) {
    sqlca.execute(QStringLiteral("insert into src values (?, ?, ?, ?, ?)"), r);
    ASSERT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
  }
  register_awkward(QStringLiteral("src_def"), QStringLiteral("src"));
  register_awkward(QStringLiteral("dst_def"), QStringLiteral("dst"));

  DataStore out;
  ASSERT_TRUE(out.set_dataobject(QStringLiteral("src_def")));
  out.settransobject(sqlca);
  EXPECT_EQ(out.retrieve(), 7);
  const QString file = s.folder.file(QStringLiteral("tab_back_1.txt"));
  EXPECT_EQ(out.saveas(file), 1);
  const QByteArray text = s.folder.read(QStringLiteral("tab_back_1.txt"));
  EXPECT_EQ(text.count('\n'), 7) << "one line per row, no heading";
  EXPECT_TRUE(text.startsWith("1\t\\N\t\\N\t\\N\t\\N\n")) << text.left(40).toStdString();

  DataStore in;
  ASSERT_TRUE(in.set_dataobject(QStringLiteral("dst_def")));
  in.settransobject(sqlca);
  EXPECT_EQ(in.importfile(file), 7);
  EXPECT_EQ(in.update(), 1);
  EXPECT_EQ(sqlca.status, 0);
  EXPECT_EQ(dump(QStringLiteral("dst")), dump(QStringLiteral("src")));
  EXPECT_EQ(s.value(QStringLiteral("select count(*) from dst where t is null")),
            QStringLiteral("1"));
  EXPECT_EQ(s.value(QStringLiteral("select count(*) from dst where t = ''")), QStringLiteral("1"));
}

struct ImportCase {
  const char* label;
  QByteArray content;  // "<missing>" for no file
  long result;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ImportCase& c, std::ostream* os) { *os << c.label; }

// A definition of three columns, a number, a text and a date-time; its name.
QString three() {
  db::register_table_definition({.name = QStringLiteral("three"),
                                 .columns = {{QStringLiteral("n"), ColumnType::Integer},
                                             {QStringLiteral("t"), ColumnType::Text},
                                             {QStringLiteral("d"), ColumnType::DateTime}}});
  return QStringLiteral("three");
}

class ImportCodes : public ::testing::TestWithParam<ImportCase> {};

TEST_P(ImportCodes, GiveRowsReadOrACodeAndAddNothingOnError) {
  const ImportCase& c = GetParam();
  test::TempProgramFolder folder;
  DataStore ds;
  ASSERT_TRUE(ds.set_dataobject(three()));
  folder.write(QStringLiteral("good.txt"), "1\tx\t\\N\n");
  ASSERT_EQ(ds.importfile(folder.file(QStringLiteral("good.txt"))), 1);
  if (c.content == "<folder>")
    QDir().mkpath(folder.file(QStringLiteral("f.txt")));
  else if (c.content != "<missing>")
    folder.write(QStringLiteral("f.txt"), c.content);
  EXPECT_EQ(ds.importfile(folder.file(QStringLiteral("f.txt"))), c.result);
  EXPECT_EQ(ds.rowcount(), 1 + (c.result > 0 ? c.result : 0));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportCodes,
    ::testing::Values(ImportCase{"rows", "1\ta\t2024-01-02 03:04:05.678\n2\t\t\\N\n", 2},
                      ImportCase{"no_final_line_end", "1\ta\t\\N", 1},
                      ImportCase{"crlf_line_ends", "1\ta\t\\N\r\n2\tb\t\\N\r\n", 2},
                      ImportCase{"date_without_time", "1\ta\t2024-01-02\n", 1},
                      ImportCase{"empty", "", DataStore::kNoRows},
                      ImportCase{"missing", "<missing>", DataStore::kCannotOpen},
                      ImportCase{"folder", "<folder>", DataStore::kCannotOpen},
                      ImportCase{"too_few_columns", "1\ta\t\\N\n2\tb\n", DataStore::kBadInput},
                      ImportCase{"too_many_columns", "1\ta\t\\N\t4\n", DataStore::kBadInput},
                      ImportCase{"blank_line", "1\ta\t\\N\n\n2\tb\t\\N\n", DataStore::kBadInput},
                      ImportCase{"not_a_number", "1x\ta\t\\N\n", DataStore::kBadInput},
                      ImportCase{"not_a_date", "1\ta\t2024-13-01\n", DataStore::kBadInput},
                      ImportCase{"bad_escape", "1\ta\\q\t\\N\n", DataStore::kBadInput},
                      ImportCase{"not_utf8", "1\t\xff\xfe\t\\N\n", DataStore::kBadInput}),
    [](const auto& info) { return std::string(info.param.label); });

// A refused file names its first bad line, the column, the field as the file holds it and why.
TEST(DataStore, ARefusedFileNamesItsLineColumnAndValue) {
  struct Case {
    QByteArray content;
    long line;
    const char* column;
    const char* value;
    const char* reason;
  } cases[] = {
      {"1\ta\t\\N\n2\tb\n", 2, "d", "", "只有2列,应为3列"},
      {"1\ta\t\\N\t4\n", 1, "", "4", "多于3列"},
      {"1\ta\t\\N\r\n2x\tb\t\\N\r\n", 2, "n", "2x", "不是该列类型的值"},
      {"1\ta\t2024/03/05\n", 1, "d", "2024/03/05", "不是该列类型的值"},
      {"1\ta\\q\t\\N\n", 1, "t", "a\\q", "转义符有误"},
      {"1\tok\t\\N\n2\t\xd6\xd0x\t\\N\n", 2, "t", "\\xd6\\xd0x", "不是UTF-8编码的文字"},
  };
  test::TempProgramFolder folder;
  DataStore ds;
  ASSERT_TRUE(ds.set_dataobject(three()));
  for (const Case& c : cases) {
    folder.write(QStringLiteral("f.txt"), c.content);
    ASSERT_EQ(ds.importfile(folder.file(QStringLiteral("f.txt"))), DataStore::kBadInput);
    const auto& r = ds.import_refusal();
    ASSERT_TRUE(r.has_value()) << c.content.toStdString();
    EXPECT_EQ(r->line, c.line) << c.content.toStdString();
    EXPECT_EQ(r->column, QString::fromUtf8(c.column)) << c.content.toStdString();
    EXPECT_EQ(r->value, QString::fromUtf8(c.value)) << c.content.toStdString();
    EXPECT_EQ(r->reason, QString::fromUtf8(c.reason)) << c.content.toStdString();
  }
  folder.write(QStringLiteral("f.txt"), "1\ta\t\\N\n");
  EXPECT_EQ(ds.importfile(folder.file(QStringLiteral("f.txt"))), 1);
  EXPECT_FALSE(ds.import_refusal().has_value());
}

// A value reaches the database as its column holds it, or the line is malformed: a value is
// never changed on the way, except that a decimal is rounded to its column's scale.
TEST(DataStore, ImportedValuesAreStoredAsTheColumnHoldsThemOrRefused) {
  struct Case {
    int column;  // 0 n bigint, 1 m decimal(16,2), 2 f float, 3 d datetime
    const char* field;
    const char* stored;  // read back from the database; nullptr: importfile gives -4
  } cases[] = {
      {0, "9223372036854775807", "9223372036854775807"},
      {0, "-9223372036854775808", "-9223372036854775808"},
      {0, "+42", "42"},
      {0, "9223372036854775808", nullptr},
      {0, "-123456789012345678901234567890", nullptr},
      {1, "0.125", "0.13"},
      {1, "-0.125", "-0.13"},
      {1, "12.345", "12.35"},
      {1, "1.005", "1.01"},
      {1, "2.675", "2.68"},
      {1, "9.995", "10.00"},
      {1, "-0.004", "0.00"},
      {1, "0.0049999999", "0.00"},
      {1, "12.5", "12.50"},
      {1, "1.2345e1", "12.35"},
      {1, "5e-3", "0.01"},
      {1, "9999999999999.994", "9999999999999.99"},
      {1, "1e400", nullptr},
      {1, "1e38", nullptr},
      {1, "1e-400", nullptr},
      {2, "1.7976931348623157e308", "1.79769313486232e+308"},
      {2, "0.1", "0.1"},
      {2, "1e400", nullptr},
      {2, "-1e400", nullptr},
      {2, "1e-400", nullptr},
      {3, "2024-01-02 03:04:05.123", "2024-01-02 03:04:05.123"},
      {3, "2024-01-02 03:04:05.1", "2024-01-02 03:04:05.100"},
      {3, "2024-01-02 03:04:05.1234", nullptr},
      {3, "2024-01-02T03:04:05.0001", nullptr},
  };
  EmbeddedServer s;
  s.create_database(QStringLiteral("d"));
  s.run(QStringLiteral(
      "create table imp (n bigint null, m decimal(16,2) null, f float null, d datetime null)"));
  const char* names[] = {"n", "m", "f", "d"};
  ASSERT_TRUE(
      db::register_table_definition({.name = QStringLiteral("imp"),
                                     .columns = {{QStringLiteral("n"), ColumnType::Integer},
                                                 {QStringLiteral("m"), ColumnType::Decimal, 2},
                                                 {QStringLiteral("f"), ColumnType::Double},
                                                 {QStringLiteral("d"), ColumnType::DateTime}},
                                     .update_table = QStringLiteral("imp")}));
  for (const Case& c : cases) {
    QByteArrayList fields(4, "\\N");
    fields[c.column] = c.field;
    s.folder.write(QStringLiteral("f.txt"), fields.join('\t') + '\n');
    DataStore ds;
    ds.set_dataobject(QStringLiteral("imp"));
    ds.settransobject(sqlca);
    const long read = ds.importfile(s.folder.file(QStringLiteral("f.txt")));
    if (!c.stored) {
      EXPECT_EQ(read, DataStore::kBadInput) << c.field;
      EXPECT_EQ(ds.rowcount(), 0) << c.field;
      continue;
    }
    ASSERT_EQ(read, 1) << c.field;
    ASSERT_EQ(ds.update(), 1) << c.field;
    const auto row = sqlca.select_row(QStringLiteral("select %1 from imp").arg(names[c.column]));
    ASSERT_EQ(row.size(), 1u) << c.field;
    EXPECT_EQ(row[0].to_text(), QString::fromLatin1(c.stored)) << c.field;
    s.run(QStringLiteral("delete from imp"));
  }
}

// A cell's size is 32-bit: a longer field is a malformed line, never a null.
TEST(DataStore, FieldOverTwoGigabytesIsMalformed) {
  test::TempProgramFolder folder;
  ASSERT_TRUE(db::register_table_definition(
      {.name = QStringLiteral("one_text"), .columns = {{QStringLiteral("t"), ColumnType::Text}}}));
  QFile f(folder.file(QStringLiteral("big.txt")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("a");
  ASSERT_TRUE(f.resize((qint64{1} << 31) + 1));  // sparse: "a" and 2 GB of NUL, one field
  f.close();
  DataStore ds;
  ds.set_dataobject(QStringLiteral("one_text"));
  EXPECT_EQ(ds.importfile(f.fileName()), DataStore::kBadInput);
  EXPECT_EQ(ds.rowcount(), 0);
}

TEST(DataStore, ImportWithoutDefinitionFails) {
  test::TempProgramFolder folder;
  folder.write(QStringLiteral("f.txt"), "1\n");
  DataStore ds;
  EXPECT_FALSE(ds.set_dataobject(QStringLiteral("no_such_definition")));
  EXPECT_EQ(ds.importfile(folder.file(QStringLiteral("f.txt"))), DataStore::kNoDefinition);
}

class Sorting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        db::register_table_definition({.name = QStringLiteral("sorted"),
                                       .columns = {{QStringLiteral("n"), ColumnType::Decimal},
                                                   {QStringLiteral("key"), ColumnType::Text}}}));
    ASSERT_TRUE(ds.set_dataobject(QStringLiteral("sorted")));
    folder.write(QStringLiteral("f.txt"), "10\tb\n\\N\tz\n2\t\\N\n\\N\t\n33\t   \n-1\tA01\n");
    ASSERT_EQ(ds.importfile(folder.file(QStringLiteral("f.txt"))), 6);
  }
  QStringList column(const char* name) {
    QStringList out;
    for (long r = 1; r <= ds.rowcount(); ++r)
      out << ds.getitemstring(r, QString::fromLatin1(name)).value_or(QStringLiteral("<null>"));
    return out;
  }
  test::TempProgramFolder folder;
  DataStore ds;
};

TEST_F(Sorting, NumbersAscendWithNullsFirstAndStably) {
  ds.setcolumn(1);
  EXPECT_EQ(ds.getcolumnname(), QStringLiteral("n"));
  EXPECT_EQ(ds.setsort(ds.getcolumnname()), 1);
  EXPECT_EQ(ds.sort(), 1);
  EXPECT_EQ(column("n"), (QStringList{"<null>", "<null>", "-1", "2", "10", "33"}));
  EXPECT_EQ(column("key"), (QStringList{"z", "", "A01", "<null>", "b", "   "}));
  EXPECT_FALSE(ds.getitemnumber(1, QStringLiteral("n")).has_value());
  EXPECT_EQ(ds.getitemnumber(3, QStringLiteral("n")), -1.0);
}

TEST_F(Sorting, TextsAscendByTheirCharactersAndDescendOnRequest) {
  EXPECT_EQ(ds.setsort(QStringLiteral("key")), 1);
  ds.sort();
  EXPECT_EQ(column("key"), (QStringList{"<null>", "", "   ", "A01", "b", "z"}));
  EXPECT_EQ(ds.setsort(QStringLiteral("n D")), 1);
  ds.sort();
  EXPECT_EQ(column("n"), (QStringList{"33", "10", "2", "-1", "<null>", "<null>"}));
  EXPECT_EQ(ds.setsort(QStringLiteral("nothing")), -1);
}

TEST_F(Sorting, DeletedRowsLeaveTheStore) {
  ds.setsort(QStringLiteral("key"));
  ds.sort();
  // The import's row check: leading rows whose key is null or blank go.
  while (ds.rowcount() > 0) {
    const auto key = ds.getitemstring(1, QStringLiteral("key"));
    if (key && !key->trimmed().isEmpty()) break;
    EXPECT_EQ(ds.deleterow(1), 1);
  }
  EXPECT_EQ(ds.rowcount(), 3);
  EXPECT_EQ(column("key"), (QStringList{"A01", "b", "z"}));
  EXPECT_EQ(ds.deleterow(4), -1);
}

class Updating : public ::testing::Test {
 protected:
  void SetUp() override {
    s.create_database(QStringLiteral("d"), auto_commit());
    s.run(QStringLiteral("create table zd (id int not null, lx char(30) null, primary key (id))"));
    s.run(QStringLiteral("insert into zd values (1, 'old')"));
    sqlca.commit();
    ASSERT_TRUE(db::register_table_definition(
        {.name = QStringLiteral("tab_back_9"),
         .select_sql = QStringLiteral("select id, lx from zd where lx <> ?"),
         .columns = {{QStringLiteral("id"), ColumnType::Integer},
                     {QStringLiteral("lx"), ColumnType::Text}},
         .update_table = QStringLiteral("zd"),
         .arguments = {ColumnType::Text}}));
    ASSERT_TRUE(ds.set_dataobject(QStringLiteral("tab_back_9")));
    ds.settransobject(sqlca);
  }
  virtual bool auto_commit() const { return true; }
  long import(const QByteArray& content) {
    s.folder.write(QStringLiteral("f.txt"), content);
    return ds.importfile(s.folder.file(QStringLiteral("f.txt")));
  }
  EmbeddedServer s;
  DataStore ds;
};

TEST_F(Updating, StoresImportedRowsOnceAndSetsStatus) {
  ASSERT_EQ(import("2\ta\n3\t\\N\n4\tc\n"), 3);
  ds.deleterow(3);
  EXPECT_EQ(ds.update(), 1);
  EXPECT_EQ(sqlca.status, 0);
  EXPECT_EQ(sqlca.sqlnrows, 2);
  EXPECT_EQ(ds.update(), 1) << "stored rows are not inserted again";
  EXPECT_EQ(s.value(QStringLiteral("select count(*) from zd")), QStringLiteral("3"));
  EXPECT_EQ(ds.retrieve({Value::text(QStringLiteral("zz"))}), 2) << "the null lx is not <> 'zz'";
  EXPECT_EQ(ds.retrieve(), -1) << "the argument is missing";
}

TEST_F(Updating, FailingHalfWayLeavesTheTableAsItWas) {
  ASSERT_EQ(import("2\ta\n3\tb\n1\tduplicate\n5\te\n"), 4);
  EXPECT_EQ(ds.update(), -1);
  EXPECT_EQ(sqlca.status, -1);
  EXPECT_EQ(sqlca.db_error_code, 2627) << sqlca.db_error_text.toStdString();
  EXPECT_EQ(s.value(QStringLiteral("select count(*) from zd")), QStringLiteral("1"));
  EXPECT_EQ(s.value(QStringLiteral("select lx from zd")), QStringLiteral("old"));
}

TEST_F(Updating, EmptyStoreUpdatesSuccessfully) {
  sqlca.execute_immediate(QStringLiteral("select nothing from zd"));
  ASSERT_EQ(sqlca.status, -1);
  EXPECT_EQ(ds.update(), 1);
  EXPECT_EQ(sqlca.status, 0);
}

TEST_F(Updating, DeletedRetrievedRowsAreRefused) {
  ASSERT_EQ(ds.retrieve({Value::text(QStringLiteral("x"))}), 1);
  ds.deleterow(1);
  EXPECT_EQ(ds.update(), -1);
  EXPECT_EQ(sqlca.status, -1);
  EXPECT_EQ(s.value(QStringLiteral("select count(*) from zd")), QStringLiteral("1"));
}

class UpdatingInTransaction : public Updating {
  bool auto_commit() const override { return false; }
};

TEST_F(UpdatingInTransaction, FailureUndoesOnlyTheUpdate) {
  s.run(QStringLiteral("insert into zd values (7, 'pending')"));
  ASSERT_EQ(import("2\ta\n1\tduplicate\n"), 2);
  EXPECT_EQ(ds.update(), -1);
  EXPECT_EQ(s.value(QStringLiteral("select count(*) from zd")), QStringLiteral("2"));
  sqlca.rollback();
  EXPECT_EQ(s.value(QStringLiteral("select count(*) from zd")), QStringLiteral("1"));
}

TEST(DataStoreFiles, SaveasReplacesWholeOrNotAtAll) {
  test::TempProgramFolder folder;
  ASSERT_TRUE(db::register_table_definition(
      {.name = QStringLiteral("one"), .columns = {{QStringLiteral("t"), ColumnType::Text}}}));
  DataStore ds;
  ds.set_dataobject(QStringLiteral("one"));
  folder.write(QStringLiteral("in.txt"), "a\n\nb\n");
  ASSERT_EQ(ds.importfile(folder.file(QStringLiteral("in.txt"))), 3) << "an empty text is a row";
  EXPECT_EQ(ds.saveas(folder.file(QStringLiteral("none/out.txt"))), -1);
  folder.write(QStringLiteral("ro.txt"), "keep");
  rt::set_file_attributes(folder.file(QStringLiteral("ro.txt")), 1);
  EXPECT_EQ(ds.saveas(folder.file(QStringLiteral("ro.txt"))), -1);
  EXPECT_EQ(folder.read(QStringLiteral("ro.txt")), QByteArray("keep"));
  EXPECT_EQ(ds.saveas(folder.file(QStringLiteral("out.txt"))), 1);
  EXPECT_EQ(folder.read(QStringLiteral("out.txt")), QByteArray("a\n\nb\n"));
}

}  // namespace
