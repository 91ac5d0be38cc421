#include "wren/capture/frame_check.h"

#include <gtest/gtest.h>
#include <linux/videodev2.h>

#include <vector>

namespace wren::capture {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A baseline JPEG's frame as far as the check looks: its start marker, some data, its end.
Bytes jpeg(std::size_t data = 20) {
  Bytes b{0xFF, 0xD8, 0xFF, 0xE0};
  b.insert(b.end(), data, 0x3C);
  b.push_back(0xFF);
  b.push_back(0xD9);
  return b;
}

struct CheckCase {
  const char* name;
  SourceFormat format;
  Bytes buffer;             // the mapped buffer, whole
  std::uint64_t bytesused;  // what the camera says it filled
  std::uint32_t flags;
  bool good;
  std::size_t used;  // what is handed on to the conversion
};

std::vector<CheckCase> cases() {
  const SourceFormat yuyv{V4L2_PIX_FMT_YUYV, 4, 2, 0};     // 16 bytes
  const SourceFormat padded{V4L2_PIX_FMT_YUYV, 4, 2, 12};  // 24 bytes
  const SourceFormat nv12{V4L2_PIX_FMT_NV12, 4, 2, 4};     // 8 luma + 4 chroma
  const SourceFormat yu12{V4L2_PIX_FMT_YUV420, 4, 2, 6};   // 12 luma + 2 x 3 chroma
  const SourceFormat rgb{V4L2_PIX_FMT_RGB24, 3, 1, 0};     // 9 bytes
  const SourceFormat mjpeg{V4L2_PIX_FMT_MJPEG, 640, 480, 0};
  const Bytes b16(16, 0x80), b24(24, 0x80), b12(12, 0x80), b18(18, 0x80), b9(9, 0x80);
  Bytes zero_padded = jpeg();
  zero_padded.insert(zero_padded.end(), 30, 0);
  Bytes no_start = jpeg();
  no_start[1] = 0xD9;
  Bytes junk_after = jpeg();
  junk_after.insert(junk_after.end(), 30, 0xA5);
  const Bytes cut = jpeg();
  return {
      {"exact", yuyv, b16, 16, 0, true, 16},
      {"zero bytes", yuyv, b16, 0, 0, false, 0},
      {"one byte short", yuyv, b16, 15, 0, false, 15},
      {"larger than the buffer", yuyv, b16, 17, 0, true, 16},
      {"2^31", yuyv, b16, 1ull << 31, 0, true, 16},
      {"2^32-1", yuyv, b16, 0xFFFFFFFFull, 0, true, 16},
      {"2^31 of RGB24", rgb, b9, 1ull << 31, 0, true, 9},
      {"flagged as an error", yuyv, b16, 16, V4L2_BUF_FLAG_ERROR, false, 16},
      {"padded rows, whole", padded, b24, 24, 0, true, 24},
      {"padded rows, unpadded size", padded, b24, 16, 0, false, 16},
      {"nv12 whole", nv12, b12, 12, 0, true, 12},
      {"nv12 luma only", nv12, b12, 8, 0, false, 8},
      {"nv12 one byte short", nv12, b12, 11, 0, false, 11},
      {"nv12 100 bytes said, 12 there", nv12, b12, 100, 0, true, 12},
      {"yu12 whole with padded rows", yu12, b18, 18, 0, true, 18},
      {"yu12 without the second chroma plane", yu12, b18, 15, 0, false, 15},
      {"jpeg whole", mjpeg, jpeg(), jpeg().size(), 0, true, jpeg().size()},
      {"jpeg with zeros after its end", mjpeg, zero_padded, zero_padded.size(), 0, true,
       zero_padded.size()},
      // Whether the rest is whole shows in decoding it (jpeg_decoder_test.cpp).
      {"jpeg with bytes after its end", mjpeg, junk_after, junk_after.size(), 0, true,
       junk_after.size()},
      {"jpeg without its start", mjpeg, no_start, no_start.size(), 0, false, no_start.size()},
      {"jpeg of one byte", mjpeg, cut, 1, 0, false, 1},
      {"jpeg of no bytes", mjpeg, cut, 0, 0, false, 0},
      {"jpeg flagged as an error", mjpeg, jpeg(), jpeg().size(), V4L2_BUF_FLAG_ERROR, false,
       jpeg().size()},
      {"unknown layout", {0x31323334, 4, 2, 0}, b16, 16, 0, false, 16},
  };
}

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class FrameCheckCase : public ::testing::TestWithParam<CheckCase> {};

TEST_P(FrameCheckCase, DropsWhatIsNotAWholeFrame) {
  const CheckCase& c = GetParam();
  const FrameCheck r =
      check_frame(c.format, c.buffer.data(), c.bytesused, c.buffer.size(), c.flags);
  EXPECT_EQ(r.good, c.good);
  EXPECT_EQ(r.used, c.used);
  EXPECT_EQ(r.why.isEmpty(), c.good) << r.why.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, FrameCheckCase, ::testing::ValuesIn(cases()), [](const auto& info) {
  std::string n = info.param.name;
  for (char& ch : n)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

TEST(FrameCheck, NoBufferIsNoFrame) {
  EXPECT_FALSE(check_frame({V4L2_PIX_FMT_YUYV, 4, 2, 0}, nullptr, 16, 16, 0).good);
}

TEST(FrameLayout, OddSizesOfSubsampledFormatsDoNotConvert) {
  struct Case {
    std::uint32_t fourcc;
    int width, height;
    bool converts;
  } cases[] = {
      {V4L2_PIX_FMT_YUYV, 640, 480, true},    {V4L2_PIX_FMT_YUYV, 641, 480, false},
      {V4L2_PIX_FMT_YUYV, 640, 481, true},    {V4L2_PIX_FMT_UYVY, 641, 480, false},
      {V4L2_PIX_FMT_NV12, 640, 480, true},    {V4L2_PIX_FMT_NV12, 641, 480, false},
      {V4L2_PIX_FMT_NV12, 640, 481, false},   {V4L2_PIX_FMT_YUV420, 641, 481, false},
      {V4L2_PIX_FMT_YUV420, 640, 481, false}, {V4L2_PIX_FMT_SBGGR8, 641, 480, false},
      {V4L2_PIX_FMT_RGB24, 641, 481, true},   {V4L2_PIX_FMT_GREY, 3, 3, true},
      {V4L2_PIX_FMT_MJPEG, 641, 481, true},   {V4L2_PIX_FMT_YUYV, 0, 480, false},
      {V4L2_PIX_FMT_RGB24, 8193, 2, false},   {V4L2_PIX_FMT_RGB24, 8192, 8192, true},
      {0x31323334, 640, 480, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(size_converts(c.fourcc, c.width, c.height), c.converts)
        << c.fourcc << " " << c.width << "x" << c.height;
}

TEST(FrameLayout, FrameBytesCountEveryPlane) {
  EXPECT_EQ(frame_bytes({V4L2_PIX_FMT_YUYV, 640, 480, 0}), 614400u);
  EXPECT_EQ(frame_bytes({V4L2_PIX_FMT_YUYV, 640, 480, 1344}), 645120u);
  EXPECT_EQ(frame_bytes({V4L2_PIX_FMT_NV12, 640, 480, 0}), 460800u);
  EXPECT_EQ(frame_bytes({V4L2_PIX_FMT_YUV420, 640, 480, 640}), 460800u);
  EXPECT_EQ(frame_bytes({V4L2_PIX_FMT_NV16, 640, 480, 0}), 614400u);
  // A row length below the pixels' own is no row length.
  EXPECT_EQ(frame_bytes({V4L2_PIX_FMT_RGB24, 640, 480, 100}), 921600u);
  EXPECT_EQ(frame_bytes({V4L2_PIX_FMT_MJPEG, 640, 480, 0}), 0u);
}

}  // namespace
}  // namespace wren::capture
