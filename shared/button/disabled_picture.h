#pragma once
// The embossed disabled rendering of a picture: every pixel that is not white when the picture
// lies on white becomes part of the shape, drawn once in the light colour one pixel right and
// down, then in the shadow colour in place. Other pixels stay transparent.
#include <QColor>
#include <QImage>
#include <QPixmap>

namespace xpb {

QImage disabled_picture(const QPixmap& picture, QColor light, QColor shadow);

}  // namespace xpb
