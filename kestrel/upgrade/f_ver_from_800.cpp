// Step 1 from its gate at 8.00 to its stamp 9.691.
#include <QDate>
#include <QDateTime>
#include <QTime>

#include "db/transaction.h"
#include "kestrel/upgrade/f_ver_parts.h"
#include "kestrel/upgrade/group_list.h"
#include "shared/globals.h"

namespace upgrade {
namespace {

// Untested renames, run in order with no commit of their own.
void run_all(StepContext& s, std::initializer_list<const char*> statements) {
  for (const char* sql : statements) s.run(QString::fromUtf8(sql));
}

bool create(StepContext& s, const QString& table, const QString& sql, const QString& failure) {
  return !s.table_missing(table) || s.change(sql, failure);
}

// Gate 9.56: menu entries 151 to 500, each with one group_menu row per group.
bool insert_menu_rows(StepContext& s) {
  const std::vector<qint64> groups = d_group_list_ids();
  // Hundreds of single-row inserts: one block, so the server writes them to disk once. Refused
  // inserts stay refused one by one, as they would be each on its own.
  return s.block("版本升级失败-menu!", [&] {
    for (int i = 151; i <= 500; ++i) {
      s.run("insert into menu values ( ? , null )", {db::Value::integer(i)});
      for (qint64 g : groups)
        s.run("insert into group_menu values ( ? , ? , 1 )",
              {db::Value::integer(g), db::Value::integer(i)});
    }
    s.commit();
    return true;
  });
}

}  // namespace

Outcome f_ver_from_800(StepContext& s) {
  if (s.below(8.00)) {
    if (s.column_missing("info_table", "guest_id") &&
        !s.clause_list("info_table",
                       "add guest_id char(30) null/add emp_id char(30) null/add in_time datetime "
                       "null/add out_time datetime null/"))
      return Outcome::failed;
    if (!s.add_columns("mem_info", "favour",
                       "add favour decimal(15,2) null/add overdraft decimal(15,2) null/",
                       {{"update mem_info set favour =0"}, {"update mem_info set overdraft =0"}}))
      return Outcome::failed;
    if (!create(s, "item_time",
                "CREATE TABLE item_time (item_id char(30) not null,s_time datetime not null,"
                "e_time datetime null,dw int null,zjdw int null,price decimal(15,2) null,"
                "primary key (item_id,s_time))",
                "版本升级失败-item_time!"))
      return Outcome::failed;
  }

  if (s.below(8.01) &&
      !s.add_column("mem_info", "yxq", "alter table mem_info add yxq datetime null",
                    "版本升级失败-mem_info!",
                    {{"update mem_info set yxq =?",
                      {db::Value::datetime(QDateTime(QDate(2010, 12, 31), QTime(23, 59, 59)))}}},
                    false))
    return Outcome::failed;

  if (s.below(8.10)) {
    run_all(s, {"update menu set name ='收支修改' where id =144",
                "update menu set name ='分店管理' where id =145"});
    s.commit();
  }

  if (s.below(8.20)) {
    run_all(s, {"update menu set name ='短消息设置' where id =146",
                "update menu set name ='自己生成短消息' where id =147",
                "update menu set name ='审查短消息' where id =148"});
    s.commit();
    if (!create(s, "info_message",
                "CREATE TABLE info_message (id decimal(10,0) not null,phone char(30) null,"
                "mess varchar(500) null,rq datetime null,lx int null,kind int null,"
                "mem_id char(30) null,oper char(30) null,sc char(30) null,modi char(30) null,"
                "state int null,primary key (id))",
                "版本升级失败-info_message!"))
      return Outcome::failed;
  }

  if (s.below(8.30)) {
    s.run("update menu set name ='附属卡设置' where id =149");
    if (!create(s, "card_s",
                "CREATE TABLE card_s (mem_id char(30) not null,serial_no int not null,"
                "card_id char(30) null,card_name char(30) null,rq datetime null,state int null,"
                "primary key (mem_id,serial_no))",
                "版本升级失败-card_s!"))
      return Outcome::failed;
    if (!s.add_column("doc_m", "fsk", "alter table doc_m add fsk int null", "版本升级失败-doc_m!",
                      {{"update doc_m set fsk =0"}}, false))
      return Outcome::failed;
  }

  if (s.below(8.50)) {
    if (!create(s, "deposit_deduct",
                "CREATE TABLE deposit_deduct (a_money decimal(16,2) not null,"
                "b_money decimal(16,2) not null,rebate decimal(16,4) null,"
                "primary key (a_money,b_money))",
                "版本升级失败-deposit_deduct!"))
      return Outcome::failed;
    s.run(
        "update wage_item set item_name ='售卡提成' , state =1 , sum_state =1 where item_id "
        "='item_18'");
    s.commit();
  }

  if (s.below(8.70)) {
    run_all(s, {"update info_bill set mem ='内耗' where bill_id ='00003'",
                "update info_bill set mem ='入库' where bill_id ='00002'",
                "update info_bill set mem ='盘点' where bill_id ='00005'",
                "update info_bill set mem ='退货' where bill_id ='00006'"});
    // Only the last of the four is looked at.
    if (!s.ok()) {
      s.failure_path("版本升级失败-info_bill!");
      return Outcome::failed;
    }
    s.commit();
  }

  if (s.below(8.71)) {
    if (!s.add_column(
            "card_level", "rebate_w", "alter table card_level add rebate_w decimal(16,2) null",
            "版本升级失败-card_level!", {{"update card_level set rebate_w =rebate"}}, false))
      return Outcome::failed;
    if (s.column_missing("mem_info", "jsr") &&
        !s.clause_list("mem_info", "add jsr char(30) null/add jsjf decimal(16,2) null/"))
      return Outcome::failed;
    if (s.column_missing("info_item", "tm") &&
        !s.change("alter table info_item add tm char(30) null", "版本升级失败-info_item!"))
      return Outcome::failed;
  }

  if (s.below(9.01) &&
      !create(s, "yy",
              "CREATE TABLE yy (table_id char(30) not null,serial_no decimal(15,0) not null,"
              "start_d datetime null,end_d datetime null,emp_id char(30) null,"
              "mem_id char(30) null,mem char(100) null,state integer null,"
              "primary key (table_id,serial_no))",
              "版本升级失败-yy!"))
    return Outcome::failed;

  if (s.below(9.56)) {
    s.run("update menu set name ='查询所有业务单' where id =150");
    if (!insert_menu_rows(s)) return Outcome::failed;
    run_all(s, {"update menu set name ='结账' where id =153",
                "update menu set name ='清除历史数据' where id =156"});
    if (gi_soft == 4)
      run_all(s, {"update menu set name ='开牌' where id =151",
                  "update menu set name ='输单' where id =152",
                  "update menu set name ='直接分牌' where id =154",
                  "update menu set name ='团队开牌' where id =155"});
    s.commit();
    if (s.column_missing("info_table", "item_id") &&
        !s.clause_list("info_table", "add item_id char(30) null/add time_gd decimal(16,2) null/"))
      return Outcome::failed;
  }

  if (s.below(9.55) && s.column_missing("emp_info", "xs1") &&
      !s.clause_list("emp_info", "add xs1 decimal(16,4) null/add xs2 decimal(16,4) null/",
                     ClauseFailure::silent, {}, "update emp_info set xs1 =1 , xs2 =1"))
    return Outcome::failed;

  if (s.below(9.55) && s.column_missing("mem_info", "email") &&
      !s.clause_list("mem_info",
                     "add email char(60) null/add gj char(60) null/add dq char(60) null/",
                     ClauseFailure::silent, {}, "update mem_info set gj =\"中国\""))
    return Outcome::failed;

  if (s.column_missing("bespoke", "table_id") &&
      !s.change("alter table bespoke add table_id char(30) null", "版本升级失败-bespoke!"))
    return Outcome::failed;
  if (s.column_missing("deduct_data", "money") &&
      !s.change("alter table deduct_data add money decimal(16,2) null",
                "版本升级失败-deduct_data!"))
    return Outcome::failed;

  if (s.below(9.581) &&
      !s.clause_list("data_tf",
                     "add char6 char(30) null/add char7 char(30) null/add char8 char(30) null/"
                     "add char9 char(30) null/add char10 char(30) null/add char11 char(30) null/"
                     "add char12 char(30) null/add char13 char(30) null/add char14 char(30) null/"
                     "add char15 char(30) null/add char16 char(30) null/add char17 char(30) null/"
                     "add char18 char(30) null/"))
    return Outcome::failed;

  if (s.column_missing("doc_ware", "print_state") &&
      !s.change("alter table doc_ware add print_state int null", "版本升级失败-doc_ware!"))
    return Outcome::failed;
  s.run("update menu set name ='会员卡查询' where id =160");
  if (s.column_missing("card_level", "time_len") &&
      !s.clause_list("card_level", "add time_len int null/add time_type int null/",
                     ClauseFailure::silent, {}, "update card_level set time_len =5 , time_type =1"))
    return Outcome::failed;
  s.run("update menu set name ='修改会员有效期' where id =161");
  if (!create(s, "item_bom",
              "CREATE TABLE item_bom (item_id char(30) not null,ware_id char(30) not null,"
              "amount decimal(15, 4) null,item1 decimal(15, 4) null,item2 char(30) null,"
              "primary key (item_id,ware_id))",
              "版本升级失败-item_bom!"))
    return Outcome::failed;
  if (!create(s, "doc_bom",
              "CREATE TABLE doc_bom (doc_id char(30) not null,item_id char(30) not null,"
              "ware_id char(30) not null,amount decimal(15, 4) null,price decimal(15, 4) null,"
              "mem char(60) null,primary key (doc_id,item_id,ware_id))",
              "版本升级失败-doc_bom!"))
    return Outcome::failed;
  if (!create(s, "ware_deduct",
              "CREATE TABLE ware_deduct (emp_class char(30),rebate decimal(16,4) null,"
              "a_money decimal(16,2),primary key (emp_class,a_money))",
              "版本升级失败-ware_deduct!"))
    return Outcome::failed;

  run_all(s, {"update wage_item set item_name ='项目业绩' , state =1 , sum_state =3 where "
              "item_id ='item_19'",
              "update wage_item set item_name ='产品业绩' , state =1 , sum_state =3 where "
              "item_id ='item_17'",
              "update wage_item set item_name ='售卡业绩' , state =1 , sum_state =3 where "
              "item_id ='item_16'",
              "update menu set name ='会员计次操作' where id =162",
              "update menu set name ='会员信息修改' where id =163"});
  s.commit();

  if (!s.stamp("update sys SET bb ='9.691'")) return Outcome::failed;
  return Outcome::done;
}

}  // namespace upgrade
