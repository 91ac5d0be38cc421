#include "shared/w_wait.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QScreen>

#include "runtime/units.h"
#include "runtime/window_font.h"
#include "runtime/window_title.h"
#include "shared/globals.h"
#include "shared/w_wait_text.h"

namespace {

constexpr long kBackground = 14581853;

QColor colour(long c) {
  const rt::Rgb v = rt::rgb_from_long(c);
  return QColor(v.r, v.g, v.b);
}

void place(QWidget* w, int x, int y, int width, int height) {
  const rt::PxRect r = rt::px_rect(x, y, width, height);
  w->setGeometry(r.x, r.y, r.w, r.h);
}

}  // namespace

QPixmap w_wait_builtin_picture() {
  // 314 x 198: dark blue bands at the top and the bottom, the window's lighter blue across the
  // middle, where the text line lies.
  QPixmap pm(314, 198);
  QPainter p(&pm);
  p.fillRect(pm.rect(), QColor(22, 38, 104));
  p.fillRect(QRect(0, 66, 314, 66), colour(kBackground));
  p.setPen(QColor(150, 175, 235));
  p.drawLine(0, 66, 313, 66);
  p.drawLine(0, 131, 313, 131);
  return pm;
}

w_wait::w_wait(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  const rt::PxRect size = rt::px_rect(0, 0, 1435, 800);
  setFixedSize(size.w, size.h);
  rt::set_window_title(this, QString());
  setWindowIcon(QApplication::windowIcon());
  QPalette pal = palette();
  pal.setColor(QPalette::Window, colour(kBackground));
  setPalette(pal);
  setAutoFillBackground(true);

  st_1 = new QLabel(QStringLiteral("请稍候……"), this);
  place(st_1, 142, 368, 1147, 72);
  st_1->setFont(rt::window_font(QStringLiteral("Arial"), 12, 700));
  st_1->setAlignment(Qt::AlignCenter);
  QPalette text = st_1->palette();
  text.setColor(QPalette::WindowText, colour(16777215));
  text.setColor(QPalette::Window, colour(kBackground));
  st_1->setPalette(text);
  st_1->setAutoFillBackground(true);

  p_1 = new QLabel(this);
  place(p_1, 0, 0, 1435, 792);
  p_1->setPixmap(w_wait_builtin_picture());

  // The first control of the list lies in front.
  st_1->raise();
}

void w_wait::open(const QString& s_inf) {
  QPixmap picture(gs_apppath + QStringLiteral("wait.jpg"));
  if (!picture.isNull()) {
    // Shown at the picture's own size.
    p_1->setPixmap(picture);
    p_1->resize(picture.size());
  }
  st_1->setText(w_wait_message(s_inf));

  const QRect area = parentWidget() ? parentWidget()->window()->frameGeometry()
                                    : (screen() ? screen()->availableGeometry() : QRect());
  if (area.isValid()) move(area.center() - rect().center());
  show();
}

void w_wait::closeEvent(QCloseEvent* e) { e->ignore(); }
