#include "kestrel/upgrade/change_table.h"
#include "kestrel/upgrade/steps.h"

namespace upgrade {
namespace {

const Change k1606[] = {
    {"select count ( gps ) from mem_info", "mem_info",
     "add gps char(30) null/"
     "add gd_tel char(30) null/"
     "add cs_dt smalldatetime null/"
     "add zs_dt smalldatetime null/"
     "add bx_dt smalldatetime null/",
     "版本升级失败-mem_info! 停止升级"},
};

const Change k1607[] = {
    {"select count ( kj_je ) from card_level", nullptr,
     "alter table card_level add kj_je numeric(16,2) null", "版本升级失败-card_level! 停止升级"},
    {"select count ( sq_id ) from sq_card", nullptr,
     "CREATE TABLE sq_card ("
     "sq_id int not null,"
     "card_id char(30) not null,"
     "level_id int not NULL,"
     "fd char(30) not null,"
     "mem char(30) null,"
     "state int null)",
     "版本升级失败-sq_card! 停止升级",
     "alter table sq_card add constraint pk_sq_id primary key(sq_id) "},
    {"select count ( tc_id ) from tc_info", nullptr,
     "CREATE TABLE tc_info ("
     "tc_id char(10) not null,"
     "tc_name char(20) not null,"
     "level_id int not null,"
     "tcme numeric(16,2) null,"
     "mem char(30) null,"
     "state int null)",
     "版本升级失败-tc_info! 停止升级",
     "alter table tc_info add constraint pk_tc_id primary key(tc_id) "},
    {"select count ( tc_id ) from tc_item", nullptr,
     "CREATE TABLE tc_item ("
     "tc_id char(10) not null,"
     "item_id char(10) not null,"
     "gd_cs int not null,"
     "zs_cs int null)",
     "版本升级失败-tc_item! 停止升级",
     "alter table tc_item add constraint pk_tc_id_item_id primary key(tc_id,item_id) "},
    {"select count ( tc_id ) from tc_ware", nullptr,
     "CREATE TABLE tc_ware ("
     "tc_id char(10) not null,"
     "ware_id char(30) not null,"
     "gd_amount numeric(16,2) null,"
     "zs_amount numeric(16,2) null)",
     "版本升级失败-tc_ware! 停止升级",
     "alter table tc_ware add constraint pk_tc_id_ware_id primary key(tc_id,ware_id) "},
};

// In this order, none examined, one commit. The inserts do not look for existing rows.
const char* const k1607Untested[] = {
    "update menu set name ='预发卡号管理' where id =245",
    "update menu set name ='套餐信息设置' where id =246",
    "update menu set name ='收银员对帐表' where id =247",
    "insert into zd_data values ( 500 , '收支类别' , '收入类' , '现金收入' , '' )",
    "insert into zd_data values ( 500 , '收支类别' , '支出类' , '现金支出' , '' )",
    "insert into zd values ( 3 , '卡型' , '固定套餐卡' )",
    "update sys SET bb ='16.07' , kernel_ver ='V7.30.01' , jhzd =''",
};

const Change k1608[] = {
    {"select count ( pgd_id ) from doc_pgd", nullptr,
     "CREATE TABLE doc_pgd ("
     "pgd_id char(20) not null,"
     "pgd_type char(16) not null,"
     "mem_id char(30) null,"
     "cust_sj_addr char(60) null,"
     "sj_note char(100) null,"
     "item_id char(10) null,"
     "pgd_money numeric(16,2) null,"
     "fd char(30) not null,"
     "emp_id1 char(30) null,"
     "emp_id2 char(30) null,"
     "emp_id3 char(30) null,"
     "emp_id4 char(30) null,"
     "mem char(50) null,"
     "state int not null)",
     "版本升级失败-doc_pgd! 停止升级",
     "alter table doc_pgd add constraint pk_pgd_id primary key(pgd_id) "},
};

const Change k1609[] = {
    {"select count ( pg_date ) from doc_pgd", "doc_pgd",
     "add pg_date smalldatetime null/"
     "add cl_date smalldatetime null/",
     "版本升级失败-doc_pgd! 停止升级"},
};

const Change k1610[] = {
    {"select count ( tm_id ) from emp_team", nullptr,
     "CREATE TABLE emp_team ("
     "tm_id int not null,"
     "tm_name char(30) null,"
     "tm_emp char(20) null,"
     "tm_emp1 char(20) null,"
     "tm_mem char(50) null)",
     "版本升级失败-emp_team! 停止升级",
     "alter table emp_team add constraint emp_team_id primary key(tm_id) "},
    {"select count ( tm_id ) from emp_tm_detail", nullptr,
     "CREATE TABLE emp_tm_detail ("
     "tm_id int not null,"
     "emp_id char(20) not null)",
     "版本升级失败-emp_tm_detail! 停止升级",
     "alter table emp_tm_detail add constraint emp_tm_id primary key(tm_id,emp_id) "},
    {"select count ( tm_id ) from emp_tm_yj", nullptr,
     "CREATE TABLE emp_tm_yj ("
     "tm_id int not null,"
     "emp_id char(20) not null,"
     "dj_date datetime not null,"
     "item1 numeric(16,2) null,"
     "item2 numeric(16,2) null,"
     "item3 numeric(16,2) null,"
     "item4 numeric(16,2) null,"
     "item5 numeric(16,2) null,"
     "item6 numeric(16,2) null,"
     "item7 numeric(16,2) null,"
     "item8 numeric(16,2) null,"
     "item9 numeric(16,2) null,"
     "doc_id char(20) null,"
     "state int null)",
     "版本升级失败-emp_tm_yj! 停止升级",
     "alter table emp_tm_yj add constraint emp_tm_yj_id primary key(tm_id,emp_id,dj_date) "},
    {"select count ( a_xs ) from doc_ware", "doc_ware",
     "add a_xs numeric(15,2) null/"
     "add emp_b char(20) null/"
     "add b_xs numeric(15,2) null/"
     "add emp_c char(20) null/"
     "add c_xs numeric(15,2) null/"
     "add rebate_b numeric(15,2) null/"
     "add rebate_c numeric(15,2) null/",
     "版本升级失败-doc_ware! 停止升级"},
};

// Defaults for the run that adds card_level.kj_xz; the gate's last commit carries them.
const char* const kKjXzDefaults[] = {
    "update card_level set kj_xz =0",
    "update card_level set kj_je =0 where kj_je is null",
    "update card_level set jfxs =1 where jfxs is null",
};

}  // namespace

Outcome f_ver10() {
  StepContext s;
  if (!s.read_version()) return s.base_data_lost();

  if (s.below(16.06)) {
    if (!apply(s, k1606)) return Outcome::failed;
    s.run("update sys SET bb ='16.06' , kernel_ver ='V7.30.01' , jhzd =''");
    s.commit();
  }
  if (s.below(16.07)) {
    if (!apply(s, k1607)) return Outcome::failed;
    // One block with the stamp: a crash before it must not leave the reference rows that the
    // next run would insert a second time.
    if (!s.block(QStringLiteral("版本升级失败-zd_data! 停止升级"), [&] {
          run_all(s, k1607Untested);
          s.commit();
          return true;
        }))
      return Outcome::failed;
  }
  if (s.below(16.08)) {
    if (!apply(s, k1608)) return Outcome::failed;
    s.run("update sys SET bb ='16.08' , kernel_ver ='V7.50.01' , jhzd =''");
    s.commit();
  }
  if (s.below(16.09)) {
    if (!apply(s, k1609)) return Outcome::failed;
    s.run("update menu set name ='派工单管理' where id =248");
    s.run("update sys SET bb ='16.09' , kernel_ver ='V7.50.01' , jhzd =''");
    s.commit();
  }
  if (s.below(16.10)) {
    if (!apply(s, k1610)) return Outcome::failed;
    if (s.missing("select count ( kj_xz ) from card_level") &&
        !s.block(QStringLiteral("版本升级失败-card_level! 停止升级"), [&] {
          if (!s.change("alter table card_level add kj_xz int null",
                        "版本升级失败-card_level! 停止升级"))
            return false;
          run_all(s, kKjXzDefaults);
          return true;
        }))
      return Outcome::failed;
    s.run("update menu set name ='员工竞赛分组设置' where id =249");
    s.run("update sys SET bb ='16.10' , kernel_ver ='V7.80.01' , jhzd =''");
    s.commit();
  }
  return Outcome::done;
}

}  // namespace upgrade
