#include "runtime/units.h"

#include <cmath>

namespace rt {

int ux(int units) { return static_cast<int>(std::lround(units * 7.0 / 32.0)); }
int uy(int units) { return static_cast<int>(std::lround(units / 4.0)); }

PxRect px_rect(int x, int y, int width, int height) {
  const int left = ux(x), top = uy(y);
  return {left, top, ux(x + width) - left, uy(y + height) - top};
}

Rgb rgb_from_long(long colour) {
  return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
          static_cast<int>((colour >> 16) & 0xFF)};
}

long long_from_rgb(Rgb c) { return c.r + 256L * c.g + 65536L * c.b; }

std::optional<SystemColour> system_colour(long colour) {
  switch (colour) {
    case 33554432:
      return SystemColour::WindowText;
    case 67108864:
    case 79741120:
      return SystemColour::ButtonFace;
    case 1073741824:
    case 1090519039:
      return SystemColour::WindowBackground;
    case 134217728:
    case 0x8000000C:
      return SystemColour::AppWorkspace;
    default:
      return std::nullopt;
  }
}

}  // namespace rt
