// The real wren program with its V4L2 backend, in front of emulated cameras.
#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <cstdlib>

#include "jpeg_edit.h"
#include "pattern.h"
#include "runtime/codepage.h"
#include "runtime/files.h"
#include "tests/support/temp_program_folder.h"
#include "tests/wren/bmp_reader.h"
#include "tests/wren/wren_process.h"

namespace wren::test {
namespace {

// What conversion to RGB may change in a pixel, per component. libv4lconvert decodes YUYV with
// rounded coefficients (R = Y + 1.5 (V - 128), B = Y + 2.016 (U - 128), ...), not those of
// BT.601 that the camera encodes with; a JPEG of whole blocks of one colour loses only rounding.
// The pattern's colours differ by 43 or more in some component, so no shifted, flipped or
// swapped picture passes.
constexpr int kYuyvTolerance = 16, kJpegTolerance = 2;
// At a size whose blocks do not lie on JPEG block edges, a JPEG rings a little at the edges;
// still less than half the least difference of two colours of the pattern.
constexpr int kJpegEdgeTolerance = 21;

const QString kNoPicture =
    QStringLiteral("错误信息|没有可保存的图像：摄像头没有连接，或者还没有送来画面。");

// The largest difference of a component between the bitmap and the pattern; a message when
// the file is no bitmap of that size.
int deviation(const QString& path, int width, int height, std::string* error) {
  const Bitmap bmp = read_bmp(path);
  if (!bmp.error.isEmpty() || bmp.width != width || bmp.height != height) {
    *error = bmp.error.isEmpty()
                 ? "size " + std::to_string(bmp.width) + "x" + std::to_string(bmp.height)
                 : bmp.error.toStdString();
    return 256;
  }
  const std::vector<std::uint8_t> want = emulated_v4l2::pattern_rgb(width, height);
  int worst = 0;
  for (std::size_t i = 0; i < want.size(); ++i)
    worst = std::max(worst, std::abs(int(bmp.rgb[i]) - int(want[i])));
  return worst;
}

class EmulatedCamera : public ::testing::Test {
 protected:
  ::test::TempProgramFolder folder;
  WrenProcess wren{folder.path()};

  // A run whose program reported no fault of its own, in the sanitized build too (UBSan goes on
  // after a report).
  WrenResult run(const QStringList& script) const {
    WrenResult r = wren.run(script);
    EXPECT_FALSE(r.errors.contains(QLatin1String("Sanitizer")) ||
                 r.errors.contains(QLatin1String("runtime error")))
        << r.errors.toStdString();
    return r;
  }
  QString picture() const { return folder.file(QStringLiteral("000.bmp")); }
  void expect_pattern(const QString& path, int width, int height, int tolerance) const {
    std::string error;
    EXPECT_LE(deviation(path, width, height, &error), tolerance) << error;
  }
};

TEST_F(EmulatedCamera, SnapshotHoldsThePatternTheCameraSent) {
  struct Case {
    const char* name;
    const char* camera;
    const char* streaming;
    int tolerance;
  } cases[] = {
      {"yuyv", "formats = YUYV 640x480", "Streaming 640 x 480 YUYV", kYuyvTolerance},
      {"mjpeg", "formats = MJPG 640x480", "Streaming 640 x 480 MJPG", kJpegTolerance},
      {"yuyv with padded rows", "formats = YUYV 640x480\npadding = 96", "Streaming 640 x 480 YUYV",
       kYuyvTolerance},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(picture());
    wren.set_cameras(QByteArray("[/dev/video0]\ncard = Emulated Camera\n") + c.camera);
    const WrenResult r = run({"wait picture", "print state", "menu mnuCopy"});
    EXPECT_EQ(r.exit_status, 0) << r.errors.toStdString();
    EXPECT_EQ(r.of(QStringLiteral("state")),
              QStringList{QStringLiteral("Emulated Camera|640x480|66|1")});
    EXPECT_EQ(r.of(QStringLiteral("status")), QStringList{QString::fromLatin1(c.streaming)});
    EXPECT_TRUE(r.of(QStringLiteral("failure")).isEmpty());
    expect_pattern(picture(), 640, 480, c.tolerance);
  }
}

// A camera whose sensor libv4lconvert knows to be upside down (here told so through its
// environment variable) gives its picture turned the right way, in every format.
TEST_F(EmulatedCamera, AnUpsideDownSensorIsTurnedInEveryFormat) {
  qputenv("LIBV4LCONTROL_FLAGS", "3");  // flipped both ways
  for (const char* format : {"YUYV", "MJPG"}) {
    SCOPED_TRACE(format);
    QFile::remove(picture());
    wren.set_cameras(QByteArray("[/dev/video0]\ncard = Emulated Camera\nformats = ") + format +
                     " 640x480\n");
    const WrenResult r = run({"wait picture", "menu mnuCopy"});
    EXPECT_EQ(r.exit_status, 0) << r.errors.toStdString();
    const Bitmap bmp = read_bmp(picture());
    ASSERT_EQ(bmp.width, 640) << bmp.error.toStdString();
    ASSERT_EQ(bmp.height, 480);
    const std::vector<std::uint8_t> want = emulated_v4l2::pattern_rgb(640, 480);
    int worst = 0;
    const std::size_t pixels = want.size() / 3;
    for (std::size_t i = 0; i < pixels; ++i)
      for (std::size_t k = 0; k < 3; ++k)
        worst = std::max(worst,
                         std::abs(int(bmp.rgb[3 * i + k]) - int(want[3 * (pixels - 1 - i) + k])));
    EXPECT_LE(worst, kYuyvTolerance);
  }
  qunsetenv("LIBV4LCONTROL_FLAGS");
}

TEST_F(EmulatedCamera, FormatDialogChangesFormatAndSize) {
  wren.set_cameras(
      "[/dev/video0]\ncard = Emulated Camera\n"
      "formats = YUYV 320x240 640x480, MJPG 640x480 320x240\n");
  const WrenResult r = run({
      "wait picture",
      "print state",
      "menu mnuFormat",
      "dialog list cmboFormat",
      "dialog list cmboSize",
      "dialog choose cmboFormat Motion-JPEG (MJPG)",
      "dialog choose cmboSize 640 x 480",
      "dialog ok",
      "wait status MJPG",
      "wait picture",
      "print state",
      "menu mnuCopy",
  });
  EXPECT_EQ(r.exit_status, 0) << r.errors.toStdString();
  EXPECT_EQ(r.of(QStringLiteral("list")),
            (QStringList{QStringLiteral("cmboFormat|0|YUYV 4:2:2 (YUYV)|Motion-JPEG (MJPG)"),
                         QStringLiteral("cmboSize|0|320 x 240|640 x 480")}));
  EXPECT_EQ(
      r.of(QStringLiteral("status")),
      (QStringList{QStringLiteral("Streaming 320 x 240 YUYV"), QStringLiteral("Stream stopped"),
                   QStringLiteral("Streaming 640 x 480 MJPG")}));
  // The capture window took the new picture size.
  EXPECT_EQ(r.of(QStringLiteral("state")),
            (QStringList{QStringLiteral("Emulated Camera|320x240|66|1"),
                         QStringLiteral("Emulated Camera|640x480|66|1")}));
  expect_pattern(picture(), 640, 480, kJpegTolerance);
}

TEST_F(EmulatedCamera, FormatsThatDoNotConvertAreNeitherUsedNorOffered) {
  // The camera starts in a depth format, which libv4lconvert cannot turn into RGB.
  wren.set_cameras(
      "[/dev/video0]\ncard = Depth Camera\n"
      "formats = Z16 640x480, YUYV 640x480\nformat = Z16 640x480\n");
  const WrenResult r = run({"wait picture", "menu mnuFormat", "dialog list cmboFormat",
                            "dialog cancel", "menu mnuCopy"});
  EXPECT_EQ(r.exit_status, 0) << r.errors.toStdString();
  EXPECT_EQ(r.of(QStringLiteral("list")),
            QStringList{QStringLiteral("cmboFormat|0|YUYV 4:2:2 (YUYV)")});
  EXPECT_EQ(r.of(QStringLiteral("status")),
            QStringList{QStringLiteral("Streaming 640 x 480 YUYV")});
  expect_pattern(picture(), 640, 480, kYuyvTolerance);
}

// Sizes at which a format does not convert pixel for pixel are not offered; a format with no
// other size is not offered at all.
TEST_F(EmulatedCamera, OddSizesOfSubsampledFormatsAreNotOffered) {
  wren.set_cameras(
      "[/dev/video0]\ncard = Emulated Camera\n"
      "formats = YUYV 641x480 640x480 320x240, YU12 640x481, RGB3 641x481\n");
  const WrenResult r =
      run({"wait picture", "menu mnuFormat", "dialog list cmboFormat", "dialog list cmboSize",
           "dialog cancel", "print state", "menu mnuExit"});
  EXPECT_EQ(r.exit_status, 0) << r.errors.toStdString();
  EXPECT_EQ(r.of(QStringLiteral("list")),
            (QStringList{QStringLiteral("cmboFormat|0|YUYV 4:2:2 (YUYV)|24-bit RGB 8-8-8 (RGB3)"),
                         QStringLiteral("cmboSize|0|640 x 480|320 x 240")}));
  EXPECT_EQ(r.of(QStringLiteral("state")),
            QStringList{QStringLiteral("Emulated Camera|640x480|66|1")});
}

// A camera that gives no picture: wren shows the blank capture window and reports nothing; F2
// then says there is no picture, and the program ends normally when the user closes it.
TEST_F(EmulatedCamera, CameraWithoutAPictureIsNotConnected) {
  struct Case {
    const char* name;
    const char* camera;
  } cases[] = {
      {"busy", "formats = YUYV 640x480\nbusy = yes"},
      {"depth only", "formats = Z16 640x480"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    wren.set_cameras(QByteArray("[/dev/video0]\ncard = Emulated Camera\n") + c.camera);
    const WrenResult r = run({"wait ms 300", "print state", "menu mnuCopy", "menu mnuExit"});
    EXPECT_EQ(r.exit_status, 0) << r.errors.toStdString();
    EXPECT_EQ(r.of(QStringLiteral("state")),
              QStringList{QStringLiteral("Emulated Camera|none|66|0")});
    EXPECT_TRUE(r.of(QStringLiteral("status")).isEmpty());
    EXPECT_EQ(r.of(QStringLiteral("failure")), QStringList{kNoPicture});
    EXPECT_FALSE(rt::file_exists(picture()));
  }
}

TEST_F(EmulatedCamera, CameraLostWhileStreamingLeavesNoPictureBehind) {
  wren.set_cameras(
      "[/dev/video0]\ncard = Emulated Camera\nformats = YUYV 640x480\nlose_after = 15\n");
  const WrenResult r = run({"wait picture", "wait nopicture", "wait ms 500", "print state",
                            "menu mnuCopy", "menu mnuExit"});
  EXPECT_EQ(r.exit_status, 0) << r.errors.toStdString();
  // One message, however often the lost device would wake the program.
  EXPECT_EQ(r.of(QStringLiteral("status")),
            (QStringList{QStringLiteral("Streaming 640 x 480 YUYV"),
                         QStringLiteral("/dev/video0: No such device")}));
  EXPECT_EQ(r.of(QStringLiteral("state")),
            QStringList{QStringLiteral("Emulated Camera|640x480|66|0")});
  EXPECT_EQ(r.of(QStringLiteral("failure")), QStringList{kNoPicture});
  EXPECT_FALSE(rt::file_exists(picture()));
}

TEST_F(EmulatedCamera, SelectListsTheCamerasInOrderAndSwitches) {
  // A camera's metadata node between the two is no capture device.
  wren.set_cameras(
      "[/dev/video0]\ncard = Front Camera\nformats = YUYV 640x480\n"
      "[/dev/video1]\ncard = Front Camera\nkind = metadata\n"
      "[/dev/video2]\ncard = Desk Camera\nformats = MJPG 640x480\n"
      "[/dev/video3]\ncard = Unplugged Camera\nformats = YUYV 640x480\nlose_after = 1\n");
  const WrenResult r = run({
      "wait picture",
      "menu mnuSelect",
      "dialog list cmboSource",
      "dialog choose cmboSource Desk Camera",
      "dialog ok",
      "wait status MJPG",
      "wait picture",
      "print state",
      "menu mnuCopy",
  });
  EXPECT_EQ(r.exit_status, 0) << r.lines.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(r.of(QStringLiteral("list")),
            QStringList{QStringLiteral("cmboSource|0|Front Camera|Desk Camera|Unplugged Camera")});
  EXPECT_EQ(r.of(QStringLiteral("state")), QStringList{QStringLiteral("Desk Camera|640x480|66|1")});
  expect_pattern(picture(), 640, 480, kJpegTolerance);
}

// Cameras that send what real drivers sometimes send. Whatever comes, wren does not crash, and
// a snapshot it saves is the pattern: a frame that is not whole never reaches the screen or the
// file, and the last good one stays.
struct BrokenCase {
  const char* name;
  const char* camera;
  const char* size;  // of the stream wren uses, as "print state" gives it; none: no stream
  int tolerance;     // for the picture; -1: there is none to save
  std::vector<const char*> waits{"wait ms 700"};
  std::vector<const char*> statuses{};  // texts the status bar must have shown
};

constexpr int kNone = -1, kExact = 0;

std::vector<BrokenCase> broken_cases() {
  const char* const kVga = "640x480";
  return {
      // Sizes whose colour cells libv4lconvert would read and write whole are not used; the
      // camera's next size that converts is.
      {"yu12_odd_only", "formats = YU12 641x481", "none", kNone},
      {"yu12_odd_height_only", "formats = YU12 640x481", "none", kNone},
      {"yuyv_odd_only", "formats = YUYV 641x480", "none", kNone},
      {"uyvy_odd_only", "formats = UYVY 641x480", "none", kNone},
      {"nv12_odd_only", "formats = NV12 641x481", "none", kNone},
      {"yu12_odd_then_even", "formats = YU12 641x481 640x480", kVga, kYuyvTolerance},
      {"yuyv_odd_then_even", "formats = YUYV 641x480 640x480", kVga, kYuyvTolerance},
      {"uyvy_odd_then_even", "formats = UYVY 641x480 640x480", kVga, kYuyvTolerance},
      {"nv12_odd_then_even", "formats = NV12 641x481 640x480", kVga, kYuyvTolerance},
      {"rgb24_odd", "formats = RGB3 641x481", "641x481", kExact},
      {"mjpeg_odd", "formats = MJPG 641x481", "641x481", kJpegEdgeTolerance},
      // What the camera says it filled.
      {"bytesused_0",
       "formats = YUYV 640x480\nbytesused = 0",
       kVga,
       kNone,
       {"wait ms 700"},
       {"Frame dropped: 0 of 614400 bytes"}},
      {"bytesused_100", "formats = YUYV 640x480\nbytesused = 100", kVga, kNone},
      {"bytesused_short",
       "formats = YUYV 640x480\nbytesused = short",
       kVga,
       kNone,
       {"wait ms 700"},
       {"Frame dropped: 614399 of 614400 bytes"}},
      {"bytesused_exact", "formats = YUYV 640x480\nbytesused = 614400", kVga, kYuyvTolerance},
      {"bytesused_beyond_buffer", "formats = YUYV 640x480\nbytesused = beyond", kVga,
       kYuyvTolerance},
      {"bytesused_2_31", "formats = YUYV 640x480\nbytesused = 2147483648", kVga, kYuyvTolerance},
      {"bytesused_2_32_less_1", "formats = YUYV 640x480\nbytesused = 4294967295", kVga,
       kYuyvTolerance},
      {"rgb24_bytesused_2_31", "formats = RGB3 640x480\nbytesused = 2147483648", kVga, kExact},
      {"nv12_bytesused_0", "formats = NV12 640x480\nbytesused = 0", kVga, kNone},
      {"nv12_bytesused_100", "formats = NV12 640x480\nbytesused = 100", kVga, kNone},
      {"nv12_luma_only",
       "formats = NV12 640x480\nbytesused = luma",
       kVga,
       kNone,
       {"wait ms 700"},
       {"Frame dropped: 307200 of 460800 bytes"}},
      {"nv12_one_byte_short", "formats = NV12 640x480\nbytesused = short", kVga, kNone},
      {"yu12_padded_luma_only", "formats = YU12 640x480\npadding = 64\nbytesused = luma", kVga,
       kNone},
      // A cut JPEG: libv4lconvert would decode it, grey below the cut, as a success.
      {"mjpeg_cut", "formats = MJPG 640x480\nbytesused = 3000", kVga, kNone},
      {"mjpeg_one_byte_short",
       "formats = MJPG 640x480\nbytesused = short",
       kVga,
       kNone,
       {"wait ms 700"},
       {"Frame dropped: the JPEG data is incomplete"}},
      {"error_flagged",
       "formats = YUYV 640x480\nerror_flag = yes",
       kVga,
       kNone,
       {"wait ms 700"},
       {"Frame dropped: the camera marked it as damaged"}},
      {"mjpeg_error_flagged", "formats = MJPG 640x480\nerror_flag = yes", kVga, kNone},
      // Cut short with an end marker appended (the whole frame is 11,120 bytes): it passes any
      // look at its markers, and libv4lconvert would decode it grey below the cut.
      {"mjpeg_cut_2000_end_marker",
       "formats = MJPG 640x480\njpeg_cut = 2000",
       kVga,
       kNone,
       {"wait ms 700"},
       {"Frame dropped: the JPEG data is incomplete (2002 bytes)"}},
      {"mjpeg_cut_6000_end_marker", "formats = MJPG 640x480\njpeg_cut = 6000", kVga, kNone},
      {"mjpeg_cut_9000_end_marker", "formats = MJPG 640x480\njpeg_cut = 9000", kVga, kNone},
      {"mjpeg_cut_11000_end_marker", "formats = MJPG 640x480\njpeg_cut = 11000", kVga, kNone},
      // Cut at a scan boundary, an end marker appended: libjpeg says nothing, and the picture
      // would be grey or in false colours.
      {"mjpeg_component_scans_cut_after_1",
       "formats = MJPG 640x480\njpeg_scans = components\njpeg_scans_kept = 1",
       kVga,
       kNone,
       {"wait ms 700"},
       {"Frame dropped: the JPEG data is incomplete"}},
      {"mjpeg_component_scans_cut_after_2",
       "formats = MJPG 640x480\njpeg_scans = components\njpeg_scans_kept = 2", kVga, kNone},
      {"mjpeg_progressive_cut_after_1",
       "formats = MJPG 640x480\njpeg_scans = progressive\njpeg_scans_kept = 1", kVga, kNone},
      // The picture before its last refinement is close to the whole one: only the status tells.
      {"mjpeg_progressive_cut_before_last_refinement",
       "formats = MJPG 640x480\njpeg_scans = progressive\njpeg_scans_kept = 9\nspoil_from = 5",
       kVga,
       kJpegTolerance,
       {"wait ms 700"},
       {"Frame dropped: the JPEG data is incomplete"}},
      {"mjpeg_component_scans", "formats = MJPG 640x480\njpeg_scans = components", kVga,
       kJpegTolerance},
      {"mjpeg_progressive", "formats = MJPG 640x480\njpeg_scans = progressive", kVga,
       kJpegTolerance},
      // Without quantization tables nothing tells what the data means.
      {"mjpeg_without_quantization_tables",
       "formats = MJPG 640x480\njpeg_quantization = none",
       kVga,
       kNone,
       {"wait ms 700"},
       {"Frame dropped: the JPEG data is damaged"}},
      // Nor do the tables of the frames before.
      {"mjpeg_without_quantization_tables_after_good",
       "formats = MJPG 640x480\njpeg_quantization = none\nspoil_from = 5",
       kVga,
       kJpegTolerance,
       {"wait ms 700"},
       {"Frame dropped: the JPEG data is damaged"}},
      // A header whose size is not that of its data, or not the stream's.
      {"mjpeg_small_data_large_header",
       "formats = MJPG 640x480\njpeg_image = 320x240\njpeg_header = 640x480", kVga, kNone},
      {"mjpeg_of_another_size",
       "formats = MJPG 640x480\njpeg_image = 320x240",
       kVga,
       kNone,
       {"wait ms 700"},
       {"Frame dropped: the JPEG is 320 x 240, not 640 x 480"}},
      // Cameras that fill the buffer after the end marker.
      {"mjpeg_4_bytes_after_end", "formats = MJPG 640x480\njpeg_trailer = 4", kVga, kJpegTolerance},
      {"mjpeg_256_bytes_after_end", "formats = MJPG 640x480\njpeg_trailer = 256", kVga,
       kJpegTolerance},
      // Good frames first, then broken ones: the last good frame is what is saved.
      {"short_after_good", "formats = YUYV 640x480\nbytesused = 100\nspoil_from = 5", kVga,
       kYuyvTolerance},
      {"nv12_luma_after_good", "formats = NV12 640x480\nbytesused = luma\nspoil_from = 5", kVga,
       kYuyvTolerance},
      {"mjpeg_cut_after_good", "formats = MJPG 640x480\nbytesused = 3000\nspoil_from = 5", kVga,
       kJpegTolerance},
      {"mjpeg_cut_end_marker_after_good", "formats = MJPG 640x480\njpeg_cut = 6000\nspoil_from = 5",
       kVga, kJpegTolerance},
      {"mjpeg_small_data_after_good",
       "formats = MJPG 640x480\njpeg_image = 320x240\njpeg_header = 640x480\nspoil_from = 5", kVga,
       kJpegTolerance},
      {"flagged_after_good", "formats = YUYV 640x480\nerror_flag = yes\nspoil_from = 5", kVga,
       kYuyvTolerance},
      // A camera that fails to hand over frames for a moment, and one that goes on failing.
      {"transient_eio",
       "formats = YUYV 640x480\neio_after = 5\neio_count = 2",
       kVga,
       kYuyvTolerance,
       {"wait status (2 of 3)", "wait status Streaming", "wait ms 300"},
       {"/dev/video0: Input/output error; trying again (1 of 3)",
        "/dev/video0: Input/output error; trying again (2 of 3)"}},
      {"lasting_eio",
       "formats = YUYV 640x480\neio_after = 5\neio_count = 0",
       kVga,
       kNone,
       {"wait status the stream has stopped"},
       {"/dev/video0: Input/output error; trying again (3 of 3)",
        "/dev/video0: Input/output error; the stream has stopped"}},
      // Interrupted a few times in a row: the call is made again at once, and the stream goes on.
      {"transient_eintr", "formats = MJPG 640x480\neintr_after = 5\neio_count = 7", kVga,
       kJpegTolerance},
      // Interrupted on every try: no hang, the stream ends like one that keeps failing.
      {"lasting_eintr",
       "formats = MJPG 640x480\neintr_after = 0\neio_count = 0",
       kVga,
       kNone,
       {"wait status the stream has stopped"},
       {"/dev/video0: Interrupted system call; trying again (3 of 3)",
        "/dev/video0: Interrupted system call; the stream has stopped"}},
  };
}

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

class BrokenCamera : public EmulatedCamera, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenCamera, NeitherCrashesNorSavesWhatIsNotThePattern) {
  const BrokenCase& c = GetParam();
  wren.set_cameras(QByteArray("[/dev/video0]\ncard = Emulated Camera\n") + c.camera + "\n");
  QStringList script;
  for (const char* w : c.waits) script << QString::fromLatin1(w);
  script << QStringLiteral("print state") << QStringLiteral("menu mnuCopy")
         << QStringLiteral("menu mnuExit");
  const WrenResult r = run(script);
  EXPECT_EQ(r.exit_status, 0) << r.lines.join(QLatin1Char('\n')).toStdString()
                              << r.errors.toStdString();
  const QStringList statuses = r.of(QStringLiteral("status"));
  const QString size = r.of(QStringLiteral("state")).value(0).section(QLatin1Char('|'), 1, 1);
  EXPECT_EQ(size, QString::fromLatin1(c.size));
  if (size == QLatin1String("none")) {
    EXPECT_TRUE(statuses.isEmpty()) << statuses.join(QLatin1Char('\n')).toStdString();
  }
  for (const char* want : c.statuses) {
    const bool shown = std::any_of(statuses.begin(), statuses.end(), [&](const QString& s) {
      return s.startsWith(QString::fromLatin1(want));
    });
    EXPECT_TRUE(shown) << want << "\n" << statuses.join(QLatin1Char('\n')).toStdString();
  }
  if (c.tolerance == kNone) {
    EXPECT_EQ(r.of(QStringLiteral("failure")), QStringList{kNoPicture});
    EXPECT_FALSE(rt::file_exists(picture()));
  } else {
    EXPECT_TRUE(r.of(QStringLiteral("failure")).isEmpty());
    expect_pattern(picture(), size.section(QLatin1Char('x'), 0, 0).toInt(),
                   size.section(QLatin1Char('x'), 1, 1).toInt(), c.tolerance);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, BrokenCamera, ::testing::ValuesIn(broken_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Frames that libjpeg decodes whole, though not as the plain frame: padded before their restart
// and end markers, as widely used webcams send them, or without Huffman tables after frames that
// brought optimised ones of their own. Each is shown, none dropped, and the snapshot is,
// pixel for pixel, what a fresh decode of the plain frame gives.
TEST_F(EmulatedCamera, FramesThatDecodeWholeAreShownAndSaved) {
  using emulated_v4l2::JpegMaking;
  const std::vector<std::uint8_t> with_restarts =
      emulated_v4l2::decode_jpeg(emulated_v4l2::pattern_jpeg(640, 480, {.restarts = true}));
  const std::vector<std::uint8_t> standard =
      emulated_v4l2::decode_jpeg(emulated_v4l2::pattern_jpeg(640, 480));
  ASSERT_FALSE(standard.empty());
  struct Case {
    const char* name;
    const char* camera;
    const std::vector<std::uint8_t>& picture;
  } cases[] = {
      {"padded by 1", "jpeg_pad = 1", with_restarts},
      {"padded by 7", "jpeg_pad = 7", with_restarts},
      {"no tables after optimised ones", "jpeg_huffman = none\nspoil_from = 10", standard},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(picture());
    wren.set_cameras(QByteArray("[/dev/video0]\ncard = Emulated Camera\nformats = MJPG 640x480\n") +
                     c.camera + "\n");
    // A second on: every frame from the tenth on is one of the later kind.
    const WrenResult r =
        run({"wait picture", "print frames", "wait ms 1000", "print frames", "menu mnuCopy"});
    EXPECT_EQ(r.exit_status, 0) << r.errors.toStdString();
    EXPECT_EQ(r.of(QStringLiteral("status")),
              QStringList{QStringLiteral("Streaming 640 x 480 MJPG")});
    const QStringList frames = r.of(QStringLiteral("frames"));
    ASSERT_EQ(frames.size(), 2);
    EXPECT_GE(frames[1].section(QLatin1Char('|'), 0, 0).toInt() -
                  frames[0].section(QLatin1Char('|'), 0, 0).toInt(),
              10);
    const Bitmap bmp = read_bmp(picture());
    ASSERT_EQ(bmp.width, 640) << bmp.error.toStdString();
    ASSERT_EQ(bmp.height, 480);
    EXPECT_TRUE(bmp.rgb == c.picture);
  }
}

// A user.ini that Notepad saved (with a byte-order mark) or that has old Mac line ends (a CR
// alone) still sends the picture to file_name.
TEST_F(EmulatedCamera, SettingsWithAByteOrderMarkOrCrOnlyLines) {
  wren.set_cameras("[/dev/video0]\ncard = Emulated Camera\nformats = YUYV 640x480\n");
  QDir(folder.path()).mkpath(QStringLiteral("照片"));
  const QByteArray path = "照片\\会员.bmp";
  const QByteArray files[] = {
      "\xEF\xBB\xBF[database]\r\nfile_name=" + path + "\r\n",
      "[database]\rserver_name=.\rfile_name=" + rt::to_cp936(QString::fromUtf8(path)) + "\r",
  };
  for (const QByteArray& ini : files) {
    QFile::remove(folder.file(QStringLiteral("照片/会员.bmp")));
    folder.write(QStringLiteral("user.ini"), ini);
    const WrenResult r = run({"wait picture", "menu mnuCopy"});
    EXPECT_EQ(r.exit_status, 0) << r.lines.join(QLatin1Char('\n')).toStdString();
    expect_pattern(folder.file(QStringLiteral("照片/会员.bmp")), 640, 480, kYuyvTolerance);
    EXPECT_FALSE(rt::file_exists(picture()));
  }
}

// The settings are written on Windows: backslashes separate folders; a drive letter names no
// folder here, which is a failure to save.
TEST_F(EmulatedCamera, WindowsPathsInTheSettings) {
  wren.set_cameras("[/dev/video0]\ncard = Emulated Camera\nformats = YUYV 640x480\n");
  QDir(folder.path()).mkpath(QStringLiteral("photo/2024"));
  folder.write(QStringLiteral("user.ini"), "[database]\r\nfile_name=photo\\2024\\a.bmp\r\n");
  WrenResult r = run({"wait picture", "menu mnuCopy"});
  EXPECT_EQ(r.exit_status, 0) << r.errors.toStdString();
  expect_pattern(folder.file(QStringLiteral("photo/2024/a.bmp")), 640, 480, kYuyvTolerance);

  folder.write(QStringLiteral("user.ini"), "[database]\r\nfile_name=D:\\photo\\2024\\a.bmp\r\n");
  r = run({"wait picture", "menu mnuCopy"});
  EXPECT_EQ(r.exit_status, 1) << r.errors.toStdString();
  EXPECT_EQ(r.of(QStringLiteral("failure")),
            QStringList{QStringLiteral(
                "错误信息|照片无法保存到\\nD:/photo/2024/a.bmp\\n原因：本系统没有 D: 盘")});
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            (QStringList{QStringLiteral("cameras.ini"), QStringLiteral("photo"),
                         QStringLiteral("script.txt"), QStringLiteral("user.ini"),
                         QStringLiteral("wren")}));
}

// A name of the file system's full 255 bytes is written like any other.
TEST_F(EmulatedCamera, ANameOfTheLongestLengthIsWritten) {
  wren.set_cameras("[/dev/video0]\ncard = Emulated Camera\nformats = MJPG 640x480\n");
  const QByteArray name = QByteArray(251, 'm') + ".bmp";
  folder.write(QStringLiteral("user.ini"), "[database]\r\nfile_name=" + name + "\r\n");
  const WrenResult r = run({"wait picture", "menu mnuCopy"});
  EXPECT_EQ(r.exit_status, 0) << r.lines.join(QLatin1Char('\n')).toStdString();
  expect_pattern(folder.file(QString::fromLatin1(name)), 640, 480, kJpegTolerance);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{QStringLiteral("cameras.ini"), QString::fromLatin1(name),
                         QStringLiteral("script.txt"), QStringLiteral("user.ini"),
                         QStringLiteral("wren")}));
}

}  // namespace
}  // namespace wren::test
