#pragma once
// A shown, active window holding buttons, driven through the window's own event entry points.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "shared/button/uo_xpbutton.h"

namespace test {

inline const char* look_of(const uo_xpbutton* b) {
  using namespace xpb;
  const ButtonParts& p = b->state().parts();
  if (p.rr_backgnd.fillcolor == rgb(248, 244, 232)) return "disabled";
  if (p.rr_backgnd.fillcolor == rgb(224, 224, 216)) return "pressed";
  if (p.line(ln_top2).visible) return "hover";
  if (p.line(ln_top).linecolor == rgb(208, 232, 255)) return "focused";
  return "normal";
}

class ButtonWindow : public ::testing::Test {
 protected:
  QWidget* window = new QWidget;
  QLineEdit* edit = nullptr;
  uo_xpbutton* a = nullptr;
  uo_xpbutton* b = nullptr;
  int clicks_a = 0, clicks_b = 0;

  ButtonWindow() {
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor(236, 233, 216));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
    window->resize(240, 160);
    edit = new QLineEdit(window);
    edit->setGeometry(150, 10, 80, 20);
    a = add(QStringLiteral("开始(&S)"), 40, 40, &clicks_a);
    b = add(QStringLiteral("关闭(&C)"), 40, 240, &clicks_b);
  }
  ~ButtonWindow() override { delete window; }

  uo_xpbutton* add(const QString& tag, int x, int y, int* clicks) {
    auto* button = new uo_xpbutton(window);
    button->set_tag(tag);
    button->place(x, y, 361, 108);
    button->set_taborder(10);
    if (clicks) QObject::connect(button, &uo_xpbutton::clicked, [clicks] { ++*clicks; });
    return button;
  }

  void show() {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    edit->setFocus();
  }
  QWindow* handle() const { return window->windowHandle(); }
  static QPoint centre(const uo_xpbutton* w) { return w->geometry().center(); }
  QPoint away() const { return {200, 150}; }

  void move(QPoint p) { QTest::mouseMove(handle(), p); }
  void press(QPoint p) { QTest::mousePress(handle(), Qt::LeftButton, {}, p); }
  void release(QPoint p) { QTest::mouseRelease(handle(), Qt::LeftButton, {}, p); }
};

}  // namespace test
