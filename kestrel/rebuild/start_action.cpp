#include "kestrel/rebuild/start_action.h"

#include "db/transaction.h"
#include "runtime/dialogs.h"
#include "runtime/files.h"
#include "shared/globals.h"

namespace rebuild {

namespace {

// The runtime's Trim: only blanks go.
QString trim_blanks(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && s[b] == QLatin1Char(' ')) ++b;
  while (e > b && s[e - 1] == QLatin1Char(' ')) --e;
  return s.mid(b, e - b);
}

struct RunningFlag {
  explicit RunningFlag(bool& f) : f_(f) { f_ = true; }
  ~RunningFlag() { f_ = false; }
  bool& f_;
};

}  // namespace

QString tab_back_file(int n) {
  return gs_apppath + QStringLiteral("tab_back_") + QString::number(n) + QStringLiteral(".txt");
}

QString attach_statement(const QString& name, const QString& data_file, const QString& log_file) {
  auto q = [](QString s) { return s.replace(QLatin1Char('\''), QStringLiteral("''")); };
  return QStringLiteral("sp_attach_db '") + q(name) + QStringLiteral("','") + q(data_file) +
         QStringLiteral("','") + q(log_file) + QStringLiteral("'");
}

StartAction::StartAction(StartWindow& w_main, StartServices services)
    : w_(w_main), s_(std::move(services)) {}

void StartAction::fail(const QString& title, const QString& text) {
  rt::dialogs().failure(title, text);
}

void StartAction::clicked() {
  // Two runs would share sqlca and ds_back.
  if (running_) return;
  RunningFlag flag(running_);

  ds_back_ = s_.make_store ? s_.make_store() : nullptr;
  ls_server_name_ = trim_blanks(w_.sle_server_name());
  ls_database_name_ = trim_blanks(w_.sle_database_name());
  ls_user_name_ = trim_blanks(w_.sle_user_name());
  ls_user_password_ = trim_blanks(w_.sle_user_password());
  w_.hpb_start(8);
  w_.set_ii_database(1);
  if (w_.rb_2_checked()) w_.set_ii_database(2);

  const bool go_on = w_.ii_database() == 1 ? local_path() : sql_server_path();
  if (go_on) tail();
  ds_back_.reset();
}

bool StartAction::connect_server(const QString& db_name) {
  sqlca.interface_id = QStringLiteral("MSS Microsoft SQL Server 6.x");
  sqlca.db_name = db_name;
  sqlca.server = ls_server_name_;
  sqlca.login = ls_user_name_;
  sqlca.auto_commit = true;
  sqlca.connect_params = QString();
  sqlca.password = ls_user_password_;
  sqlca.connect();
  return sqlca.status == 0;
}

}  // namespace rebuild
