#include "shared/panel_save.h"

#include <gtest/gtest.h>

#include <QDir>

#include "runtime/settings_file.h"
#include "shared/globals.h"
#include "tests/shared/fake_panel.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace {

using shared::sle;

const QString kAsk = QStringLiteral("操作提示|真的要保存刚才的修改吗?");

class PanelSave : public ::testing::Test {
 protected:
  QString key(const QString& k) {
    return rt::profile_string(gs_inifile, "database", k, "<missing>");
  }
  test::TempProgramFolder tmp;
  test::ScriptedDialogs dlg;
  test::fake_panel p;
};

TEST_F(PanelSave, WritesBothSetsTrimmedWithKindAndConnect) {
  p.local(" srv ", " salon", "sa ", " pw", "pw ");
  p.network("net", "res2", "u2", "p2", "p2");
  p.rb_2 = true;
  p.cbx_1 = true;
  dlg.answer(true);
  shared::cb_save_clicked(p);

  EXPECT_EQ(dlg.lines(), std::vector<QString>{kAsk});
  EXPECT_TRUE(dlg.shown()[0].default_yes);
  const std::pair<const char*, const char*> expected[] = {
      {"server_name", "srv"},   {"database_name", "salon"}, {"user_name", "sa"},
      {"user_password", "pw"},  {"database_type", "2"},     {"connect", "2"},
      {"server_name2", "net"},  {"database_name2", "res2"}, {"user_name2", "u2"},
      {"user_password2", "p2"},
  };
  for (const auto& [k, v] : expected) EXPECT_EQ(key(k), v) << k;
  EXPECT_EQ(p.kind, 2);
}

TEST_F(PanelSave, PasswordsCompareExactlyAfterTrimming) {
  struct Case {
    const char* password;
    const char* confirmation;
    bool passes;
  };
  const Case cases[] = {{"", "", true}, {" Ab", "Ab ", true}, {"Ab", "ab", false}};
  for (const Case& c : cases) {
    test::TempProgramFolder folder;
    test::ScriptedDialogs d;
    test::fake_panel q;
    q.local("s", "d", "u", c.password, c.confirmation);
    if (c.passes) d.answer(true);
    shared::cb_save_clicked(q);
    const bool written = QFile::exists(gs_inifile);
    EXPECT_EQ(written, c.passes) << c.password << "/" << c.confirmation;
    if (!c.passes) {
      EXPECT_EQ(d.lines(), std::vector<QString>{"错误提示|本地数据库用户密码前后不一致!"});
      EXPECT_EQ(q.focused, sle::user_password);
    }
  }
}

TEST_F(PanelSave, AnswerNoWritesNothingButTakesTheKind) {
  p.local("s", "d", "u", "", "");
  p.rb_2 = true;
  dlg.answer(false);
  shared::cb_save_clicked(p);
  EXPECT_FALSE(QFile::exists(gs_inifile));
  EXPECT_EQ(p.kind, 2);
}

TEST_F(PanelSave, NetworkMismatchLeavesTheLocalKeysWritten) {
  rt::set_profile_string(gs_inifile, "database", "server_name2", "old");
  rt::set_profile_string(gs_inifile, "database", "user_password2", "oldpw");
  p.local("s", "d", "u", "pw", "pw");
  p.network("n", "d2", "u2", "a", "b");
  dlg.answer(true);
  shared::cb_save_clicked(p);

  EXPECT_EQ(dlg.lines(), (std::vector<QString>{kAsk, "错误提示|网络数据库用户密码前后不一致!"}));
  EXPECT_EQ(p.focused, sle::user_password2);
  EXPECT_EQ(key("server_name"), "s");
  EXPECT_EQ(key("database_type"), "1");
  EXPECT_EQ(key("connect"), "1");
  EXPECT_EQ(key("server_name2"), "old");
  EXPECT_EQ(key("user_password2"), "oldpw");
  EXPECT_EQ(key("database_name2"), "<missing>");
}

TEST_F(PanelSave, UnwritableFileIsReportedOnceAndNothingMoreIsWritten) {
  QDir().mkpath(gs_inifile);  // a folder where the file should be
  p.local("s", "d", "u", "pw", "pw");
  p.network("n", "d2", "u2", "a", "b");  // would be a mismatch, but the save stops before
  dlg.answer(true);
  shared::cb_save_clicked(p);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{kAsk, "错误信息|保存设置失败!"}));
  EXPECT_EQ(dlg.shown()[1].kind, test::Shown::Failure);
}

// One value the file cannot hold as typed, at the first, a middle or the last key of the
// save: the save is refused whole and the file stays byte for byte as it was.
TEST_F(PanelSave, OneUnwritableValueAnywhereRefusesTheWholeSave) {
  const QString unwritable[] = {QStringLiteral("用户😀"), QStringLiteral("김민준"),
                                QStringLiteral("a\u00A0b"), QStringLiteral("\tsa")};
  enum Place { first, middle, last };
  for (const QString& bad : unwritable) {
    for (const Place at : {first, middle, last}) {
      test::TempProgramFolder folder;
      test::ScriptedDialogs d;
      test::fake_panel q;
      folder.write("user.ini",
                   "[database]\r\nserver_name=s0\r\nuser_name=u0\r\nserver_name2=n0\r\n"
                   "user_password2=p0\r\n");
      const QByteArray before = folder.read("user.ini");
      q.local(at == first ? bad : "s", "d", "u", "pw", "pw");
      q.network(at == middle ? bad : "n", "d2", "u2", at == last ? bad : "p2",
                at == last ? bad : "p2");
      d.answer(true);
      shared::cb_save_clicked(q);
      EXPECT_EQ(d.lines(), (std::vector<QString>{kAsk, "错误信息|保存设置失败!"})) << at;
      EXPECT_EQ(folder.read("user.ini"), before) << at;
    }
    test::TempProgramFolder folder;
    test::ScriptedDialogs d;
    test::fake_panel q;
    folder.write("user.ini", "[database]\r\nserver_name=s0\r\n");
    q.local("s", "d", bad, "pw", "pw");
    d.answer(true);
    shared::cb_save2_clicked(q);
    EXPECT_EQ(d.lines(), (std::vector<QString>{kAsk, "错误信息|保存设置失败!"}));
    EXPECT_EQ(folder.read("user.ini"), "[database]\r\nserver_name=s0\r\n");
  }
}

TEST_F(PanelSave, Save2WritesTheLocalSetAndKindOnly) {
  rt::set_profile_string(gs_inifile, "database", "connect", "2");
  rt::set_profile_string(gs_inifile, "database", "server_name2", "keep");
  p.local(" s ", "d", "u", " Pw", "Pw");
  p.cbx_1 = false;
  p.rb_2 = true;
  dlg.answer(true);
  shared::cb_save2_clicked(p);
  EXPECT_EQ(dlg.lines(), std::vector<QString>{kAsk});
  EXPECT_EQ(key("server_name"), "s");
  EXPECT_EQ(key("user_password"), "Pw");
  EXPECT_EQ(key("database_type"), "2");
  EXPECT_EQ(key("connect"), "2");
  EXPECT_EQ(key("server_name2"), "keep");
}

TEST_F(PanelSave, Save2MismatchAndUnwritableFile) {
  p.local("s", "d", "u", "a", "b");
  shared::cb_save2_clicked(p);
  EXPECT_EQ(dlg.lines(), std::vector<QString>{"错误提示|用户密码前后不一致!"});
  EXPECT_EQ(p.focused, sle::user_password);

  dlg.clear();
  QDir().mkpath(gs_inifile);
  p.local("s", "d", "u", "a", "a");
  dlg.answer(true);
  shared::cb_save2_clicked(p);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{kAsk, "错误信息|保存设置失败!"}));
}

}  // namespace
