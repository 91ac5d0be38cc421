#include "db/value.h"

#include <gtest/gtest.h>

#include "tests/support/qt_print.h"

namespace {

TEST(ValueDateTime, ParsesTheStoredFormsAndRejectsOthers) {
  struct Case {
    const char* text;
    const char* want;  // as stored, or nullptr for no date-time
  } cases[] = {
      {"2021-12-31 23:59:58.123", "2021-12-31 23:59:58.123"},
      {" 2021-12-31 23:59:58 ", "2021-12-31 23:59:58.000"},
      {"2021-12-31T23:59", "2021-12-31 23:59:00.000"},
      {"2021-12-31", "2021-12-31 00:00:00.000"},
      {"2021-12-31 23:59:58.1", "2021-12-31 23:59:58.100"},
      {"2021-12-31 23:59:58.123456", "2021-12-31 23:59:58.123"},
      {"2021-02-29", nullptr},
      {"2021-12-31 24:00:00", nullptr},
      {"2021/12/31", nullptr},
      {"2021-12-31 23:59:58.", nullptr},
      {"2021-12-31x", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    QDate d;
    QTime t;
    const bool ok = db::Value::parse_datetime(QString::fromLatin1(c.text), d, t);
    EXPECT_EQ(ok, c.want != nullptr) << c.text;
    if (ok && c.want) EXPECT_EQ(db::Value::datetime_text(d, t), c.want) << c.text;
    EXPECT_EQ(db::Value::parse_datetime(QString::fromLatin1(c.text)).isValid(), c.want != nullptr);
  }
}

TEST(ValueDateTime, KeepsTheLocalDateAndTimeAsGiven) {
  const QDateTime local(QDate(2020, 3, 29), QTime(2, 30, 0, 5));
  const db::Value v = db::Value::datetime(local);
  EXPECT_EQ(v.to_text(), "2020-03-29 02:30:00.005");
  EXPECT_EQ(v, db::Value::datetime(QDate(2020, 3, 29), QTime(2, 30, 0, 5)));
  EXPECT_EQ(v.date_part(), QDate(2020, 3, 29));
  EXPECT_TRUE(db::Value::datetime(QDateTime()).is_null());
  EXPECT_EQ(db::Value::text("2020-01-02 03:04:05").to_datetime(),
            QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)));
}

}  // namespace
