#pragma once
// plover's window on a temporary program folder with the embedded server, scripted dialogs
// and a record of every statement sqlca is asked to run.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <memory>

#include "db/transaction.h"
#include "plover/w_main.h"
#include "runtime/codepage.h"
#include "runtime/settings_file.h"
#include "shared/globals.h"
#include "tests/db/embedded_fixture.h"
#include "tests/support/scripted_dialogs.h"

namespace test {

class PloverWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    sqlca.set_fault_hook([this](const QString& sql) -> std::optional<db::DbError> {
      seen.append(sql);
      return std::nullopt;
    });
  }

  // Writes user.ini as the salon programs do, in code page 936.
  void ini(const QString& text) const { server.folder.write("user.ini", rt::to_cp936(text)); }
  QString key(const QString& k) const {
    return rt::profile_string(gs_inifile, QStringLiteral("database"), k,
                              QStringLiteral("<missing>"));
  }
  bool ini_exists() const { return QFile::exists(gs_inifile); }

  void open_window() {
    w = std::make_unique<plover::w_main>();
    w->open();
  }
  void local(const QString& server_name, const QString& database, const QString& user,
             const QString& password, const QString& confirmation) const {
    w->sle_server_name->setText(server_name);
    w->sle_database_name->setText(database);
    w->sle_user_name->setText(user);
    w->sle_user_password->setText(password);
    w->sle_user_two->setText(confirmation);
  }
  void network(const QString& server_name, const QString& database, const QString& user,
               const QString& password, const QString& confirmation) const {
    w->sle_server_name2->setText(server_name);
    w->sle_database_name2->setText(database);
    w->sle_user_name2->setText(user);
    w->sle_user_password2->setText(password);
    w->sle_user_two2->setText(confirmation);
  }

  EmbeddedServer server;  // first: the program folder exists before any ODBC call
  ScriptedDialogs dialogs;
  QStringList seen;  // statements and connects, in order
  std::unique_ptr<plover::w_main> w;
};

}  // namespace test
