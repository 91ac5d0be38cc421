#pragma once
// What the button is drawn from: a round face, three rings of four lines, a picture box and a
// caption box, each with the properties that the layout and the looks set. Positions are in the
// windows' layout units relative to the button; only ir_focusrect is in pixels.
#include <array>
#include <cstddef>

namespace xpb {

// Colour longs as the windows hold them: r + 256 g + 65536 b, or a system colour code.
constexpr long rgb(int r, int g, int b) { return r + 256L * g + 65536L * b; }
constexpr long window_text_colour = 33554432;
constexpr long button_face_colour = 67108864;

// The lines in the order the button creates them, which is also the order they are painted in.
enum Line : std::size_t {
  ln_top,
  ln_left,
  ln_right,
  ln_bottom,
  ln_top1,
  ln_left1,
  ln_right1,
  ln_bottom1,
  ln_top2,
  ln_bottom2,
  ln_left2,
  ln_right2,
  line_count
};

struct LinePart {
  int beginx = 0, beginy = 0, endx = 0, endy = 0;
  long linecolor = window_text_colour;
  bool visible = true;
};

struct FacePart {
  int x = 0, y = 0, width = 677, height = 112;
  static constexpr int cornerwidth = 18, cornerheight = 32;
  long fillcolor = rgb(255, 255, 255);
  long linecolor = rgb(0, 0, 128);
};

struct BoxPart {
  int x = 0, y = 0, width = 0, height = 0;
  long backcolor = button_face_colour;
  long textcolor = window_text_colour;
  bool visible = true;
};

// Pixels, right and bottom exclusive, as the platform's rectangles are.
struct PixelRect {
  long left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

struct ButtonParts {
  int width = 686, height = 116;  // the button's own size
  long backcolor = button_face_colour;
  FacePart rr_backgnd;
  std::array<LinePart, line_count> lines;
  BoxPart plb_buttonbmp{69, 24, 73, 60, rgb(192, 192, 192), window_text_colour, true};
  BoxPart st_caption{178, 32, 480, 48, button_face_colour, window_text_colour, true};
  PixelRect ir_focusrect;
  bool focus_rect_drawn = false;  // whether the last look drew the focus rectangle

  LinePart& line(Line l) { return lines[l]; }
  const LinePart& line(Line l) const { return lines[l]; }
};

}  // namespace xpb
