#include "runtime/settings_file.h"

#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "tests/support/temp_program_folder.h"

namespace {

const QString kDb = QStringLiteral("database");

TEST(SettingsRead, DefaultOnlyWhenFileSectionOrKeyIsMissing) {
  test::TempProgramFolder dir;
  const QString ini = dir.file("user.ini");
  EXPECT_EQ(rt::profile_string(ini, kDb, "server_name", "def"), "def");  // no file
  dir.write("user.ini", rt::to_cp936(QStringLiteral(
                            "; comment\r\n[Other]\r\nserver_name=x\r\n[DataBase]\r\n"
                            "Server_Name = 服务器 \r\nuser_name=\r\n;user_password=p\r\n")));
  struct Case {
    const char* section;
    const char* key;
    QString want;
  } cases[] = {
      {"database", "server_name", QStringLiteral("服务器")},  // case and blanks
      {"database", "user_name", ""},                          // empty value is no default
      {"database", "user_password", "def"},                   // commented out
      {"database", "database_name", "def"},                   // missing key
      {"nosuch", "server_name", "def"},                       // missing section
      {"Other", "server_name", "x"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(rt::profile_string(ini, c.section, c.key, "def"), c.want) << c.section << c.key;
}

TEST(SettingsWrite, KeepsEveryOtherByte) {
  test::TempProgramFolder dir;
  const QByteArray before = rt::to_cp936(QStringLiteral(
      "; 设置\r\n[database]\r\nserver_name=old\r\n\r\nother=1 ; tail\r\n[x]\r\nk=v"));
  dir.write("user.ini", before);
  const QString ini = dir.file("user.ini");

  ASSERT_EQ(rt::set_profile_string(ini, kDb, "SERVER_NAME", QStringLiteral("新")), 1);
  QByteArray want = before;
  want.replace("server_name=old", rt::to_cp936(QStringLiteral("SERVER_NAME=新")));
  EXPECT_EQ(dir.read("user.ini"), want);

  // A new key goes after the section's last line, a new section at the end.
  ASSERT_EQ(rt::set_profile_string(ini, kDb, "connect", "2"), 1);
  ASSERT_EQ(rt::set_profile_string(ini, "Application", "Path", "/a/"), 1);
  want.replace("other=1 ; tail\r\n", "other=1 ; tail\r\nconnect=2\r\n");
  want += "\r\n[Application]\r\nPath=/a/\r\n";
  EXPECT_EQ(dir.read("user.ini"), want);
  EXPECT_EQ(rt::profile_string(ini, kDb, "server_name", ""), QStringLiteral("新"));
}

TEST(SettingsWrite, CreatesFileAndRoundTripsChinese) {
  test::TempProgramFolder dir;
  const QString ini = dir.file("user.ini");
  const QString value = QStringLiteral("美发沙龙 ；数据库");
  ASSERT_EQ(rt::set_profile_string(ini, kDb, "database_name", value), 1);
  EXPECT_EQ(dir.read("user.ini"), "[database]\r\ndatabase_name=" + rt::to_cp936(value) + "\r\n");
  EXPECT_EQ(rt::profile_string(ini, kDb, "database_name", ""), value);
}

TEST(SettingsWrite, LfFilesStayLf) {
  test::TempProgramFolder dir;
  dir.write("user.ini", "[database]\nk=v\n");
  ASSERT_EQ(rt::set_profile_string(dir.file("user.ini"), kDb, "n", "1"), 1);
  EXPECT_EQ(dir.read("user.ini"), "[database]\nk=v\nn=1\n");
}

TEST(SettingsWrite, FailsWithoutTouchingAnything) {
  test::TempProgramFolder dir;
  dir.write("user.ini", "[database]\r\nk=v\r\n");
  QFile::setPermissions(dir.file("user.ini"), QFileDevice::ReadOwner);
  EXPECT_EQ(rt::set_profile_string(dir.file("user.ini"), kDb, "k", "w"), -1);  // read-only
  EXPECT_EQ(dir.read("user.ini"), "[database]\r\nk=v\r\n");
  EXPECT_EQ(rt::set_profile_string(dir.file("missing/user.ini"), kDb, "k", "w"), -1);
}

TEST(SettingsPath, BareNameLivesInConfigFolder) {
  test::TempProgramFolder dir;
  EXPECT_EQ(rt::settings_path("USER.INI"), dir.config_folder() + "USER.INI");
  ASSERT_EQ(rt::set_profile_string("USER.INI", "Application", "Path", "/p/"), 1);
  EXPECT_TRUE(QFile::exists(dir.config_folder() + "USER.INI"));
  EXPECT_EQ(rt::settings_path("/x/user.ini"), "/x/user.ini");
}

}  // namespace
