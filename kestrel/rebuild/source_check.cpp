#include "kestrel/rebuild/source_check.h"

#include "db/data_file_check.h"
#include "db/embedded_server.h"
#include "db/master_catalog.h"
#include "db/sqlite_connection.h"
#include "db/sqlite_util.h"
#include "db/system_databases.h"
#include "kestrel/rebuild/connection_guard.h"
#include "kestrel/rebuild/start_action.h"
#include "kestrel/upgrade/base_tables.h"
#include "kestrel/upgrade/chain.h"
#include "runtime/files.h"
#include "shared/globals.h"
#include "shared/show_sql_error.h"

namespace rebuild {

namespace {

// SQL Server's "Invalid object name" and "Invalid column name".
constexpr long kNoSuchTable = 208;
constexpr long kNoSuchColumn = 207;

const QString kRefusalTitle = QStringLiteral("错误提示");
const QString kNothingDone = QStringLiteral(",\r\n未做任何处理!");

}  // namespace

QString refused_source_name(const QString& name, const QString& server,
                            const QString& own_velmo41) {
  if (name.isEmpty()) return QStringLiteral("没有指定原始数据库") + kNothingDone;
  if (db::system_database_refusal(name))
    return QStringLiteral("原始数据库") + name + QStringLiteral("是系统数据库") + kNothingDone;
  if (!db::is_embedded_server(server)) return {};
  const QString own = db::comparable_path(own_velmo41);
  if (name.compare(QStringLiteral("velmo41"), Qt::CaseInsensitive) != 0) {
    const auto d = db::find_database(db::embedded_server_folder(), name);
    if (d && d->data_file == own)
      return QStringLiteral("原始数据库") + name + QStringLiteral("用的是velmo41的数据文件") +
             kNothingDone;
    return {};
  }
  // velmo41 rebuilt from itself: the attach that follows would put this folder's files or the
  // templates in place of any other, and the rebuild would carry an empty template under a
  // success. Without an entry the connect refuses it; a missing file too.
  const auto d = db::find_database(db::embedded_server_folder(), name);
  if (!d) return {};
  if (d->data_file != own)
    return QStringLiteral("原始数据库velmo41登记的文件") + d->data_file +
           QStringLiteral("不是本目录的velmo41.mdf") + kNothingDone;
  QString detail;
  if (rt::file_exists(own_velmo41) &&
      db::check_data_file(own_velmo41, detail) == db::DataFileState::damaged)
    return QStringLiteral("原始数据库velmo41已损坏") + kNothingDone;
  return {};
}

SourceFindings examine_source(db::Transaction& t) {
  SourceFindings f;
  int sys = 0;
  for (const TabBackTable& table : tab_back_tables()) {
    const QString name = QString::fromLatin1(table.table);
    if (name == QLatin1String("sys")) sys = table.n;
    t.select_row(QStringLiteral("select ") + required_columns(table).join(QStringLiteral(" , ")) +
                 QStringLiteral(" from ") + name + QStringLiteral(" where 1 = 0"));
    if (t.status >= 0) continue;
    if (t.db_error_code == kNoSuchTable) {
      const upgrade::BaseTable* base = upgrade::base_table(name);
      if (base && !base->may_be_missing) f.missing_tables << name;
      continue;
    }
    if (f.broken_table == 0) {
      f.broken_table = table.n;
      f.broken_error = {t.db_error_code, t.db_error_text};
    }
    // Anything but a missing column is no answer about the table (a lock held too long).
    if (t.db_error_code != kNoSuchColumn) return f;
  }
  if (!f.missing_tables.isEmpty() || f.broken_table != 0) return f;
  const auto row = t.select_row(QStringLiteral("select isnull ( bb , '0' ) from sys where id =1"));
  if (t.status < 0) {
    f.broken_table = sys;
    f.broken_error = {t.db_error_code, t.db_error_text};
    return f;
  }
  if (!row.empty()) f.version = row[0].to_text().trimmed();
  f.version_row = upgrade::version_number(f.version).value_or(0) > 0;
  return f;
}

QString refused_source_version(const QString& source, const QString& version) {
  if (!upgrade::above_last_version(version)) return {};
  return QStringLiteral("原始数据库") + source + QStringLiteral("的版本") + version +
         QStringLiteral("高于本程序的版本") + QString::fromLatin1(upgrade::kLastVersion) +
         kNothingDone;
}

QString local_database_version(const QString& file) {
  db::SqliteConnection c;
  // Opened for writing though only read: a read-only connection to a file in WAL mode leaves
  // the write-ahead log and its index beside it, and only a writer removes them when it closes.
  if (c.open(file.toUtf8().constData(), SQLITE_OPEN_READWRITE) != SQLITE_OK) return {};
  db::SqliteStmt s;
  db::DbError err;
  if (!s.prepare(c.get(), QStringLiteral("select bb from sys where id = 1"), err) || !s.step(err))
    return {};
  return s.text(0).trimmed();
}

QStringList required_columns(const TabBackTable& t) {
  QStringList out;
  if (const upgrade::BaseTable* b = upgrade::base_table(QString::fromLatin1(t.table)))
    for (const upgrade::BaseColumn& c : b->columns) out << QString::fromLatin1(c.name).toLower();
  const QString first = declared_columns(t).front().name.toLower();
  if (!out.contains(first)) out << first;
  return out;
}

bool StartAction::source_accepted() {
  const QString refusal = refused_source_name(ls_database_name_, ls_server_name_,
                                              gs_apppath + QStringLiteral("velmo41.mdf"));
  if (!refusal.isEmpty()) {
    fail(kRefusalTitle, refusal);
    return false;
  }
  const ConnectionGuard source;
  return connect_old_database() && source_is_salon_database();
}

bool StartAction::connect_old_database() {
  if (connect_server(ls_database_name_)) return true;
  show_sql_error();
  fail(QString(), QStringLiteral("连接原始数据库失败"));
  return false;
}

bool StartAction::source_is_salon_database() {
  const SourceFindings f = examine_source(sqlca);
  if (!f.missing_tables.isEmpty()) {
    QString named = f.missing_tables.mid(0, 5).join(QLatin1Char(','));
    if (f.missing_tables.size() > 5) named += QStringLiteral("等");
    fail(kRefusalTitle, QStringLiteral("原始数据库") + ls_database_name_ +
                            QStringLiteral("不是本系统的数据库(缺少表") + named +
                            QStringLiteral(")") + kNothingDone);
  } else if (f.broken_table != 0) {
    // A table without a column that every version holds could not be exported.
    sqlca.set_result(false, f.broken_error);
    const ExportFailure e = table_not_exported(f.broken_table);
    fail(e.title, e.text);
  } else if (!f.version_row) {
    fail(kRefusalTitle, QStringLiteral("原始数据库") + ls_database_name_ +
                            QStringLiteral("没有版本信息(sys表)") + kNothingDone);
  } else if (const QString newer = refused_source_version(ls_database_name_, f.version);
             !newer.isEmpty()) {
    fail(kRefusalTitle, newer);
  } else {
    return true;
  }
  return false;
}

}  // namespace rebuild
