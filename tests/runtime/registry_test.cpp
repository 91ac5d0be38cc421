#include "runtime/registry.h"

#include <gtest/gtest.h>

#include "tests/support/temp_program_folder.h"

namespace {

const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\velmo41");
const QString kList =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\ODBC Data Sources");

TEST(Registry, OdbcKeysAreTheUserProfile) {
  test::TempProgramFolder dir;  // ODBCINI points into it
  QString v;
  EXPECT_EQ(rt::registry_get(kKey, "DatabaseName", v), -1);
  EXPECT_EQ(rt::registry_set(kKey, "DatabaseName", "velmo41"), 1);
  EXPECT_EQ(rt::registry_set(kKey, "ServerName", ""), 1);
  EXPECT_EQ(rt::registry_set(kList, "velmo41", "Sybase SQL Anywhere 5.0"), 1);
  EXPECT_EQ(rt::registry_get(kKey, "DatabaseName", v), 1);
  EXPECT_EQ(v, "velmo41");
  EXPECT_EQ(rt::registry_get(kKey, "ServerName", v), 1);
  EXPECT_EQ(v, "");
  EXPECT_EQ(rt::registry_get(kList, "velmo41", v), 1);
  EXPECT_EQ(v, "Sybase SQL Anywhere 5.0");

  EXPECT_EQ(rt::registry_delete(kKey, "DatabaseName"), 1);
  EXPECT_EQ(rt::registry_get(kKey, "DatabaseName", v), -1);
  EXPECT_EQ(rt::registry_delete(kKey, "DatabaseName"), -1);

  const QByteArray profile = dir.read("../home/.odbc.ini");
  EXPECT_TRUE(profile.contains("[ODBC Data Sources]")) << profile.toStdString();
  EXPECT_TRUE(profile.contains("[velmo41]"));
}

TEST(Registry, OtherKeysFail) {
  test::TempProgramFolder dir;
  QString v;
  EXPECT_EQ(rt::registry_set("HKEY_LOCAL_MACHINE\\Software\\x", "a", "b"), -1);
  EXPECT_EQ(rt::registry_set("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\", "a", "b"), -1);
  EXPECT_EQ(rt::registry_get("HKEY_CURRENT_USER\\Software\\Other", "a", v), -1);
}

}  // namespace
