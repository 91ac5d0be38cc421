#pragma once
// Paints the button's parts as its last look left them.
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPixmap>
#include <QString>

#include "shared/button/button_parts.h"

class QPainter;

namespace xpb {

// A colour long, or one of the toolkit's system colour codes resolved through palette.
QColor to_qcolor(long colour, const QPalette& palette);

struct PaintInput {
  const ButtonParts& parts;
  int origin_x = 0, origin_y = 0;  // the button's place in the window, in layout units
  QString caption;                 // "&" marks the mnemonic letter
  QFont font;
  QPixmap picture;
  bool greyed_picture = false;  // disabled: the picture in the embossed disabled style
  QPalette palette;
};

void paint_button(QPainter& painter, const PaintInput& in);

}  // namespace xpb
