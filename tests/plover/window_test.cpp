// The window itself: layout, stacking, keyboard, pictures, closing, the screenshot.
#include <QApplication>
#include <QImage>
#include <QTest>

#include "plover/database_reg.h"
#include "runtime/files.h"
#include "runtime/units.h"
#include "tests/plover/plover_fixture.h"
#include "tests/support/temp_program_folder.h"

namespace {

using test::PloverWindow;

QRect px(int x, int y, int w, int h) {
  const rt::PxRect r = rt::px_rect(x, y, w, h);
  return {r.x, r.y, r.w, r.h};
}

class Window : public PloverWindow {
 protected:
  void SetUp() override {
    PloverWindow::SetUp();
    open_window();
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  }
  // The window's control that holds `child` (a drawn button answers through its parts).
  QWidget* control_of(QWidget* child) const {
    for (QWidget* c = child; c; c = c->parentWidget())
      if (std::find(w->control.begin(), w->control.end(), c) != w->control.end()) return c;
    return nullptr;
  }
  QWidget* control_at(QPoint p) const { return control_of(w->childAt(p)); }
  void click_at(QPoint p) const {
    QWidget* hit = w->childAt(p);
    ASSERT_NE(hit, nullptr);
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(w.get(), p));
  }
  void alt(char key) const {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w.get(), key,
                    Qt::AltModifier);
    QTest::qWait(300);  // a click by mnemonic shows its pressed look first
  }
};

TEST_F(Window, LaidOutAsDefined) {
  EXPECT_EQ(w->windowTitle(), "数据库连接设置 V16.2");
  EXPECT_FALSE(w->windowIcon().isNull());
  EXPECT_EQ(w->size(), w->minimumSize());
  EXPECT_EQ(w->size(), w->maximumSize()) << "a fixed size";
  EXPECT_EQ(w->control.size(), 36u);
  EXPECT_EQ(w->control.front(), w->uo_1);
  EXPECT_EQ(w->control.back(), w->gb_3);

  struct Placed {
    QWidget* c;
    QRect r;
  };
  const Placed placed[] = {
      {w->uo_1, px(32, 1248, 361, 108)},
      {w->rb_2, px(1175, 440, 713, 60)},
      {w->rb_1, px(210, 440, 549, 60)},
      {w->sle_server_name2, px(1458, 672, 704, 92)},
      {w->st_6, px(1134, 1104, 325, 76)},
      {w->cb_cancel, px(1847, 1248, 361, 108)},
      {w->cb_save, px(1070, 1248, 361, 108)},
      {w->cb_save2, px(1070, 1248, 361, 108)},
      {w->sle_server_name, px(352, 672, 704, 92)},
      {w->st_1, px(27, 676, 325, 76)},
      {w->gb_2, px(14, 356, 2190, 208)},
      {w->gb_3, px(1120, 572, 1088, 660)},
  };
  for (const Placed& p : placed) EXPECT_EQ(p.c->geometry(), p.r) << p.c->metaObject()->className();
  EXPECT_EQ(w->p_1->pos(), px(0, 4, 0, 0).topLeft());
  EXPECT_EQ(w->p_1->size(), QSize(512, 80)) << "the bitmap's own size";

  for (QWidget* hidden : {static_cast<QWidget*>(w->cbx_1), static_cast<QWidget*>(w->cb_create2),
                          static_cast<QWidget*>(w->cb_cancel2), static_cast<QWidget*>(w->cb_test2)})
    EXPECT_FALSE(hidden->isVisible());
  EXPECT_TRUE(w->cb_save2->isVisible());
  EXPECT_TRUE(w->rb_1->isChecked());
  EXPECT_EQ(w->sle_user_password->echoMode(), QLineEdit::Password);
  EXPECT_EQ(w->sle_user_two2->echoMode(), QLineEdit::Password);
  EXPECT_EQ(w->sle_user_name->echoMode(), QLineEdit::Normal);
  EXPECT_EQ(w->sle_user_name->font().family(), "AR PL UMing CN");
  EXPECT_EQ(w->cb_save2->font().family(), "AR PL UKai CN");
  EXPECT_TRUE(w->cb_save2->font().bold());
  EXPECT_EQ(w->gb_1->title(), "实时联网-网络数据库连接信息");
  EXPECT_EQ(w->gb_3->title(), "分店断点联网-网络数据库连接信息");
  EXPECT_EQ(w->uo_1->tag(), "附加");
}

// Apart from cb_save and cb_save2, which share their rectangle, no two visible controls
// overlap, and each group box holds whole controls or none of a control.
TEST_F(Window, NoVisibleControlsOverlap) {
  std::vector<QWidget*> shown;
  for (QWidget* c : w->control)
    if (c->isVisible()) shown.push_back(c);
  for (size_t i = 0; i < shown.size(); ++i)
    for (size_t j = i + 1; j < shown.size(); ++j) {
      QWidget *a = shown[i], *b = shown[j];
      const QRect ra = a->geometry(), rb = b->geometry();
      if (!ra.intersects(rb)) continue;
      if ((a == w->cb_save && b == w->cb_save2) || (a == w->cb_save2 && b == w->cb_save)) continue;
      const bool framed = (qobject_cast<QGroupBox*>(a) && ra.contains(rb)) ||
                          (qobject_cast<QGroupBox*>(b) && rb.contains(ra));
      EXPECT_TRUE(framed) << a->metaObject()->className() << " " << a->x() << "," << a->y()
                          << " overlaps " << b->metaObject()->className() << " " << b->x() << ","
                          << b->y();
    }
  EXPECT_TRUE(w->rect().contains(w->cb_cancel->geometry()));
  EXPECT_TRUE(w->rect().contains(w->gb_3->geometry()));
}

// cb_save, created first, lies in front of cb_save2: a click there is the full save.
TEST_F(Window, TheSharedRectangleAnswersAsCbSave) {
  const QPoint centre = w->cb_save->geometry().center();
  EXPECT_EQ(control_at(centre), w->cb_save);
  local("srv", "salon", "sa", "a", "b");
  click_at(centre);
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{"错误提示|本地数据库用户密码前后不一致!"});
}

// The group boxes lie behind the fields they frame.
TEST_F(Window, GroupBoxesLeaveClicksToTheFields) {
  for (QWidget* c : w->control) {
    auto* e = qobject_cast<singlelineedit*>(c);
    if (!e) continue;
    const QPoint centre = e->geometry().center();
    EXPECT_EQ(control_at(centre), e);
    click_at(centre);
    EXPECT_TRUE(e->hasFocus());
  }
  click_at(w->rb_2->geometry().center());
  EXPECT_TRUE(w->rb_2->isChecked());
}

// Alt+S is the save the user sees; Alt+C, carried by create and close, only moves the focus
// between the two, so a single keystroke neither creates a database nor closes the window.
TEST_F(Window, SharedMnemonicsMoveTheFocusAndClickNothing) {
  local("srv", "salon", "sa", "a", "b");
  w->sle_user_name->setFocus();
  alt('s');
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{"错误提示|本地数据库用户密码前后不一致!"});

  dialogs.clear();
  w->sle_user_name->setFocus();
  alt('c');
  QWidget* first = control_of(QApplication::focusWidget());
  alt('c');
  QWidget* second = control_of(QApplication::focusWidget());
  EXPECT_TRUE((first == w->cb_create && second == w->cb_cancel) ||
              (first == w->cb_cancel && second == w->cb_create))
      << (first ? first->metaObject()->className() : "none");
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_TRUE(w->isVisible());

  alt('t');  // one button carries T: the test runs
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{"错误提示|用户密码前后不一致!"});
}

TEST_F(Window, TabVisitsTheFieldsThenTheButtons) {
  EXPECT_TRUE(w->sle_server_name->hasFocus()) << "the focus starts on the first field";
  std::vector<QWidget*> visited{control_of(QApplication::focusWidget())};
  for (int i = 0; i < 15; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(control_of(QApplication::focusWidget()));
  }
  const std::vector<QWidget*> expected{w->sle_server_name,
                                       w->sle_database_name,
                                       w->sle_user_name,
                                       w->sle_user_password,
                                       w->sle_user_two,
                                       w->sle_server_name2,
                                       w->sle_database_name2,
                                       w->sle_user_name2,
                                       w->sle_user_password2,
                                       w->sle_user_two2,
                                       w->cb_create,
                                       w->cb_save,
                                       w->cb_test,
                                       w->cb_cancel,
                                       w->uo_1,
                                       w->sle_server_name};
  EXPECT_EQ(visited, expected);
}

TEST_F(Window, EditFieldsSelectOnFocusAndTheServerLeadsToTheDatabase) {
  w->sle_user_name->setText("sa");
  w->sle_user_name->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(w->sle_user_name->selectedText(), "sa");

  w->sle_server_name->setFocus();
  QTest::keyClicks(w->sle_server_name, "srv");
  QTest::keyClick(w->sle_server_name, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_TRUE(w->sle_database_name->hasFocus());
}

TEST_F(Window, TypingStopsAtTheFieldsWidth) {
  w->sle_user_name->setFocus();
  QTest::keyClicks(w->sle_user_name, QString(200, 'W'));
  const QString kept = w->sle_user_name->text();
  EXPECT_GT(kept.size(), 5);
  EXPECT_LT(kept.size(), 200);
}

TEST_F(Window, CloseEndsTheWindow) {
  w->cb_cancel->triggerevent_clicked();
  EXPECT_FALSE(w->isVisible());
}

TEST_F(Window, Screenshot) {
  ini("[database]\nserver_name=(local)\ndatabase_name=velmo41\nuser_name=sa\n"
      "user_password=pw\ndatabase_type=2\n");
  w->open();
  QApplication::processEvents();
  const QString path = test::screenshot_folder() + "plover_w_main.png";
  ASSERT_TRUE(w->grab().save(path));
  EXPECT_EQ(QImage(path).size(), w->size());

  // The greyed labels are drawn in the system's grey for greyed text, readable on the face.
  for (QLabel* l : {w->st_1, w->st_5, w->st_10}) {
    const QImage label = w->grab(l->geometry()).toImage();
    QColor darkest = Qt::white;
    for (int y = 0; y < label.height(); ++y)
      for (int x = 0; x < label.width(); ++x)
        if (label.pixelColor(x, y).lightness() < darkest.lightness())
          darkest = label.pixelColor(x, y);
    EXPECT_FALSE(l->isEnabled());
    EXPECT_EQ(l->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(109, 109, 109));
    // The strokes are one antialiased pixel wide: their darkest pixels come near that grey
    // (the toolkit's own disabled grey, #BEBEBE, gave #C4C4C4 on #EFEFEF).
    EXPECT_LT(darkest.lightness(), 140) << l->text().toStdString();
  }
}

// A picture of that name in the program folder comes before the one the program carries; a
// file there that is no picture does not.
TEST_F(PloverWindow, PicturesBesideTheProgramComeFirst) {
  QImage small(40, 10, QImage::Format_RGB32);
  small.fill(Qt::red);
  ASSERT_TRUE(small.save(server.folder.file("database.bmp"), "BMP"));
  open_window();
  EXPECT_EQ(w->p_1->size(), QSize(40, 10));

  server.folder.write("database.bmp", "not a picture");
  open_window();
  EXPECT_EQ(w->p_1->size(), QSize(512, 80));
}

TEST(DatabaseReg, StartsInTheProgramFolderAndOpensTheWindow) {
  test::ScriptedDialogs dialogs;
  plover::database_reg app;
  app.open();
  EXPECT_EQ(QCoreApplication::applicationName(), "database_reg");
  EXPECT_EQ(gs_apppath, rt::program_folder());
  EXPECT_EQ(gs_inifile, gs_apppath + "user.ini");
  ASSERT_NE(app.window(), nullptr);
  EXPECT_TRUE(app.window()->isVisible());
  EXPECT_TRUE(dialogs.shown().empty());
}

}  // namespace
