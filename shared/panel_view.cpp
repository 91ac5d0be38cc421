#include "shared/panel_view.h"

namespace shared {

QString panel_view::text(sle f) const { return c_.field(f)->text(); }
void panel_view::set_text(sle f, const QString& text) { c_.field(f)->setText(text); }
void panel_view::set_focus(sle f) { c_.field(f)->setFocus(Qt::OtherFocusReason); }
bool panel_view::rb_2_checked() const { return c_.rb_2->isChecked(); }
void panel_view::check_kind(int kind) { (kind == 2 ? c_.rb_2 : c_.rb_1)->setChecked(true); }
bool panel_view::cbx_1_checked() const { return c_.cbx_1->isChecked(); }
void panel_view::set_cbx_1_checked(bool checked) { c_.cbx_1->setChecked(checked); }
int panel_view::ii_database() const { return c_.ii_database; }
void panel_view::set_ii_database(int kind) { c_.ii_database = kind; }
void panel_view::cb_save_triggerevent_clicked() { c_.cb_save->triggerevent_clicked(); }

void connect_edit_events(const panel_controls& c) {
  for (int i = 0; i < 10; ++i) {
    singlelineedit* e = c.field(static_cast<sle>(i));
    QObject::connect(e, &singlelineedit::getfocus, e, [e] { e->selectAll(); });
  }
  QObject::connect(c.sle_server_name, &singlelineedit::modified, c.sle_database_name,
                   [d = c.sle_database_name] { d->setFocus(Qt::OtherFocusReason); });
  QObject::connect(c.sle_server_name2, &singlelineedit::modified, c.sle_database_name2,
                   [d = c.sle_database_name2] { d->setFocus(Qt::OtherFocusReason); });
}

}  // namespace shared
