#include "wren/frm_select.h"

#include <gtest/gtest.h>

#include <QTest>

#include "tests/wren/wren_fixture.h"
#include "wren/frm_main.h"
#include "wren/wren_core.h"

namespace wren {
namespace {

using test::camera;
using test::WrenFixture;

std::vector<capture::SyntheticConfig> three_cameras() {
  auto bare = camera(QStringLiteral("Bare Cam"), {false, false, false});
  bare.size = {320, 240};
  auto broken = camera(QStringLiteral("Broken Cam"));
  broken.connects = false;
  return {camera(QStringLiteral("Front Cam")), bare, broken};
}

QStringList items(const QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

TEST(FrmSelect, ListsTheDriversAndPreselectsTheConnectedOne) {
  WrenFixture fx(three_cameras());
  frmMain f;
  frmSelect s(&f);
  EXPECT_EQ(s.windowTitle(), QStringLiteral("Video Source"));
  EXPECT_EQ(s.size(), QSize(277, 72));
  EXPECT_EQ(s.lblDriver->text(), QStringLiteral("Installed Drivers:"));
  EXPECT_TRUE(s.cmdSelect->isDefault());
  EXPECT_EQ(items(s.cmboSource),
            (QStringList{QStringLiteral("Front Cam"), QStringLiteral("Bare Cam"),
                         QStringLiteral("Broken Cam")}));
  EXPECT_FALSE(s.cmboSource->isEditable());
  EXPECT_EQ(s.cmboSource->currentIndex(), 0);
}

TEST(FrmSelect, NothingSelectedWhenNoDriverIsConnected) {
  auto cams = three_cameras();
  std::swap(cams[0], cams[2]);  // driver 0 does not connect
  WrenFixture fx(cams);
  frmMain f;
  frmSelect s(&f);
  EXPECT_EQ(s.cmboSource->count(), 3);
  EXPECT_EQ(s.cmboSource->currentIndex(), -1);
  const int opened = fx.drivers().opened();
  s.cmdSelect_Click();  // with nothing chosen: no connect
  EXPECT_EQ(fx.drivers().opened(), opened);
}

TEST(FrmSelect, EmptyListWithoutDrivers) {
  WrenFixture fx(test::no_camera());
  frmMain f;
  frmSelect s(&f);
  EXPECT_EQ(s.cmboSource->count(), 0);
  s.cmdSelect_Click();
  EXPECT_EQ(s.result(), QDialog::Accepted);
  EXPECT_FALSE(hCapWnd->connected());
}

TEST(FrmSelect, SelectingSetsMenusTitleAndSizeBothWays) {
  WrenFixture fx(three_cameras());
  frmMain f;
  {
    frmSelect s(&f);
    s.cmboSource->setCurrentIndex(1);
    s.cmdSelect_Click();
  }
  EXPECT_EQ(hCapWnd->title(), QStringLiteral("Bare Cam"));
  EXPECT_EQ(hCapWnd->size(), QSize(328, 266));
  EXPECT_FALSE(f.mnuSource->isEnabled());
  EXPECT_FALSE(f.mnuFormat->isEnabled());
  EXPECT_FALSE(f.mnuDisplay->isEnabled());
  // The preview settings stay as they were; no new scale, rate or preview is sent.
  EXPECT_TRUE(hCapWnd->previewing());
  EXPECT_EQ(hCapWnd->preview_rate(), 66);
  {
    frmSelect s(&f);
    EXPECT_EQ(s.cmboSource->currentIndex(), 1);
    s.cmboSource->setCurrentIndex(0);
    s.cmdSelect_Click();
  }
  EXPECT_EQ(hCapWnd->title(), QStringLiteral("Front Cam"));
  EXPECT_EQ(hCapWnd->size(), QSize(648, 506));
  EXPECT_TRUE(f.mnuSource->isEnabled());
  EXPECT_TRUE(f.mnuFormat->isEnabled());
  EXPECT_TRUE(f.mnuDisplay->isEnabled());
}

// Started without a working camera, the program never set a preview rate: a camera chosen
// later previews at the program's rate all the same, not as fast as the loop can paint.
TEST(FrmSelect, CameraChosenAfterAFailedStartPreviewsAtTheProgramsRate) {
  auto cams = three_cameras();
  std::swap(cams[0], cams[2]);  // driver 0 does not connect
  cams[2].frame_interval_ms = 5;
  WrenFixture fx(cams);
  frmMain f;
  f.resize(700, 600);
  f.show();
  {
    frmSelect s(&f);
    s.cmboSource->setCurrentIndex(2);
    s.cmdSelect_Click();
  }
  f.mnuPreview->trigger();  // off
  f.mnuPreview->trigger();  // on
  EXPECT_EQ(hCapWnd->preview_rate(), 66);
  const int before = hCapWnd->frames_shown();
  QTest::qWait(500);
  EXPECT_LE(hCapWnd->frames_shown() - before, 12);  // at most 8 at 66 ms, not hundreds
}

TEST(FrmSelect, ChoosingTheConnectedDriverConnectsAgain) {
  WrenFixture fx(three_cameras());
  frmMain f;
  const int opened = fx.drivers().opened();
  frmSelect s(&f);
  s.cmdSelect_Click();
  EXPECT_EQ(fx.drivers().opened(), opened + 1);
  EXPECT_TRUE(hCapWnd->connected());
  EXPECT_EQ(hCapWnd->title(), QStringLiteral("Front Cam"));
}

TEST(FrmSelect, AFailingConnectChangesNeitherMenusNorTitleNorSize) {
  WrenFixture fx(three_cameras());
  frmMain f;
  f.mnuSource->setEnabled(false);
  frmSelect s(&f);
  s.cmboSource->setCurrentIndex(2);
  s.cmdSelect_Click();
  EXPECT_EQ(s.result(), QDialog::Accepted);
  EXPECT_EQ(hCapWnd->title(), QStringLiteral("Front Cam"));
  EXPECT_EQ(hCapWnd->size(), QSize(648, 506));
  EXPECT_FALSE(f.mnuSource->isEnabled());
  EXPECT_TRUE(f.mnuFormat->isEnabled());
  EXPECT_TRUE(fx.dialogs.shown().empty());
}

TEST(FrmSelect, CancelChangesNothing) {
  WrenFixture fx(three_cameras());
  frmMain f;
  const int opened = fx.drivers().opened();
  frmSelect s(&f);
  s.cmboSource->setCurrentIndex(1);
  s.cmdCancel_Click();
  EXPECT_EQ(s.result(), QDialog::Rejected);
  EXPECT_EQ(fx.drivers().opened(), opened);
  EXPECT_EQ(hCapWnd->title(), QStringLiteral("Front Cam"));
}

TEST(FrmSelect, MenuShowsItModallyAndReturnsWhenItCloses) {
  WrenFixture fx(three_cameras());
  frmMain f;
  f.show();
  QString seen;
  test::on_next_modal([&](QWidget* w) {
    auto* s = qobject_cast<frmSelect*>(w);
    ASSERT_TRUE(s);
    seen = s->cmboSource->currentText();
    s->cmboSource->setCurrentIndex(1);
    QTest::mouseClick(s->cmdSelect, Qt::LeftButton);
  });
  f.mnuSelect->trigger();
  EXPECT_EQ(seen, QStringLiteral("Front Cam"));
  EXPECT_EQ(hCapWnd->title(), QStringLiteral("Bare Cam"));
}

}  // namespace
}  // namespace wren
