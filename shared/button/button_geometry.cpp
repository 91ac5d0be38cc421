#include "shared/button/button_geometry.h"

#include <cmath>

#include "runtime/units.h"

namespace xpb {

namespace {

// One end point coordinate: offset from the face's near edge, or from its far edge.
struct Coord {
  bool from_far;
  int offset;
};
constexpr Coord near(int o) { return {false, o}; }
constexpr Coord far(int o) { return {true, o}; }

struct LineLayout {
  Line line;
  Coord beginx, beginy, endx, endy;
};

// The rings are deliberately uneven (ln_left2 slants, ln_right2 runs below the bottom lines).
constexpr LineLayout line_layout[] = {
    {ln_left, near(5), near(8), near(5), far(-8)},
    {ln_right, far(-8), near(8), far(-8), far(-10)},
    {ln_top, near(8), near(5), far(-10), near(5)},
    {ln_bottom, near(8), far(-8), far(-10), far(-8)},
    {ln_left1, near(7), near(8), near(7), far(-8)},
    {ln_left2, near(15), near(8), near(13), far(-8)},
    {ln_top1, near(8), near(7), far(-8), near(7)},
    {ln_top2, near(8), near(12), far(-14), near(12)},
    {ln_right1, far(-12), near(8), far(-12), far(-8)},
    {ln_right2, far(-20), near(8), far(-20), far(-4)},
    {ln_bottom1, near(12), far(-11), far(-12), far(-11)},
    {ln_bottom2, near(12), far(-15), far(-12), far(-15)},
};

int resolve(Coord c, int origin, int extent) {
  return origin + (c.from_far ? extent : 0) + c.offset;
}

}  // namespace

double of_calc(std::string_view key, const ButtonParts& p) {
  const BoxPart& pic = p.plb_buttonbmp;
  const bool shown = pic.visible;
  const int h = p.height;
  const double caption_y = (h - p.st_caption.height) * 0.5;
  if (key == "PictureX") return shown ? 35 : 0;
  if (key == "PictureY") return shown ? (h - pic.height) * 0.5 : 0;
  if (key == "PictureX Lowered") return shown ? 40 : 0;
  if (key == "PictureY Lowered") return shown ? (h - pic.height) * 0.5 + 5.0 : 0;
  if (key == "CaptionX") return shown ? pic.x + pic.width + 20 : 32;
  if (key == "CaptionY") return caption_y;
  if (key == "CaptionX Lowered") return shown ? pic.x + pic.width + 20 + 3 : 37;
  if (key == "CaptionY Lowered") return caption_y + 5.0;
  if (key == "Caption Width") return shown ? p.width - pic.width - 100 : p.width - 58;
  return -1;
}

int to_position(double value) { return static_cast<int>(std::lround(value)); }

void of_setposition(ButtonParts& p) {
  FacePart& face = p.rr_backgnd;
  face.x = 0;
  face.y = 0;
  face.width = p.width;
  face.height = p.height;

  for (const LineLayout& l : line_layout) {
    LinePart& line = p.line(l.line);
    line.beginx = resolve(l.beginx, face.x, face.width);
    line.beginy = resolve(l.beginy, face.y, face.height);
    line.endx = resolve(l.endx, face.x, face.width);
    line.endy = resolve(l.endy, face.y, face.height);
  }

  if (p.plb_buttonbmp.visible) {
    p.plb_buttonbmp.x = to_position(of_calc("PictureX", p));
    p.plb_buttonbmp.y = to_position(of_calc("PictureY", p));
  } else {
    p.plb_buttonbmp.x = 0;
    p.plb_buttonbmp.y = 0;
  }
  // "CaptionX" reads the picture box's x, so the caption follows the picture.
  p.st_caption.x = to_position(of_calc("CaptionX", p));
  p.st_caption.y = to_position(of_calc("CaptionY", p));
  p.st_caption.width = to_position(of_calc("Caption Width", p));

  p.ir_focusrect = {5, 5, rt::ux(face.width - 18), rt::uy(face.height - 15)};
}

bool is_inside(int xpos, int ypos, int width, int height) {
  return !(xpos < 0 || ypos < 0 || xpos >= width || ypos > height);
}

}  // namespace xpb
