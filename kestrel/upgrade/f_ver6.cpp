#include "kestrel/upgrade/change_table.h"
#include "kestrel/upgrade/steps.h"
#include "shared/globals.h"

namespace upgrade {
namespace {

const Change kBeforeRebate[] = {
    {"select count ( men ) from doc_ware", nullptr, "alter table doc_ware add men char(30) null",
     "版本升级失败-doc_ware! 停止升级"},
    {"select count ( doc_id ) from doc_mem_item", nullptr,
     "create table doc_mem_item ("
     "doc_id char(20) not null,"
     "serial_no numeric(8,0) not null,"
     "item_id char(10) null,"
     "amount numeric(15,2) null,"
     "price numeric(15,2) null,"
     "money numeric(15,2) null,"
     "emp_id char(20) null,"
     "rebate numeric(15,2) null,"
     "re_m decimal(16,2) null,"
     "table_id char(30) null,"
     "print_state int null,"
     "mem char(30) null,"
     "item3 decimal(16, 2) null)",
     "版本升级失败-doc_mem_item! 停止升级"},
};

const Change kAfterRebate[] = {
    {"select count ( dept_id ) from emp_info", "emp_info",
     "add dept_id char(10) null/"
     "add gzyj numeric(16,2) null/",
     "版本升级失败-emp_info! 停止升级"},
    {"select count ( item_jfxs ) from info_item", "info_item",
     "add item_jfxs numeric(15, 2) null/"
     "add item_jcxstc numeric(15,4) null/",
     "版本升级失败-info_item! 停止升级"},
    {"select count ( ware_jfxs ) from info_ware", nullptr,
     "alter table info_ware add ware_jfxs numeric(15, 2) null", "版本升级失败-info_ware!"},
    {"select count ( mem_id ) from mem_jc", nullptr,
     "create table mem_jc ("
     "mem_id char(30) not null,"
     "serial_no numeric(8,0) not null,"
     "ware_id char(20) null,"
     "start_jcdate smalldatetime null,"
     "last_sydate smalldatetime null,"
     "sy_amount numeric(16,2) null,"
     "state int null,"
     "jcw_id char(20) null,"
     "jcq int null,"
     "jcqdw char(10) null,"
     "mem char(60) null)",
     "版本升级失败-mem_jc! 停止升级"},
    {"select count ( jcw_id ) from jcw", nullptr,
     "create table jcw ("
     "jcw_id char(20) not null,"
     "jcw_qu char(20) null,"
     "jcw_name char(30) null,"
     "mem char(50) null)",
     "版本升级失败-jcw! 停止升级"},
    {"select count ( st_qu_id ) from storage_qu", nullptr,
     "create table storage_qu ("
     "st_qu_id char(20) not null,"
     "st_qu_name char(30) null,"
     "s_id char(10) null,"
     "mem char(50) null)",
     "版本升级失败-storage_qu! 停止升级"},
    {"select count ( emp_id ) from emp_mem_qk_rz", nullptr,
     "create table emp_mem_qk_rz ("
     "emp_id char(30) not null,"
     "mem_id char(30) not null,"
     "cz_time datetime not null,"
     "kczlx int not null,"
     "mach char(30) null,"
     "oper char(30) null,"
     "qkje numeric(15,2) null,"
     "cybl numeric(15,2) null,"
     "hk_time datetime null,"
     "hk_je numeric(15,2) null,"
     "lj_kh_je numeric(15,2) null,"
     "doc_id char(20) null,"
     "mem char(50) null,"
     "state int null)",
     "版本升级失败-emp_mem_qk_rz! 停止升级"},
    {"select count ( jk_doc_id ) from emp_jk_rz", nullptr,
     "create table emp_jk_rz ("
     "jk_doc_id char(20) not null,"
     "emp_id char(20) not null,"
     "jk_time datetime not null,"
     "jk_type int not null,"
     "jk_je numeric(15,2) null,"
     "jk_mem char(100) null,"
     "jk_oper char(20) null,"
     "jk_sh_oper char(20) null,"
     "jk_state int null)",
     "版本升级失败-emp_jk_rz! 停止升级"},
};

}  // namespace

Outcome f_ver6() {
  StepContext s;
  if (!s.read_version()) return s.base_data_lost();
  if (!s.below(15.11)) return Outcome::returned_early;

  if (!apply(s, kBeforeRebate)) return Outcome::failed;
  // No probe: the type change runs on every pass below 15.11.
  const Change rebate{nullptr, nullptr,
                      gi_database_type == 1
                          ? "alter table emp_deduct modify rebate decimal(14, 4) null"
                          : "alter table emp_deduct ALTER COLUMN rebate decimal(14, 4) null",
                      "版本升级失败-emp_deduct!"};
  if (!apply(s, rebate)) return Outcome::failed;
  if (!apply(s, kAfterRebate)) return Outcome::failed;

  s.run(
      "update wage_item set item_name ='罚款' , state =1 , type =2 , sum_state =2 , tax_state =1 "
      "where item_id ='item_23'");
  if (!s.stamp("update sys SET bb ='15.11' , kernel_ver ='V 6.01.01'", "错误信息6"))
    return Outcome::failed;
  return Outcome::done;
}

}  // namespace upgrade
