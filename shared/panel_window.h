#pragma once
// What kestrel's and plover's main windows have in common: a fixed-size window laid out from
// its definition, which carries the connection panel, and the panel's and Close's handlers.
#include <QWidget>
#include <initializer_list>
#include <vector>

#include "shared/control_table.h"
#include "shared/panel_controls.h"
#include "shared/panel_view.h"

namespace shared {

class panel_window : public QWidget, public panel_controls {
 public:
  connection_panel& panel() { return panel_; }

  // Events.
  void cb_cancel_clicked();
  void cb_save_clicked();
  void cb_create_clicked();
  void cb_create2_clicked();
  void cb_cancel2_clicked();
  void cb_test2_clicked();
  void cb_save2_clicked();

  // The controls, in the order of the window's control list (the first lies in front).
  std::vector<QWidget*> control;

 protected:
  explicit panel_window(QWidget* parent);

  // Lays the window out (control_table.h) and connects the panel's fields and buttons; the
  // table holds every control of panel_controls.
  void build(const window_def& w, std::initializer_list<control_def> table);

 private:
  panel_view panel_{*this};
};

}  // namespace shared
