#pragma once
// A main window for the Start action without widgets: its inputs are fields, its outputs are
// recorded in order.
#include <QString>
#include <QStringList>
#include <map>

#include "kestrel/rebuild/start_window.h"
#include "tests/shared/fake_panel.h"

namespace test {

class FakeWindow : public rebuild::StartWindow {
 public:
  FakeWindow() {
    connection.local("(embedded)", "velmo40", "sa", "", "");
    connection.check_kind(2);
  }
  fake_panel connection;  // the local set, rb_2 and ii_database
  std::map<int, bool> cbx{{2, true}, {3, true}, {4, true}, {5, false}, {6, false}};
  QString em_1, em_2 = "100.00";

  QStringList st_11_history;  // every text written, in order
  QString st_11;
  int position = -1, maxposition = -1;
  QStringList wait_history;  // "open:<text>", texts, "close"
  bool wait_open = false;

  shared::connection_panel& panel() override { return connection; }
  bool cbx_checked(int n) const override { return cbx.at(n); }
  QString em_1_text() const override { return em_1; }
  QString em_2_text() const override { return em_2; }
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
