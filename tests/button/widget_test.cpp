#include <QElapsedTimer>
#include <QPointer>

#include "button_window.h"

namespace {

using test::look_of;
using Button = test::ButtonWindow;

TEST_F(Button, DragOutAndBackClicksOnceAtTheRelease) {
  show();
  const QPoint in = centre(a), out = away();
  move(in);
  EXPECT_STREQ(look_of(a), "hover");
  press(in);
  EXPECT_STREQ(look_of(a), "pressed");
  EXPECT_TRUE(a->hasFocus());
  move(in + QPoint(1, 0));
  move(out);
  EXPECT_STREQ(look_of(a), "focused");
  move(in);
  EXPECT_STREQ(look_of(a), "pressed");
  release(in);
  EXPECT_STREQ(look_of(a), "hover");
  EXPECT_EQ(clicks_a, 1);
  // Leaving after the release gives up the hover look.
  move(out);
  EXPECT_STREQ(look_of(a), "focused");
  EXPECT_FALSE(a->state().capture_held());
}

TEST_F(Button, ReleaseOutsideDoesNotClickAndLeavesTheNormalLook) {
  show();
  const QPoint in = centre(a);
  move(in);
  press(in);
  move(in + QPoint(1, 1));
  move(away());
  release(away());
  EXPECT_EQ(clicks_a, 0);
  EXPECT_STREQ(look_of(a), "focused");
  EXPECT_FALSE(a->state().capture_held());
  move(away() + QPoint(3, 3));
  EXPECT_STREQ(look_of(a), "focused");
}

TEST_F(Button, ADoubleClickClicksOnce) {
  show();
  int double_clicks = 0;
  struct Counter : QObject {
    int* n;
    explicit Counter(int* n) : n(n) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::MouseButtonDblClick) ++*n;
      return false;
    }
  } counter(&double_clicks);
  a->installEventFilter(&counter);
  move(centre(a));
  QTest::mouseDClick(handle(), Qt::LeftButton, {}, centre(a));
  EXPECT_EQ(double_clicks, 1);  // the toolkit did report a double-click
  EXPECT_EQ(clicks_a, 1);
  EXPECT_STREQ(look_of(a), "hover");
}

TEST_F(Button, MnemonicFlashesAndClicksOnlyVisibleEnabledButtons) {
  uo_xpbutton* hidden = add(QStringLiteral("保存(&S)"), 600, 40, nullptr);
  int hidden_clicks = 0;
  QObject::connect(hidden, &uo_xpbutton::clicked, [&] { ++hidden_clicks; });
  hidden->setVisible(false);
  show();
  QElapsedTimer timer;
  timer.start();
  QTest::keyClick(handle(), Qt::Key_S, Qt::AltModifier);
  EXPECT_GE(timer.elapsed(), 50);
  EXPECT_EQ(clicks_a, 1);
  EXPECT_EQ(hidden_clicks, 0);
  EXPECT_STREQ(look_of(a), "normal");  // the focus stayed in the edit field
  EXPECT_TRUE(edit->hasFocus());

  a->setEnabled(false);
  QTest::keyClick(handle(), Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(clicks_a, 1);

  // A caption without "&" has no mnemonic.
  b->set_tag(QStringLiteral("附加"));
  QTest::keyClick(handle(), Qt::Key_C, Qt::AltModifier);
  EXPECT_EQ(clicks_b, 0);
  b->of_text(QStringLiteral("创建(&C)"));
  QTest::keyClick(handle(), Qt::Key_C, Qt::AltModifier);
  EXPECT_EQ(clicks_b, 1);
}

TEST_F(Button, ASharedMnemonicMovesTheFocusAmongItsButtonsWithoutClicking) {
  uo_xpbutton* create = add(QStringLiteral("创建(&C)"), 600, 40, nullptr);
  show();
  QTest::keyClick(handle(), Qt::Key_C, Qt::AltModifier);
  QWidget* first = QApplication::focusWidget();
  EXPECT_TRUE(first == b || first == create);
  QTest::keyClick(handle(), Qt::Key_C, Qt::AltModifier);
  QWidget* second = QApplication::focusWidget();
  EXPECT_TRUE((second == b || second == create) && second != first);
  EXPECT_EQ(clicks_b, 0);
}

TEST_F(Button, ArrowsMoveTheFocusWhateverModifierIsHeld) {
  show();
  a->setFocus();
  EXPECT_STREQ(look_of(a), "focused");
  struct Step {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    QWidget* expected;
  } steps[] = {
      {Qt::Key_Down, {}, b},
      {Qt::Key_Up, Qt::AltModifier, a},
      {Qt::Key_Right, Qt::ShiftModifier, b},
      {Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier, a},
      {Qt::Key_Up, {}, edit},  // the previous control need not be a button
  };
  for (const Step& s : steps) {
    QTest::keyClick(handle(), s.key, s.mods);
    EXPECT_EQ(QApplication::focusWidget(), s.expected) << s.key;
  }
  EXPECT_STREQ(look_of(a), "normal");
  EXPECT_EQ(clicks_a + clicks_b, 0);
}

TEST_F(Button, SpaceBarClicksOnReleaseAndIgnoresAutoRepeat) {
  show();
  a->setFocus();
  QTest::keyPress(handle(), Qt::Key_Space);
  EXPECT_STREQ(look_of(a), "pressed");
  QTest::simulateEvent(handle(), false, Qt::Key_Space, {}, QStringLiteral(" "), true);
  QTest::simulateEvent(handle(), true, Qt::Key_Space, {}, QStringLiteral(" "), true);
  EXPECT_EQ(clicks_a, 0);
  EXPECT_STREQ(look_of(a), "pressed");
  QTest::keyRelease(handle(), Qt::Key_Space);
  EXPECT_EQ(clicks_a, 1);
  EXPECT_STREQ(look_of(a), "focused");
}

TEST_F(Button, EnterAndEscActivateTheDefaultAndCancelButtons) {
  show();
  b->of_default(true);
  a->of_cancel(true);
  QTest::keyClick(handle(), Qt::Key_Return);
  QTest::keyClick(handle(), Qt::Key_Escape);
  EXPECT_EQ(clicks_b, 1);
  EXPECT_EQ(clicks_a, 1);
  b->of_default(false);
  QTest::keyClick(handle(), Qt::Key_Return);
  EXPECT_EQ(clicks_b, 1);
}

TEST_F(Button, AHandlerThatYieldsGetsNoSecondClicked) {
  show();
  QObject::connect(a, &uo_xpbutton::clicked, [&] {
    if (clicks_a > 1) return;
    QTest::mouseClick(handle(), Qt::LeftButton, {}, centre(a));
    QTest::keyClick(handle(), Qt::Key_S, Qt::AltModifier);
    QCoreApplication::processEvents();
  });
  QTest::mouseClick(handle(), Qt::LeftButton, {}, centre(a));
  EXPECT_EQ(clicks_a, 1);
  QTest::mouseClick(handle(), Qt::LeftButton, {}, centre(a));
  EXPECT_EQ(clicks_a, 2);
}

TEST_F(Button, AHandlerMayDestroyTheWindow) {
  show();
  QPointer<QWidget> alive(window);
  QObject::connect(a, &uo_xpbutton::clicked, [&] { delete window; });
  QTest::mouseClick(handle(), Qt::LeftButton, {}, centre(a));
  EXPECT_TRUE(alive.isNull());
  window = nullptr;
}

TEST_F(Button, AHandlerMayDestroyTheWindowFromTheKeyboard) {
  show();
  QWindow* w = handle();
  QObject::connect(a, &uo_xpbutton::clicked, [&] { delete window; });
  QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(clicks_a, 1);
  window = nullptr;
}

TEST_F(Button, TriggereventRunsTheHandlerAtOnce) {
  int inside = 0;
  QObject::connect(b, &uo_xpbutton::clicked, [&] { inside = clicks_b; });
  b->triggerevent_clicked();
  EXPECT_EQ(clicks_b, 1);
  EXPECT_EQ(inside, 1);
}

TEST_F(Button, DisablingDrawsTheDisabledLookAndStopsInput) {
  show();
  a->setFocus();
  a->setEnabled(false);
  EXPECT_STREQ(look_of(a), "disabled");
  EXPECT_FALSE(a->hasFocus());
  QTest::mouseClick(handle(), Qt::LeftButton, {}, centre(a));
  EXPECT_EQ(clicks_a, 0);
  a->of_enabled(true);
  EXPECT_STREQ(look_of(a), "normal");
  // A disabled parent disables the button's look too.
  window->setEnabled(false);
  EXPECT_STREQ(look_of(a), "disabled");
}

TEST_F(Button, OnlyTheLeftButtonPressesAndTakesTheFocus) {
  show();
  for (Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
    QTest::mousePress(handle(), other, {}, centre(a));
    EXPECT_FALSE(a->hasFocus()) << other;
    EXPECT_TRUE(edit->hasFocus()) << other;
    EXPECT_STRNE(look_of(a), "pressed") << other;
    EXPECT_STRNE(look_of(a), "focused") << other;
    QTest::mouseRelease(handle(), other, {}, centre(a));
    EXPECT_EQ(clicks_a, 0) << other;
  }
  press(centre(a));
  EXPECT_TRUE(a->hasFocus());
  EXPECT_STREQ(look_of(a), "pressed");
  release(centre(a));
}

TEST_F(Button, TakesItsParentsBackgroundAtConstruction) {
  EXPECT_EQ(a->state().backgndcolor, xpb::rgb(236, 233, 216));
  EXPECT_EQ(a->state().parts().backcolor, xpb::rgb(236, 233, 216));
  uo_xpbutton orphan(nullptr);
  EXPECT_EQ(orphan.state().backgndcolor, 0);
}

TEST_F(Button, PlaceConvertsLayoutUnitsAndRedoesTheLayout) {
  EXPECT_EQ(a->geometry(), QRect(9, 10, 79, 27));
  a->place(0, 0, 200, 60);
  EXPECT_EQ(a->geometry(), QRect(0, 0, 44, 15));
  EXPECT_EQ(a->state().parts().st_caption.width, 142);
  EXPECT_EQ(a->tag(), QStringLiteral("开始(&S)"));
  EXPECT_EQ(a->caption(), QStringLiteral("开始(&S)"));
}

}  // namespace
