#pragma once
// The connection panel over a window's own controls. kestrel's and plover's windows fill a
// panel_controls with their fields and buttons; the handlers then run on them unchanged.
#include <QCheckBox>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>

#include "shared/button/uo_xpbutton.h"
#include "shared/connection_panel.h"
#include "shared/singlelineedit.h"

namespace shared {

struct panel_controls {
  singlelineedit* sle_server_name = nullptr;
  singlelineedit* sle_database_name = nullptr;
  singlelineedit* sle_user_name = nullptr;
  singlelineedit* sle_user_password = nullptr;
  singlelineedit* sle_user_two = nullptr;
  singlelineedit* sle_server_name2 = nullptr;
  singlelineedit* sle_database_name2 = nullptr;
  singlelineedit* sle_user_name2 = nullptr;
  singlelineedit* sle_user_password2 = nullptr;
  singlelineedit* sle_user_two2 = nullptr;
  QRadioButton* rb_1 = nullptr;
  QRadioButton* rb_2 = nullptr;
  QCheckBox* cbx_1 = nullptr;
  uo_xpbutton* cb_save = nullptr;  // the test raises its clicked
  int* ii_database = nullptr;      // the window's instance variable
};

// A window whose controls carry the panel's names hands them over in one call.
template <class Window>
panel_controls panel_controls_of(Window& w) {
  return {w.sle_server_name,
          w.sle_database_name,
          w.sle_user_name,
          w.sle_user_password,
          w.sle_user_two,
          w.sle_server_name2,
          w.sle_database_name2,
          w.sle_user_name2,
          w.sle_user_password2,
          w.sle_user_two2,
          w.rb_1,
          w.rb_2,
          w.cbx_1,
          w.cb_save,
          &w.ii_database};
}

// Wires the panel's buttons to the window's handlers of the same names.
template <class Window>
void connect_panel_buttons(Window& w) {
  QObject::connect(w.cb_save, &uo_xpbutton::clicked, &w, &Window::cb_save_clicked);
  QObject::connect(w.cb_create, &uo_xpbutton::clicked, &w, &Window::cb_create_clicked);
  QObject::connect(w.cb_create2, &QPushButton::clicked, &w, &Window::cb_create2_clicked);
  QObject::connect(w.cb_cancel2, &QPushButton::clicked, &w, &Window::cb_cancel2_clicked);
  QObject::connect(w.cb_test2, &QPushButton::clicked, &w, &Window::cb_test2_clicked);
  QObject::connect(w.cb_save2, &QPushButton::clicked, &w, &Window::cb_save2_clicked);
}

class panel_view final : public connection_panel {
 public:
  explicit panel_view(const panel_controls& c);

  singlelineedit* field(sle f) const;

  QString text(sle f) const override;
  void set_text(sle f, const QString& text) override;
  void set_focus(sle f) override;
  bool rb_2_checked() const override;
  void check_kind(int kind) override;
  bool cbx_1_checked() const override;
  void set_cbx_1_checked(bool checked) override;
  int ii_database() const override;
  void set_ii_database(int kind) override;
  void cb_save_triggerevent_clicked() override;

 private:
  panel_controls c_;
};

// The edit fields' own events, the same in both programs: getfocus selects the whole text;
// modified of a server field moves the focus to the database field of its set.
void connect_edit_events(const panel_controls& c);

}  // namespace shared
