#pragma once
// plover's window: the database kind, the local and the network connection set, and the row
// of buttons (attach, create, save, test, close), with the banner picture on top.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <memory>
#include <vector>

#include "shared/button/uo_xpbutton.h"
#include "shared/panel_view.h"
#include "shared/singlelineedit.h"

namespace plover {

class w_main final : public QWidget {
 public:
  explicit w_main(QWidget* parent = nullptr);
  ~w_main() override;

  shared::connection_panel& panel() { return *panel_; }

  // Events.
  void open();
  void uo_1_clicked();
  void cb_cancel_clicked();
  void cb_test_clicked();
  void cb_save_clicked();
  void cb_create_clicked();
  void cb_create2_clicked();
  void cb_cancel2_clicked();
  void cb_test2_clicked();
  void cb_save2_clicked();

  // The controls, in the order of the window's control list (the first lies in front).
  uo_xpbutton* uo_1;
  QCheckBox* cbx_1;
  QRadioButton* rb_2;
  QRadioButton* rb_1;
  QLabel* st_10;
  singlelineedit* sle_server_name2;
  QLabel* st_9;
  singlelineedit* sle_database_name2;
  QLabel* st_8;
  singlelineedit* sle_user_name2;
  QLabel* st_7;
  singlelineedit* sle_user_password2;
  QLabel* st_6;
  singlelineedit* sle_user_two2;
  QLabel* p_1;
  uo_xpbutton* cb_cancel;
  uo_xpbutton* cb_test;
  uo_xpbutton* cb_save;
  uo_xpbutton* cb_create;
  QPushButton* cb_create2;
  QPushButton* cb_cancel2;
  QPushButton* cb_test2;
  QPushButton* cb_save2;
  singlelineedit* sle_user_two;
  QLabel* st_5;
  singlelineedit* sle_user_password;
  QLabel* st_4;
  singlelineedit* sle_user_name;
  QLabel* st_3;
  singlelineedit* sle_database_name;
  QLabel* st_2;
  singlelineedit* sle_server_name;
  QLabel* st_1;
  QGroupBox* gb_2;
  QGroupBox* gb_1;
  QGroupBox* gb_3;

  std::vector<QWidget*> control;
  int ii_database = 1;

 private:
  void create();

  std::unique_ptr<shared::panel_view> panel_;
};

}  // namespace plover
