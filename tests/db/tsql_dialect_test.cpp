// The T-SQL dialect: the text rules alone, then every statement form on the embedded server,
// with the failures SQL Server would report.
#include "db/tsql_dialect.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "tests/db/embedded_fixture.h"

namespace {

using test::EmbeddedServer;

struct TextCase {
  QString (*rule)(const QString&);
  const char* in;
  const char* out;
};

TEST(TsqlTextRules, RewriteOnlyTheirFormAndNeverInsideLiterals) {
  using namespace db::tsql;
  const TextCase cases[] = {
      {isnull_to_ifnull, "select isnull ( bb , '0' ) from sys where id =1",
       "select ifnull ( bb , '0' ) from sys where id =1"},
      {isnull_to_ifnull, "select ISNULL(a,0) from t", "select ifnull(a,0) from t"},
      {isnull_to_ifnull, "select 'isnull(' , isnull_x(a) from t",
       "select 'isnull(' , isnull_x(a) from t"},
      {insert_without_into, "insert zd values ( 12 , '资金类型' , '资金转帐' )",
       "insert into zd values ( 12 , '资金类型' , '资金转帐' )"},
      {insert_without_into, "INSERT t (a) VALUES (1)", "INSERT into t (a) VALUES (1)"},
      {insert_without_into, "insert into t values (1)", "insert into t values (1)"},
      {double_quoted_literals, "delete from zd where lx =\"资金类型\" and id =12",
       "delete from zd where lx ='资金类型' and id =12"},
      {double_quoted_literals, "update t set a =\"it's\"", "update t set a ='it''s'"},
      {double_quoted_literals, "update t set a =\"say \"\"hi\"\"\"",
       "update t set a ='say \"hi\"'"},
      {double_quoted_literals, "update t set a ='say \"hi\"'", "update t set a ='say \"hi\"'"},
  };
  for (const TextCase& c : cases)
    EXPECT_EQ(c.rule(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

// One statement form on the server: the set-up, the statement, SQL Server's error number
// (0: succeeds), and a query with the value it must give afterwards.
struct FormCase {
  const char* label;
  std::vector<const char*> setup;
  const char* statement;
  long code;
  const char* check;
  const char* expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FormCase& c, std::ostream* os) { *os << c.label; }

class StatementForm : public ::testing::TestWithParam<FormCase> {};

TEST_P(StatementForm, RunsAsSqlServerRunsIt) {
  const FormCase& c = GetParam();
  EmbeddedServer s;
  s.create_database(QStringLiteral("velmo41"));
  for (const char* sql : c.setup) s.run(QString::fromUtf8(sql));
  const QString statement = QString::fromUtf8(c.statement);
  if (statement.startsWith(QStringLiteral("select")))
    sqlca.select_row(statement);
  else
    sqlca.execute_immediate(statement);
  if (c.code == 0) {
    EXPECT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
  } else {
    EXPECT_EQ(sqlca.status, -1);
    EXPECT_EQ(sqlca.db_error_code, c.code) << sqlca.db_error_text.toStdString();
  }
  if (c.check) {
    EXPECT_EQ(s.value(QString::fromUtf8(c.check)), QString::fromUtf8(c.expected));
  }
}

const std::vector<const char*> kSys = {"create table sys (id int not null, bb char(10) null)",
                                       "insert into sys values (1, null)"};
const std::vector<const char*> kZd = {
    "create table zd (id int not null, lx char(30) not null, name char(60) null)",
    "insert into zd values (12, '资金类型', 'x')"};
const std::vector<const char*> kMem = {
    "create table mem_info (mem_id char(30) not null, post char(60) null, gj char(60) null)",
    "insert into mem_info values ('m1', 'p', null)"};
const std::vector<const char*> kDeduct = {
    "create table emp_deduct (id int not null, rebate decimal(16,2) null, primary key (id))",
    "create index emp_deduct_rebate on emp_deduct (rebate)",
    "insert into emp_deduct values (1, 12.35)", "insert into emp_deduct values (2, null)"};
const std::vector<const char*> kPgd = {
    "create table doc_pgd (pgd_id char(20) not null, n int null, k char(10) null)",
    "insert into doc_pgd values ('a', 1, 'x')", "insert into doc_pgd values ('b', 1, null)",
    "create table tc_info (tc_id char(20) not null, constraint pk_tc_id primary key (tc_id))"};

INSTANTIATE_TEST_SUITE_P(
    Forms, StatementForm,
    ::testing::Values(
        FormCase{"isnull", kSys, "select isnull ( bb , '0' ) from sys where id =1", 0,
                 "select isnull ( bb , '0' ) from sys where id =1", "0"},
        FormCase{"insert_without_into", kZd, "insert zd values ( 3 , '卡型' , '固定套餐卡' )", 0,
                 "select name from zd where id =3", "固定套餐卡"},
        FormCase{"insert_wrong_count", kZd, "insert zd values ( 3 , '卡型' )", 213, nullptr,
                 nullptr},
        FormCase{"double_quoted_update", kMem, "update mem_info set gj =\"中国\"", 0,
                 "select gj from mem_info", "中国"},
        FormCase{"double_quoted_delete", kZd, "delete from zd where lx =\"资金类型\" and id =12", 0,
                 "select count ( *) from zd", "0"},
        FormCase{"add_column", kMem, "alter table mem_info add end_time datetime null", 0,
                 "select count ( end_time ) from mem_info", "0"},
        FormCase{"add_clause_numeric", kMem,
                 "alter table mem_info add rebate_k numeric(15, 4) NULL", 0,
                 "select count ( rebate_k ) from mem_info", "0"},
        FormCase{"add_existing_column", kMem, "alter table mem_info add post char(60) null", 2705,
                 nullptr, nullptr},
        FormCase{"add_to_missing_table", kMem, "alter table ie_data add fd char(30) null", 208,
                 nullptr, nullptr},
        FormCase{"alter_column_keeps_rows", kDeduct,
                 "alter table emp_deduct ALTER COLUMN rebate decimal(14, 4) null", 0,
                 "select rebate from emp_deduct where id =1", "12.3500"},
        FormCase{"alter_column_keeps_key", kDeduct,
                 "alter table emp_deduct ALTER COLUMN rebate decimal(14, 4) null", 0,
                 "select count ( *) from pragma_table_info('emp_deduct') where pk =1", "1"},
        FormCase{"alter_column_keeps_index", kDeduct,
                 "alter table emp_deduct ALTER COLUMN rebate decimal(14, 4) null", 0,
                 "select count ( *) from sqlite_master where name ='emp_deduct_rebate'", "1"},
        FormCase{"alter_column_two_word_type", kDeduct,
                 "alter table emp_deduct ALTER COLUMN rebate double precision null", 0,
                 "select type from pragma_table_info('emp_deduct') where name ='rebate'",
                 "double precision"},
        FormCase{"alter_column_not_null_with_nulls", kDeduct,
                 "alter table emp_deduct ALTER COLUMN rebate decimal(14, 4) not null", 515,
                 "select count ( *) from emp_deduct", "2"},
        FormCase{"alter_missing_column", kDeduct,
                 "alter table emp_deduct ALTER COLUMN nothing decimal(14, 4) null", 4924, nullptr,
                 nullptr},
        FormCase{"alter_missing_table", kDeduct,
                 "alter table sys ALTER COLUMN logon_serial char(32) null", 4902, nullptr, nullptr},
        FormCase{"alter_key_column", kDeduct, "alter table emp_deduct ALTER COLUMN id int null",
                 5074, nullptr, nullptr},
        FormCase{"add_key", kPgd,
                 "alter table doc_pgd add constraint pk_pgd_id primary key(pgd_id) ", 0,
                 "select count ( *) from pragma_table_info('doc_pgd') where pk =1", "1"},
        FormCase{"add_key_keeps_rows", kPgd,
                 "alter table doc_pgd add constraint pk_pgd_id primary key(pgd_id) ", 0,
                 "select count ( *) from doc_pgd", "2"},
        FormCase{"add_key_duplicates", kPgd,
                 "alter table doc_pgd add constraint pk_n primary key(n) ", 1505,
                 "select count ( *) from pragma_table_info('doc_pgd') where pk >0", "0"},
        FormCase{"add_key_nulls", kPgd, "alter table doc_pgd add constraint pk_k primary key(k) ",
                 8111, nullptr, nullptr},
        FormCase{"add_key_name_in_use", kPgd,
                 "alter table doc_pgd add constraint pk_tc_id primary key(pgd_id) ", 2714, nullptr,
                 nullptr},
        FormCase{"add_key_existing_key", kPgd,
                 "alter table tc_info add constraint pk_other primary key(tc_id) ", 1779, nullptr,
                 nullptr},
        FormCase{"add_key_missing_column", kPgd,
                 "alter table doc_pgd add constraint pk_x primary key(pgd_id,nothing) ", 1911,
                 nullptr, nullptr},
        FormCase{"add_key_missing_table", kPgd,
                 "alter table sy add constraint pk_year_month primary key(year_month) ", 4902,
                 nullptr, nullptr},
        FormCase{"drop_column", kMem, "alter table mem_info DROP COLUMN  post ", 0,
                 "select count ( *) from pragma_table_info('mem_info') where name ='post'", "0"},
        FormCase{"drop_missing_column", kMem, "alter table mem_info DROP COLUMN  xx ", 207, nullptr,
                 nullptr},
        FormCase{"table_probe_present", kMem, "select count ( *) from mem_info", 0, nullptr,
                 nullptr},
        FormCase{"table_probe_missing", kMem, "select count ( *) from card_s", 208, nullptr,
                 nullptr},
        FormCase{"column_probe_present", kMem, "select count ( gj ) from mem_info", 0, nullptr,
                 nullptr},
        FormCase{"column_probe_missing", kMem, "select count ( QQ ) from mem_info", 207, nullptr,
                 nullptr},
        FormCase{"create_key_not_null",
                 {"CREATE TABLE info_card (card_id char(30),primary key (card_id))"},
                 "insert into info_card values (null)",
                 515,
                 "select count ( *) from info_card",
                 "0"},
        FormCase{"create_existing", kMem, "create table mem_info (a int)", 2714, nullptr, nullptr},
        FormCase{"commit_without_transaction", {}, "commit", 0, nullptr, nullptr},
        FormCase{"rollback_without_transaction", {}, "rollback", 0, nullptr, nullptr},
        FormCase{"syntax_error", {}, "selec 1", 170, nullptr, nullptr}),
    [](const auto& info) { return std::string(info.param.label); });

// Text the dialect cannot take whole is refused with SQL Server's error, and nothing runs.
TEST(TsqlDialectErrors, OpenTextsAndBadTypesRunNothing) {
  struct Case {
    const char* statement;
    long code;
    const char* text;
  } cases[] = {
      {"update t set a = \"x where id = 1", 105,
       "Unclosed quotation mark after the character string 'x where id = 1'."},
      {"update t set a = 'x where id = 1", 105,
       "Unclosed quotation mark after the character string 'x where id = 1'."},
      {"select [a from t", 105, "Unclosed quotation mark after the character string 'a from t'."},
      {"sp_attach_db 'salon','a.mdf','b.ldf", 105,
       "Unclosed quotation mark after the character string 'b.ldf'."},
      {"delete from t /* where id = 1", 113, "Missing end comment mark '*/'."},
      {"update t set a = 'x' /* where id = 1 */ /* where", 113, "Missing end comment mark '*/'."},
      {"alter table t ALTER COLUMN a char(30) /* null", 113, "Missing end comment mark '*/'."},
      {"alter table t ALTER COLUMN a int; drop table u", 170, "Line 1: Incorrect syntax near ';'."},
      {"alter table t ALTER COLUMN a int); drop table u; create table v (x int", 170,
       "Line 1: Incorrect syntax near ')'."},
      {"alter table t ALTER COLUMN a char(30) default 'x' null", 170,
       "Line 1: Incorrect syntax near 'default'."},
      {"alter table t ALTER COLUMN a decimal(16,2,3) null", 170,
       "Line 1: Incorrect syntax near ','."},
      {"alter table t ALTER COLUMN a decimal(16,2.5) null", 170,
       "Line 1: Incorrect syntax near '2.5'."},
      {"alter table t ALTER COLUMN a char(30 null", 170, "Line 1: Incorrect syntax near '30'."},
      {"alter table t ALTER COLUMN a (30) null", 170, "Line 1: Incorrect syntax near '('."},
      {"alter table t ALTER COLUMN a nosuchtype null", 2715,
       "Column, parameter, or variable #2: Cannot find data type nosuchtype."},
      {"alter table t ALTER COLUMN b double trouble(16,2) not null", 2715,
       "Column, parameter, or variable #3: Cannot find data type double trouble."},
  };
  const QString whole = QStringLiteral(
      "select (select group_concat(type || name || sql, '|') from sqlite_master) || "
      "(select group_concat(id || a || b, '|') from t) || (select count(*) from u)");
  for (const Case& c : cases) {
    EmbeddedServer s;
    s.create_database(QStringLiteral("velmo41"));
    s.run(
        QStringLiteral("create table t (id int not null, a char(20) null, b decimal(16,2) null, "
                       "primary key (id))"));
    s.run(QStringLiteral("insert into t values (1, 'a', 1.5)"));
    s.run(QStringLiteral("insert into t values (2, 'b', 2.5)"));
    s.run(QStringLiteral("create table u (x int null)"));
    const QString before = s.value(whole);
    const QString statement = QString::fromUtf8(c.statement);
    if (statement.startsWith(QStringLiteral("select")))
      sqlca.select_row(statement);
    else
      sqlca.execute_immediate(statement);
    EXPECT_EQ(sqlca.status, -1) << c.statement;
    EXPECT_EQ(sqlca.db_error_code, c.code) << c.statement;
    EXPECT_EQ(sqlca.db_error_text, QString::fromUtf8(c.text)) << c.statement;
    EXPECT_EQ(s.value(whole), before) << c.statement;
  }
}

// Statements in the forms the upgrade chain writes them, one after another on one database.
TEST(TsqlChainForms, RunInOrder) {
  EmbeddedServer s;
  s.create_database(QStringLiteral("velmo41"));
  const char* statements[] = {
      "create table sys (id int not null, bb char(20) null, kernel_ver char(20) null, "
      "primary key (id))",
      "insert sys values ( 1 , '15.20' , null )",
      "alter table sys add jhzd char(30) null",
      "update sys SET bb ='15.31' , kernel_ver ='V 6.03.01' , jhzd =''",
      "CREATE TABLE edit_time (id decimal(10,0),sm char(60) null,type int,oper char(30) "
      "null,mach_id char(10) null,time_o datetime null,time_n datetime null,primary key (id))",
      "CREATE TABLE emp_rebate (emp_class char(30),item_id char(30),type int,lp decimal(16,4) "
      "null,dk decimal(16,4),primary key (emp_class,item_id,type))",
      "alter table emp_rebate add lplp decimal(16,4) null",
      "create table mem_item_bk (mem_id char(30) not null,item_id char(10) not null,startdate "
      "smalldatetime not null,enddate smalldatetime not null,ktje numeric(15,2) not null,xfcs "
      "int null,mem char(50) null,state int)",
      "alter table mem_item_bk add constraint pk_mem_item_id primary key(mem_id,item_id) ",
      "create table mem_info (mem_id char(30) not null, post char(60) null, sy_favour "
      "numeric(15,2) null)",
      "alter table mem_info ALTER COLUMN post char(100) null",
      "alter table mem_info DROP COLUMN  post ",
      "update mem_info set sy_favour =0.00",
      "select isnull ( bb , '0' ) from sys where id =1",
  };
  for (const char* sql : statements) {
    const QString text = QString::fromUtf8(sql);
    if (text.startsWith(QStringLiteral("select")))
      sqlca.select_row(text);
    else
      sqlca.execute_immediate(text);
    EXPECT_EQ(sqlca.status, 0) << sql << ": " << sqlca.db_error_text.toStdString();
  }
  EXPECT_EQ(s.value(QStringLiteral("select isnull ( bb , '0' ) from sys where id =1")),
            QStringLiteral("15.31"));
  sqlca.execute_immediate(QStringLiteral("insert into edit_time (sm) values ('no key')"));
  EXPECT_EQ(sqlca.db_error_code, 515) << "key columns do not allow nulls";
  sqlca.execute_immediate(
      QStringLiteral("insert into mem_item_bk values ('m', 'i', '2024-01-01 00:00:00.000', "
                     "'2024-02-01 00:00:00.000', 1, null, null, null)"));
  EXPECT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
  sqlca.execute_immediate(
      QStringLiteral("insert into mem_item_bk values ('m', 'i', '2024-01-01 00:00:00.000', "
                     "'2024-02-01 00:00:00.000', 1, null, null, null)"));
  EXPECT_EQ(sqlca.db_error_code, 2627);
}

TEST(TsqlValues, DateTimesAreStoredAndBoundInOneTextForm) {
  EmbeddedServer s;
  s.create_database(QStringLiteral("d"));
  s.run(QStringLiteral("create table bill_m (id int not null, d_date datetime null)"));
  const QDateTime t(QDate(2024, 3, 5), QTime(6, 7, 8, 9));
  sqlca.execute(QStringLiteral("insert into bill_m values (1, ?)"), {db::Value::datetime(t)});
  sqlca.execute(QStringLiteral("insert into bill_m values (2, ?)"),
                {db::Value::datetime(t.addDays(2))});
  EXPECT_EQ(s.value(QStringLiteral("select d_date || '' from bill_m where id =1")),
            QStringLiteral("2024-03-05 06:07:08.009"));
  const auto row = sqlca.select_row(QStringLiteral("select d_date from bill_m where id =1"));
  ASSERT_EQ(row.size(), 1u);
  EXPECT_EQ(row[0].kind(), db::Value::Kind::DateTime);
  EXPECT_EQ(row[0].to_datetime(), t);
  sqlca.execute(QStringLiteral("delete from bill_m where d_date < ?"),
                {db::Value::datetime(t.addDays(1))});
  EXPECT_EQ(sqlca.sqlnrows, 1);
  EXPECT_EQ(s.value(QStringLiteral("select id from bill_m")), QStringLiteral("2"));
}

TEST(TsqlValues, DecimalsReadBackAtTheirDeclaredScale) {
  EmbeddedServer s;
  s.create_database(QStringLiteral("d"));
  s.run(QStringLiteral(
      "create table m (a decimal(16,2) null, b numeric(15, 4) null, c decimal(10,0) null)"));
  sqlca.execute(
      QStringLiteral("insert into m values (?, ?, ?)"),
      {db::Value::decimal(QStringLiteral("12.5")), db::Value::number(3), db::Value::integer(7)});
  const auto row = sqlca.select_row(QStringLiteral("select a, b, c from m"));
  ASSERT_EQ(row.size(), 3u);
  EXPECT_EQ(row[0], db::Value::decimal(QStringLiteral("12.50")));
  EXPECT_EQ(row[1], db::Value::decimal(QStringLiteral("3.0000")));
  EXPECT_EQ(row[2], db::Value::decimal(QStringLiteral("7")));
  // A number compares with a decimal column by value, as the purge's amount tests do.
  sqlca.execute(QStringLiteral("delete from m where a >= ?"), {db::Value::number(12.5)});
  EXPECT_EQ(sqlca.sqlnrows, 1);
}

}  // namespace
