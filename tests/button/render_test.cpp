// Renders the five looks of a 361 x 108 button placed at (0, 0), 79 x 27 pixels, to
// <build>/screenshots/xpbutton_<look>.png and checks the rings and the face pixel by pixel.
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>

#include "button_window.h"
#include "tests/support/temp_program_folder.h"

namespace {

using Render = test::ButtonWindow;

QRgb px(int r, int g, int b) { return qRgb(r, g, b); }

struct Point {
  const char* name;
  int x, y;
};
// Pixel places of the line positions at 7/32 and 1/4 pixel per unit.
const Point points[] = {
    {"corner", 0, 0},         {"border", 40, 0},        {"outer left", 1, 13},
    {"inner left", 2, 13},    {"third left", 3, 13},    {"outer top", 40, 1},
    {"inner top", 40, 2},     {"third top", 40, 3},     {"outer bottom", 40, 25},
    {"inner bottom", 40, 24}, {"third bottom", 40, 23}, {"outer right", 77, 13},
    {"inner right", 76, 13},  {"third right", 75, 13},  {"face", 4, 13},
    {"focus dot", 7, 5},
};
constexpr int point_count = sizeof points / sizeof points[0];

const QRgb bg = px(236, 233, 216), raised = px(232, 232, 230), lowered = px(224, 224, 216),
           disabled = px(248, 244, 232);

struct Expected {
  const char* look;
  QRgb at[point_count];
};
// clang-format off
const Expected expected[] = {
  {"normal", {bg, px(0, 60, 120), px(250, 214, 252), px(250, 250, 252), raised,
              px(250, 250, 252), px(250, 250, 252), raised, px(204, 174, 205),
              px(214, 214, 190), raised, px(204, 174, 205), px(214, 214, 190), raised,
              raised, raised}},
  {"focused", {bg, px(0, 60, 120), px(144, 176, 232), px(160, 192, 240), raised,
               px(208, 232, 255), px(191, 212, 248), raised, px(136, 172, 232),
               px(104, 132, 240), raised, px(160, 192, 140), px(144, 176, 232), raised,
               raised, px(23, 23, 25)}},
  {"hover", {bg, px(0, 60, 120), px(255, 220, 144), px(248, 204, 104), px(248, 204, 104),
             px(255, 240, 208), px(255, 216, 136), px(255, 216, 136), px(232, 152, 0),
             px(255, 216, 136), px(255, 216, 136), px(204, 174, 205), px(248, 188, 72),
             px(248, 188, 72), raised, raised}},
  {"pressed", {bg, px(0, 60, 120), px(216, 212, 200), px(224, 220, 208), lowered,
               px(208, 204, 192), px(224, 216, 208), lowered, px(240, 240, 240),
               px(232, 228, 224), lowered, px(255, 212, 128), px(232, 228, 224), lowered,
               lowered, px(31, 31, 39)}},
  {"disabled", {bg, px(200, 200, 184), px(200, 200, 184), disabled, disabled,
                px(200, 200, 184), disabled, disabled, px(200, 200, 184),
                disabled, disabled, px(200, 200, 184), disabled, disabled,
                disabled, disabled}},
};
// clang-format on

QString rgb_text(QRgb c) {
  return QStringLiteral("(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

// The darkest grey level inside the caption box (pixels 7..72 across, 8..19 down).
int darkest_caption_pixel(const QImage& img) {
  int darkest = 255;
  for (int y = 8; y < 20; ++y)
    for (int x = 7; x < 73; ++x) darkest = std::min(darkest, qGray(img.pixel(x, y)));
  return darkest;
}

TEST_F(Render, FiveLooksOf361By108) {
  show();
  a->place(0, 0, 361, 108);
  move(away());
  const QPoint in = centre(a);
  struct Step {
    std::function<void()> setup;
  } steps[] = {
      {[] {}},
      {[&] { a->setFocus(); }},
      {[&] {
        edit->setFocus();
        move(in);
      }},
      {[&] { press(in); }},
      {[&] {
        release(in);
        move(away());
        a->setEnabled(false);
      }},
  };
  ASSERT_EQ(std::size(steps), std::size(expected));
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const Expected& e = expected[i];
    SCOPED_TRACE(e.look);
    steps[i].setup();
    EXPECT_STREQ(test::look_of(a), e.look);
    const QImage img = a->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(img.size(), QSize(79, 27));
    ASSERT_TRUE(
        img.save(test::screenshot_folder() + QStringLiteral("xpbutton_%1.png").arg(e.look)));
    for (int p = 0; p < point_count; ++p)
      EXPECT_EQ(rgb_text(img.pixel(points[p].x, points[p].y)), rgb_text(e.at[p]))
          << points[p].name << " at " << points[p].x << "," << points[p].y;
    const int darkest = darkest_caption_pixel(img);
    if (i == 4) {
      EXPECT_GE(darkest, 120);  // grey text only
      EXPECT_LT(darkest, 200);
    } else {
      EXPECT_LT(darkest, 100);  // the caption is drawn in black
    }
  }
}

// The toolkit still tells a disabled button that the pointer has left it; the look stays.
TEST_F(Render, DisabledAfterAHoverStaysDisabledWhenThePointerLeaves) {
  show();
  a->place(0, 0, 361, 108);
  move(centre(a));
  ASSERT_STREQ(test::look_of(a), "hover");
  a->of_enabled(false);
  move(away());
  EXPECT_STREQ(test::look_of(a), "disabled");
  const QImage img = a->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_TRUE(
      img.save(test::screenshot_folder() + QStringLiteral("xpbutton_disabled_after_hover.png")));
  EXPECT_EQ(rgb_text(img.pixel(4, 13)), rgb_text(disabled));  // the face
  EXPECT_EQ(rgb_text(img.pixel(40, 3)), rgb_text(disabled));  // no third ring
  EXPECT_GE(darkest_caption_pixel(img), 120);                 // grey text only
  a->of_enabled(true);
  EXPECT_STREQ(test::look_of(a), "normal");
}

TEST_F(Render, PictureMaskAndItsDisabledRendering) {
  QTemporaryDir dir;
  QImage picture(16, 15, QImage::Format_RGB32);
  picture.fill(QColor(192, 192, 192));
  QPainter(&picture).fillRect(4, 4, 8, 7, Qt::black);
  const QString file = dir.filePath(QStringLiteral("house.png"));
  ASSERT_TRUE(picture.save(file));

  show();
  a->place(0, 0, 361, 108);
  a->of_addpicture(file + QStringLiteral("!"));
  EXPECT_EQ(a->state().parts().st_caption.x, 128);
  // The picture box lies at pixel (8, 6).
  QImage img = a->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(rgb_text(img.pixel(8 + 5, 6 + 5)), rgb_text(px(0, 0, 0)));
  EXPECT_EQ(rgb_text(img.pixel(8 + 1, 6 + 1)), rgb_text(raised));  // the mask colour

  a->setEnabled(false);
  img = a->grab().toImage().convertToFormat(QImage::Format_RGB32);
  img.save(test::screenshot_folder() + QStringLiteral("xpbutton_picture_disabled.png"));
  const QPalette pal = a->palette();
  EXPECT_EQ(rgb_text(img.pixel(8 + 5, 6 + 5)), rgb_text(pal.color(QPalette::Dark).rgb()));
  EXPECT_EQ(rgb_text(img.pixel(8 + 12, 6 + 11)), rgb_text(pal.color(QPalette::Light).rgb()));
  EXPECT_EQ(rgb_text(img.pixel(8 + 1, 6 + 1)), rgb_text(disabled));

  // A picture that does not load still takes its place beside the caption.
  a->of_addpicture(dir.filePath(QStringLiteral("missing.png!")));
  EXPECT_TRUE(a->state().parts().plb_buttonbmp.visible);
  EXPECT_EQ(a->state().parts().st_caption.x, 128);
}

}  // namespace
