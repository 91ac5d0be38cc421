#include "wren/capture/pixel_converter.h"

#include <gtest/gtest.h>
#include <linux/videodev2.h>

#include <cstdlib>

namespace {

using wren::capture::Frame;
using wren::capture::PixelConverter;
using wren::capture::SourceFormat;

struct ConversionCase {
  const char* name;
  SourceFormat format;
  std::vector<unsigned char> bytes;
  std::vector<int> rgb;  // expected, top row first
};

// YUV decodes at full range: Y 16 is dark grey, not black. The tolerance allows for rounding.
std::vector<ConversionCase> conversion_cases() {
  return {
      {"yuyv",
       {V4L2_PIX_FMT_YUYV, 2, 2, 4},
       {16, 128, 235, 128, 81, 90, 145, 54},
       {16, 16, 16, 235, 235, 235, 0, 151, 4, 34, 215, 68}},
      {"yuyv_padded_rows",
       {V4L2_PIX_FMT_YUYV, 2, 2, 6},
       {16, 128, 235, 128, 9, 9, 81, 90, 145, 54, 9, 9},
       {16, 16, 16, 235, 235, 235, 0, 151, 4, 34, 215, 68}},
      // A row length of 0 means rows without padding.
      {"yuyv_packed_rows",
       {V4L2_PIX_FMT_YUYV, 2, 2, 0},
       {16, 128, 235, 128, 81, 90, 145, 54},
       {16, 16, 16, 235, 235, 235, 0, 151, 4, 34, 215, 68}},
      {"uyvy", {V4L2_PIX_FMT_UYVY, 2, 1, 4}, {128, 16, 128, 235}, {16, 16, 16, 235, 235, 235}},
      {"rgb24_padded_rows",
       {V4L2_PIX_FMT_RGB24, 2, 2, 8},
       {1, 2, 3, 4, 5, 6, 0xAA, 0xAA, 7, 8, 9, 10, 11, 12, 0xAA, 0xAA},
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"bgr24", {V4L2_PIX_FMT_BGR24, 2, 1, 6}, {1, 2, 3, 4, 5, 6}, {3, 2, 1, 6, 5, 4}},
      {"grey",
       {V4L2_PIX_FMT_GREY, 2, 2, 2},
       {0, 128, 255, 7},
       {0, 0, 0, 128, 128, 128, 255, 255, 255, 7, 7, 7}},
      {"yuv420",
       {V4L2_PIX_FMT_YUV420, 2, 2, 2},
       {16, 235, 16, 235, 128, 128},
       {16, 16, 16, 235, 235, 235, 16, 16, 16, 235, 235, 235}},
      {"nv12",
       {V4L2_PIX_FMT_NV12, 2, 2, 2},
       {16, 235, 16, 235, 128, 128},
       {16, 16, 16, 235, 235, 235, 16, 16, 16, 235, 235, 235}},
      // Odd sizes of formats without subsampled colour convert pixel for pixel.
      {"rgb24_odd",
       {V4L2_PIX_FMT_RGB24, 3, 1, 9},
       {1, 2, 3, 4, 5, 6, 7, 8, 9},
       {1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"grey_odd",
       {V4L2_PIX_FMT_GREY, 1, 3, 1},
       {10, 20, 30},
       {10, 10, 10, 20, 20, 20, 30, 30, 30}},
  };
}

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.name; }

class Conversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, GivesPackedRgbTopRowFirst) {
  const ConversionCase& c = GetParam();
  PixelConverter converter;
  ASSERT_TRUE(converter.valid());
  Frame out;
  QString why;
  ASSERT_TRUE(converter.to_rgb(c.format, c.bytes.data(), c.bytes.size(), &out, &why))
      << why.toStdString();
  EXPECT_EQ(out.width, c.format.width);
  EXPECT_EQ(out.height, c.format.height);
  ASSERT_EQ(out.rgb.size(), qsizetype(c.rgb.size()));
  for (std::size_t i = 0; i < c.rgb.size(); ++i)
    EXPECT_LE(std::abs(static_cast<unsigned char>(out.rgb[qsizetype(i)]) - c.rgb[i]), 2)
        << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, Conversion, ::testing::ValuesIn(conversion_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Conversion, BadBuffersFailAndLeaveTheFrameAlone) {
  PixelConverter converter;
  const Frame before{1, 1, QByteArray("\x01\x02\x03", 3)};
  const std::vector<unsigned char> yuyv{16, 128, 235, 128};
  struct Case {
    const char* name;
    SourceFormat format;
    std::size_t size;
  } cases[] = {
      {"unknown format", {0x31323334, 2, 1, 4}, 4},
      {"short buffer", {V4L2_PIX_FMT_YUYV, 2, 2, 4}, 4},
      {"short padded buffer", {V4L2_PIX_FMT_YUYV, 2, 2, 8}, 4},
      {"no pixels", {V4L2_PIX_FMT_YUYV, 0, 0, 0}, 4},
      // libv4lconvert would skew these and write past the picture: they are not converted.
      {"odd width of 4:2:2", {V4L2_PIX_FMT_YUYV, 1, 1, 2}, 4},
      {"odd height of 4:2:0", {V4L2_PIX_FMT_YUV420, 2, 1, 2}, 4},
  };
  for (const Case& c : cases) {
    Frame out = before;
    QString why;
    EXPECT_FALSE(converter.to_rgb(c.format, yuyv.data(), c.size, &out, &why)) << c.name;
    EXPECT_FALSE(why.isEmpty()) << c.name;
    EXPECT_EQ(out.rgb, before.rgb) << c.name;
    EXPECT_EQ(out.width, 1) << c.name;
  }
}

// libv4lconvert itself decides which camera formats can become RGB.
TEST(Conversion, ConvertibleFormatsAreThoseLibv4lconvertReads) {
  const std::pair<std::uint32_t, bool> cases[] = {
      {V4L2_PIX_FMT_YUYV, true},
      {V4L2_PIX_FMT_MJPEG, true},
      {V4L2_PIX_FMT_RGB24, true},
      {V4L2_PIX_FMT_GREY, true},
      {V4L2_PIX_FMT_NV12, true},
      {V4L2_PIX_FMT_Z16, false},
      {V4L2_PIX_FMT_H264, false},
      {0x31323334, false},
      // libv4lconvert reads it, but its frames' size is not known, so none could be checked.
      {V4L2_PIX_FMT_SPCA561, false},
  };
  for (const auto& [fourcc, converts] : cases)
    EXPECT_EQ(PixelConverter::converts_to_rgb(fourcc), converts)
        << wren::capture::fourcc_text(fourcc).toStdString();
}

// The frame a conversion gives stays as it was while the next one is made: a steady stream takes
// turns between two buffers, never writing into the one handed out last.
TEST(Conversion, TheFrameHandedOutIsNotWrittenByTheNextConversion) {
  PixelConverter converter;
  const std::vector<unsigned char> first{1, 2, 3}, second{4, 5, 6}, third{7, 8, 9};
  Frame a, b;
  QString why;
  ASSERT_TRUE(converter.to_rgb({V4L2_PIX_FMT_RGB24, 1, 1, 3}, first.data(), 3, &a, &why));
  const QByteArray shown = a.rgb;  // what a window keeps painting
  ASSERT_TRUE(converter.to_rgb({V4L2_PIX_FMT_RGB24, 1, 1, 3}, second.data(), 3, &a, &why));
  ASSERT_TRUE(converter.to_rgb({V4L2_PIX_FMT_RGB24, 1, 1, 3}, third.data(), 3, &b, &why));
  EXPECT_EQ(shown, QByteArray("\x01\x02\x03", 3));
  EXPECT_EQ(a.rgb, QByteArray("\x04\x05\x06", 3));
  EXPECT_EQ(b.rgb, QByteArray("\x07\x08\x09", 3));
}

TEST(Conversion, ErrorTextsEndWithoutALineBreak) {
  PixelConverter converter;
  const std::vector<unsigned char> bytes(8, 0);
  Frame out;
  QString why;
  ASSERT_FALSE(
      converter.to_rgb({V4L2_PIX_FMT_Z16, 2, 2, 4}, bytes.data(), bytes.size(), &out, &why));
  EXPECT_FALSE(why.isEmpty());
  EXPECT_FALSE(why.endsWith(QLatin1Char('\n'))) << why.toStdString();
}

}  // namespace
