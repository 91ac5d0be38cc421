#include "shared/button/uo_xpbutton.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QThread>
#include <cmath>

#include "runtime/units.h"
#include "runtime/window_font.h"
#include "shared/button/button_painter.h"

namespace {

// Pointer positions reach the handlers in layout units, as the windows measure the button.
int x_units(double px) { return static_cast<int>(std::lround(px * 32.0 / 7.0)); }
int y_units(double py) { return static_cast<int>(std::lround(py * 4.0)); }

long parent_background(const QWidget* parent) {
  if (!parent) return 0;
  const QColor c = parent->palette().color(parent->backgroundRole());
  return rt::long_from_rgb({c.red(), c.green(), c.blue()});
}

// Virtual-key codes of the keys the inner button handles; 0 for the rest.
int virtual_key(const QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Space:
      // Alt+Space is the system menu's key, not the button's.
      return e->modifiers() & Qt::AltModifier ? 0 : 32;
    default:
      return 0;
  }
}

}  // namespace

uo_xpbutton::uo_xpbutton(QWidget* parent) : QWidget(parent), core_(*this) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Only a left press takes the focus, in ue_mousedown; the toolkit would give it on any press.
  setFocusPolicy(Qt::TabFocus);
  caption_font_ = rt::window_font(QStringLiteral("宋体"), 9);
  mnemonic_ = make_shortcut();
  // A letter that several captions share moves the focus among them instead of clicking one.
  connect(mnemonic_, &QShortcut::activatedAmbiguously, this, [this] {
    if (isEnabled() && isVisible()) setFocus(Qt::ShortcutFocusReason);
  });
  place(0, 0, 686, 116);

  core_.constructor(parent_background(parent));
  of_text(tag_);
  core_.of_enabled(isEnabled());
}

uo_xpbutton::~uo_xpbutton() = default;

QShortcut* uo_xpbutton::make_shortcut() {
  auto* s = new QShortcut(this);
  s->setContext(Qt::WindowShortcut);
  s->setAutoRepeat(false);
  connect(s, &QShortcut::activated, this, [this] {
    if (isEnabled() && isVisible()) core_.activate();
  });
  return s;
}

void uo_xpbutton::set_tag(const QString& tag) {
  // The windows give the tag once, as the caption the button starts with.
  tag_ = tag;
  of_text(tag);
}

QString uo_xpbutton::tag() const { return tag_; }

void uo_xpbutton::place(int x, int y, int width, int height) {
  x_ = x;
  y_ = y;
  const rt::PxRect r = rt::px_rect(x, y, width, height);
  setGeometry(r.x, r.y, r.w, r.h);
  core_.resize(width, height);
}

void uo_xpbutton::set_taborder(int n) {
  taborder_ = n;
  setProperty("taborder", n);
  setFocusPolicy(n > 0 ? Qt::TabFocus : Qt::NoFocus);
}

int uo_xpbutton::taborder() const { return taborder_; }

void uo_xpbutton::triggerevent_clicked() { core_.triggerevent_clicked(); }

void uo_xpbutton::of_addpicture(const QString& as_picturename) {
  core_.of_addpicture(as_picturename);
}

void uo_xpbutton::of_backcolor(long al_backcolor) { core_.of_backcolor(al_backcolor); }

void uo_xpbutton::of_cancel(bool ab_cancel) {
  if (ab_cancel && !cancel_) {
    cancel_ = make_shortcut();
    cancel_->setKey(QKeySequence(Qt::Key_Escape));
  } else if (!ab_cancel && cancel_) {
    delete cancel_;
    cancel_ = nullptr;
  }
}

void uo_xpbutton::of_default(bool ab_default) {
  if (ab_default && !default_) {
    default_ = make_shortcut();
    default_->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  } else if (!ab_default && default_) {
    delete default_;
    default_ = nullptr;
  }
}

void uo_xpbutton::of_enabled(bool ab_enabled) {
  const bool was = isEnabled();
  setEnabled(ab_enabled);
  // Without a change the toolkit sends no event; the look is drawn again all the same.
  if (was == isEnabled()) core_.of_enabled(isEnabled());
}

void uo_xpbutton::of_setcolor() { core_.of_setcolor(); }

void uo_xpbutton::of_setfoucs() { setFocus(Qt::OtherFocusReason); }

void uo_xpbutton::of_text(const QString& as_text) {
  caption_ = as_text;
  mnemonic_->setKey(QKeySequence::mnemonic(as_text));
  update();
}

// ---- painting

void uo_xpbutton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  xpb::paint_button(p, {core_.parts(), x_, y_, caption_, caption_font_, picture_,
                        core_.of_drawdisabledpicture(), palette()});
}

void uo_xpbutton::drawn(xpb::Look) { update(); }

void uo_xpbutton::changed() { update(); }

void uo_xpbutton::load_picture(const QString& name) {
  picture_ = QPixmap();
  if (name.isEmpty()) return;
  // A name ending in "!" names a picture; here, the image file named by the rest.
  QPixmap loaded(name.left(name.size() - 1));
  if (loaded.isNull()) return;
  loaded.setMask(loaded.createMaskFromColor(QColor(192, 192, 192), Qt::MaskInColor));
  picture_ = loaded;
}

// ---- input

void uo_xpbutton::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  core_.ue_mousedown(x_units(e->position().x()), y_units(e->position().y()));
}

void uo_xpbutton::mouseMoveEvent(QMouseEvent* e) {
  core_.ue_mousemove(x_units(e->position().x()), y_units(e->position().y()));
}

void uo_xpbutton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  core_.ue_mouseup(x_units(e->position().x()), y_units(e->position().y()));
  // Nothing after this: the clicked handler may have destroyed the button.
}

void uo_xpbutton::mouseDoubleClickEvent(QMouseEvent*) {
  // Only the plain button-down is the button's: the second press of a double-click is ignored.
}

void uo_xpbutton::leaveEvent(QEvent*) {
  // The toolkit reports the pointer leaving a disabled button too; that is no input of its.
  if (!isEnabled()) return;
  // With the platform's capture the button would go on receiving the moves that follow; the
  // toolkit only says the pointer has gone, so hand over moves outside while the capture lasts.
  for (int i = 0; i < 2 && core_.capture_held() && !core_.flags().ib_clicked; ++i)
    core_.ue_mousemove(-1, -1);
}

void uo_xpbutton::keyPressEvent(QKeyEvent* e) {
  const int key = virtual_key(e);
  if (key == 0) {
    QWidget::keyPressEvent(e);
    return;
  }
  core_.key_down(key);
}

void uo_xpbutton::keyReleaseEvent(QKeyEvent* e) {
  const int key = virtual_key(e);
  // A held key repeats its key-down only.
  if (key == 0 || e->isAutoRepeat()) {
    QWidget::keyReleaseEvent(e);
    return;
  }
  core_.key_up(key);
}

void uo_xpbutton::focusInEvent(QFocusEvent*) { core_.focus_in(); }

void uo_xpbutton::focusOutEvent(QFocusEvent*) { core_.focus_out(); }

void uo_xpbutton::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange && isEnabled() != core_.enabled())
    core_.of_enabled(isEnabled());
  QWidget::changeEvent(e);
}

void uo_xpbutton::take_focus() { setFocus(Qt::MouseFocusReason); }

void uo_xpbutton::move_focus(bool next) { focusNextPrevChild(next); }

void uo_xpbutton::sleepex(int ms) {
  repaint();  // the sleep lets no paint through, so show the look first
  QThread::msleep(static_cast<unsigned long>(ms));
}

bool uo_xpbutton::raise_clicked() {
  const QPointer<uo_xpbutton> alive(this);
  emit clicked();
  return !alive.isNull();
}
