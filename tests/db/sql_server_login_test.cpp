#include <gtest/gtest.h>

#include <QFileInfo>

#include "db/transaction.h"
#include "tests/support/fake_tds_server.h"
#include "tests/support/temp_program_folder.h"

namespace {

enum class Field { Server, Port, User, Password, Database };
enum class Outcome {
  Exact,       // the login holds every value as given
  Refused,     // no connection: the error names the field
  Unreachable  // no connection: no such host
};

// "%P" stands for the port of the server the settings name, "%O" for another server's, "%128"
// and "%129" for that many Chinese characters.
struct Case {
  Field field;
  const char* value;
  Outcome outcome;
  const char* server_name = "127.0.0.1";  // as the login names it, for Exact
};

const char* field_name(Field f) {
  switch (f) {
    case Field::Server:
      return "服务器";
    case Field::Port:
      return "端口";
    case Field::User:
      return "用户名";
    case Field::Password:
      return "密码";
    case Field::Database:
      return "数据库";
  }
  return "";
}

constexpr Outcome kExact = Outcome::Exact, kRefused = Outcome::Refused,
                  kUnreachable = Outcome::Unreachable;

const Case kCases[] = {
    {Field::Password, "a}b", kExact},  // the control: a '}' logs in as itself
    {Field::Password, "}", kExact},
    {Field::Password, "};", kExact},
    {Field::Password, "}}", kExact},
    {Field::Password, ";", kExact},
    {Field::Password, "=", kExact},
    {Field::Password, " pw", kExact},
    {Field::Password, "pw ", kExact},
    {Field::Password, "密码", kExact},
    {Field::Password, "a};APP=INJ", kExact},
    {Field::Password, "x};Port=%O", kExact},
    {Field::Password, "{x", kExact},
    {Field::Password, "a\U0001F600b", kExact},  // beyond the BMP
    {Field::User, "}", kExact},
    {Field::User, "u};", kExact},
    {Field::User, "u}}", kExact},
    {Field::User, ";=", kExact},
    {Field::User, " sa ", kExact},
    {Field::User, "用户", kExact},
    {Field::User, "u};Server=127.0.0.1;Port=%O", kExact},
    {Field::Database, "}", kExact},
    {Field::Database, "d};", kExact},
    {Field::Database, "d}}", kExact},
    {Field::Database, "d;e", kExact},
    {Field::Database, "d=e", kExact},
    {Field::Database, "数据库", kExact},
    {Field::Database, "#[d]", kExact},
    {Field::Database, "a\U0001F600b", kExact},
    {Field::Database, "d};Port=%O", kExact},
    {Field::Database, " d", kRefused},
    {Field::Database, "d ", kRefused},
    {Field::Database, "d\nPort=%O", kRefused},
    {Field::Server, "127.0.0.1,%P", kExact},
    {Field::Server, "localhost,%P", kExact, "localhost"},
    {Field::Server, ".,%P", kExact},
    {Field::Server, "(local),%P", kExact},
    {Field::Server, "127.0.0.1},%P", kUnreachable},
    {Field::Server, "127.0.0.1};Port=%O,%P", kUnreachable},
    {Field::Server, "127.0.0.1}},%P", kUnreachable},
    {Field::Server, "127.0.0.1;Port=%O,%P", kUnreachable},
    {Field::Server, "127.0.0.1=,%P", kUnreachable},
    {Field::Server, "服务器,%P", kUnreachable},
    {Field::Server, " 127.0.0.1,%P", kRefused},
    {Field::Server, "127.0.0.1 ,%P", kRefused},
    {Field::Server, "127.0.0.1\nPort=%O,%P", kRefused},
    {Field::Port, "%P}", kRefused},
    {Field::Port, "%P};", kRefused},
    {Field::Port, "%P;Port=%O", kRefused},
    {Field::Port, "%P=", kRefused},
    {Field::Port, " %P", kRefused},
    {Field::Port, "%P ", kRefused},
    {Field::Port, "+%P", kRefused},
    {Field::Port, "0", kRefused},
    {Field::Port, "65536", kRefused},
    {Field::Port, "端口", kRefused},
    // The login carries 128 characters of each.
    {Field::Password, "%128", kExact},
    {Field::Password, "%129", kRefused},
    {Field::User, "%128", kExact},
    {Field::User, "%129", kRefused},
    {Field::Database, "%128", kExact},
    {Field::Database, "%129", kRefused},
    {Field::Server, "%129,%P", kRefused},
};

class SqlServerLogin : public ::testing::Test {
 protected:
  // A connection to the server at `port` with values that need no care.
  static void settings(db::Transaction& t, int port) {
    t.interface_id = "MSS Microsoft SQL Server 6.x";
    t.server = QStringLiteral("127.0.0.1,%1").arg(port);
    t.db_name = "velmo41";
    t.login = "sa";
    t.password = "pw";
  }
  test::TempProgramFolder dir;
  test::IsolatedFreeTds freetds;
};

TEST_F(SqlServerLogin, EveryValueReachesTheLoginAsGivenOrNothingConnects) {
  for (const Case& c : kCases) {
    test::FakeTdsServer named, other;
    ASSERT_NE(named.port(), 0);
    ASSERT_NE(other.port(), 0);
    const QString value = QString::fromUtf8(c.value)
                              .replace("%128", QString(128, QChar(0x5B57)))
                              .replace("%129", QString(129, QChar(0x5B57)))
                              .replace("%P", QString::number(named.port()))
                              .replace("%O", QString::number(other.port()));
    SCOPED_TRACE(std::string(field_name(c.field)) + " [" + c.value + "]");
    db::Transaction t;
    settings(t, named.port());
    switch (c.field) {
      case Field::Server:
        t.server = value;
        break;
      case Field::Port:
        t.server = "127.0.0.1," + value;
        break;
      case Field::User:
        t.login = value;
        break;
      case Field::Password:
        t.password = value;
        break;
      case Field::Database:
        t.db_name = value;
        break;
    }
    t.connect();
    EXPECT_EQ(t.status, -1);  // the fake server ends every connection after the login
    EXPECT_EQ(other.connections(), 0);
    if (c.outcome != kExact) {
      EXPECT_EQ(named.connections(), 0);
      if (c.outcome == kRefused) {
        EXPECT_TRUE(t.db_error_text.contains(QString::fromUtf8(field_name(c.field))))
            << t.db_error_text.toStdString();
      }
      continue;
    }
    EXPECT_EQ(named.sole_login(), (QStringList{t.login, t.password, t.db_name, ""}));
    if (named.logins().size() == 1) {
      EXPECT_EQ(named.logins()[0].server_name, QString::fromUtf8(c.server_name));
    }
  }
}

// The control: a server that accepts the login lets a password with a '}' in, as itself, and
// the connection works after the profile it was made from is gone.
TEST_F(SqlServerLogin, APasswordWithABraceLogsIn) {
  test::FakeTdsServer named(true);
  db::Transaction t;
  settings(t, named.port());
  t.password = "a}b";
  t.auto_commit = false;
  t.connect();
  ASSERT_EQ(t.status, 0) << t.db_error_text.toStdString();
  t.execute_immediate("select 1");
  EXPECT_EQ(t.status, 0) << t.db_error_text.toStdString();
  t.disconnect();
  EXPECT_EQ(t.status, 0) << t.db_error_text.toStdString();
  EXPECT_EQ(named.sole_login(), (QStringList{"sa", "a}b", "velmo41", ""}));
}

// The data source of a connect lives in this process's memory only: the user's profile, and
// where the driver manager looks for it, are as they were.
TEST_F(SqlServerLogin, LeavesTheUsersProfileAsItWas) {
  dir.write("../home/.odbc.ini", "[velmo41]\nDriver=x\n");
  const QByteArray before = qgetenv("ODBCINI");
  test::FakeTdsServer named;
  db::Transaction t;
  settings(t, named.port());
  t.connect();
  ASSERT_EQ(named.sole_login(), (QStringList{"sa", "pw", "velmo41", ""}));
  EXPECT_EQ(qgetenv("ODBCINI"), before);
  EXPECT_EQ(dir.read("../home/.odbc.ini"), "[velmo41]\nDriver=x\n");
}

}  // namespace
