#pragma once
// kestrel's main window: the kind of the old database, the keep options, the status line and
// progress bar, Start and Close; and the connection panel, present but hidden, whose fields
// the window's open fills from user.ini for the Start action.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <memory>
#include <vector>

#include "kestrel/main_view.h"
#include "shared/button/uo_xpbutton.h"
#include "shared/panel_view.h"
#include "shared/singlelineedit.h"
#include "shared/w_wait.h"

namespace kestrel {

class w_main final : public QWidget, public main_view {
 public:
  explicit w_main(QWidget* parent = nullptr);
  ~w_main() override;

  // Events.
  void open();
  void cb_test_clicked();
  void cb_cancel_clicked();
  void cb_save_clicked();
  void cb_save2_clicked();
  void cb_create_clicked();
  void cb_create2_clicked();
  void cb_test2_clicked();
  void cb_cancel2_clicked();

  // main_view
  shared::connection_panel& panel() override { return *panel_; }
  bool cbx_checked(int n) const override;
  QString em_1_text() const override { return em_1->text(); }
  QString em_2_text() const override { return em_2->text(); }
  QString st_11_text() const override { return st_11->text(); }
  void set_st_11_text(const QString& text) override;
  unsigned hpb_1_position() const override;
  unsigned hpb_1_maxposition() const override;
  void set_hpb_1_position(unsigned position) override;
  void set_hpb_1_maxposition(unsigned maxposition) override;
  void hpb_1_stepit() override;
  void open_w_wait(const QString& s_inf) override;
  bool w_wait_open() const override { return !iw_wait.isNull(); }
  QString w_wait_text() const override;
  void set_w_wait_text(const QString& text) override;
  void close_w_wait() override;

  // A Start run is in progress: a second Start and closing the window are refused meanwhile.
  bool running() const { return ib_running; }

  // The controls, in the order of the window's control list (the first lies in front).
  QLabel* st_11;
  QProgressBar* hpb_1;
  QLineEdit* em_2;
  QCheckBox* cbx_6;
  QLineEdit* em_1;
  QCheckBox* cbx_5;
  QCheckBox* cbx_4;
  QCheckBox* cbx_3;
  QCheckBox* cbx_2;
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
  QGroupBox* gb_4;

  std::vector<QWidget*> control;
  int ii_database = 1;

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void create();

  std::unique_ptr<shared::panel_view> panel_;
  QPointer<w_wait> iw_wait;
  bool ib_running = false;
};

}  // namespace kestrel
