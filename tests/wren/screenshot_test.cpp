#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "tests/wren/wren_fixture.h"
#include "wren/frm_main.h"
#include "wren/wren_core.h"

namespace wren {
namespace {

TEST(Screenshot, FrmMainWithTheTestPattern) {
  auto cam = test::camera();
  cam.size = {320, 240};  // fits the form, so the whole picture shows
  test::WrenFixture fx({cam});
  frmMain f;
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  fx.device()->report_status(3, QStringLiteral("预览：320 x 240"));
  QTest::qWait(200);
  ASSERT_GT(hCapWnd->frames_shown(), 0);
  const QString path = ::test::screenshot_folder() + QStringLiteral("wren_frmMain.png");
  ASSERT_TRUE(f.grab().save(path));
}

// The status bar's text is drawn whole inside its bar, a long retry notice and a Chinese
// text alike.
TEST(Screenshot, StatusTextFitsItsBar) {
  test::WrenFixture fx;
  frmMain f;
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  const QString texts[] = {
      QStringLiteral("/dev/video0: Input/output error; trying again (1 of 3)"),
      QStringLiteral("预览：320 x 240，帧率 15 gjpqy"),
  };
  int n = 0;
  for (const QString& text : texts) {
    SCOPED_TRACE(text.toStdString());
    f.StatusBar->setText(text);
    QTest::qWait(50);
    const QLabel* label = f.StatusBar->label();
    const QRect inside = label->contentsRect().translated(label->mapTo(&f, QPoint()));
    const QRect bar(f.StatusBar->mapTo(&f, QPoint()), f.StatusBar->size());
    EXPECT_TRUE(bar.contains(inside));
    EXPECT_GE(inside.height(), label->fontMetrics().height());
    EXPECT_GE(inside.height(), label->fontMetrics().boundingRect(text).height());
    EXPECT_GE(inside.width(), label->fontMetrics().horizontalAdvance(text));
    // The bottom of the form, four times as large, to look at.
    const QString path =
        ::test::screenshot_folder() + QStringLiteral("wren_status_bar_%1.png").arg(++n);
    const QRect bottom(0, bar.top() - 6, f.width(), bar.height() + 6);
    ASSERT_TRUE(f.grab(bottom).scaled(bottom.size() * 4).save(path));
  }
}

}  // namespace
}  // namespace wren
