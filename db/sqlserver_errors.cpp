#include "db/sqlserver_errors.h"

#include <QRegularExpression>

namespace db {
namespace {

// A SQLite message pattern, the SQL Server error number and its text; %1, %2 are the
// pattern's captures.
struct Translation {
  const char* pattern;
  long code;
  const char* text;
};

const Translation kTranslations[] = {
    {R"re(^no such table: (?:\w+\.)?(.+)$)re", 208, "Invalid object name '%1'."},
    {R"re(^no such column: (.+)$)re", 207, "Invalid column name '%1'."},
    {R"re(^duplicate column name: (.+)$)re", 2705,
     "Column names in each table must be unique. Column name '%1' is specified more than once."},
    {R"re(^(?:table|index) "?([^" ]+)"? already exists$)re", 2714,
     "There is already an object named '%1' in the database."},
    {R"re(^UNIQUE constraint failed: ([^.]+)\..*$)re", 2627,
     "Violation of PRIMARY KEY constraint. Cannot insert duplicate key in object '%1'."},
    {R"re(^NOT NULL constraint failed: ([^.]+)\.(.+)$)re", 515,
     "Cannot insert the value NULL into column '%2', table '%1'; column does not allow nulls. "
     "INSERT fails."},
    {R"re(^near "(.*)": syntax error$)re", 170, "Line 1: Incorrect syntax near '%1'."},
    {R"re(^incomplete input$)re", 170, "Line 1: Incorrect syntax near the end of the statement."},
    {R"re(^table \S+ has \d+ columns but \d+ values were supplied$)re", 213,
     "Insert Error: Column name or number of supplied values does not match table definition."},
    {R"re(^\d+ values for \d+ columns$)re", 109,
     "There are more columns in the INSERT statement than values specified in the VALUES "
     "clause. The number of values in the VALUES clause must match the number of columns "
     "specified in the INSERT statement."},
    {R"re(^no such function: (.+)$)re", 195, "'%1' is not a recognized function name."},
    // The embedded server's own refusals of a value (stored_values.h), in SQL Server's words.
    {R"re(^(Conversion failed when converting date and/or time from character string\.)$)re", 241,
     "%1"},
    {R"re(^(Conversion failed when converting the varchar value '[\s\S]*' to data type \w+\.)$)re",
     245, "%1"},
    {R"re(^(The conversion of the varchar value '[\s\S]*' overflowed an \w+ column\. .*)$)re", 248,
     "%1"},
    {R"re(^(Error converting data type varchar to \w+\.)$)re", 8114, "%1"},
    {R"re(^(Arithmetic overflow error converting \w+ to data type \w+\.)$)re", 8115, "%1"},
};

}  // namespace

DbError sqlserver_error(int sqlite_code, const QString& sqlite_message) {
  for (const Translation& t : kTranslations) {
    const QRegularExpressionMatch m =
        QRegularExpression(QString::fromLatin1(t.pattern)).match(sqlite_message);
    if (!m.hasMatch()) continue;
    QString text = QString::fromUtf8(t.text);
    for (int i = 1; i <= m.lastCapturedIndex(); ++i) text = text.arg(m.captured(i));
    return {t.code, text};
  }
  return {50000 + sqlite_code, sqlite_message};
}

}  // namespace db
