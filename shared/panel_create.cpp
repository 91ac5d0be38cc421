#include "shared/panel_create.h"

#include <QFileInfo>

#include "db/backend.h"
#include "db/database_copy.h"
#include "db/transaction.h"
#include "runtime/dialogs.h"
#include "runtime/files.h"
#include "runtime/set_aside.h"
#include "shared/connection_panel.h"
#include "shared/f_copy_file.h"
#include "shared/globals.h"
#include "shared/set_aside_logged.h"
#include "shared/sp_attach_db.h"
#include "shared/sql_server_connect.h"

namespace shared {

namespace {

struct TemplateCopy {
  QString from;
  QString to;
  QStringList companions;  // SQLite's files beside a data file, replayed into a new one
};

// Whether a target holds something other than its template: a detached database, a restored
// backup, a journal of one.
bool holds_other_data(const TemplateCopy& c) {
  for (const QString& f : c.companions)
    if (QFileInfo::exists(f)) return true;
  return rt::file_exists(c.to) && !rt::same_contents(c.from, c.to);
}

// What kv_log.txt says of a file set aside: why it was renamed.
QString renamed_text(const std::vector<const TemplateCopy*>& other, const rt::Renamed& r) {
  const QString from = QFileInfo(r.from).fileName(), to = QFileInfo(r.to).fileName();
  for (const TemplateCopy* c : other) {
    if (c->companions.contains(r.from))
      return from + QStringLiteral("属于") + QFileInfo(c->to).fileName() +
             QStringLiteral(",已改名为") + to;
    if (r.from == c->to)
      return from + QStringLiteral("不是") + QFileInfo(c->from).fileName() +
             QStringLiteral("的副本,已改名为") + to;
  }
  return from + QStringLiteral("已改名为") + to;
}

// The copies go over their targets, so what the targets hold other than the templates is set
// aside first, and each file renamed is named in kv_log.txt, a file left renamed by a failure
// too. An attached database's files are not touched at all. False when a target cannot be
// given up.
bool clear_targets(const std::vector<TemplateCopy>& copies) {
  std::vector<const TemplateCopy*> other;
  for (const TemplateCopy& c : copies) {
    if (db::file_held_by_server(c.to) || rt::same_file(c.from, c.to)) return false;
    // Without its template there is no copy: the target stays where it is.
    if (rt::file_exists(c.from) && holds_other_data(c)) other.push_back(&c);
  }
  if (other.empty()) return true;
  std::vector<rt::AsideFile> aside;
  for (const TemplateCopy* c : other) aside.push_back({c->to, c->companions});
  return !set_aside_logged(aside, QStringLiteral("replaced"), QStringLiteral("CREATE"),
                           [&](const rt::Renamed& r) { return renamed_text(other, r); })
              .isEmpty();
}

}  // namespace

void cb_create_clicked(connection_panel& p) {
  rt::Dialogs& dlg = rt::dialogs();
  const QString kTitle = QStringLiteral("系统提示");
  if (!p.rb_2_checked()) {
    dlg.failure(kTitle, QStringLiteral("不是SQL Server 7.00 or 2000数据库不能进行创建操作!"));
    return;
  }
  const QString ls_from_mdf = gs_apppath + QStringLiteral("base.mdf");
  const QString ls_from_ldf = gs_apppath + QStringLiteral("base.ldf");
  const connection_set s = read_local_set(p);
  const QString& ls_name = s.database;
  // The name becomes two file names and a literal of the statement: refuse one that would
  // reach outside the program folder or cannot be a file name, before anything is touched.
  if (!database_name_allowed(ls_name)) {
    dlg.failure(QStringLiteral("错误信息"), QStringLiteral("创建数据库失败"));
    return;
  }

  if (!sql_server_connect(s.server, QStringLiteral("master"), s.user, s.password, true)) {
    dlg.failure(QString(), QStringLiteral("连接失败"));
    sqlca.disconnect();
    return;
  }
  if (!dlg.question(kTitle, QStringLiteral("您真的要创建") + ls_name + QStringLiteral("数据库吗？"),
                    false)) {
    sqlca.disconnect();
    return;
  }
  const QString ls_to_mdf = gs_apppath + ls_name + QStringLiteral(".mdf");
  const QString ls_to_ldf = gs_apppath + ls_name + QStringLiteral(".ldf");
  if (!clear_targets({{ls_from_mdf, ls_to_mdf, db::companion_files(ls_to_mdf)},
                      {ls_from_ldf, ls_to_ldf, {}}}) ||
      f_copy_file(ls_from_mdf, ls_to_mdf) != 0 || f_copy_file(ls_from_ldf, ls_to_ldf) != 0) {
    dlg.failure(QStringLiteral("创建数据库失败"), QStringLiteral("生成数据库文件失败！"));
    sqlca.disconnect();
    return;
  }
  sqlca.execute_immediate(sp_attach_db(ls_name, ls_to_mdf, ls_to_ldf));
  if (sqlca.status != 0) {
    dlg.failure(QStringLiteral("错误信息"), QStringLiteral("创建数据库失败"));
    sqlca.disconnect();
    return;
  }
  sqlca.disconnect();
  dlg.notice(kTitle, QStringLiteral("创建数据库成功!"));
}

}  // namespace shared
