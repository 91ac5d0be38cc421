#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "recording_host.h"

namespace {

using namespace xpb;
using test::CoreFixture;

constexpr long raised = rgb(232, 232, 230), lowered = rgb(224, 224, 216),
               disabled = rgb(248, 244, 232), text = window_text_colour;

struct LookCase {
  const char* name;
  std::function<void(ButtonCore&)> draw;
  long face, face_line;
  std::array<long, line_count> lines;  // in the order of enum Line: outer, inner, third ring
  bool third_ring;
  long caption_text;
  int picture_x, picture_y, caption_x, caption_y;  // with a picture
  bool focus_rect;
};

// clang-format off
const LookCase look_cases[] = {
  {"normal", [](ButtonCore& c) { c.of_drawnormal(); }, raised, rgb(0, 60, 120),
   {rgb(250, 250, 252), rgb(250, 214, 252), rgb(204, 174, 205), rgb(204, 174, 205),
    rgb(250, 250, 252), rgb(250, 250, 252), rgb(214, 214, 190), rgb(214, 214, 190),
    text, text, text, text},
   false, rgb(0, 0, 0), 35, 24, 128, 30, false},
  {"focused", [](ButtonCore& c) { c.focus_in(); }, raised, rgb(0, 60, 120),
   {rgb(208, 232, 255), rgb(144, 176, 232), rgb(160, 192, 140), rgb(136, 172, 232),
    rgb(191, 212, 248), rgb(160, 192, 240), rgb(144, 176, 232), rgb(104, 132, 240),
    text, text, text, text},
   false, rgb(0, 0, 0), 35, 24, 128, 30, true},
  {"hover", [](ButtonCore& c) { c.of_drawraised(); }, raised, rgb(0, 60, 120),
   {rgb(255, 240, 208), rgb(255, 220, 144), rgb(204, 174, 205), rgb(232, 152, 0),
    rgb(255, 216, 136), rgb(248, 204, 104), rgb(248, 188, 72), rgb(255, 216, 136),
    rgb(255, 216, 136), rgb(255, 216, 136), rgb(248, 204, 104), rgb(248, 188, 72)},
   true, rgb(0, 0, 0), 35, 24, 128, 30, false},
  {"hover, focused", [](ButtonCore& c) { c.focus_in(); c.of_drawraised(); }, raised,
   rgb(0, 60, 120),
   {rgb(255, 240, 208), rgb(255, 220, 144), rgb(204, 174, 205), rgb(232, 152, 0),
    rgb(255, 216, 136), rgb(248, 204, 104), rgb(248, 188, 72), rgb(255, 216, 136),
    rgb(255, 216, 136), rgb(255, 216, 136), rgb(248, 204, 104), rgb(248, 188, 72)},
   true, rgb(0, 0, 0), 35, 24, 128, 30, true},
  // Content moves right and down; the caption 8 right because the picture moved first.
  {"pressed", [](ButtonCore& c) { c.of_drawlowered(); }, lowered, rgb(0, 60, 120),
   {rgb(208, 204, 192), rgb(216, 212, 200), rgb(255, 212, 128), rgb(240, 240, 240),
    rgb(224, 216, 208), rgb(224, 220, 208), rgb(232, 228, 224), rgb(232, 228, 224),
    text, text, text, text},
   false, rgb(0, 0, 0), 40, 29, 136, 35, false},
  // Disabled while pressed puts the content back.
  {"disabled", [](ButtonCore& c) { c.focus_in(); c.of_drawlowered(); c.of_enabled(false); },
   disabled, rgb(200, 200, 184),
   {rgb(200, 200, 184), rgb(200, 200, 184), rgb(200, 200, 184), rgb(200, 200, 184),
    rgb(248, 244, 232), rgb(248, 244, 232), rgb(248, 244, 232), rgb(248, 244, 232),
    text, text, text, text},
   false, rgb(161, 161, 146), 35, 24, 128, 30, false},
};
// clang-format on

TEST(ButtonLooks, EachLookSetsItsColoursPositionsAndFocusRectangle) {
  for (const LookCase& c : look_cases) {
    SCOPED_TRACE(c.name);
    CoreFixture f(/*picture=*/true);
    c.draw(f.core);
    const ButtonParts& p = f.core.parts();
    EXPECT_EQ(p.rr_backgnd.fillcolor, c.face);
    EXPECT_EQ(p.rr_backgnd.linecolor, c.face_line);
    for (std::size_t i = 0; i < line_count; ++i) {
      EXPECT_EQ(p.lines[i].linecolor, c.lines[i]) << "line " << i;
      EXPECT_EQ(p.lines[i].visible, i < ln_top2 || c.third_ring) << "line " << i;
    }
    EXPECT_EQ(p.plb_buttonbmp.backcolor, c.face);
    EXPECT_EQ(p.st_caption.backcolor, c.face);
    EXPECT_EQ(p.st_caption.textcolor, c.caption_text);
    EXPECT_EQ(p.plb_buttonbmp.x, c.picture_x);
    EXPECT_EQ(p.plb_buttonbmp.y, c.picture_y);
    EXPECT_EQ(p.st_caption.x, c.caption_x);
    EXPECT_EQ(p.st_caption.y, c.caption_y);
    EXPECT_EQ(p.st_caption.width, 188);  // only the layout sets it
    EXPECT_EQ(p.focus_rect_drawn, c.focus_rect);
  }
}

TEST(ButtonLooks, WhatALookKeepsStaysAsTheLastLookLeftIt) {
  CoreFixture f;
  f.core.of_drawraised();
  f.core.of_drawnormal();  // hides the third ring but keeps its orange
  EXPECT_FALSE(f.core.parts().line(ln_top2).visible);
  EXPECT_EQ(f.core.parts().line(ln_right2).linecolor, rgb(248, 188, 72));

  // Hover and pressed leave the caption's text colour alone.
  f.core.of_drawdisabled();
  f.core.of_drawraised();
  EXPECT_EQ(f.core.parts().st_caption.textcolor, rgb(161, 161, 146));
  f.core.of_drawlowered();
  EXPECT_EQ(f.core.parts().st_caption.textcolor, rgb(161, 161, 146));
  f.core.of_enabled(true);
  EXPECT_EQ(f.core.parts().st_caption.textcolor, rgb(0, 0, 0));
}

TEST(ButtonLooks, FaceColoursComeFromTheButtonsSettingsButTheDisabledInnerRingDoesNot) {
  CoreFixture f;
  f.core.colours = {rgb(1, 2, 3), rgb(4, 5, 6), rgb(7, 8, 9)};
  f.core.of_drawnormal();
  EXPECT_EQ(f.core.parts().rr_backgnd.fillcolor, rgb(1, 2, 3));
  f.core.of_drawlowered();
  EXPECT_EQ(f.core.parts().st_caption.backcolor, rgb(4, 5, 6));
  f.core.of_drawdisabled();
  EXPECT_EQ(f.core.parts().rr_backgnd.fillcolor, rgb(7, 8, 9));
  EXPECT_EQ(f.core.parts().line(ln_top1).linecolor, rgb(248, 244, 232));
}

TEST(ButtonLooks, ALookAskedForWhileOneIsBeingDrawnIsNotDrawn) {
  CoreFixture f;
  f.host.on_drawn = [&](Look) { f.core.of_drawraised(); };
  f.core.of_drawlowered();
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"pressed"}));
  EXPECT_FALSE(f.core.flags().ib_drawing);
  EXPECT_FALSE(f.core.parts().line(ln_top2).visible);
}

TEST(ButtonObject, ConstructionTakesTheParentColourAndHidesAMissingPicture) {
  CoreFixture f;
  EXPECT_EQ(f.core.backgndcolor, rgb(236, 233, 216));
  EXPECT_EQ(f.core.parts().backcolor, rgb(236, 233, 216));
  EXPECT_FALSE(f.core.parts().plb_buttonbmp.visible);
  EXPECT_EQ(f.core.parts().st_caption.x, 32);
  EXPECT_EQ(f.core.parts().rr_backgnd.fillcolor, raised);
}

TEST(ButtonObject, PictureNamesAreKeptOnlyWhenTheyEndInBang) {
  CoreFixture f;
  f.core.of_addpicture(QStringLiteral("Save!"));
  EXPECT_EQ(f.core.picture_name, QStringLiteral("Save!"));
  EXPECT_TRUE(f.core.parts().plb_buttonbmp.visible);
  EXPECT_EQ(f.core.parts().st_caption.x, 128);

  f.core.of_addpicture(QStringLiteral("save.bmp"));
  EXPECT_TRUE(f.core.picture_name.isEmpty());
  EXPECT_TRUE(f.core.parts().plb_buttonbmp.visible);  // until the next of_showpic

  // Hiding does not redo the layout: the caption keeps the picture layout's width.
  f.core.of_showpic();
  EXPECT_FALSE(f.core.parts().plb_buttonbmp.visible);
  EXPECT_EQ(f.core.parts().st_caption.width, 188);
  f.core.of_drawnormal();
  EXPECT_EQ(f.core.parts().st_caption.x, 32);
  EXPECT_EQ(f.core.parts().plb_buttonbmp.x, 0);
}

TEST(ButtonObject, GreyedPictureOnlyWhenDisabledWithAPicture) {
  CoreFixture f;
  f.core.of_enabled(false);
  EXPECT_FALSE(f.core.of_drawdisabledpicture());
  f.core.of_addpicture(QStringLiteral("Save!"));
  EXPECT_TRUE(f.core.of_drawdisabledpicture());
  f.core.of_enabled(true);
  EXPECT_FALSE(f.core.of_drawdisabledpicture());
}

}  // namespace
