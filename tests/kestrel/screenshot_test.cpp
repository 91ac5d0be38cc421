// Pictures of the windows for people to look at, and the layout check they make possible.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QTest>

#include "kestrel/w_main.h"
#include "shared/w_wait.h"
#include "tests/support/temp_program_folder.h"

namespace {

// Visible controls other than the group boxes that frame them must not overlap.
std::vector<QString> overlaps(const QWidget& window) {
  std::vector<QWidget*> shown;
  for (QObject* o : window.children()) {
    auto* c = qobject_cast<QWidget*>(o);
    if (c && !c->isHidden() && !c->isWindow() && !qobject_cast<QGroupBox*>(c)) shown.push_back(c);
  }
  std::vector<QString> out;
  for (size_t i = 0; i < shown.size(); ++i)
    for (size_t j = i + 1; j < shown.size(); ++j)
      if (shown[i]->geometry().intersects(shown[j]->geometry()))
        out.push_back(shown[i]->objectName() + QStringLiteral(" / ") + shown[j]->objectName());
  return out;
}

TEST(Screenshot, MainWindow) {
  test::TempProgramFolder tmp;
  kestrel::w_main w;
  w.open();
  w.st_11->setText("初始化...1/88");
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  for (QWidget* c : w.control) c->setObjectName(c->metaObject()->className());
  EXPECT_EQ(overlaps(w), std::vector<QString>{});
  // Every visible control lies inside the window.
  for (QWidget* c : w.control)
    if (!c->isHidden())
      EXPECT_TRUE(w.rect().contains(c->geometry())) << c->objectName().toStdString();
  EXPECT_TRUE(w.grab().save(test::screenshot_folder() + "kestrel_w_main.png"));
}

TEST(Screenshot, WaitWindow) {
  test::TempProgramFolder tmp;
  w_wait w;
  w.open("数据处理中");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_EQ(overlaps(w).size(), 1u);  // the text line lies over the picture, as designed
  EXPECT_TRUE(w.grab().save(test::screenshot_folder() + "w_wait.png"));
}

}  // namespace
