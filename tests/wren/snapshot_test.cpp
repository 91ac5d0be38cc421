#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTest>

#include "runtime/codepage.h"
#include "runtime/files.h"
#include "tests/wren/wren_fixture.h"
#include "wren/frm_main.h"
#include "wren/wren_core.h"

namespace wren {
namespace {

using test::WrenFixture;

// The picture the synthetic camera shows, as the program would save it.
QImage camera_picture() { return capture::CaptureWindow::image_of(*hCapWnd->current_frame()); }

void expect_picture(const QString& path, const QImage& expected) {
  const QImage saved(path, "BMP");
  ASSERT_FALSE(saved.isNull()) << path.toStdString();
  EXPECT_EQ(saved.size(), QSize(640, 480));
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB888), expected);
}

struct Ended {
  int status = -1;
  explicit Ended(frmMain& f) {
    QObject::connect(&f, &frmMain::ended, [this](int s) { status = s; });
  }
};

TEST(Snapshot, WithoutSettingsGoesTo000BmpAndEnds) {
  WrenFixture fx;
  frmMain f;
  Ended ended(f);
  const QImage expected = camera_picture();
  f.mnuCopy->trigger();
  expect_picture(fx.folder.file(QStringLiteral("000.bmp")), expected);
  EXPECT_TRUE(f.unloaded());
  EXPECT_EQ(ended.status, 0);
  EXPECT_EQ(f.exit_status(), 0);
  EXPECT_TRUE(fx.dialogs.shown().empty());
  // The frame went to the clipboard and became the form's picture as well.
  EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB888), expected);
  EXPECT_EQ(f.client->picture(), expected);
}

TEST(Snapshot, GoesWhereTheSettingsSay) {
  WrenFixture fx;
  QDir().mkpath(fx.folder.file(QStringLiteral("照片")));
  const QString target = fx.folder.file(QStringLiteral("照片/会员 1.bmp"));
  fx.folder.write(QStringLiteral("user.ini"),
                  "[database]\r\nserver_name=.\r\nfile_name= " + rt::to_cp936(target) + " \r\n");
  frmMain f;
  const QImage expected = camera_picture();
  f.mnuCopy->trigger();
  expect_picture(target, expected);
  EXPECT_FALSE(rt::file_exists(fx.folder.file(QStringLiteral("000.bmp"))));
  EXPECT_EQ(f.exit_status(), 0);
}

TEST(Snapshot, F2TakesIt) {
  WrenFixture fx;
  frmMain f;
  f.show();
  QApplication::setActiveWindow(&f);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  QTest::keyClick(&f, Qt::Key_F2);
  EXPECT_TRUE(f.unloaded());
  EXPECT_TRUE(rt::file_exists(fx.folder.file(QStringLiteral("000.bmp"))));
}

TEST(Snapshot, OverwritesAnEarlierPicture) {
  WrenFixture fx;
  fx.folder.write(QStringLiteral("000.bmp"), QByteArray(5000000, 'x'));
  frmMain f;
  const QImage expected = camera_picture();
  f.mnuCopy->trigger();
  expect_picture(fx.folder.file(QStringLiteral("000.bmp")), expected);
  EXPECT_EQ(QFileInfo(fx.folder.file(QStringLiteral("000.bmp"))).size(), 54 + 640 * 480 * 3);
}

TEST(Snapshot, AnUnwritablePathIsReportedAndEndsWithFailure) {
  struct Case {
    const char* name;
    const char* file_name;  // relative to the program folder
    bool read_only_target;
  } cases[] = {{"missing folder", "no such folder/p.bmp", false},
               {"read-only file", "p.bmp", true}};
  for (const Case& c : cases) {
    WrenFixture fx;
    const QString target = fx.folder.file(QString::fromUtf8(c.file_name));
    fx.folder.write(QStringLiteral("user.ini"), "[database]\r\nfile_name=" + target.toUtf8());
    if (c.read_only_target) {
      fx.folder.write(QStringLiteral("p.bmp"), "the member's old photo");
      rt::set_file_attributes(target, 1);
    }
    frmMain f;
    Ended ended(f);
    f.mnuCopy->trigger();
    ASSERT_EQ(fx.dialogs.shown().size(), 1u) << c.name;
    const ::test::Shown& box = fx.dialogs.shown().front();
    EXPECT_EQ(box.kind, ::test::Shown::Failure) << c.name;
    EXPECT_EQ(box.title, QStringLiteral("错误信息")) << c.name;
    EXPECT_TRUE(box.text.contains(target)) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QStringLiteral("原因："))) << box.text.toStdString();
    EXPECT_TRUE(f.unloaded()) << c.name;
    EXPECT_EQ(ended.status, 1) << c.name;
    if (c.read_only_target)
      EXPECT_EQ(fx.folder.read(QStringLiteral("p.bmp")), QByteArray("the member's old photo"));
    else
      EXPECT_FALSE(QDir(fx.folder.file(QStringLiteral("no such folder"))).exists());
    EXPECT_FALSE(rt::file_exists(fx.folder.file(QStringLiteral("000.bmp")))) << c.name;
  }
}

// A link at the picture's path is not written through, whether it leads to a member's file, to
// nothing or to a folder: the write-failure box, status 1, and the link and its target as they
// were.
TEST(Snapshot, ALinkAtThePathIsRefused) {
  struct Case {
    const char* name;
    const char* target;  // what the link points at, in the program folder
    bool make_target;
  } cases[] = {{"link to a file", "kv_log.txt", true},
               {"dangling link", "nothing here.bmp", false},
               {"link to a folder", "photos", true}};
  for (const Case& c : cases) {
    WrenFixture fx;
    const QString link = fx.folder.file(QStringLiteral("p.bmp"));
    const QString target = fx.folder.file(QString::fromUtf8(c.target));
    if (c.make_target && QString::fromUtf8(c.target) == QLatin1String("photos"))
      QDir().mkpath(target);
    else if (c.make_target)
      fx.folder.write(QString::fromUtf8(c.target), "the salon's log");
    ASSERT_TRUE(QFile::link(target, link)) << c.name;
    fx.folder.write(QStringLiteral("user.ini"), "[database]\r\nfile_name=" + link.toUtf8());
    frmMain f;
    Ended ended(f);
    f.mnuCopy->trigger();
    EXPECT_EQ(
        fx.dialogs.lines(),
        std::vector<QString>{
            QStringLiteral("错误信息|照片无法保存到\n%1\n原因：该路径是一个符号链接").arg(link)})
        << c.name;
    EXPECT_EQ(ended.status, 1) << c.name;
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target) << c.name;
    if (!c.make_target) {
      EXPECT_FALSE(QFileInfo::exists(target)) << c.name;
    } else if (QFileInfo(target).isFile()) {
      EXPECT_EQ(fx.folder.read(QString::fromUtf8(c.target)), QByteArray("the salon's log"));
    }
    // Nothing was left beside it either.
    EXPECT_EQ(QDir(fx.folder.path())
                  .entryList(QStringList{QStringLiteral("p.bmp*"), QStringLiteral(".salon-*")},
                             QDir::AllEntries | QDir::System | QDir::Hidden),
              QStringList{QStringLiteral("p.bmp")})
        << c.name;
  }
}

TEST(Snapshot, ReplacingAFileKeepsItsPermissionsAndLeavesNoTemporaryFile) {
  WrenFixture fx;
  const QString target = fx.folder.file(QStringLiteral("p.bmp"));
  fx.folder.write(QStringLiteral("p.bmp"), "old");
  QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
  fx.folder.write(QStringLiteral("user.ini"), "[database]\r\nfile_name=" + target.toUtf8());
  frmMain f;
  const QImage expected = camera_picture();
  f.mnuCopy->trigger();
  expect_picture(target, expected);
  EXPECT_EQ(QFile::permissions(target), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                            QFile::WriteUser | QFile::ReadGroup);
  EXPECT_EQ(QDir(fx.folder.path())
                .entryList(QStringList{QStringLiteral("p.bmp*"), QStringLiteral(".salon-*")},
                           QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("p.bmp")});
}

TEST(Snapshot, NoCameraSavesNothingWhateverTheClipboardHolds) {
  WrenFixture fx(test::no_camera());
  QImage foreign(32, 32, QImage::Format_RGB888);
  foreign.fill(Qt::magenta);
  QGuiApplication::clipboard()->setImage(foreign);
  frmMain f;
  Ended ended(f);
  f.mnuCopy->trigger();
  EXPECT_EQ(fx.dialogs.lines(),
            std::vector<QString>{
                QStringLiteral("错误信息|没有可保存的图像：摄像头没有连接，或者还没有送来画面。")});
  EXPECT_FALSE(rt::file_exists(fx.folder.file(QStringLiteral("000.bmp"))));
  EXPECT_EQ(QDir(fx.folder.path()).entryList(QDir::Files), QStringList());
  // The user can still choose another camera and try again.
  EXPECT_FALSE(f.unloaded());
  EXPECT_EQ(ended.status, -1);
}

}  // namespace
}  // namespace wren
