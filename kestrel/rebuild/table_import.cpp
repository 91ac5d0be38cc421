// The SQL Server kind's import: each text file back into its table of velmo41, with the wait
// window showing the progress, then one commit.
#include "db/transaction.h"
#include "kestrel/rebuild/key_groups.h"
#include "kestrel/rebuild/start_action.h"
#include "runtime/dialogs.h"
#include "runtime/files.h"
#include "runtime/yield.h"
#include "shared/globals.h"

namespace rebuild {

namespace {

bool blank_key(const std::optional<QString>& key) {
  if (!key) return true;
  for (QChar c : *key)
    if (c != QLatin1Char(' ')) return false;
  return true;
}

}  // namespace

// Removes the leading rows whose key is null or blank (the rows are sorted, nulls first).
void StartAction::row_check(int n) {
  const QString ls_a = ds_back_->getcolumnname();
  long ll_count = ds_back_->rowcount();
  const long k = 1;
  while (k <= ll_count) {
    rt::yield();
    w_.set_w_wait_text(QStringLiteral("数据处理:") + QString::number(k) + QStringLiteral("/") +
                       QString::number(ll_count));
    std::optional<QString> ls_b;
    switch (key_group(n)) {
      case KeyGroup::none:
        return;
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
    if (!blank_key(ls_b)) return;
    ds_back_->deleterow(k);
    --ll_count;
  }
}

bool StartAction::import_tables() {
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
      sqlca.rollback();
      ds_back_.reset();
      rt::dialogs().notice(QStringLiteral("错误提示"),
                           QStringLiteral("恢复表: ") + QString::number(n) +
                               QStringLiteral("失败?import错误号:") + QString::number(li_ret));
      sqlca.disconnect();
      w_.close_w_wait();
      return false;
    }
    ds_back_->setcolumn(1);
    ds_back_->setsort(ds_back_->getcolumnname());
    ds_back_->sort();
    row_check(n);
    rt::yield();
    w_.set_w_wait_text(QStringLiteral("保存数据:") + QString::number(n) + QStringLiteral("/") +
                       QString::number(gi_tables) + QStringLiteral("中..."));
    li_ret = ds_back_->update();
    if (li_ret != 1) {
      sqlca.rollback();
      ds_back_.reset();
      rt::dialogs().notice(QStringLiteral("错误提示"),
                           QStringLiteral("恢复表: ") + QString::number(n) +
                               QStringLiteral("失败?update错误号:") + QString::number(li_ret));
      // The file stays: its rows may exist nowhere else now.
      sqlca.disconnect();
      w_.close_w_wait();
      return false;
    }
    rt::delete_file(ls_name);
  }
  w_.close_w_wait();
  if (sqlca.status >= 0) {
    sqlca.commit();
    ds_back_.reset();
    sqlca.disconnect();
    return true;
  }
  sqlca.rollback();
  ds_back_.reset();
  fail(QStringLiteral("系统提示"), QStringLiteral("保存数据出错!"));
  sqlca.disconnect();
  return false;
}

}  // namespace rebuild
