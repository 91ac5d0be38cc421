#pragma once
// The connection panel over a window's own controls: the handlers run on them unchanged.
#include "shared/connection_panel.h"
#include "shared/panel_controls.h"

namespace shared {

class panel_view final : public connection_panel {
 public:
  explicit panel_view(panel_controls& c) : c_(c) {}

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
  panel_controls& c_;
};

// The edit fields' own events, the same in both programs: getfocus selects the whole text;
// modified of a server field moves the focus to the database field of its set.
void connect_edit_events(const panel_controls& c);

}  // namespace shared
