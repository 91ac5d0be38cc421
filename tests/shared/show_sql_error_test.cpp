#include "shared/show_sql_error.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

#include "db/transaction.h"
#include "runtime/codepage.h"
#include "shared/globals.h"
#include "tests/support/temp_program_folder.h"

namespace {

void set_status(long status, long code, const QString& text) {
  sqlca.status = status;
  sqlca.db_error_code = code;
  sqlca.db_error_text = text;
}

TEST(ShowSqlError, OneLinePerFailureInOrderNothingOtherwise) {
  test::TempProgramFolder dir;
  dir.write("kv_log.txt", "earlier line\r\n");
  struct Case {
    long status, code;
    QString text;
    int want;
  } cases[] = {
      {0, 0, "", 0},
      {100, 0, "", 0},
      {-1, 208, QStringLiteral("对象名 'zd' 无效。"), -1},
      {-1, -7, "second\nline", -1},
  };
  for (const Case& c : cases) {
    set_status(c.status, c.code, c.text);
    EXPECT_EQ(show_sql_error(), c.want);
  }
  const QString log = rt::from_cp936(dir.read("kv_log.txt"));
  const QStringList lines = log.split("\r\n");
  ASSERT_EQ(lines.size(), 4) << log.toStdString();
  EXPECT_EQ(lines[0], "earlier line");
  const QRegularExpression entry(QStringLiteral(
      "^DBERR: \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d-->208-->对象名 'zd' 无效。$"));
  EXPECT_TRUE(entry.match(lines[1]).hasMatch()) << lines[1].toStdString();
  EXPECT_TRUE(lines[2].endsWith("-->-7-->second\nline")) << lines[2].toStdString();
  EXPECT_EQ(lines[3], "");
}

TEST(ShowSqlError, UnwritableLogStillReportsTheFailure) {
  test::TempProgramFolder dir;
  QDir().mkpath(dir.file("kv_log.txt"));  // a folder where the log should be
  set_status(-1, 1, "x");
  EXPECT_EQ(show_sql_error(), -1);
  set_program_folder(dir.file("no/such/folder"));
  EXPECT_EQ(show_sql_error(), -1);
}

}  // namespace
