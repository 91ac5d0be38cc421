#include "shared/panel_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QTest>

#include "shared/button/uo_xpbutton.h"

namespace {

// A window of its own with the panel's controls, as plover's window supplies them.
struct PanelWindow {
  PanelWindow() {
    for (int i = 0; i < 10; ++i) {
      edits[i] = new singlelineedit(&window);
      edits[i]->setGeometry(0, 22 * i, 120, 20);
      c.field(static_cast<shared::sle>(i)) = edits[i];
    }
    c.rb_1 = new QRadioButton(&window);
    c.rb_2 = new QRadioButton(&window);
    c.cbx_1 = new QCheckBox(&window);
    c.cb_save = new uo_xpbutton(&window);
    shared::connect_edit_events(c);
    window.resize(200, 240);
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  QWidget window;
  singlelineedit* edits[10];
  shared::panel_controls c;
};

TEST(PanelView, GetfocusSelectsTheWholeText) {
  PanelWindow w;
  for (int i = 0; i < 10; ++i) {
    w.edits[i]->setText(QStringLiteral("text %1").arg(i));
    w.c.cbx_1->setFocus();
    w.edits[i]->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(w.edits[i]->selectedText(), QStringLiteral("text %1").arg(i)) << i;
  }
}

TEST(PanelView, AClickIntoAFieldSelectsItsTextSoThatAPasteReplacesIt) {
  PanelWindow w;
  const QPoint inside(30, 10);
  for (int i : {2, 3}) {  // a plain field and a password field
    w.edits[i]->setText("old text");
    w.edits[9]->setFocus();
    QTest::mouseClick(w.edits[i], Qt::LeftButton, {}, inside);
    ASSERT_TRUE(w.edits[i]->hasFocus()) << i;
    EXPECT_EQ(w.edits[i]->selectedText(), "old text") << i;
    QGuiApplication::clipboard()->setText("new");
    QTest::keyClick(w.edits[i], Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.edits[i]->text(), "new") << i;
  }
  // Once the field has the focus, a click places the cursor, and a drag selects what it covers.
  QTest::mouseClick(w.edits[2], Qt::LeftButton, {}, inside);
  QTest::mouseClick(w.edits[2], Qt::LeftButton, {}, inside);
  EXPECT_FALSE(w.edits[2]->hasSelectedText());
  w.edits[2]->setText("old text");
  w.edits[9]->setFocus();
  QTest::mousePress(w.edits[2], Qt::LeftButton, {}, QPoint(3, 10));
  QMouseEvent drag(QEvent::MouseMove, QPointF(25, 10), w.edits[2]->mapToGlobal(QPointF(25, 10)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w.edits[2], &drag);
  QTest::mouseRelease(w.edits[2], Qt::LeftButton, {}, QPoint(25, 10));
  EXPECT_TRUE(w.edits[2]->hasSelectedText());
  EXPECT_NE(w.edits[2]->selectedText(), "old text");
}

TEST(PanelView, ChangedServerFieldMovesTheFocusOnWhenLeft) {
  PanelWindow w;
  for (auto [server, database] : {std::pair{0, 1}, std::pair{5, 6}}) {
    w.edits[server]->setFocus();
    QTest::keyClicks(w.edits[server], "srv");
    w.edits[4]->setFocus();  // leave the field elsewhere
    QApplication::processEvents();
    EXPECT_TRUE(w.edits[database]->hasFocus()) << server;
  }
  // Left unchanged, or changed by the program, the field raises nothing.
  w.edits[0]->setFocus();
  w.edits[0]->setText("set by open");
  w.edits[4]->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(w.edits[4]->hasFocus());
}

TEST(PanelView, EnterInAChangedServerFieldMovesTheFocusOn) {
  PanelWindow w;
  w.edits[0]->setFocus();
  QTest::keyClicks(w.edits[0], "x");
  QTest::keyClick(w.edits[0], Qt::Key_Return);
  EXPECT_TRUE(w.edits[1]->hasFocus());
}

TEST(PanelView, HandlersSeeTheWindowsControls) {
  PanelWindow w;
  EXPECT_EQ(w.c.sle_server_name, w.edits[0]);
  EXPECT_EQ(w.c.sle_user_two, w.edits[4]);
  EXPECT_EQ(w.c.sle_server_name2, w.edits[5]);
  shared::panel_view v(w.c);
  v.set_text(shared::sle::user_two2, "x");
  EXPECT_EQ(w.edits[9]->text(), "x");
  v.check_kind(2);
  EXPECT_TRUE(v.rb_2_checked());
  v.set_ii_database(2);
  EXPECT_EQ(w.c.ii_database, 2);
  int clicks = 0;
  QObject::connect(w.c.cb_save, &uo_xpbutton::clicked, [&] { ++clicks; });
  v.cb_save_triggerevent_clicked();
  EXPECT_EQ(clicks, 1);
}

TEST(SingleLineEdit, InputStopsAtTheVisibleWidthWithoutAutoScroll) {
  QWidget window;
  singlelineedit e(&window);
  e.setGeometry(0, 0, 60, 22);
  e.set_auto_hscroll(false);
  window.show();
  e.setFocus();
  QTest::keyClicks(&e, QString(40, QLatin1Char('W')));
  EXPECT_GT(e.text().size(), 0);
  EXPECT_LT(e.text().size(), 40);
  EXPECT_TRUE(e.fits(e.text()));
  EXPECT_FALSE(e.fits(e.text() + "W"));

  // A longer text the program put in can be shortened, not lengthened.
  e.setText(QString(40, QLatin1Char('W')));
  e.end(false);
  QTest::keyClick(&e, Qt::Key_X);
  EXPECT_EQ(e.text().size(), 40);
  QTest::keyClick(&e, Qt::Key_Backspace);
  EXPECT_EQ(e.text().size(), 39);
}

TEST(SingleLineEdit, KeepsItsSelectionWhenLeftIfAsked) {
  QWidget window;
  singlelineedit keep(&window), other(&window);
  keep.setGeometry(0, 0, 100, 22);
  other.setGeometry(0, 30, 100, 22);
  keep.set_hide_selection(false);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  keep.setText("server");
  keep.setFocus();
  keep.selectAll();
  other.setFocus();
  EXPECT_EQ(keep.selectedText(), "server");
}

}  // namespace
