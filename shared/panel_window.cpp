#include "shared/panel_window.h"

#include "shared/panel_create.h"
#include "shared/panel_save.h"
#include "shared/panel_test.h"

namespace shared {

panel_window::panel_window(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {}

void panel_window::build(const window_def& w, std::initializer_list<control_def> table) {
  build_window(*this, w, table, control);
  connect_edit_events(*this);
  connect(cb_cancel, &uo_xpbutton::clicked, this, &panel_window::cb_cancel_clicked);
  connect(cb_save, &uo_xpbutton::clicked, this, &panel_window::cb_save_clicked);
  connect(cb_create, &uo_xpbutton::clicked, this, &panel_window::cb_create_clicked);
  connect(cb_create2, &QPushButton::clicked, this, &panel_window::cb_create2_clicked);
  connect(cb_cancel2, &QPushButton::clicked, this, &panel_window::cb_cancel2_clicked);
  connect(cb_test2, &QPushButton::clicked, this, &panel_window::cb_test2_clicked);
  connect(cb_save2, &QPushButton::clicked, this, &panel_window::cb_save2_clicked);
}

void panel_window::cb_cancel_clicked() { close(); }
void panel_window::cb_save_clicked() { shared::cb_save_clicked(panel_); }
void panel_window::cb_create_clicked() { shared::cb_create_clicked(panel_); }
void panel_window::cb_create2_clicked() { shared::cb_create_clicked(panel_); }
void panel_window::cb_cancel2_clicked() { close(); }
void panel_window::cb_test2_clicked() { shared::cb_test2_clicked(panel_); }
void panel_window::cb_save2_clicked() { shared::cb_save2_clicked(panel_); }

}  // namespace shared
