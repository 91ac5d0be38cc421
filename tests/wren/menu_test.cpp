// wren's menus as the program shows them, in the system font of the programs' start-up, with a
// picture of each menu opened over the form.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include "runtime/program_start.h"
#include "tests/wren/wren_fixture.h"
#include "wren/frm_main.h"

namespace wren {
namespace {

TEST(Menus, OpenReadablyInTheChineseSystemFont) {
  rt::use_chinese_ui();
  test::WrenFixture fx(test::no_camera());
  frmMain f;
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  const QFontInfo bar(f.menuBar()->font());
  EXPECT_EQ(bar.family(), "AR PL UMing CN");
  EXPECT_EQ(bar.pixelSize(), 12);

  const std::pair<QMenu*, const char*> menus[] = {
      {f.mnuFile, "wren_menu_file.png"},
      {f.mnuEdit, "wren_menu_edit.png"},
      {f.mnuControl, "wren_menu_control.png"},
  };
  for (const auto& [menu, picture] : menus) {
    SCOPED_TRACE(picture);
    f.menuBar()->setActiveAction(menu->menuAction());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const QFontInfo items(menu->font());
    EXPECT_EQ(items.family(), "AR PL UMing CN");
    EXPECT_EQ(items.pixelSize(), 12);
    // The open menu is a window of its own: draw it where it lies over the form.
    QImage shot = f.grab().toImage();
    QPainter(&shot).drawImage(menu->pos() - f.mapToGlobal(QPoint(0, 0)), menu->grab().toImage());
    EXPECT_TRUE(shot.save(::test::screenshot_folder() + QLatin1String(picture)));
    menu->close();
  }
}

}  // namespace
}  // namespace wren
