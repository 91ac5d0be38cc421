#pragma once
// kestrel's main window as the Start action sees it.
#include "kestrel/main_view.h"
#include "kestrel/rebuild/start_window.h"

namespace rebuild {

class MainViewWindow final : public StartWindow {
 public:
  explicit MainViewWindow(kestrel::main_view& w) : w_(w) {}

  QString sle_server_name() const override;
  QString sle_database_name() const override;
  QString sle_user_name() const override;
  QString sle_user_password() const override;
  bool rb_2_checked() const override;
  bool cbx_checked(int n) const override { return w_.cbx_checked(n); }
  QString em_1_text() const override { return w_.em_1_text(); }
  QString em_2_text() const override { return w_.em_2_text(); }
  int ii_database() const override;
  void set_ii_database(int kind) override;
  void set_st_11(const QString& text) override { w_.set_st_11_text(text); }
  void hpb_start(int maxposition) override;
  void hpb_stepit() override { w_.hpb_1_stepit(); }
  void open_w_wait(const QString& text) override { w_.open_w_wait(text); }
  void set_w_wait_text(const QString& text) override { w_.set_w_wait_text(text); }
  void close_w_wait() override { w_.close_w_wait(); }

 private:
  kestrel::main_view& w_;
};

}  // namespace rebuild
