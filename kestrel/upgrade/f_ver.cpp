// Step 1, up to the end of its block below 7.80; f_ver_from_800.cpp holds the rest.
#include <QDateTime>

#include "db/transaction.h"
#include "kestrel/upgrade/f_ver_parts.h"
#include "kestrel/upgrade/steps.h"
#include "shared/globals.h"
#include "shared/show_sql_error.h"

namespace upgrade {
namespace {

struct NullRepair {
  const char* count_sql;
  const char* update_sql;
  bool log_count;
  bool log_update;
};

// Seven amount columns of mem_info that later arithmetic must not see as null.
const NullRepair kNullRepairs[] = {
    {"select count ( *) from mem_info where sum_deposit is null",
     "update mem_info SET sum_deposit =0 where sum_deposit is null", true, false},
    {"select count ( *) from mem_info where cash_consume is null",
     "update mem_info SET cash_consume =0 where cash_consume is null", true, false},
    {"select count ( *) from mem_info where integral is null",
     "update mem_info SET integral =0 where integral is null", true, true},
    {"select count ( *) from mem_info where al_integral_c is null",
     "update mem_info SET al_integral_c =0 where al_integral_c is null", true, true},
    {"select count ( *) from mem_info where balance is null",
     "update mem_info SET balance =0 where balance is null", false, false},
    {"select count ( *) from mem_info where card_consume is null",
     "update mem_info SET card_consume =0 where card_consume is null", false, false},
    {"select count ( *) from mem_info where favour is null",
     "update mem_info SET favour =0 where favour is null", false, false},
};

void repair_nulls(StepContext& s) {
  for (const NullRepair& r : kNullRepairs) {
    const qint64 n = s.count(QString::fromUtf8(r.count_sql));
    if (r.log_count) show_sql_error();
    if (n > 0) {
      s.run(QString::fromUtf8(r.update_sql));
      if (r.log_update) show_sql_error();
    }
  }
  s.commit();
}

bool block_below_780(StepContext& s) {
  s.run("delete from zd where lx ='卡型' and id =3");
  s.commit();

  if (s.table_missing("mem_item") &&
      !s.change("CREATE TABLE mem_item (mem_id char(30) not null,item_id char(10) not null,"
                "sum_t decimal(16, 0) null,pay_t decimal(16, 0) null,last_time datetime null,"
                "item1 char(30) null,item2 char(30) null,item3 decimal(16, 2) null,"
                "item4 decimal(16, 2) null,item5 char(60) null,item6 char(60) null,"
                "mem char(60) null,primary key (mem_id,item_id))",
                "版本升级失败-mem_item!"))
    return false;

  if (s.table_missing("data_tf") &&
      !s.change("CREATE TABLE data_tf (id char(30) not null,mem_id char(30) null,rq datetime null,"
                "item1 int null,item2 int null,item3 int null,item4 int null,item5 int null,"
                "item6 int null,item7 int null,item8 int null,item9 int null,item10 int null,"
                "item11 int null,item12 int null,item13 int null,item14 int null,item15 int null,"
                "item16 int null,item17 int null,item18 int null,item19 int null,item20 int null,"
                "emp_id1 char(30) null,emp_id2 char(30) null,emp_id3 char(30) null,"
                "emp_id4 char(30) null,emp_id5 char(30) null,data1 decimal(16, 2) null,"
                "data2 decimal(16, 2) null,data3 decimal(16, 2) null,data4 decimal(16, 2) null,"
                "data5 decimal(16, 2) null,char1 char(60) null,char2 char(60) null,"
                "char3 char(60) null,char4 char(60) null,char5 char(60) null,"
                "vchar1 varchar(100) null,vchar2 varchar(1000) null,vchar3 varchar(1000) null,"
                "vchar4 varchar(1000) null,vchar5 varchar(1000) null,data_type int null,"
                "state int null,primary key (id))",
                "版本升级失败-data_tf!"))
    return false;

  if (s.below(5.00) &&
      !s.clause_list("mem_info",
                     "add sg decimal(16, 2) null/add xx char(5) null/add fz char(30) null/"
                     "add tz decimal(16, 2) null/add zy char(30) null/add item1 int null/"
                     "add item2 int null/add item3 int null/add item4 int null/add item5 int null/"
                     "add item6 int null/add item7 int null/add item8 int null/add item9 int null/"
                     "add item10 int null/add item11 int null/add item12 int null/"
                     "add item13 int null/add item14 int null/add item15 int null/"
                     "add item16 int null/add item17 int null/add item18 int null/"
                     "add item19 int null/add item20 int null/add bz varchar(1000) null/"))
    return false;

  const db::Value fd = db::Value::text(gs_fd_id);
  if (!s.add_column("ie_data", "fd", "alter table ie_data add fd char(30) null",
                    "版本升级失败-ie_data!", {{"update ie_data set fd =?", {fd}}}))
    return false;
  if (!s.add_column("s_storage", "fd", "alter table s_storage add fd char(30) null",
                    "版本升级失败-s_storage!",
                    {{"update s_storage set fd =?", {fd}}, {"update bill_m set in_s =?", {fd}}}))
    return false;

  if (s.table_missing("loss_card") &&
      !s.change("CREATE TABLE loss_card (card_id char(30),loss_date datetime,mem_id char(30),"
                "new_id char(30),primary key (card_id))",
                "版本升级失败-loss_card!"))
    return false;

  if (s.below(5.00) &&
      !s.clause_list("info_storage",
                     "add tel char(30) null/add username char(30) null/add password char(30) null/"
                     "add path char(100) null/"))
    return false;

  if (s.below(5.00) && !s.tested("update emp_info set state =1", "版本升级失败-emp_info!"))
    return false;

  if (!s.tested("update info_bill set bill_kind =5 where bill_id ='00003'",
                "版本升级失败-info_bill!"))
    return false;

  if (s.count("select count ( *) from info_storage where s_id ='1001'") <= 0 &&
      !s.tested("insert into info_storage values ( '1001' , '总店' , null , null , null , null , "
                "null )",
                "版本升级失败-info_storage!"))
    return false;

  if (s.below(5.50)) {
    if (!s.clause_list("emp_info",
                       "add item3 char(30) null/add item4 char(30) null/add item5 char(30) null/"
                       "add item6 decimal(16, 2) null/"))
      return false;
    s.run("update emp_info set item6 =0");
    s.commit();
  }

  if (!s.add_column("card_level", "re_m", "alter table card_level add re_m decimal(16, 2) null",
                    "版本升级失败-card_level!", {{"update card_level set re_m =1"}}))
    return false;
  if (!s.add_column("item_card", "re_m", "alter table item_card add re_m decimal(16, 2) null",
                    "版本升级失败-item_card!", {{"update item_card set re_m =1"}}))
    return false;
  if (!s.add_column("ware_card", "re_m", "alter table ware_card add re_m decimal(16, 2) null",
                    "版本升级失败-ware_card!", {{"update ware_card set re_m =1"}}))
    return false;

  if (s.table_missing("emp_deduct") &&
      !s.change("CREATE TABLE emp_deduct (emp_class char(30),rebate decimal(16,2) null,"
                "a_money decimal(16,2),primary key (emp_class,a_money))",
                "版本升级失败-emp_deduct!"))
    return false;

  if (s.below(5.50)) {
    s.run(
        "update wage_item set item_name ='员工业绩' , state =1 , sum_state =3 where item_id "
        "='item_19'");
    s.commit();
    s.run(
        "update wage_item set item_name ='员工提成' , state =1 , sum_state =1 where item_id "
        "='item_20'");
    s.commit();
  }

  if (s.table_missing("bespoke") &&
      !s.change("CREATE TABLE bespoke (emp_id char(30),b_time datetime,mem_id char(30) null,"
                "item_id char(30) null,mem char(100) null,state int null,"
                "primary key (emp_id,b_time))",
                "版本升级失败-bespoke!"))
    return false;

  if (!s.add_column("doc_ware", "re_m", "alter table doc_ware add re_m decimal(16, 2) null",
                    "版本升级失败-doc_ware!", {{"update doc_ware set re_m =1"}}))
    return false;

  if (s.below(5.50)) {
    s.run("update doc_item set r_e =1");
    s.commit();
  }

  if (s.column_missing("mem_info", "mem_photo") &&
      !s.change("alter table mem_info add mem_photo char(100) null",
                "版本升级失败-mem_info_photo!"))
    return false;

  // Carried by the next commit of the step.
  s.run("delete from zd where lx =\"资金类型\" and id =12");
  s.run("insert zd values ( 12 , '资金类型' , '资金转帐' )");

  if (s.table_missing("info_table") &&
      !s.change("CREATE TABLE info_table (table_id char(30),table_name char(60) null,"
                "table_addr char(60) null,people_no int null,state int null,"
                "primary key (table_id))",
                "版本升级失败-info_table!"))
    return false;

  if (!s.add_columns(
          "doc_m", "table_id",
          "add table_id char(30) null/add people decimal(10,0) null/add mem char(60) null/",
          {{"update doc_m set people =1"}}))
    return false;

  if (s.column_missing("mem_info", "end_time") &&
      !s.change("alter table mem_info add end_time datetime null", "版本升级失败-mem_info!"))
    return false;
  if (s.column_missing("info_ware", "end_time") &&
      !s.change("alter table info_ware add end_time datetime null", "版本升级失败-info_ware!"))
    return false;

  if (s.table_missing("info_card") &&
      !s.change("CREATE TABLE info_card (card_id char(30),primary key (card_id))",
                "版本升级失败-info_card!"))
    return false;

  if (s.column_missing("info_table", "table_type") &&
      !s.change("alter table info_table add table_type int null", "版本升级失败-info_table!"))
    return false;
  if (s.column_missing("info_table", "money") &&
      !s.change("alter table info_table add money decimal(15,2) null", "版本升级失败-info_table!"))
    return false;
  if (s.column_missing("doc_ware", "table_id") &&
      !s.change("alter table doc_ware add table_id char(30) null", "版本升级失败-doc_ware!"))
    return false;

  if (!s.add_column(
          "info_table", "jz", "alter table info_table add jz datetime null",
          "版本升级失败-info_table!",
          {{"update info_table set jz =?", {db::Value::datetime(QDateTime::currentDateTime())}}},
          false))
    return false;
  if (!s.add_column("info_table", "zt", "alter table info_table add zt char(30) null",
                    "版本升级失败-info_table!", {{"update info_table set zt ='000'"}}, false))
    return false;

  // No commit of their own: the next commit of the step carries them.
  s.run("update menu set name ='项目提成设置' where id =140");
  s.run("update menu set name ='手牌房间设置' where id =141");
  s.run("update menu set name ='老板查询' where id =142");
  s.run("update menu set name ='业务单修改删除' where id =143");
  return true;
}

}  // namespace

Outcome f_ver() {
  StepContext s;
  const bool read = s.read_version();
  show_sql_error();
  // Without a readable number every gate would pass and old blocks would rewrite live data.
  if (!read || !s.version_is_number()) return Outcome::returned_early;
  if (!s.below(9.691) || s.version_text_is_zero()) return Outcome::returned_early;

  repair_nulls(s);
  if (s.below(7.80) && !block_below_780(s)) return Outcome::failed;
  return f_ver_from_800(s);
}

}  // namespace upgrade
