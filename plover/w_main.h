#pragma once
// plover's window: the database kind, the local and the network connection set, and the row
// of buttons (attach, create, save, test, close), with the banner picture on top.
#include <QLabel>

#include "shared/panel_window.h"

namespace plover {

class w_main final : public shared::panel_window {
 public:
  explicit w_main(QWidget* parent = nullptr);

  // Events.
  void open();
  void uo_1_clicked();
  void cb_test_clicked();

  // The window's own controls; the connection panel's are panel_controls'.
  uo_xpbutton* uo_1;
  QLabel* p_1;

 private:
  void create();
};

}  // namespace plover
