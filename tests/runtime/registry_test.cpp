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

// The profile is a file of lines: a control character anywhere in a section, name or value
// would write lines of its own or read back cut short. Refused, the file byte-identical.
TEST(Registry, ControlCharactersAreRefusedAndTheProfileStaysAsItWas) {
  test::TempProgramFolder dir;
  ASSERT_EQ(rt::registry_set(kKey, "DatabaseName", "velmo41"), 1);
  const QByteArray before = dir.read("../home/.odbc.ini");
  for (const QString bad :
       {QStringLiteral("a\nDriver=evil.so"), QStringLiteral("\n[ODBC Data Sources]\nevil=x\n"),
        QStringLiteral("a\rb"), QStringLiteral("a\tb"), QStringLiteral("a\x01-b"),
        QStringLiteral("a\x7f-b"), QStringLiteral("a\u0085b"), QString(QChar(0)) + "b"}) {
    EXPECT_FALSE(rt::registry_text_allowed(bad)) << bad.toStdString();
    EXPECT_EQ(rt::registry_set(kKey, "Driver", bad), -1) << bad.toStdString();
    EXPECT_EQ(rt::registry_set(kKey, bad, "x"), -1) << bad.toStdString();
    EXPECT_EQ(rt::registry_set(kKey + bad, "Driver", "x"), -1) << bad.toStdString();
    EXPECT_EQ(rt::registry_delete(kKey, bad), -1) << bad.toStdString();
    EXPECT_EQ(dir.read("../home/.odbc.ini"), before) << bad.toStdString();
  }
  // Every other character is a value like any other.
  const QString good = QStringLiteral("/美发店/a;b=c {x} é\u3000/wod50t.dll");
  EXPECT_TRUE(rt::registry_text_allowed(good));
  EXPECT_EQ(rt::registry_set(kKey, "Driver", good), 1);
  QString v;
  EXPECT_EQ(rt::registry_get(kKey, "Driver", v), 1);
  EXPECT_EQ(v, good);
}

}  // namespace
