#include "shared/button/button_looks.h"

#include "shared/button/button_geometry.h"

namespace xpb {

namespace {

constexpr long kept = -1;

enum class Face { raised, lowered, disabled };

struct LookColumn {
  Face face;
  long face_line;
  long lines[line_count];  // in the order of enum Line
  long caption_text;
  bool third_ring;
  bool lowered_content;
};

// Odd values (ln_left normal, ln_right focused, hover and pressed) are the system's own.
// clang-format off
constexpr LookColumn columns[] = {
  // normal
  {Face::raised, rgb(0, 60, 120),
   {rgb(250, 250, 252), rgb(250, 214, 252), rgb(204, 174, 205), rgb(204, 174, 205),
    rgb(250, 250, 252), rgb(250, 250, 252), rgb(214, 214, 190), rgb(214, 214, 190),
    kept, kept, kept, kept},
   rgb(0, 0, 0), false, false},
  // normal, focused
  {Face::raised, rgb(0, 60, 120),
   {rgb(208, 232, 255), rgb(144, 176, 232), rgb(160, 192, 140), rgb(136, 172, 232),
    rgb(191, 212, 248), rgb(160, 192, 240), rgb(144, 176, 232), rgb(104, 132, 240),
    kept, kept, kept, kept},
   rgb(0, 0, 0), false, false},
  // hover
  {Face::raised, rgb(0, 60, 120),
   {rgb(255, 240, 208), rgb(255, 220, 144), rgb(204, 174, 205), rgb(232, 152, 0),
    rgb(255, 216, 136), rgb(248, 204, 104), rgb(248, 188, 72), rgb(255, 216, 136),
    rgb(255, 216, 136), rgb(255, 216, 136), rgb(248, 204, 104), rgb(248, 188, 72)},
   kept, true, false},
  // pressed
  {Face::lowered, rgb(0, 60, 120),
   {rgb(208, 204, 192), rgb(216, 212, 200), rgb(255, 212, 128), rgb(240, 240, 240),
    rgb(224, 216, 208), rgb(224, 220, 208), rgb(232, 228, 224), rgb(232, 228, 224),
    kept, kept, kept, kept},
   kept, false, true},
  // disabled: the inner ring is a constant, not disabledcolor
  {Face::disabled, rgb(200, 200, 184),
   {rgb(200, 200, 184), rgb(200, 200, 184), rgb(200, 200, 184), rgb(200, 200, 184),
    rgb(248, 244, 232), rgb(248, 244, 232), rgb(248, 244, 232), rgb(248, 244, 232),
    kept, kept, kept, kept},
   rgb(161, 161, 146), false, false},
};
// clang-format on

long face_colour(Face f, const FaceColours& c) {
  switch (f) {
    case Face::lowered:
      return c.loweredcolor;
    case Face::disabled:
      return c.disabledcolor;
    case Face::raised:
      break;
  }
  return c.raisedcolor;
}

}  // namespace

std::string_view look_name(Look look) {
  switch (look) {
    case Look::normal:
      return "normal";
    case Look::normal_focused:
      return "focused";
    case Look::hover:
      return "hover";
    case Look::pressed:
      return "pressed";
    case Look::disabled:
      return "disabled";
  }
  return "?";
}

void apply_look(Look look, ButtonParts& p, const FaceColours& colours) {
  const LookColumn& col = columns[static_cast<int>(look)];
  const long face = face_colour(col.face, colours);
  p.rr_backgnd.fillcolor = face;
  p.rr_backgnd.linecolor = col.face_line;
  for (std::size_t i = 0; i < line_count; ++i)
    if (col.lines[i] != kept) p.lines[i].linecolor = col.lines[i];

  // Picture first: the caption's x is read from the picture box's.
  const char* px = col.lowered_content ? "PictureX Lowered" : "PictureX";
  const char* py = col.lowered_content ? "PictureY Lowered" : "PictureY";
  const char* cx = col.lowered_content ? "CaptionX Lowered" : "CaptionX";
  const char* cy = col.lowered_content ? "CaptionY Lowered" : "CaptionY";
  p.plb_buttonbmp.x = to_position(of_calc(px, p));
  p.plb_buttonbmp.y = to_position(of_calc(py, p));
  p.st_caption.x = to_position(of_calc(cx, p));
  p.st_caption.y = to_position(of_calc(cy, p));

  p.plb_buttonbmp.backcolor = face;
  p.st_caption.backcolor = face;
  if (col.caption_text != kept) p.st_caption.textcolor = col.caption_text;

  for (Line l : {ln_top2, ln_left2, ln_bottom2, ln_right2}) p.line(l).visible = col.third_ring;
}

}  // namespace xpb
