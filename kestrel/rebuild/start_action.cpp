#include "kestrel/rebuild/start_action.h"

#include "db/transaction.h"
#include "kestrel/rebuild/keep_options.h"
#include "runtime/dialogs.h"
#include "runtime/files.h"
#include "runtime/folder_lock.h"
#include "shared/globals.h"
#include "shared/sql_server_connect.h"

namespace rebuild {

namespace {

struct RunningFlag {
  explicit RunningFlag(bool& f) : f_(f) { f_ = true; }
  ~RunningFlag() { f_ = false; }
  bool& f_;
};

}  // namespace

QString tab_back_file(int n) {
  return gs_apppath + QStringLiteral("tab_back_") + QString::number(n) + QStringLiteral(".txt");
}

StartAction::StartAction(StartWindow& w_main, StartServices services)
    : w_(w_main), s_(std::move(services)) {}

void StartAction::fail(const QString& title, const QString& text) {
  rt::dialogs().failure(title, text);
}

void StartAction::clicked() {
  // Two runs would share sqlca and ds_back.
  if (running_) return;
  // Two processes would delete each other's text files and empty each other's tables.
  const rt::FolderLock folder_lock(gs_apppath);
  if (folder_lock.busy()) {
    fail(QStringLiteral("系统提示"),
         QStringLiteral("另一个程序正在处理本目录的数据库,请等它处理完毕后再开始!"));
    return;
  }
  RunningFlag flag(running_);
  if (!keep_options_readable(w_)) return;

  ds_back_ = s_.make_store ? s_.make_store() : nullptr;
  const shared::connection_set local = shared::read_local_set(w_.panel());
  ls_server_name_ = local.server;
  ls_database_name_ = local.database;
  ls_user_name_ = local.user;
  ls_user_password_ = local.password;
  w_.hpb_start(8);

  const bool go_on = shared::take_kind(w_.panel()) == 1 ? local_path() : sql_server_path();
  if (go_on) tail();
  ds_back_.reset();
  // However the run ended, the customer data does not stay behind in plain text, nor what a
  // killed run left: after a failure the old database still holds every row, and the next run
  // exports them again.
  remove_text_files();
}

void StartAction::remove_text_files() {
  for (int n = 1; n <= gi_tables; ++n)
    if (n != 2) rt::remove_file(tab_back_file(n));
}

bool StartAction::connect_server(const QString& db_name, bool auto_commit) {
  return shared::sql_server_connect(ls_server_name_, db_name, ls_user_name_, ls_user_password_,
                                    auto_commit);
}

bool StartAction::connect_velmo41(bool auto_commit) {
  if (connect_server(QStringLiteral("velmo41"), auto_commit)) return true;
  fail(QString(), QStringLiteral("连接新数据库失败"));
  return false;
}

}  // namespace rebuild
