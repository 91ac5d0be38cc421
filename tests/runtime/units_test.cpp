#include "runtime/units.h"

#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "runtime/fonts.h"
#include "tests/support/qt_print.h"

namespace {

TEST(Units, EdgesNotSizesSoNeighboursStayFlush) {
  // The wait window: 1435 x 800 units is 314 x 200 pixels.
  EXPECT_EQ(rt::ux(1435), 314);
  EXPECT_EQ(rt::uy(800), 200);
  // Two controls that touch in units touch in pixels, whatever the rounding.
  for (int x = 0; x < 200; ++x) {
    rt::PxRect a = rt::px_rect(x, 3, 37, 9), b = rt::px_rect(x + 37, 3, 41, 9);
    EXPECT_EQ(a.x + a.w, b.x) << x;
  }
}

TEST(Colours, LongsAndSystemCodes) {
  EXPECT_EQ(rt::rgb_from_long(14581853), (rt::Rgb{93, 128, 222}));
  EXPECT_EQ(rt::rgb_from_long(16711680), (rt::Rgb{0, 0, 255}));
  EXPECT_EQ(rt::long_from_rgb({93, 128, 222}), 14581853);
  EXPECT_EQ(rt::system_colour(67108864), rt::SystemColour::ButtonFace);
  EXPECT_EQ(rt::system_colour(33554432), rt::SystemColour::WindowText);
  EXPECT_EQ(rt::system_colour(16777215), std::nullopt);
}

TEST(Fonts, SubstitutesWindowsFonts) {
  EXPECT_EQ(rt::font_family(QStringLiteral("宋体")), "AR PL UMing CN");
  EXPECT_EQ(rt::font_family(QStringLiteral("楷体_GB2312")), "AR PL UKai CN");
  EXPECT_EQ(rt::font_family("Arial"), "Liberation Sans");
  EXPECT_EQ(rt::font_family("Tahoma"), "Tahoma");
}

TEST(CodePage936, RoundTripsAndDecodesBeyondGbk) {
  const QString s = QStringLiteral("数据库处理完毕! abc");
  EXPECT_EQ(rt::to_cp936(s).size(), 2 * 7 + 5);
  EXPECT_EQ(rt::from_cp936(rt::to_cp936(s)), s);
  EXPECT_EQ(rt::to_cp936(QStringLiteral("a\U0001F600b")), "a??b");  // not in GBK
}

}  // namespace
