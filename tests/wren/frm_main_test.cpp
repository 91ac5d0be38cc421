#include "wren/frm_main.h"

#include <gtest/gtest.h>
#include <linux/videodev2.h>

#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QSlider>
#include <QTest>

#include "runtime/codepage.h"
#include "tests/wren/wren_fixture.h"
#include "wren/capture/avicap.h"
#include "wren/wren_core.h"

namespace wren {
namespace {

using capture::CaptureWindow;
using test::camera;
using test::WrenFixture;

constexpr std::uint32_t kScaled = 0x50C40000, kUnscaled = 0x50C00000;

std::vector<QAction*> all_items(const frmMain& f) {
  return {f.mnuAllocate, f.mnuExit,   f.mnuCopy,    f.mnuStart,
          f.mnuDisplay,  f.mnuFormat, f.mnuSource,  f.mnuCompression,
          f.mnuSelect,   f.mnuScale,  f.mnuPreview, f.mnuAlwaysVisible};
}

TEST(FrmMain, MenuBarAsDesigned) {
  WrenFixture fx;
  frmMain f;
  EXPECT_EQ(f.windowTitle(), QStringLiteral("拍照"));
  QStringList tops;
  for (QAction* a : f.menuBar()->actions()) tops << a->text();
  EXPECT_EQ(tops, (QStringList{QStringLiteral("&F.文件"), QStringLiteral("&E.拍照F2"),
                               QStringLiteral("&C.控制")}));
  QStringList control;
  for (QAction* a : f.mnuControl->actions()) control << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(control, (QStringList{"&S.开始", "&D.显示", "&F.设置", "&O.来源", "&M.压缩", "-",
                                  "&Select", "Sc&ale", "&Preview", "-", "Al&ways Visible"}));
  EXPECT_EQ(f.mnuCopy->text(), QStringLiteral("&C.拍照"));
  EXPECT_EQ(f.mnuCopy->shortcut(), QKeySequence(Qt::Key_F2));
  EXPECT_EQ(f.mnuFormat->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
  EXPECT_EQ(f.mnuSelect->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
  EXPECT_EQ(f.mnuScale->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
  EXPECT_EQ(f.mnuPreview->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
  EXPECT_EQ(f.mnuAlwaysVisible->shortcut(), QKeySequence(QStringLiteral("Ctrl+W")));
  EXPECT_EQ(f.mnuFile->actions(), (QList<QAction*>{f.mnuAllocate, f.mnuExit}));
  EXPECT_TRUE(f.mnuScale->isChecked());
  EXPECT_TRUE(f.mnuPreview->isChecked());
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  EXPECT_EQ(f.client->height() + f.StatusBar->height(), 421);
  EXPECT_EQ(f.centralWidget()->height(), 421);
  EXPECT_EQ(f.width(), 522);
  EXPECT_EQ(f.StatusBar->height(), 17);
  EXPECT_EQ(f.StatusBar->width(), 522);
}

TEST(FrmMain, LoadWithACameraStartsAScaledPreview) {
  WrenFixture fx;
  frmMain f;
  ASSERT_TRUE(hCapWnd);
  EXPECT_EQ(hCapWnd->parentWidget(), f.client);
  EXPECT_TRUE(hCapWnd->connected());
  EXPECT_EQ(hCapWnd->title(), QStringLiteral("Synthetic Camera"));
  EXPECT_EQ(hCapWnd->style(), kScaled);
  EXPECT_TRUE(hCapWnd->previewing());
  EXPECT_TRUE(hCapWnd->scaling());
  EXPECT_EQ(hCapWnd->preview_rate(), 66);
  // Image 640 x 480 inside the frame (4) and caption (18); the form keeps its size.
  EXPECT_EQ(hCapWnd->geometry(), QRect(0, 0, 648, 506));
  EXPECT_EQ(hCapWnd->client_rect().size(), QSize(640, 480));
  EXPECT_EQ(f.width(), 522);
  for (QAction* a : all_items(f))
    EXPECT_EQ(a->isEnabled(), a != f.mnuStart) << a->text().toStdString();
  EXPECT_EQ(f.StatusBar->text(), QString());
}

TEST(FrmMain, LoadGreysTheDialogsTheDriverLacks) {
  struct Case {
    capture::DriverCaps caps;
    bool source, format, display;
  } cases[] = {{{false, true, true}, false, true, true},
               {{true, false, true}, true, false, true},
               {{true, true, false}, true, true, false},
               {{false, false, false}, false, false, false}};
  for (const Case& c : cases) {
    WrenFixture fx({camera(QStringLiteral("cam"), c.caps)});
    frmMain f;
    EXPECT_EQ(f.mnuSource->isEnabled(), c.source);
    EXPECT_EQ(f.mnuFormat->isEnabled(), c.format);
    EXPECT_EQ(f.mnuDisplay->isEnabled(), c.display);
    EXPECT_TRUE(f.mnuCompression->isEnabled());
    EXPECT_FALSE(f.mnuStart->isEnabled());
  }
}

TEST(FrmMain, LoadWithoutACameraLeavesABlankWindow) {
  WrenFixture fx(test::no_camera());
  frmMain f;
  ASSERT_TRUE(hCapWnd);
  EXPECT_FALSE(hCapWnd->connected());
  EXPECT_EQ(hCapWnd->title(), QString());
  EXPECT_EQ(hCapWnd->geometry(), QRect(0, 0, 160, 120));
  EXPECT_FALSE(hCapWnd->previewing());
  for (QAction* a : all_items(f))
    EXPECT_EQ(a->isEnabled(), a != f.mnuStart) << a->text().toStdString();
  EXPECT_EQ(f.StatusBar->text(), QString());
  // Commands on the unconnected window change nothing and report nothing.
  f.mnuFormat->trigger();
  f.mnuSource->trigger();
  f.mnuDisplay->trigger();
  f.mnuCompression->trigger();
  f.mnuAllocate->trigger();
  f.mnuScale->trigger();
  f.mnuPreview->trigger();
  EXPECT_TRUE(fx.dialogs.shown().empty());
  EXPECT_FALSE(QFileInfo::exists(fx.temp_folder() + QStringLiteral("/TEMP.AVI")));
}

TEST(FrmMain, ADriverThatDoesNotConnectIsLikeNoCamera) {
  auto cam = camera(QStringLiteral("Broken Cam"));
  cam.connects = false;
  WrenFixture fx({cam});
  frmMain f;
  EXPECT_FALSE(hCapWnd->connected());
  EXPECT_EQ(hCapWnd->title(), QStringLiteral("Broken Cam"));  // named before the connect
  EXPECT_EQ(hCapWnd->geometry(), QRect(0, 0, 160, 120));
  EXPECT_TRUE(f.mnuSource->isEnabled());
}

TEST(FrmMain, CallbacksWriteTheStatusBar) {
  WrenFixture fx;
  frmMain f;
  fx.device()->report_status(3, QStringLiteral("预览 640 x 480"));
  EXPECT_EQ(f.StatusBar->text(), QStringLiteral("预览 640 x 480"));
  fx.device()->report_status(0, QStringLiteral("cleared"));
  EXPECT_EQ(f.StatusBar->text(), QStringLiteral("预览 640 x 480"));
  fx.device()->report_error(1, QStringLiteral("device lost"));
  EXPECT_EQ(f.StatusBar->text(), QStringLiteral("device lost"));
  fx.device()->report_error(0, QStringLiteral("cleared"));
  EXPECT_EQ(f.StatusBar->text(), QStringLiteral("device lost"));
}

TEST(FrmMain, CallbackTextIsCutAtItsBuffer) {
  const QByteArray longer(600, 'a');
  EXPECT_EQ(callback_text(longer.constData()).size(), kCallbackTextBytes);
  EXPECT_EQ(callback_text(rt::to_cp936(QStringLiteral("错误")).constData()),
            QStringLiteral("错误"));
  EXPECT_EQ(callback_text(nullptr), QString());
}

TEST(FrmMain, CloseBoxUnloadsLikeExit) {
  for (bool by_menu : {false, true}) {
    WrenFixture fx;
    frmMain f;
    int ended = -1;
    QObject::connect(&f, &frmMain::ended, [&](int s) { ended = s; });
    f.show();
    fx.device()->report_status(5, QStringLiteral("before"));
    by_menu ? f.mnuExit->trigger() : void(f.close());
    EXPECT_TRUE(f.unloaded());
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(f.isVisible());
    // The callbacks are gone: the device's reports no longer reach the status bar.
    fx.device()->report_status(5, QStringLiteral("late"));
    EXPECT_EQ(f.StatusBar->text(), QStringLiteral("before"));
  }
}

TEST(FrmMain, PreviewSwitch) {
  WrenFixture fx;
  frmMain f;
  fx.device()->report_status(3, QStringLiteral("text"));
  f.mnuPreview->trigger();
  EXPECT_FALSE(f.mnuPreview->isChecked());
  EXPECT_FALSE(hCapWnd->previewing());
  EXPECT_EQ(f.StatusBar->text(), QString());
  fx.device()->report_status(3, QStringLiteral("text"));
  f.mnuPreview->trigger();
  EXPECT_TRUE(f.mnuPreview->isChecked());
  EXPECT_TRUE(hCapWnd->previewing());
  EXPECT_EQ(f.StatusBar->text(), QString());
}

TEST(FrmMain, ScaleSwitchDropsAndRestoresTheSizingFrame) {
  WrenFixture fx;
  frmMain f;
  f.mnuScale->trigger();
  EXPECT_FALSE(f.mnuScale->isChecked());
  EXPECT_FALSE(hCapWnd->scaling());
  EXPECT_EQ(hCapWnd->style(), kUnscaled);
  // Sized with the sizing frame's metrics although the window has only a thin border now.
  EXPECT_EQ(hCapWnd->size(), QSize(648, 506));
  EXPECT_EQ(hCapWnd->client_rect(), QRect(1, 19, 646, 486));
  f.mnuScale->trigger();
  EXPECT_TRUE(f.mnuScale->isChecked());
  EXPECT_TRUE(hCapWnd->scaling());
  EXPECT_EQ(hCapWnd->style(), kScaled);
  EXPECT_EQ(hCapWnd->client_rect(), QRect(4, 22, 640, 480));
}

TEST(FrmMain, AllocateMakesTheCaptureFileInTheTemporaryFolder) {
  WrenFixture fx;
  frmMain f;
  f.mnuAllocate->trigger();
  const QString avi = fx.temp_folder() + QStringLiteral("/TEMP.AVI");
  EXPECT_EQ(hCapWnd->capture_file(), avi);
  EXPECT_EQ(QFileInfo(avi).size(), 1000000);
}

// A link placed at TEMP.AVI does not make the allocation cut the file it leads to.
TEST(FrmMain, AllocateDoesNotFollowALinkAtTheCaptureFile) {
  WrenFixture fx;
  const QString avi = fx.temp_folder() + QStringLiteral("/TEMP.AVI");
  const QString member = fx.folder.file(QStringLiteral("velmo41.db"));
  fx.folder.write(QStringLiteral("velmo41.db"), "years of data");
  ASSERT_TRUE(QFile::link(member, avi));
  frmMain f;
  f.mnuAllocate->trigger();
  EXPECT_EQ(fx.folder.read(QStringLiteral("velmo41.db")), QByteArray("years of data"));
  EXPECT_EQ(QFileInfo(avi).symLinkTarget(), member);
  EXPECT_EQ(f.StatusBar->text(),
            QStringLiteral("Cannot allocate the capture file %1: it is a symbolic link").arg(avi));
  EXPECT_TRUE(fx.dialogs.shown().empty());
  EXPECT_FALSE(f.unloaded());
}

TEST(FrmMain, StartSendsItsSequenceSetupKeepingTheLastField) {
  WrenFixture fx;
  frmMain f;
  capture::CAPTUREPARMS before{};
  ASSERT_TRUE(capture::capCaptureGetSetup(hCapWnd, &before, sizeof before));
  f.mnuStart_Click();  // greyed in the menu; the handler itself still works as written
  capture::CAPTUREPARMS after{};
  capture::capCaptureGetSetup(hCapWnd, &after, sizeof after);
  EXPECT_EQ(after.dwRequestMicroSecPerFrame, 33333u);
  EXPECT_EQ(after.fMakeUserHitOKToCapture, -1);
  EXPECT_EQ(after.fCaptureAudio, 0);
  EXPECT_EQ(after.AVStreamMaster, before.AVStreamMaster);  // 92 bytes sent, not 96
  EXPECT_EQ(after.vKeyAbort, before.vKeyAbort);
  EXPECT_FALSE(QFileInfo::exists(fx.temp_folder() + QStringLiteral("/myvideo.avi")));
}

TEST(FrmMain, FormatDialogAppliesTheSizeAndTheWindowFollows) {
  WrenFixture fx;
  frmMain f;
  test::on_next_modal([](QWidget* w) {
    auto* size = w->findChild<QComboBox*>(QStringLiteral("cmboSize"));
    ASSERT_TRUE(size);
    size->setCurrentIndex(size->findText(QStringLiteral("320 x 240")));
    static_cast<QDialog*>(w)->accept();
  });
  f.mnuFormat->trigger();
  EXPECT_EQ(fx.device()->image_size(), (capture::FrameSize{320, 240}));
  EXPECT_EQ(hCapWnd->size(), QSize(328, 266));
}

TEST(FrmMain, FormatDialogCancelChangesNothing) {
  WrenFixture fx;
  frmMain f;
  test::on_next_modal([](QWidget* w) {
    w->findChild<QComboBox*>(QStringLiteral("cmboSize"))->setCurrentIndex(0);
    static_cast<QDialog*>(w)->reject();
  });
  f.mnuFormat->trigger();
  EXPECT_EQ(fx.device()->image_size(), (capture::FrameSize{640, 480}));
}

TEST(FrmMain, SourceDialogSetsInputAndControls) {
  WrenFixture fx;
  frmMain f;
  test::on_next_modal([](QWidget* w) {
    w->findChild<QComboBox*>(QStringLiteral("cmboInput"))->setCurrentIndex(1);
    w->findChild<QSlider*>(QStringLiteral("control_%1").arg(V4L2_CID_BRIGHTNESS))->setValue(20);
    static_cast<QDialog*>(w)->accept();
  });
  f.mnuSource->trigger();
  EXPECT_EQ(fx.device()->input(), 1);
  EXPECT_EQ(fx.device()->controls().front().value, 20);
}

TEST(FrmMain, CompressionOffersUncompressedOnly) {
  WrenFixture fx;
  frmMain f;
  QStringList items;
  test::on_next_modal([&](QWidget* w) {
    auto* box = w->findChild<QComboBox*>(QStringLiteral("cmboCompressor"));
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    static_cast<QDialog*>(w)->accept();
  });
  f.mnuCompression->trigger();
  EXPECT_EQ(items, QStringList{QStringLiteral("Full Frames (Uncompressed)")});
}

TEST(FrmMain, DisplayDialogShowsForADriverThatHasOne) {
  WrenFixture fx;
  frmMain f;
  QString title;
  test::on_next_modal([&](QWidget* w) {
    title = w->windowTitle();
    static_cast<QDialog*>(w)->accept();
  });
  f.mnuDisplay->trigger();
  EXPECT_EQ(title, QStringLiteral("Video Display"));
}

}  // namespace
}  // namespace wren
