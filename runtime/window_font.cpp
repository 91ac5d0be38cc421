#include "runtime/window_font.h"

#include <cmath>

#include "runtime/fonts.h"

namespace rt {

QFont window_font(const QString& windows_face, int points, int weight) {
  QFont f(font_family(windows_face));
  f.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
  f.setWeight(static_cast<QFont::Weight>(weight));
  return f;
}

}  // namespace rt
