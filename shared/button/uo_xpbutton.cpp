#include "shared/button/uo_xpbutton.h"

#include "runtime/units.h"

uo_xpbutton::uo_xpbutton(QWidget* parent) : QPushButton(parent) {}

void uo_xpbutton::set_tag(const QString& tag) {
  tag_ = tag;
  setText(tag);
}

void uo_xpbutton::place(int x, int y, int w, int h) {
  const rt::PxRect r = rt::px_rect(x, y, w, h);
  setGeometry(r.x, r.y, r.w, r.h);
}
