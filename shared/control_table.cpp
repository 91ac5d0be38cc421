#include "shared/control_table.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "runtime/units.h"
#include "runtime/window_font.h"
#include "shared/button/uo_xpbutton.h"
#include "shared/singlelineedit.h"

namespace shared {
namespace {

// The window's size in layout units includes its frame; the client area is what is left
// inside a title bar and thin borders.
constexpr int kFrameAcross = 6;
constexpr int kFrameDown = 25;

QWidget* create(QWidget& window, const control_def& d) {
  const QString text = QString::fromUtf16(d.text);
  switch (d.kind) {
    case kind::static_text:
    case kind::picture:
      return text.isEmpty() ? new QLabel(&window) : new QLabel(text, &window);
    case kind::label: {
      auto* l = new QLabel(text, &window);
      l->setEnabled(false);
      return l;
    }
    case kind::progress_bar:
      return new QProgressBar(&window);
    case kind::edit_mask:
      return text.isEmpty() ? new QLineEdit(&window) : new QLineEdit(text, &window);
    case kind::check_box:
    case kind::radio_button: {
      QAbstractButton* b = d.kind == kind::check_box
                               ? static_cast<QAbstractButton*>(new QCheckBox(text, &window))
                               : new QRadioButton(text, &window);
      b->setFocusPolicy(Qt::ClickFocus);
      return b;
    }
    case kind::single_line_edit:
    case kind::password_edit: {
      auto* e = new singlelineedit(&window);
      e->set_auto_hscroll(false);
      if (d.kind == kind::password_edit) e->setEchoMode(QLineEdit::Password);
      return e;
    }
    case kind::push_button: {
      auto* b = new uo_xpbutton(&window);
      b->set_tag(text);
      b->place(d.x, d.y, d.width, d.height);
      b->set_taborder(d.tab);
      return b;
    }
    case kind::command_button: {
      auto* b = new QPushButton(text, &window);
      b->setFont(rt::window_font(QStringLiteral("楷体_GB2312"), 12, 700));
      return b;
    }
    case kind::group_box:
      return new QGroupBox(text, &window);
  }
  return nullptr;
}

}  // namespace

void build_window(QWidget& window, const window_def& w, std::initializer_list<control_def> table,
                  std::vector<QWidget*>& control) {
  window.setWindowTitle(w.title);
  window.setWindowIcon(w.icon);
  const rt::PxRect size = rt::px_rect(0, 0, w.width, w.height);
  window.setFixedSize(size.w - kFrameAcross, size.h - kFrameDown);
  window.setFont(rt::window_font(QStringLiteral("宋体"), 9));
  QPalette pal = window.palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Button));  // the 3-D face colour
  window.setPalette(pal);
  window.setAutoFillBackground(true);

  std::vector<std::pair<int, QWidget*>> tabs;
  for (const control_def& d : table) {
    QWidget* c = create(window, d);
    if (!d.assign(d.member, c)) qFatal("a control's kind does not match its member");
    if (d.kind != kind::push_button) {  // the drawn button places itself
      const rt::PxRect r = rt::px_rect(d.x, d.y, d.width, d.height);
      c->setGeometry(r.x, r.y, r.w, r.h);
    }
    if (d.shown == visibility::hidden) c->setVisible(false);
    control.push_back(c);
    if (d.tab > 0) tabs.emplace_back(d.tab, c);
  }

  // The first control of the list lies in front: the group boxes, last in the windows' lists,
  // lie behind the fields they frame and never take a click meant for one.
  for (auto it = control.rbegin(); it != control.rend(); ++it) (*it)->raise();

  // Hidden controls keep their places; the focus chain skips them.
  std::stable_sort(tabs.begin(), tabs.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 1; i < tabs.size(); ++i) QWidget::setTabOrder(tabs[i - 1].second, tabs[i].second);
}

}  // namespace shared
