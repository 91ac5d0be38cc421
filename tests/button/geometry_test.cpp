#include <gtest/gtest.h>

#include "runtime/units.h"
#include "shared/button/button_geometry.h"

namespace {

using namespace xpb;

ButtonParts laid_out(int width, int height, bool picture) {
  ButtonParts p;
  p.width = width;
  p.height = height;
  p.plb_buttonbmp.visible = picture;
  of_setposition(p);
  return p;
}

TEST(ButtonGeometry, InsideTestCountsTheBottomEdgeInAndTheRightEdgeOut) {
  struct Case {
    int x, y;
    bool inside;
  } cases[] = {
      {0, 0, true},    {360, 108, true}, {361, 50, false}, {50, 109, false},
      {-1, 50, false}, {50, -1, false},  {360, 0, true},   {0, 108, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(is_inside(c.x, c.y, 361, 108), c.inside) << c.x << "," << c.y;
}

TEST(ButtonGeometry, CalcFor361By108WithAndWithoutPicture) {
  const ButtonParts plain = laid_out(361, 108, false);
  const ButtonParts pictured = laid_out(361, 108, true);
  struct Case {
    const char* key;
    double without, with;
  } cases[] = {
      {"PictureX", 0, 35},           {"PictureY", 0, 24},         {"PictureX Lowered", 0, 40},
      {"PictureY Lowered", 0, 29},   {"CaptionX", 32, 128},       {"CaptionY", 30, 30},
      {"CaptionX Lowered", 37, 131},  // from the picture box where it stands (x 35)
      {"CaptionY Lowered", 35, 35},  {"Caption Width", 303, 188}, {"", -1, -1},
      {"captionx", -1, -1},          {"CaptionX ", -1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(of_calc(c.key, plain), c.without) << '"' << c.key << '"';
    EXPECT_EQ(of_calc(c.key, pictured), c.with) << '"' << c.key << '"';
  }
}

TEST(ButtonGeometry, OddHeightGivesHalvesThatRoundAwayFromZero) {
  const ButtonParts p = laid_out(361, 107, true);
  EXPECT_EQ(of_calc("PictureY", p), 23.5);
  EXPECT_EQ(of_calc("CaptionY", p), 29.5);
  EXPECT_EQ(of_calc("CaptionY Lowered", p), 34.5);
  EXPECT_EQ(p.plb_buttonbmp.y, 24);
  EXPECT_EQ(p.st_caption.y, 30);
  EXPECT_EQ(to_position(-0.5), -1);
}

TEST(ButtonGeometry, LinesFor361By108) {
  const ButtonParts p = laid_out(361, 108, false);
  struct Case {
    Line line;
    int bx, by, ex, ey;
  } cases[] = {
      {ln_left, 5, 8, 5, 100},       {ln_right, 353, 8, 353, 98},   {ln_top, 8, 5, 351, 5},
      {ln_bottom, 8, 100, 351, 100}, {ln_left1, 7, 8, 7, 100},      {ln_left2, 15, 8, 13, 100},
      {ln_top1, 8, 7, 353, 7},       {ln_top2, 8, 12, 347, 12},     {ln_right1, 349, 8, 349, 100},
      {ln_right2, 341, 8, 341, 104}, {ln_bottom1, 12, 97, 349, 97}, {ln_bottom2, 12, 93, 349, 93},
  };
  for (const Case& c : cases) {
    const LinePart& l = p.line(c.line);
    EXPECT_EQ((std::array{l.beginx, l.beginy, l.endx, l.endy}),
              (std::array{c.bx, c.by, c.ex, c.ey}))
        << "line " << c.line;
  }
  EXPECT_EQ(p.rr_backgnd.x, 0);
  EXPECT_EQ(p.rr_backgnd.width, 361);
  EXPECT_EQ(p.rr_backgnd.height, 108);
}

TEST(ButtonGeometry, BoxesAndFocusRectangle) {
  const ButtonParts plain = laid_out(361, 108, false);
  EXPECT_EQ(plain.plb_buttonbmp.x, 0);
  EXPECT_EQ(plain.plb_buttonbmp.y, 0);
  EXPECT_EQ(plain.st_caption.x, 32);
  EXPECT_EQ(plain.st_caption.y, 30);
  EXPECT_EQ(plain.st_caption.width, 303);
  EXPECT_EQ(plain.st_caption.height, 48);  // never changed by the layout
  EXPECT_EQ(plain.ir_focusrect, (PixelRect{5, 5, rt::ux(343), rt::uy(93)}));

  const ButtonParts pictured = laid_out(361, 108, true);
  EXPECT_EQ(pictured.plb_buttonbmp.x, 35);
  EXPECT_EQ(pictured.plb_buttonbmp.y, 24);
  EXPECT_EQ(pictured.plb_buttonbmp.width, 73);
  EXPECT_EQ(pictured.st_caption.x, 128);
  EXPECT_EQ(pictured.st_caption.width, 188);

  // Left and top stay at 5 pixels whatever the size.
  const ButtonParts small = laid_out(200, 60, false);
  EXPECT_EQ(small.ir_focusrect, (PixelRect{5, 5, rt::ux(182), rt::uy(45)}));
}

}  // namespace
