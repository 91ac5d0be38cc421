// Step 2: from 9.691 up to 13.1, to 13.109.
#include "kestrel/upgrade/steps.h"
#include "shared/globals.h"

namespace upgrade {
namespace {

const char* const kMenuNames[] = {
    "update menu set name ='开牌' where id =151",
    "update menu set name ='输单' where id =152",
    "update menu set name ='数据备份' where id =165",
    "update menu set name ='会员资料高级查询' where id =164",
    "update menu set name ='数据恢复' where id =166",
    "update menu set name ='手牌/场馆信息设置' where id =167",
    "update menu set name ='清除会员口令' where id =168",
    "update menu set name ='顾客欠款管理' where id =169",
    "update menu set name ='积分清零' where id =170",
    "update menu set name ='会员冻结' where id =171",
    "update menu set name ='会员解冻' where id =172",
    "update menu set name ='修改业务单项目现价' where id =173",
    "update menu set name ='查看产品成本价' where id =174",
    "update menu set name ='分店数据上传下载' where id =175",
    "update menu set name ='报表数据导出' where id =176",
};

struct ZdEntry {
  const char* remove;
  const char* insert;
};

const ZdEntry kZdEntries[] = {
    {"delete from zd where id =13 and lx ='资金类型'",
     "insert zd values ( 13 , '资金类型' , '顾客欠款' )"},
    {"delete from zd where id =14 and lx ='资金类型'",
     "insert zd values ( 14 , '资金类型' , '归还欠款' )"},
    {"delete from zd where id =7 and lx ='操作类型'",
     "insert zd values ( 7 , '操作类型' , '存款' )"},
    {"delete from zd where id =8 and lx ='操作类型'",
     "insert zd values ( 8 , '操作类型' , '存款优惠' )"},
    {"delete from zd where id =9 and lx ='操作类型'",
     "insert zd values ( 9 , '操作类型' , '续卡存款' )"},
    {"delete from zd where id =11 and lx ='操作类型'",
     "insert zd values ( 11 , '操作类型' , '会员取款' )"},
    {"delete from zd where id =21 and lx ='操作类型'",
     "insert zd values ( 21 , '操作类型' , '会员冻结' )"},
    {"delete from zd where id =22 and lx ='操作类型'",
     "insert zd values ( 22 , '操作类型' , '会员解冻' )"},
    {"delete from zd where id =15 and lx ='操作类型'",
     "insert zd values ( 15 , '操作类型' , '计次项目设置' )"},
    {"delete from zd where id =16 and lx ='操作类型'",
     "insert zd values ( 16 , '操作类型' , '增加计次' )"},
};

// A type change that only the "modify" dialect has a statement for.
bool modify_only(StepContext& s, const QString& modify_sql, const QString& failure_text) {
  return gi_database_type != 1 || s.change(modify_sql, failure_text);
}

// Changes a column's type; on SQL Server by dropping and adding it, so its values are lost.
// Only the last statement executed is looked at.
bool retype(StepContext& s, const QString& modify_sql, const QString& drop_sql,
            const QString& add_sql, const QString& failure_text) {
  if (gi_database_type == 1) return s.change(modify_sql, failure_text);
  s.run(drop_sql);
  return s.change(add_sql, failure_text);
}

}  // namespace

Outcome f_ver2() {
  StepContext s;
  if (!s.read_version()) return s.base_data_lost();
  if (s.version_text_is_zero() || s.below(9.691)) return Outcome::returned_early;
  if (s.version_text_is_zero() || !s.below(13.1)) return Outcome::returned_early;

  for (const char* sql : kMenuNames) s.run(QString::fromUtf8(sql));
  s.commit();

  if (s.table_missing("emp_rebate") &&
      !s.change("CREATE TABLE emp_rebate (emp_class char(30),item_id char(30),type int,"
                "lp decimal(16,4) null,dk decimal(16,4),primary key (emp_class,item_id,type))",
                "版本升级失败-emp_rebate!"))
    return Outcome::failed;
  if (s.table_missing("emp_rebate_w") &&
      !s.change("CREATE TABLE emp_rebate_w (emp_class char(30),ware_id char(30),typea int,"
                "rebate decimal(16,4) null,primary key (emp_class,ware_id))",
                "版本升级失败-emp_rebate_w!"))
    return Outcome::failed;

  if (!s.add_columns("info_ware", "item4",
                     "add item4 int null/add item5 decimal(15,4) null/add item6 char(60) null/",
                     {{"update info_ware set item4 =1 where rebate <> 0"},
                      {"update info_ware set item4 =2 where rebate =0"}}))
    return Outcome::failed;

  s.run("update mem_info set item20 =?", {db::Value::integer(gi_sr)});
  s.commit();

  if (!s.add_columns("info_table", "z_state",
                     "add z_state int null/add z_s_date datetime null/add z_e_date datetime null/",
                     {{"update info_table set z_state =1"}}))
    return Outcome::failed;

  if (!modify_only(s, "alter table deposit_deduct modify rebate decimal(16,4) null",
                   "版本升级失败-deposit_deduct!"))
    return Outcome::failed;
  if (!modify_only(s, "alter table ware_deduct modify rebate decimal(16,4) null",
                   "版本升级失败-ware_deduct!"))
    return Outcome::failed;
  if (!retype(s, "alter table mem_info modify xx char(60) null",
              "alter table mem_info DROP COLUMN  xx ", "alter table mem_info add xx char(60) null",
              "版本升级失败-mem_info!"))
    return Outcome::failed;
  if (!retype(s, "alter table mem_info modify post char(60) null",
              "alter table mem_info DROP COLUMN  post ",
              "alter table mem_info add post char(60) null", "版本升级失败-mem_info!"))
    return Outcome::failed;

  if (s.table_missing("edit_time") &&
      !s.change("CREATE TABLE edit_time (id decimal(10,0),sm char(60) null,type int,"
                "oper char(30) null,mach_id char(10) null,time_o datetime null,"
                "time_n datetime null,primary key (id))",
                "版本升级失败-edit_time!"))
    return Outcome::failed;

  // Carried by the next commit of the step.
  if (s.count("select count ( *) from emp_info where item4 is null") > 0)
    s.run("update emp_info set item4 =? where item4 is null", {db::Value::text(gs_fd_id)});
  for (const ZdEntry& e : kZdEntries) {
    s.run(QString::fromUtf8(e.remove));
    s.run(QString::fromUtf8(e.insert));
  }

  if (!modify_only(s, "alter table mem_item modify sum_t decimal(16,4) null",
                   "版本升级失败-mem_item!"))
    return Outcome::failed;
  if (!modify_only(s, "alter table mem_item modify pay_t decimal(16,4) null",
                   "版本升级失败-mem_item!"))
    return Outcome::failed;

  if (!s.stamp("update sys SET bb ='13.109'")) return Outcome::failed;
  return Outcome::done;
}

}  // namespace upgrade
