#pragma once
// A window laid out from its definition: the window's own properties and its controls as a
// table, one row a control in the order of the window's control list, positions and sizes in
// the window's display units.
#include <QIcon>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <vector>

namespace shared {

enum class kind {
  static_text,
  label,  // static text before a field: display only, greyed
  picture,
  progress_bar,
  edit_mask,
  check_box,  // like the radio buttons, without a tab position: a click gives it the focus
  radio_button,
  single_line_edit,
  password_edit,   // a single-line edit that shows its text masked
  push_button,     // the drawn button uo_xpbutton; its caption is its tag
  command_button,  // the toolkit's own button, in the command buttons' font
  group_box,
};

enum class visibility { shown, hidden };

struct control_def {
  // `member`: the window's member that takes the control; its class must be the kind's.
  template <class Control>
  control_def(Control*& member, shared::kind kind, const char16_t* text, int x, int y, int width,
              int height, int tab, visibility shown)
      : member(&member),
        assign([](void* m, QWidget* c) {
          return (*static_cast<Control**>(m) = qobject_cast<Control*>(c)) != nullptr;
        }),
        kind(kind),
        text(text),
        x(x),
        y(y),
        width(width),
        height(height),
        tab(tab),
        shown(shown) {}

  void* member;
  bool (*assign)(void* member, QWidget* control);
  shared::kind kind;
  const char16_t* text;
  int x, y, width, height;
  int tab;  // the place in the tab sequence, lowest first (equal places in table order); 0: none
  visibility shown;
};

struct window_def {
  QString title;
  QIcon icon;
  int width, height;  // with the frame, in display units
};

// Gives `window` its properties, creates the controls in the order of the table into their
// members and into `control`, the first lying in front, and sets the tab sequence.
void build_window(QWidget& window, const window_def& w, std::initializer_list<control_def> table,
                  std::vector<QWidget*>& control);

}  // namespace shared
