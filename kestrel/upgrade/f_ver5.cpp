#include "kestrel/upgrade/change_table.h"
#include "kestrel/upgrade/steps.h"

namespace upgrade {
namespace {

const Change kChanges[] = {
    {"select count ( jfxs ) from card_level", nullptr,
     "alter table card_level add jfxs numeric(16,2) null", "版本升级失败-card_level! 停止升级"},
    {"select count ( emp_k ) from doc_item", "doc_item",
     "add emp_k char(20) null/"
     "add emp_l char(20) null/"
     "add emp_m char(20) null/",
     "版本升级失败-doc_item! 停止升级"},
    {"select count ( lplp ) from emp_rebate", nullptr,
     "alter table emp_rebate add lplp decimal(16,4) null", "版本升级失败-emp_rebate! 停止升级"},
    {"select count ( rebate_k ) from info_item", "info_item",
     "add rebate_k numeric(15, 4) NULL/"
     "add rebate_l numeric(15, 4) NULL/"
     "add rebate_m numeric(15, 4) NULL/"
     "add cyjf int null/",
     "版本升级失败-info_item! 停止升级"},
    {"select count ( cyjf ) from info_ware", nullptr, "alter table info_ware add cyjf int null",
     "版本升级失败-info_ware! 停止升级"},
};

}  // namespace

Outcome f_ver5() {
  StepContext s;
  if (!s.read_version()) return s.base_data_lost();
  if (!s.below(14.50)) return Outcome::returned_early;
  if (!apply(s, kChanges)) return Outcome::failed;
  if (!s.stamp("update sys SET bb ='14.50' , kernel_ver ='V 4.50.00'", "错误信息"))
    return Outcome::failed;
  return Outcome::done;
}

}  // namespace upgrade
