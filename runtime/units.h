#pragma once
// The windows' layout units and colour values, mapped to pixels and RGB.
#include <optional>

namespace rt {

// 7/32 pixel per unit across, 1/4 pixel per unit down. Convert edges, not sizes, so that
// controls that touch in units touch in pixels.
int ux(int units);
int uy(int units);

struct PxRect {
  int x, y, w, h;
};
PxRect px_rect(int x, int y, int width, int height);

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

// Windows' colour of greyed (disabled) text, COLOR_GRAYTEXT: readable on the 3-D face colour.
constexpr Rgb kGreyedText{109, 109, 109};

// Colour values below 16777216 are red + 256 * green + 65536 * blue.
Rgb rgb_from_long(long colour);
long long_from_rgb(Rgb c);

// The larger values are the toolkit's codes for system colours.
enum class SystemColour { WindowText, ButtonFace, WindowBackground, AppWorkspace };
std::optional<SystemColour> system_colour(long colour);

}  // namespace rt
