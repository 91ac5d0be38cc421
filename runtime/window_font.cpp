#include "runtime/window_font.h"

#include <QHash>
#include <QRawFont>
#include <algorithm>
#include <cmath>

#include "runtime/bitmap_strikes.h"
#include "runtime/fonts.h"

namespace rt {

namespace {

// Whether the face that `font` resolves to carries a bitmap strike at its pixel size; asked once
// per family and size, as the table is read from the font file.
bool has_bitmap_strike(const QFont& font) {
  static QHash<QString, bool> known;
  const QString key = font.family() + QLatin1Char('/') + QString::number(font.pixelSize());
  const auto it = known.constFind(key);
  if (it != known.constEnd()) return *it;
  const std::vector<int> sizes = bitmap_strike_sizes(QRawFont::fromFont(font).fontTable("EBLC"));
  return known[key] = std::ranges::find(sizes, font.pixelSize()) != sizes.end();
}

}  // namespace

QFont window_font(const QString& windows_face, int points, int weight) {
  QFont f(font_family(windows_face));
  f.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
  f.setWeight(static_cast<QFont::Weight>(weight));
  // Where the face has a bitmap for the size, Windows draws the bitmap: thin strokes antialiased
  // at 12 or 13 pixels come out grey. Unantialiased, the face's own bitmaps are drawn, with
  // the same advances and line metrics as the outlines. Set either way, so that no font takes
  // the choice over from the application's or its window's.
  f.setStyleStrategy(has_bitmap_strike(f) ? QFont::NoAntialias : QFont::PreferDefault);
  return f;
}

}  // namespace rt
