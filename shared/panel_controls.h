#pragma once
// The controls of the connection panel under the windows' own names, and the window's
// ii_database. kestrel's and plover's windows carry them (panel_window.h); the panel's code
// reaches them here.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "shared/button/uo_xpbutton.h"
#include "shared/connection_panel.h"
#include "shared/singlelineedit.h"

namespace shared {

struct panel_controls {
#define SHARED_SLE_MEMBER(name) singlelineedit* sle_##name = nullptr;
  SHARED_PANEL_FIELDS(SHARED_SLE_MEMBER)
#undef SHARED_SLE_MEMBER

  // The edit of a field, e.g. sle_user_two2 for sle::user_two2.
  singlelineedit*& field(sle f);
  singlelineedit* field(sle f) const;

  // The labels before the fields: st_1 to st_5 the local set's, st_10 to st_6 the network set's.
  QLabel *st_1 = nullptr, *st_2 = nullptr, *st_3 = nullptr, *st_4 = nullptr, *st_5 = nullptr;
  QLabel *st_6 = nullptr, *st_7 = nullptr, *st_8 = nullptr, *st_9 = nullptr, *st_10 = nullptr;
  QRadioButton *rb_1 = nullptr, *rb_2 = nullptr;
  QCheckBox* cbx_1 = nullptr;
  QGroupBox *gb_1 = nullptr, *gb_2 = nullptr, *gb_3 = nullptr;
  // The window's drawn buttons and the panel's command buttons.
  uo_xpbutton *cb_cancel = nullptr, *cb_test = nullptr, *cb_save = nullptr, *cb_create = nullptr;
  QPushButton *cb_create2 = nullptr, *cb_cancel2 = nullptr, *cb_test2 = nullptr,
              *cb_save2 = nullptr;

  int ii_database = 1;  // the window's instance variable
};

}  // namespace shared
