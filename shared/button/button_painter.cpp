#include "shared/button/button_painter.h"

#include <QPainter>

#include "runtime/units.h"
#include "shared/button/disabled_picture.h"

namespace xpb {

QColor to_qcolor(long colour, const QPalette& palette) {
  if (const auto sys = rt::system_colour(colour)) {
    switch (*sys) {
      case rt::SystemColour::WindowText:
        return palette.color(QPalette::WindowText);
      case rt::SystemColour::ButtonFace:
        return palette.color(QPalette::Button);
      case rt::SystemColour::WindowBackground:
        return palette.color(QPalette::Base);
      case rt::SystemColour::AppWorkspace:
        return palette.color(QPalette::Dark);
    }
  }
  const rt::Rgb c = rt::rgb_from_long(colour);
  return QColor(c.r, c.g, c.b);
}

namespace {

// Positions inside the button converted as edges of the window, so that the face meets the
// button's own edges exactly wherever the button lies.
struct Pixels {
  int ox, oy;
  int x(int u) const { return rt::ux(ox + u) - rt::ux(ox); }
  int y(int u) const { return rt::uy(oy + u) - rt::uy(oy); }
  QRect box(int bx, int by, int bw, int bh) const {
    return QRect(QPoint(x(bx), y(by)), QPoint(x(bx + bw) - 1, y(by + bh) - 1));
  }
};

// DrawFocusRect's dotted outline; in place of inverting what lies under it, the inverse of the
// face colour.
void paint_focus_rect(QPainter& p, const PixelRect& r, QColor face) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  p.setPen(QColor(255 - face.red(), 255 - face.green(), 255 - face.blue()));
  auto dot = [&](int x, int y) {
    if ((x + y) % 2 == 0) p.drawPoint(x, y);
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    dot(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    dot(r.right - 1, y);
  }
}

}  // namespace

void paint_button(QPainter& p, const PaintInput& in) {
  const ButtonParts& parts = in.parts;
  const Pixels px{in.origin_x, in.origin_y};
  auto colour = [&](long c) { return to_qcolor(c, in.palette); };
  p.setRenderHint(QPainter::Antialiasing, false);

  p.fillRect(px.box(0, 0, parts.width, parts.height), colour(parts.backcolor));

  const FacePart& face = parts.rr_backgnd;
  p.setPen(QPen(colour(face.linecolor), 0));
  p.setBrush(colour(face.fillcolor));
  // An outline drawn on a rectangle covers one pixel more than the rectangle to the right and
  // below.
  const QRect face_box = px.box(face.x, face.y, face.width, face.height).adjusted(0, 0, -1, -1);
  p.drawRoundedRect(face_box, px.x(face.cornerwidth), px.y(face.cornerheight), Qt::AbsoluteSize);
  p.setBrush(Qt::NoBrush);

  for (const LinePart& l : parts.lines) {
    if (!l.visible) continue;
    p.setPen(QPen(colour(l.linecolor), 0));
    p.drawLine(px.x(l.beginx), px.y(l.beginy), px.x(l.endx), px.y(l.endy));
  }

  const BoxPart& cap = parts.st_caption;
  if (cap.visible && cap.width > 0 && cap.height > 0) {
    const QRect r = px.box(cap.x, cap.y, cap.width, cap.height);
    p.fillRect(r, colour(cap.backcolor));
    p.setPen(colour(cap.textcolor));
    p.setFont(in.font);
    p.drawText(r, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, in.caption);
  }

  // Brought to the top when shown, so it lies over the caption.
  const BoxPart& pic = parts.plb_buttonbmp;
  if (pic.visible) {
    const QRect r = px.box(pic.x, pic.y, pic.width, pic.height);
    p.fillRect(r, colour(pic.backcolor));
    p.save();
    p.setClipRect(r);
    if (in.picture.isNull()) {
      // A picture that did not load shows its empty box.
    } else if (in.greyed_picture)
      p.drawImage(r.topLeft(), disabled_picture(in.picture, in.palette.color(QPalette::Light),
                                                in.palette.color(QPalette::Dark)));
    else
      p.drawPixmap(r.topLeft(), in.picture);
    p.restore();
  }

  if (parts.focus_rect_drawn) paint_focus_rect(p, parts.ir_focusrect, colour(face.fillcolor));
}

}  // namespace xpb
