#include "kestrel/w_main.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>

#include "shared/globals.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace {

TEST(WMain, ControlsAsDefinedWithThePanelHidden) {
  test::TempProgramFolder tmp;
  kestrel::w_main w;
  EXPECT_EQ(w.windowTitle(), "数据库管理16.2");
  EXPECT_EQ(w.control.size(), 44u);
  const QWidget* hidden[] = {
      w.cbx_1,      w.st_10,    w.sle_server_name2, w.cb_save,         w.cb_create,    w.cb_create2,
      w.cb_cancel2, w.cb_test2, w.cb_save2,         w.sle_server_name, w.sle_user_two, w.st_1,
      w.gb_1,       w.gb_3};
  for (const QWidget* c : hidden) EXPECT_TRUE(c->isHidden()) << c->metaObject()->className();
  const QWidget* shown[] = {w.st_11, w.hpb_1, w.em_1,    w.em_2,      w.cbx_2, w.cbx_6,
                            w.rb_1,  w.rb_2,  w.cb_test, w.cb_cancel, w.gb_2,  w.gb_4};
  for (const QWidget* c : shown) EXPECT_FALSE(c->isHidden()) << c->metaObject()->className();
  EXPECT_EQ(w.cb_test->tag(), "开始(&S)");
  EXPECT_EQ(w.cb_cancel->tag(), "关闭(&C)");
  EXPECT_EQ(w.sle_user_password->echoMode(), QLineEdit::Password);
  EXPECT_EQ(w.sle_user_two2->echoMode(), QLineEdit::Password);
  EXPECT_EQ(w.sle_server_name->echoMode(), QLineEdit::Normal);
  EXPECT_FALSE(w.st_1->isEnabled());
  EXPECT_EQ(w.st_11->font().weight(), QFont::Bold);
  EXPECT_EQ(w.st_11->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(w.cb_test2->font().family(), "AR PL UKai CN");
  EXPECT_EQ(w.cbx_2->font().family(), "AR PL UMing CN");
  // Positions in pixels from the layout units.
  EXPECT_EQ(w.st_11->geometry(), QRect(198, 72, 131, 21));
  EXPECT_EQ(w.hpb_1->geometry(), QRect(46, 216, 278, 16));
}

// The window opened and shown as the program shows it, active so that keys reach it.
void open_active(kestrel::w_main& w) {
  w.open();
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

TEST(WMain, TabGoesThroughTheVisibleSequence) {
  test::TempProgramFolder tmp;
  kestrel::w_main w;
  ASSERT_NO_FATAL_FAILURE(open_active(w));
  EXPECT_TRUE(w.em_1->hasFocus());
  const QWidget* expected[] = {w.em_2, w.cb_test, w.cb_cancel, w.em_1};
  for (const QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
}

// em_1 is the mask "yyyy/mm/dd": the digits typed go into their places around the fixed
// separators, whatever else is typed is refused, and only a mask filled in is a date.
TEST(WMain, TheDateIsTypedIntoItsMask) {
  test::TempProgramFolder tmp;
  kestrel::w_main w;
  ASSERT_NO_FATAL_FAILURE(open_active(w));
  const struct Case {
    const char* typed;
    bool click_at_the_end;  // the field clicked into at its right end before the typing
    const char* shown;
    const char* date;  // what the Start action reads
  } cases[] = {
      {"20200101", false, "2020/01/01", "2020/01/01"},
      {"20200101", true, "2020/01/01", "2020/01/01"},
      {"2020/01/01", false, "2020/01/01", "2020/01/01"},
      {"2020010155", false, "2020/01/01", "2020/01/01"},
      {"20a20-0 1x0.101", false, "2020/01/01", "2020/01/01"},
      {"2020011", false, "2020/01/1 ", ""},
      {"2020", true, "2020/  /  ", ""},
      {"20201301", false, "2020/13/01", "2020/13/01"},  // a whole mask; Start judges the date
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    w.em_1->clear();
    w.em_2->setFocus();
    QTest::keyClick(w.em_2, Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_TRUE(w.em_1->hasFocus());
    if (c.click_at_the_end)
      QTest::mouseClick(w.em_1, Qt::LeftButton, {},
                        QPoint(w.em_1->width() - 3, w.em_1->height() / 2));
    QTest::keyClicks(w.em_1, QString::fromLatin1(c.typed));
    EXPECT_EQ(w.em_1->displayText(), c.shown);
    EXPECT_EQ(w.em_1_text(), c.date);
  }
}

// Start with the date option checked: a mask not filled in is refused before the run starts,
// a whole date lets the run begin (here the local kind, which finds no velmo40.db).
TEST(WMain, StartReadsTheDateTypedIntoTheMask) {
  test::TempProgramFolder tmp;
  const std::vector<QString> kBadDate{"错误提示|指定时间为空或无效,\r\n请输入正确的日期!"};
  const std::vector<QString> kNoSource{"创建数据库失败|生成数据库文件失败！"};
  const struct Case {
    const char* typed;
    std::vector<QString> boxes;
    const char* status;
  } cases[] = {
      {"", kBadDate, ""},
      {"2020011", kBadDate, ""},
      {"20200230", kBadDate, ""},
      {"20200101", kNoSource, "连接数据库1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    test::ScriptedDialogs dlg;
    kestrel::w_main w;
    w.open();
    w.show();
    w.cbx_5->setChecked(true);
    QTest::keyClicks(w.em_1, QString::fromLatin1(c.typed));
    w.cb_test->triggerevent_clicked();
    EXPECT_EQ(dlg.lines(), c.boxes);
    EXPECT_EQ(w.st_11->text(), c.status);
  }
}

TEST(WMain, PanelButtonsRunTheSharedHandlersOnTheWindowsFields) {
  test::TempProgramFolder tmp;
  test::ScriptedDialogs dlg;
  kestrel::w_main w;
  w.open();
  w.sle_server_name->setText(" (embedded) ");
  w.sle_database_name->setText("master");
  w.sle_user_name->setText("sa");
  w.rb_2->setChecked(true);
  dlg.answer(false);  // the save's question, raised through cb_save
  w.cb_test2->click();
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{"系统提示|数据库连接成功，设置正确！\r\n请保存设置!",
                                               "操作提示|真的要保存刚才的修改吗?"}));
  EXPECT_EQ(w.ii_database, 2);

  dlg.clear();
  w.sle_user_two->setText("other");
  w.cb_save2->click();
  EXPECT_EQ(dlg.lines(), std::vector<QString>{"错误提示|用户密码前后不一致!"});
  EXPECT_TRUE(QDir(tmp.path()).entryList({"user.ini"}).isEmpty());
}

TEST(WMain, CloseEndsWithoutWritingAnything) {
  test::TempProgramFolder tmp;
  test::ScriptedDialogs dlg;
  kestrel::w_main w;
  w.open();
  w.show();
  w.cb_cancel->triggerevent_clicked();
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(dlg.shown().empty());
  EXPECT_TRUE(QDir(tmp.path()).isEmpty());
}

// In an empty program folder the local kind has no velmo40.db to copy: the action's box says so
// and the window stays as it was, ready for the next Start.
TEST(WMain, StartButtonRunsTheStartAction) {
  test::TempProgramFolder tmp;
  test::ScriptedDialogs dlg;
  kestrel::w_main w;
  w.open();
  w.show();
  w.cb_test->triggerevent_clicked();
  EXPECT_EQ(
      dlg.shown(),
      (std::vector<test::Shown>{{test::Shown::Failure, "创建数据库失败", "生成数据库文件失败！"}}));
  EXPECT_EQ(w.st_11->text(), "连接数据库1");
  EXPECT_EQ(w.hpb_1->value(), 1);
  EXPECT_FALSE(w.running());
  EXPECT_TRUE(w.isVisible());
}

TEST(WMain, ProgressBarAndWaitWindowForTheStartAction) {
  test::TempProgramFolder tmp;
  kestrel::w_main w;
  w.open();
  w.show();
  rebuild::StartWindow& v = w;
  v.hpb_start(8);
  EXPECT_EQ(w.hpb_1->value(), 0);
  EXPECT_EQ(w.hpb_1->maximum(), 8);
  for (int i = 0; i < 9; ++i) v.hpb_stepit();
  EXPECT_EQ(w.hpb_1->value(), 8);

  v.set_st_11("复制完成!");
  EXPECT_EQ(w.st_11->text(), "复制完成!");
  EXPECT_FALSE(v.panel().rb_2_checked());
  w.rb_2->setChecked(true);
  EXPECT_TRUE(v.panel().rb_2_checked());
  w.sle_user_password->setText("pw");
  EXPECT_EQ(v.panel().text(shared::sle::user_password), "pw");
  EXPECT_TRUE(v.cbx_checked(2));
  EXPECT_FALSE(v.cbx_checked(5));

  v.open_w_wait("数据处理中");
  ASSERT_TRUE(w.w_wait_open());
  EXPECT_EQ(w.w_wait_text(), "数据处理中,请稍候……");
  v.set_w_wait_text("导入第:3号表");
  EXPECT_EQ(w.w_wait_text(), "导入第:3号表");
  v.close_w_wait();
  EXPECT_FALSE(w.w_wait_open());
  EXPECT_TRUE(w.isVisible());
}

}  // namespace
