#include <gtest/gtest.h>

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

}  // namespace
}  // namespace wren
