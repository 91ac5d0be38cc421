#include "wren/capture/capture_window.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstring>

#include "tests/wren/wren_fixture.h"
#include "wren/capture/avicap.h"

namespace wren::capture {
namespace {

using test::camera;
using test::WrenFixture;

TEST(CaptureWindow, NullHandleFailsEveryMessage) {
  CaptureWindow* none = nullptr;
  CAPDRIVERCAPS caps{};
  CAPSTATUS status{};
  EXPECT_FALSE(capDriverConnect(none, 0));
  EXPECT_FALSE(capDriverGetCaps(none, &caps, 44));
  EXPECT_FALSE(capGetStatus(none, &status, 76));
  EXPECT_FALSE(capPreview(none, true));
  EXPECT_FALSE(capEditCopy(none));
  EXPECT_FALSE(capSetCallbackOnError(none, nullptr));
  EXPECT_FALSE(SetWindowTextA(none, "x"));
}

TEST(CaptureWindow, RecordsAreWrittenNoFurtherThanTheGivenSize) {
  WrenFixture fx;
  CaptureWindow w(QString(), 0x50C40000, QRect(0, 0, 160, 120), nullptr, 0);
  ASSERT_TRUE(capDriverConnect(&w, 0));
  CAPSTATUS status;
  std::memset(&status, 0xAB, sizeof status);
  ASSERT_TRUE(capGetStatus(&w, &status, 4));  // the width only
  EXPECT_EQ(status.uiImageWidth, 640u);
  EXPECT_EQ(status.uiImageHeight, 0xABABABABu);
  ASSERT_TRUE(capGetStatus(&w, &status, 76));
  EXPECT_EQ(status.uiImageHeight, 480u);
}

TEST(CaptureWindow, DriverDescriptionsAreCutToTheirBuffers) {
  WrenFixture fx({camera(QStringLiteral("摄像头 with a long name"))});
  char name[8], version[100];
  ASSERT_TRUE(capGetDriverDescriptionA(0, name, 8, version, 100));
  EXPECT_EQ(std::strlen(name), 7u);
  EXPECT_FALSE(capGetDriverDescriptionA(1, name, 8, version, 100));
}

TEST(CaptureWindow, PreviewShowsFramesAtItsRate) {
  auto cam = camera();
  cam.frame_interval_ms = 5;
  WrenFixture fx({cam});
  CaptureWindow w(QStringLiteral("cam"), 0x50C40000, QRect(0, 0, 648, 506), nullptr, 0);
  w.show();
  ASSERT_TRUE(capDriverConnect(&w, 0));
  capPreviewRate(&w, 50);
  QElapsedTimer clock;
  clock.start();
  capPreview(&w, true);
  // A loaded machine or the sanitizer build may take longer than usual for the first frames.
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.frames_shown() > 1; }, 5000));
  QTest::qWait(static_cast<int>(std::max<qint64>(0, 500 - clock.elapsed())));
  const int shown = w.frames_shown();
  // Paced by the rate (at most 11 in 500 ms), not by the camera's 200 frames a second.
  EXPECT_LE(shown, clock.elapsed() / 50 + 4);
  capPreview(&w, false);
  QTest::qWait(100);
  const int stopped = w.frames_shown();
  QTest::qWait(200);
  EXPECT_EQ(w.frames_shown(), stopped);
}

// A camera sends more frames than the preview shows: only those shown, or saved, are converted,
// and with the preview off none until the snapshot.
TEST(CaptureWindow, ConvertsOnlyTheFramesItShowsOrCopies) {
  WrenFixture fx;
  CaptureWindow w(QStringLiteral("cam"), 0x50C40000, QRect(0, 0, 648, 506), nullptr, 0);
  w.show();
  ASSERT_TRUE(capDriverConnect(&w, 0));
  SyntheticDevice* device = fx.device();
  capPreviewRate(&w, 50);
  capPreview(&w, true);  // shows the first frame at once
  const int first = device->frames_converted();
  EXPECT_EQ(first, 1);
  for (int i = 0; i < 10; ++i) device->deliver_frame();
  EXPECT_EQ(device->frames_converted(), first);
  // The next preview tick converts the newest frame, once; the ticks after it, nothing.
  EXPECT_TRUE(QTest::qWaitFor([&] { return device->frames_converted() > first; }, 5000));
  QTest::qWait(200);
  EXPECT_EQ(device->frames_converted(), first + 1);

  capPreview(&w, false);
  for (int i = 0; i < 10; ++i) device->deliver_frame();
  QTest::qWait(200);
  EXPECT_EQ(device->frames_converted(), first + 1);
  ASSERT_TRUE(capEditCopy(&w));
  EXPECT_EQ(device->frames_converted(), first + 2);
}

TEST(CaptureWindow, ConnectingAnotherDriverClosesTheFirst) {
  WrenFixture fx({camera(QStringLiteral("a")), camera(QStringLiteral("b"))});
  CaptureWindow w(QString(), 0x50C40000, QRect(0, 0, 160, 120), nullptr, 0);
  ASSERT_TRUE(capDriverConnect(&w, 0));
  QPointer<SyntheticDevice> first = fx.device();
  ASSERT_TRUE(capDriverConnect(&w, 1));
  EXPECT_TRUE(first.isNull());
  CAPDRIVERCAPS caps{};
  ASSERT_TRUE(capDriverGetCaps(&w, &caps, 44));
  EXPECT_EQ(caps.wDeviceIndex, 1u);
  EXPECT_FALSE(capDriverConnect(&w, 2));
  EXPECT_FALSE(w.connected());
}

}  // namespace
}  // namespace wren::capture
