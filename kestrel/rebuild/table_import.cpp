// The SQL Server kind's import: each text file back into its table of velmo41, with the wait
// window showing the progress, then one commit.
#include "db/transaction.h"
#include "kestrel/rebuild/key_groups.h"
#include "kestrel/rebuild/start_action.h"
#include "kestrel/rebuild/tab_back_tables.h"
#include "runtime/dialogs.h"
#include "runtime/files.h"
#include "runtime/yield.h"
#include "shared/globals.h"
#include "shared/kv_log.h"
#include "shared/show_sql_error.h"

namespace rebuild {

namespace {

bool blank_key(const std::optional<QString>& key) {
  if (!key) return true;
  for (QChar c : *key)
    if (c != QLatin1Char(' ')) return false;
  return true;
}

// The row the import refused, by its place in the export, its column and its value, so that it
// can be found in the old database and mended. The text file is no place to look: the end of
// the run removes it.
void log_refusal(const BackStore& ds_back, int n) {
  const std::optional<db::ImportRefusal> r = ds_back.import_refusal();
  if (!r) return;
  append_kv_log(
      kv_log_line(QStringLiteral("IMPERR"),
                  QStringLiteral("恢复表: %1(%2) 第%3行 列%4 值'%5': %6")
                      .arg(QString::number(n), QString::fromLatin1(tab_back_table(n)->table),
                           QString::number(r->line), r->column, r->value, r->reason)));
}

}  // namespace

// A dropped row for the log: its first columns, null or quoted.
QString StartAction::dropped_row_text(int n, long row) {
  QStringList cells;
  const std::vector<DeclaredColumn> columns = declared_columns(*tab_back_table(n));
  for (size_t c = 0; c < columns.size() && c < 3; ++c) {
    const std::optional<QString> v = ds_back_->getitemstring(row, columns[c].name);
    const QString shown = v ? QStringLiteral("'%1'").arg(*v) : QStringLiteral("null");
    cells << columns[c].name + QLatin1Char('=') + shown;
  }
  return cells.join(QLatin1Char(' '));
}

// Removes the leading rows whose key is null or blank (the rows are sorted, nulls first);
// returns how many went. kv_log.txt names the table, the count and the first of them.
long StartAction::row_check(int n) {
  const QString ls_a = ds_back_->getcolumnname();
  long ll_count = ds_back_->rowcount();
  long dropped = 0;
  QStringList first_dropped;
  const auto checked = [&] {
    if (dropped > 0)
      append_kv_log(kv_log_line(
          QStringLiteral("IMPORT"),
          QStringLiteral("表") + QString::fromLatin1(tab_back_table(n)->table) +
              QStringLiteral("的") + QString::number(dropped) +
              QStringLiteral("行键为空,未导入: ") + first_dropped.join(QStringLiteral("; ")) +
              (dropped > first_dropped.size() ? QStringLiteral("; ...") : QString())));
    return dropped;
  };
  const long k = 1;
  while (k <= ll_count) {
    rt::yield();
    w_.set_w_wait_text(QStringLiteral("数据处理:") + QString::number(k) + QStringLiteral("/") +
                       QString::number(ll_count));
    std::optional<QString> ls_b;
    switch (key_group(n)) {
      case KeyGroup::none:
        return checked();
      case KeyGroup::number:
        ls_b = ds_back_->getitemnumber_text(k, ls_a);
        break;
      case KeyGroup::text:
        ls_b = ds_back_->getitemstring(k, ls_a);
        break;
      case KeyGroup::emp_id_text:
        ds_back_->setsort(QStringLiteral("emp_id"));
        ds_back_->sort();
        ls_b = ds_back_->getitemstring(k, QStringLiteral("emp_id"));
        break;
    }
    if (!blank_key(ls_b)) return checked();
    if (first_dropped.size() < 3) first_dropped << dropped_row_text(n, k);
    ds_back_->deleterow(k);
    --ll_count;
    ++dropped;
  }
  return checked();
}

// Success only when the rows arrived: each carried table holds the rows its export saved, less
// those the row check dropped. A difference undoes the emptying and the import.
bool StartAction::rows_arrived() {
  for (const auto& [n, rows] : exported_) {
    ds_back_->set_dataobject(QStringLiteral("tab_back_") + QString::number(n));
    ds_back_->settransobject(sqlca);
    const long held = ds_back_->stored_rowcount();
    const long expected = rows - dropped_[n];
    if (held == expected) continue;
    show_sql_error();
    sqlca.rollback();
    ds_back_.reset();
    fail(QStringLiteral("错误提示"),
         QStringLiteral("恢复表: ") + QString::fromLatin1(tab_back_table(n)->table) +
             QStringLiteral("行数不符,应为") + QString::number(expected) +
             QStringLiteral("行,实为") + QString::number(held) + QStringLiteral("行!"));
    return false;
  }
  return true;
}

bool StartAction::import_tables() {
  // A table that could not be read back or stored: nothing of the emptying or the import
  // stays.
  const auto stopped = [this](int n, const QString& reason, long code) {
    sqlca.rollback();
    ds_back_.reset();
    rt::dialogs().notice(
        QStringLiteral("错误提示"),
        QStringLiteral("恢复表: ") + QString::number(n) + reason + QString::number(code));
    w_.close_w_wait();
    return false;
  };
  dropped_.clear();
  w_.open_w_wait(QStringLiteral("数据处理中"));
  for (int n = 1; n <= gi_tables; ++n) {
    rt::yield();
    if (n == 2) continue;
    const QString ls_def = QStringLiteral("tab_back_") + QString::number(n);
    ds_back_->set_dataobject(ls_def);
    ds_back_->settransobject(sqlca);
    ds_back_->reset();
    const QString ls_name = tab_back_file(n);
    rt::yield();
    w_.set_w_wait_text(QStringLiteral("导入第:") + QString::number(n) + QStringLiteral("号表"));
    // Held at full width: a large table's row count must not read as an error code.
    long li_ret = ds_back_->importfile(ls_name);
    if (li_ret == -2 || li_ret == -5) {
      rt::delete_file(ls_name);
      continue;
    }
    if (li_ret < 0) {
      log_refusal(*ds_back_, n);
      return stopped(n, QStringLiteral("失败?import错误号:"), li_ret);
    }
    ds_back_->setcolumn(1);
    ds_back_->setsort(ds_back_->getcolumnname());
    ds_back_->sort();
    dropped_[n] = row_check(n);
    rt::yield();
    w_.set_w_wait_text(QStringLiteral("保存数据:") + QString::number(n) + QStringLiteral("/") +
                       QString::number(gi_tables) + QStringLiteral("中..."));
    li_ret = ds_back_->update();
    // The rows stay in the old database, which the next run exports again.
    if (li_ret != 1) return stopped(n, QStringLiteral("失败?update错误号:"), li_ret);
    rt::delete_file(ls_name);
  }
  w_.close_w_wait();
  if (sqlca.status >= 0) {
    if (!rows_arrived()) return false;
    sqlca.commit();
    // A commit that did not happen must not be reported as stored rows.
    if (sqlca.status == 0) {
      ds_back_.reset();
      return true;
    }
    show_sql_error();
  }
  sqlca.rollback();
  ds_back_.reset();
  fail(QStringLiteral("系统提示"), QStringLiteral("保存数据出错!"));
  return false;
}

}  // namespace rebuild
