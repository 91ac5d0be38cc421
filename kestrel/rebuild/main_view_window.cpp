#include "kestrel/rebuild/main_view_window.h"

namespace rebuild {

using shared::sle;

QString MainViewWindow::sle_server_name() const { return w_.panel().text(sle::server_name); }
QString MainViewWindow::sle_database_name() const { return w_.panel().text(sle::database_name); }
QString MainViewWindow::sle_user_name() const { return w_.panel().text(sle::user_name); }
QString MainViewWindow::sle_user_password() const { return w_.panel().text(sle::user_password); }
bool MainViewWindow::rb_2_checked() const { return w_.panel().rb_2_checked(); }
int MainViewWindow::ii_database() const { return w_.panel().ii_database(); }
void MainViewWindow::set_ii_database(int kind) { w_.panel().set_ii_database(kind); }

void MainViewWindow::hpb_start(int maxposition) {
  w_.set_hpb_1_position(0);
  w_.set_hpb_1_maxposition(static_cast<unsigned>(maxposition));
}

}  // namespace rebuild
