#include "kestrel/upgrade/change_table.h"
#include "kestrel/upgrade/steps.h"

namespace upgrade {
namespace {

const Change k1520[] = {
    {"select count ( emp_sr ) from emp_info", "emp_info",
     "add emp_sr smalldatetime null/"
     "add emp_sr_type int null/",
     "版本升级失败-emp_info! 停止升级"},
    {"select count ( mem_id ) from mem_fjjr", nullptr,
     "create table mem_fjjr ("
     "mem_id char(30) not null,"
     "jr_name char(30),"
     "fjjr smalldatetime null,"
     "jr_type int null,"
     "jr_mem char(50) null)",
     "版本升级失败-mem_fjjr! 停止升级"},
};

const Change k1530[] = {
    {"select count ( jhzd ) from sys", nullptr, "alter table sys add jhzd char(30) null",
     "版本升级失败-sys! 停止升级"},
};

}  // namespace

// The blocks run from the lowest version up, so the stamp 15.31 comes last: it is never
// written before a lower block that may still fail, and it finds sys.jhzd in place.
Outcome f_ver7() {
  StepContext s;
  if (!s.read_version()) return s.base_data_lost();
  if (!s.below(15.31)) return Outcome::returned_early;

  if (s.below(15.20) && !apply(s, k1520)) return Outcome::failed;
  if (s.below(15.30) && !apply(s, k1530)) return Outcome::failed;

  s.run(
      "update wage_item set item_name ='员工借款' , state =1 , type =2 , sum_state =2 , "
      "tax_state =1 where item_id ='item_24'");
  if (!s.ok()) {
    s.failure_path("版本升级失败-update sys.bb!", "错误信息7");
    return Outcome::failed;
  }
  s.run("update sys SET bb ='15.31' , kernel_ver ='V 6.03.01' , jhzd =''");
  s.commit();
  return Outcome::done;
}

}  // namespace upgrade
