// Runs only on a computer with a camera.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "wren/capture/v4l2_device.h"

namespace wren::capture {
namespace {

TEST(V4l2Live, FirstCameraDeliversFrames) {
  V4l2Drivers cameras;
  QString name, version;
  if (!cameras.description(0, &name, &version)) GTEST_SKIP() << "no capture device in /dev/video*";
  std::unique_ptr<Device> camera = cameras.open(0);
  ASSERT_TRUE(camera);
  QString why;
  ASSERT_TRUE(camera->connect(&why)) << why.toStdString();
  int frames = 0;
  camera->frame_arrived = [&] { ++frames; };
  QString error;
  camera->error = [&](int, const QString& text) { error = text; };
  QElapsedTimer t;
  t.start();
  while (frames < 3 && t.elapsed() < 5000) QTest::qWait(20);
  EXPECT_GE(frames, 3) << error.toStdString();
  const Frame* f = camera->current_frame();
  ASSERT_TRUE(f);
  EXPECT_EQ(FrameSize({f->width, f->height}), camera->image_size());
  EXPECT_FALSE(camera->formats().empty());
}

TEST(V4l2Device, NodesThatAreNoCameraDoNotConnect) {
  QTemporaryDir dir;
  const QString plain = dir.filePath(QStringLiteral("video0"));
  QFile f(plain);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not a camera");
  f.close();
  for (const QString& node : {dir.filePath(QStringLiteral("missing")), plain}) {
    V4l2Device camera(node);
    QString why;
    EXPECT_FALSE(camera.connect(&why)) << node.toStdString();
    EXPECT_FALSE(why.isEmpty()) << node.toStdString();
    EXPECT_EQ(camera.current_frame(), nullptr);
    EXPECT_TRUE(camera.formats().empty());
  }
}

TEST(V4l2Live, IndexPastTheCamerasHasNoDriver) {
  V4l2Drivers cameras;
  EXPECT_FALSE(cameras.description(10, nullptr, nullptr));
  EXPECT_FALSE(cameras.open(10));
  EXPECT_FALSE(cameras.description(-1, nullptr, nullptr));
}

}  // namespace
}  // namespace wren::capture
