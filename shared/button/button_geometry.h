#pragma once
// Where the parts of the button lie for its current size.
#include <string_view>

#include "shared/button/button_parts.h"

namespace xpb {

// The position or width for a key ("PictureX", "CaptionY Lowered", "Caption Width", ...) from
// the button's size and the picture and caption boxes as they stand; -1 for an unknown key.
// Results are whole or end in .5, so a double holds them exactly.
double of_calc(std::string_view as_calctype, const ButtonParts& parts);

// How an of_calc result becomes a position: halves round away from zero.
int to_position(double value);

// Lays out face, lines, picture box, caption box and focus rectangle for parts.width/height.
void of_setposition(ButtonParts& parts);

// The inside test of the pointer handlers, in units: the right edge is outside, the bottom
// edge inside.
bool is_inside(int xpos, int ypos, int width, int height);

}  // namespace xpb
