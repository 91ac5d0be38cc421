#pragma once
// kestrel's Start action (w_main's cb_test.clicked): builds velmo41 from the old database by
// file copy (local kind) or by attach, export, upgrade, emptying and import (SQL Server kind),
// then deletes what the keep options exclude. Runs synchronously, yielding where the long
// loops yield; a press of Start while a run is in progress is ignored, and a Start in another
// process on the same program folder is refused.
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "kestrel/rebuild/back_store.h"
#include "kestrel/rebuild/start_window.h"

namespace rebuild {

struct StartServices {
  BackStoreFactory make_store;
  // Runs f_ver ... f_ver10 on sqlca; false when the chain stopped (a failure path, or the
  // program is to end or restart): the action then goes no further.
  std::function<bool()> upgrade;
  // f_conect(fs_dsn, fs_server, fs_use, fs_password).
  std::function<int(const QString&, const QString&, const QString&, const QString&)> f_conect;
};

class StartAction {
 public:
  StartAction(StartWindow& w_main, StartServices services);

  void clicked();
  // True from the start of a run to its end, for any instance: every run works on sqlca.
  static bool running() { return running_; }

 private:
  // A step that connects sqlca holds a ConnectionGuard, which lets the connection go when the
  // step ends, after the step's failure box; what the step calls leaves sqlca connected.
  bool local_path();
  bool connect_local();  // sqlca on this folder's velmo41.db, for the tail
  bool sql_server_path();
  // The source connected and checked before anything is attached or copied; false after the
  // refusal's box, with nothing changed.
  bool source_accepted();
  bool source_is_salon_database();  // with sqlca on the source
  bool connect_old_database();      // false after the failure box
  bool attach_velmo41();
  bool claim_own_velmo41(const QString& data, const QString& log, bool& known);
  bool set_aside_beside_missing_data(const QString& data, const QString& log,
                                     const QString& data_template, const QString& log_template);
  bool export_tables();  // on sqlca connected to the old database
  // The export's failure box, shown once the old database is let go.
  struct ExportFailure {
    QString title;
    QString text;
  };
  std::optional<ExportFailure> save_tables();
  static ExportFailure table_not_exported(int n);  // logs the statement's error
  bool check_text_files();
  bool import_tables();
  long row_check(int n);
  QString dropped_row_text(int n, long row);
  bool rows_arrived();
  void tail();
  void remove_text_files();

  bool connect_server(const QString& db_name, bool auto_commit = true);
  bool connect_velmo41(bool auto_commit = true);         // false after the failure box
  void fail(const QString& title, const QString& text);  // the run's failure box

  StartWindow& w_;
  StartServices s_;
  static inline bool running_ = false;
  std::unique_ptr<BackStore> ds_back_;
  // Per table number: the rows the export saved, and the rows the import's check dropped.
  std::map<int, long> exported_, dropped_;
  QString ls_server_name_, ls_database_name_, ls_user_name_, ls_user_password_;
};

// The text file of table number n in the program folder.
QString tab_back_file(int n);

// cb_test's clicked in the program: the action with the real data store, upgrade chain and
// f_conect.
void program_start_action(StartWindow& w_main);

}  // namespace rebuild
