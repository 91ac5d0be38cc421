// The demo folder as scripts/demo makes it: plover started there with the demo's own ODBC
// profile passes its local test, and the user's own profile is never touched.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "db/transaction.h"
#include "plover/w_main.h"
#include "shared/globals.h"
#include "tests/support/scripted_dialogs.h"

namespace {

TEST(Demo, PloversLocalTestSucceedsInTheDemoFolder) {
  QTemporaryDir dir;
  const QString home = dir.filePath("home"), demo = dir.filePath("demo") + "/";
  ASSERT_TRUE(QDir().mkpath(home + "/.config"));

  QProcess tool;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", home);
  env.remove("ODBCINI");
  env.remove("XDG_CONFIG_HOME");
  tool.setProcessEnvironment(env);
  tool.start(QStringLiteral(MAKE_DEMO_FOLDER), {demo});
  ASSERT_TRUE(tool.waitForFinished(240000));
  ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();

  // plover as scripts/demo starts it (the program folder is the demo folder).
  qputenv("HOME", home.toUtf8());
  qputenv("ODBCINI", (demo + "odbc.ini").toUtf8());
  qputenv("XDG_CONFIG_HOME", (demo + "config").toUtf8());
  set_program_folder(demo);
  test::ScriptedDialogs dialogs;
  dialogs.answer(false);  // the save's question
  plover::w_main w;
  w.open();
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.rb_1->setChecked(true);  // "ACCESS": the local test
  QTest::mouseClick(w.cb_test, Qt::LeftButton, {}, w.cb_test->rect().center());
  EXPECT_EQ(dialogs.lines(),
            (std::vector<QString>{"系统提示|数据库连接成功，设置正确！\r\n请保存设置!",
                                  "操作提示|真的要保存刚才的修改吗?"}));
  EXPECT_EQ(sqlca.connect_params, "Connectstring='DSN=velmo40;UID=dba;PWD=kpz531274'");

  EXPECT_EQ(QDir(home).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{".config"});
  EXPECT_TRUE(QDir(home + "/.config").isEmpty());
}

}  // namespace
