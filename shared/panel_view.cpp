#include "shared/panel_view.h"

#include "shared/button/uo_xpbutton.h"

namespace shared {

panel_view::panel_view(const panel_controls& c) : c_(c) {}

singlelineedit* panel_view::field(sle f) const {
  singlelineedit* const fields[] = {
      c_.sle_server_name,    c_.sle_database_name, c_.sle_user_name,      c_.sle_user_password,
      c_.sle_user_two,       c_.sle_server_name2,  c_.sle_database_name2, c_.sle_user_name2,
      c_.sle_user_password2, c_.sle_user_two2,
  };
  return fields[static_cast<int>(f)];
}

QString panel_view::text(sle f) const { return field(f)->text(); }
void panel_view::set_text(sle f, const QString& text) { field(f)->setText(text); }
void panel_view::set_focus(sle f) { field(f)->setFocus(Qt::OtherFocusReason); }
bool panel_view::rb_2_checked() const { return c_.rb_2->isChecked(); }
void panel_view::check_kind(int kind) { (kind == 2 ? c_.rb_2 : c_.rb_1)->setChecked(true); }
bool panel_view::cbx_1_checked() const { return c_.cbx_1->isChecked(); }
void panel_view::set_cbx_1_checked(bool checked) { c_.cbx_1->setChecked(checked); }
int panel_view::ii_database() const { return *c_.ii_database; }
void panel_view::set_ii_database(int kind) { *c_.ii_database = kind; }
void panel_view::cb_save_triggerevent_clicked() { c_.cb_save->triggerevent_clicked(); }

void connect_edit_events(const panel_controls& c) {
  const panel_view v(c);
  for (int i = 0; i < 10; ++i) {
    singlelineedit* e = v.field(static_cast<sle>(i));
    QObject::connect(e, &singlelineedit::getfocus, e, [e] { e->selectAll(); });
  }
  QObject::connect(c.sle_server_name, &singlelineedit::modified, c.sle_database_name,
                   [d = c.sle_database_name] { d->setFocus(Qt::OtherFocusReason); });
  QObject::connect(c.sle_server_name2, &singlelineedit::modified, c.sle_database_name2,
                   [d = c.sle_database_name2] { d->setFocus(Qt::OtherFocusReason); });
}

}  // namespace shared
