#pragma once
// The connection panel as its handlers see it: two sets of connection fields, the database
// kind, the use-network flag and the window's ii_database. kestrel and plover each supply their
// own controls behind this interface (panel_view does it for Qt widgets); tests a plain fake.
#include <QString>

namespace shared {

// The ten single-line edits, the local set then the network set: the one list of their names.
// A handler names a field sle::server_name; a window's edit for it is its member
// sle_server_name (panel_controls.h).
// clang-format off
#define SHARED_PANEL_FIELDS(F)                                                   \
  F(server_name) F(database_name) F(user_name) F(user_password) F(user_two)      \
  F(server_name2) F(database_name2) F(user_name2) F(user_password2) F(user_two2)
// clang-format on

enum class sle {
#define SHARED_SLE_ENUMERATOR(name) name,
  SHARED_PANEL_FIELDS(SHARED_SLE_ENUMERATOR)
#undef SHARED_SLE_ENUMERATOR
};

class connection_panel {
 public:
  virtual ~connection_panel() = default;

  virtual QString text(sle field) const = 0;
  virtual void set_text(sle field, const QString& text) = 0;
  virtual void set_focus(sle field) = 0;

  // rb_1 "ACCESS" (kind 1) and rb_2 "SQL Server 2000" (kind 2).
  virtual bool rb_2_checked() const = 0;
  virtual void check_kind(int kind) = 0;
  // cbx_1 "使用网络数据库".
  virtual bool cbx_1_checked() const = 0;
  virtual void set_cbx_1_checked(bool checked) = 0;

  // The window's instance variable: 1 local database through ODBC, 2 SQL Server.
  virtual int ii_database() const = 0;
  virtual void set_ii_database(int kind) = 0;

  // cb_save's clicked, raised by a successful connection test. It is the window's own save
  // handler: the panel's in kestrel, plover's own in plover.
  virtual void cb_save_triggerevent_clicked() = 0;
};

// One connection set as the handlers read it: every field with its blanks trimmed.
struct connection_set {
  QString server, database, user, password, confirmation;
};
connection_set read_local_set(const connection_panel& p);
connection_set read_network_set(const connection_panel& p);

// The kind rb_2 selects (2 when checked, else 1), stored in ii_database as the handlers do.
int take_kind(connection_panel& p);

}  // namespace shared
