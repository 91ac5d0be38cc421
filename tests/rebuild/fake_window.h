#pragma once
// A main window for the Start action without widgets: its inputs are fields, its outputs are
// recorded in order.
#include <QString>
#include <QStringList>
#include <map>

#include "kestrel/rebuild/start_window.h"

namespace test {

class FakeWindow : public rebuild::StartWindow {
 public:
  QString server = "(embedded)", database = "velmo40", user = "sa", password = "";
  bool rb_2 = true;
  std::map<int, bool> cbx{{2, true}, {3, true}, {4, true}, {5, false}, {6, false}};
  QString em_1, em_2 = "100.00";
  int ii = 0;

  QStringList st_11_history;  // every text written, in order
  QString st_11;
  int position = -1, maxposition = -1;
  QStringList wait_history;  // "open:<text>", texts, "close"
  bool wait_open = false;

  QString sle_server_name() const override { return server; }
  QString sle_database_name() const override { return database; }
  QString sle_user_name() const override { return user; }
  QString sle_user_password() const override { return password; }
  bool rb_2_checked() const override { return rb_2; }
  bool cbx_checked(int n) const override { return cbx.at(n); }
  QString em_1_text() const override { return em_1; }
  QString em_2_text() const override { return em_2; }
  int ii_database() const override { return ii; }
  void set_ii_database(int kind) override { ii = kind; }
  void set_st_11(const QString& t) override {
    st_11 = t;
    st_11_history << t;
  }
  void hpb_start(int max) override {
    position = 0;
    maxposition = max;
  }
  void hpb_stepit() override {
    if (position < maxposition) ++position;
  }
  void open_w_wait(const QString& t) override {
    wait_open = true;
    wait_history << "open:" + t;
  }
  void set_w_wait_text(const QString& t) override { wait_history << t; }
  void close_w_wait() override {
    wait_open = false;
    wait_history << "close";
  }
};

}  // namespace test
