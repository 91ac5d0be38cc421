#pragma once
// A connection panel without widgets, for the handlers' tests.
#include <array>
#include <functional>
#include <optional>

#include "shared/connection_panel.h"

namespace test {

class fake_panel final : public shared::connection_panel {
 public:
  std::array<QString, 10> texts;
  bool rb_1 = true, rb_2 = false, cbx_1 = false;
  int kind = 1;
  std::optional<shared::sle> focused;
  int saves_raised = 0;
  std::function<void()> on_save;  // what raising cb_save runs, if anything

  QString& operator[](shared::sle f) { return texts[static_cast<size_t>(f)]; }

  // Fills the local set: server, database, user, password, confirmation.
  void local(const QString& server, const QString& database, const QString& user,
             const QString& password, const QString& confirmation) {
    using shared::sle;
    (*this)[sle::server_name] = server;
    (*this)[sle::database_name] = database;
    (*this)[sle::user_name] = user;
    (*this)[sle::user_password] = password;
    (*this)[sle::user_two] = confirmation;
  }
  void network(const QString& server, const QString& database, const QString& user,
               const QString& password, const QString& confirmation) {
    using shared::sle;
    (*this)[sle::server_name2] = server;
    (*this)[sle::database_name2] = database;
    (*this)[sle::user_name2] = user;
    (*this)[sle::user_password2] = password;
    (*this)[sle::user_two2] = confirmation;
  }

  QString text(shared::sle f) const override { return texts[static_cast<size_t>(f)]; }
  void set_text(shared::sle f, const QString& t) override { (*this)[f] = t; }
  void set_focus(shared::sle f) override { focused = f; }
  bool rb_2_checked() const override { return rb_2; }
  void check_kind(int k) override {
    rb_1 = k != 2;
    rb_2 = k == 2;
  }
  bool cbx_1_checked() const override { return cbx_1; }
  void set_cbx_1_checked(bool c) override { cbx_1 = c; }
  int ii_database() const override { return kind; }
  void set_ii_database(int k) override { kind = k; }
  void cb_save_triggerevent_clicked() override {
    ++saves_raised;
    if (on_save) on_save();
  }
};

}  // namespace test
