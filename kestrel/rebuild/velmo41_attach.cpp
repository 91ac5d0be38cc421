// velmo41 on the server, before the export: attached from the templates base.mdf/base.ldf when
// the server does not know it. On the embedded server velmo41 is this program folder's
// velmo41.mdf: a damaged file is set aside and the templates take its place, and a catalog entry
// that names other files (another folder's, a vanished folder's, the old database's) gives way
// to one for this folder's files. A real SQL Server's catalog is its own and stays as it is.
#include <QFileInfo>

#include "db/data_file_check.h"
#include "db/database_copy.h"
#include "db/embedded_server.h"
#include "db/master_catalog.h"
#include "db/transaction.h"
#include "kestrel/rebuild/connection_guard.h"
#include "kestrel/rebuild/start_action.h"
#include "runtime/files.h"
#include "runtime/set_aside.h"
#include "shared/f_copy_file.h"
#include "shared/globals.h"
#include "shared/kv_log.h"
#include "shared/set_aside_logged.h"
#include "shared/show_sql_error.h"
#include "shared/sp_attach_db.h"

namespace rebuild {

namespace {

const QString kVelmo41 = QStringLiteral("velmo41");

const QString kTag = QStringLiteral("REBUILD");

void log_line(const QString& text) { append_kv_log(kv_log_line(kTag, text)); }

}  // namespace

// With sqlca on the embedded server's master. `known`: the catalog names velmo41 on this
// folder's files. False after the failure box.
bool StartAction::claim_own_velmo41(const QString& data, const QString& log, bool& known) {
  QString detail;
  if (rt::file_exists(data) && db::check_data_file(data, detail) == db::DataFileState::damaged) {
    // The source check refuses velmo41 damaged as its own source; damaged since, it would end as
    // the template under a success message.
    if (ls_database_name_.compare(kVelmo41, Qt::CaseInsensitive) == 0) {
      fail(QStringLiteral("错误提示"), QStringLiteral("原始数据库velmo41已损坏,\r\n未做任何处理!"));
      return false;
    }
    // Kept for a look, never deleted. The journal SQLite keeps beside it goes first: left
    // behind, it would be replayed into the file that takes the data file's place.
    const QString suffix = shared::set_aside_logged(
        {{data, db::companion_files(data)}, {log, {}}}, QStringLiteral("damaged"), kTag,
        [&](const rt::Renamed& r) {
          const QString to = QFileInfo(r.to).fileName();
          return r.from == data
                     ? QStringLiteral("velmo41.mdf已损坏(") + detail +
                           QStringLiteral("),已改名为") + to + QStringLiteral(",由base.mdf重建")
                     : QFileInfo(r.from).fileName() + QStringLiteral("已改名为") + to;
        });
    if (suffix.isEmpty()) {
      fail(QStringLiteral("错误信息"),
           QStringLiteral("velmo41.mdf已损坏,无法改名,\r\n请关闭使用它的程序后重新开始!"));
      return false;
    }
  }
  const auto entry = db::find_database(db::embedded_server_folder(), kVelmo41);
  known = entry && entry->data_file == db::comparable_path(data) &&
          entry->log_file == db::comparable_path(log);
  if (!entry || known) return true;
  sqlca.execute_immediate(QStringLiteral("sp_detach_db 'velmo41'"));
  if (sqlca.status != 0) {
    show_sql_error();
    fail(QStringLiteral("错误信息"), QStringLiteral("创建数据库失败"));
    return false;
  }
  log_line(QStringLiteral("数据库velmo41登记的文件") + entry->data_file +
           QStringLiteral("不是本目录的velmo41.mdf,已改为本目录的文件"));
  return true;
}

// A fresh data file gets a fresh log file, unless the server holds the one there. What lies
// where the templates go is another database's (a log, a journal that would be replayed into the
// template's copy): kept under a dated name, never overwritten. False after the failure box.
bool StartAction::set_aside_beside_missing_data(const QString& data, const QString& log,
                                                const QString& data_template,
                                                const QString& log_template) {
  // Without the templates there is no copy, and what is there stays (the copy says so).
  if (!rt::file_exists(data_template) || !rt::file_exists(log_template)) return true;
  QStringList there;
  for (const QString& f : db::companion_files(data))
    if (QFileInfo::exists(f)) there << f;
  std::vector<rt::AsideFile> aside{{data, there}};
  // A copy of the template is as good as a new one.
  if (QFileInfo::exists(log) && !db::file_held_by_server(log) &&
      !rt::same_contents(log_template, log)) {
    there << log;
    aside.push_back({log, {}});
  }
  if (there.isEmpty()) return true;
  const QString suffix =
      shared::set_aside_logged(aside, QStringLiteral("replaced"), kTag, [](const rt::Renamed& r) {
        return QStringLiteral("velmo41.mdf不存在,") + QFileInfo(r.from).fileName() +
               QStringLiteral("已改名为") + QFileInfo(r.to).fileName();
      });
  if (suffix.isEmpty()) {
    fail(QStringLiteral("创建数据库失败"), QStringLiteral("生成数据库文件失败！"));
    return false;
  }
  return true;
}

// Whether velmo41 is attached is the server's to say, not the files': a run that stopped
// between the copy and the attach leaves the files of a database the server does not know.
// Such files are attached as they are; the templates are copied only where a file is missing.
bool StartAction::attach_velmo41() {
  const QString ls_mdf = gs_apppath + QStringLiteral("base.mdf");
  const QString ls_ldf = gs_apppath + QStringLiteral("base.ldf");
  const QString ls_data = gs_apppath + QStringLiteral("velmo41.mdf");
  const QString ls_log = gs_apppath + QStringLiteral("velmo41.ldf");
  const ConnectionGuard master;
  if (!connect_server(QStringLiteral("master"))) {
    fail(QString(), QStringLiteral("连接失败"));
    return false;
  }
  bool known = false;
  if (db::is_embedded_server(ls_server_name_)) {
    if (!claim_own_velmo41(ls_data, ls_log, known)) return false;
  } else if (rt::file_exists(ls_data)) {
    const auto row = sqlca.select_row(
        QStringLiteral("select count ( *) from sysdatabases where name = 'velmo41'"));
    if (sqlca.status != 0 || row.empty()) {
      show_sql_error();
      fail(QString(), QStringLiteral("连接失败"));
      return false;
    }
    if (row[0].to_integer() > 0) return true;
  }
  const bool copy_data = !rt::file_exists(ls_data);
  if (copy_data && !set_aside_beside_missing_data(ls_data, ls_log, ls_mdf, ls_ldf)) return false;
  const bool copy_log = !rt::file_exists(ls_log);
  if ((copy_data && f_copy_file(ls_mdf, ls_data) != 0) ||
      (copy_log && f_copy_file(ls_ldf, ls_log) != 0)) {
    fail(QStringLiteral("创建数据库失败"), QStringLiteral("生成数据库文件失败！"));
    return false;
  }
  if (known) return true;
  w_.set_st_11(QStringLiteral("附加数据库2"));
  sqlca.execute_immediate(shared::sp_attach_db(kVelmo41, ls_data, ls_log));
  if (sqlca.status != 0) {
    show_sql_error();
    fail(QStringLiteral("错误信息"), QStringLiteral("创建数据库失败"));
    return false;
  }
  return true;
}

}  // namespace rebuild
