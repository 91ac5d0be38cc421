#include <QStringList>

#include "kestrel/upgrade/change_table.h"
#include "kestrel/upgrade/f_calc_sy_favour.h"
#include "kestrel/upgrade/steps.h"
#include "runtime/dialogs.h"

namespace upgrade {
namespace {

const Change kDocColumns[] = {
    {"select count ( favour_money ) from doc_item", nullptr,
     "alter table doc_item add favour_money numeric(15,2) null", "版本升级失败-doc_item! 停止升级"},
    {"select count ( people_m ) from doc_m", nullptr,
     "alter table doc_m add people_m decimal(10,0) null", "版本升级失败-doc_m! 停止升级"},
    {"select count ( favour_money ) from doc_ware", nullptr,
     "alter table doc_ware add favour_money numeric(15,2) null", "版本升级失败-doc_ware! 停止升级"},
};

// One commit for the new column and its reset.
const Change kSyFavour{nullptr, nullptr, "alter table mem_info add sy_favour numeric(15,2) null",
                       "版本升级失败-mem_info! 停止升级", "update mem_info set sy_favour =0.00"};

// The 69 amount columns of sy after its key column.
QString create_sy() {
  QStringList names;
  const auto add = [&](char letter, int from, int to) {
    for (int i = from; i <= to; ++i) names << QLatin1Char(letter) + QString::number(i);
  };
  add('a', 0, 4);
  add('b', 0, 3);
  add('c', 0, 0);
  add('d', 1, 12);  // no d0 and no d13
  add('d', 14, 14);
  add('e', 0, 5);
  add('f', 0, 16);
  add('g', 0, 13);
  add('h', 0, 4);
  add('i', 0, 3);
  QString sql = QStringLiteral("create table sy (year_month char(15) NOT NULL");
  for (const auto& n : names) sql += QLatin1Char(',') + n + QStringLiteral(" numeric(16, 2) NULL");
  return sql + QLatin1Char(')');
}

const Change kJcColumns[] = {
    {"select count ( bc_amount ) from mem_jc", nullptr,
     "alter table mem_jc add bc_amount numeric(16,2) null", "版本升级失败-mem_jc! 停止升级"},
    {"select count ( dw ) from mem_jc", nullptr, "alter table mem_jc add dw char(10) null",
     "版本升级失败-mem_jc! 停止升级"},
    {"select count ( jc_ls_id ) from mem_jc_ls", nullptr,
     "create table mem_jc_ls ("
     "jc_ls_id numeric(10,0) not null,"
     "doc_id char(20) null,"
     "mem_id char(30) null,"
     "ware_id char(20) null,"
     "sydate smalldatetime null,"
     "sc_amount numeric(16,2) null,"
     "bc_amount numeric(16,2) null,"
     "sy_amount numeric(16,2) null,"
     "dw char(10) null,"
     "oper char(30) null)",
     "版本升级失败-mem_jc_ls! 停止升级",
     "alter table mem_jc_ls add constraint pk_jc_ls_id primary key(jc_ls_id) "},
    {"select count ( doc_yd_id ) from doc_yd", nullptr,
     "create table doc_yd ("
     "doc_yd_id char(20) not null,"
     "mem_id char(30) null,"
     "item_id char(10) null,"
     "item_amount numeric(15,2) null,"
     "ware_id char(30) null,"
     "ware_state int null,"
     "total_je numeric(15,2) null,"
     "fact_je numeric(15,2) null,"
     "fkfs int not null,"
     "yd_dt datetime null,"
     "yd_emp char(20) null,"
     "yd_state int null,"
     "yd_cl_dt datetime null,"
     "yd_mem char(60) null,"
     "yd_oper char(20) null)",
     "版本升级失败-doc_yd! 停止升级",
     "alter table doc_yd add constraint pk_doc_yd_id primary key(doc_yd_id) "},
    {"select count ( id ) from week_plan", nullptr,
     "create table week_plan ("
     "id int not null,"
     "month_id char(10) not null,"
     "serial_week char(4) not null,"
     "start_date datetime not null,"
     "end_date datetime not null,"
     "amount_plan numeric(15,2) null,"
     "mem char(50) not null)",
     "版本升级失败-week_plan! 停止升级",
     "alter table week_plan add constraint pk_id primary key(id) "},
};

const char* const k1599Menus[] = {
    "update menu set name ='员工业绩综合报表权限' where id =217",
    "update menu set name ='账务统计表-->按日期权限' where id =218",
    "update menu set name ='账务统计表-->按分店' where id =219",
    "update menu set name ='账务统计表-->按收银员' where id =220",
    "update menu set name ='会员卡级统计表' where id =221",
    "update menu set name ='员工日业绩统计表' where id =222",
    "update menu set name ='员工月报表' where id =223",
    "update menu set name ='月报表' where id =224",
    "update menu set name ='周目标统计报表' where id =225",
    "update menu set name ='周报表' where id =226",
    "update menu set name ='产能分析' where id =227",
    "update menu set name ='工资--提成' where id =228",
    "update menu set name ='工资--模板' where id =239",
    "update menu set name ='损益表' where id =230",
    "update menu set name ='日现金收支表' where id =231",
    "update menu set name ='礼品信息设置' where id =232",
};

const Change k1601[] = {
    {"select count ( jf_limit ) from card_level", "card_level",
     "add jf_limit numeric(16,2) null/"
     "add jf_limit_u numeric(16,2) null/",
     "版本升级失败-card_level! 停止升级"},
};

const Change k1603[] = {
    {"select count ( ck_limit ) from card_level", "card_level",
     "add ck_limit numeric(16,2) null/"
     "add ck_limit_u numeric(16,2) null/",
     "版本升级失败-card_level! 停止升级"},
};

// Run whether or not ck_limit was there; one commit.
const char* const k1603Untested[] = {
    "update menu set name ='项目业绩月份对比表' where id =240",
    "update menu set name ='员工项目工作量统计表' where id =241",
    "update menu set name ='员工项目业绩日/月分类统计表' where id =242",
    "update menu set name ='员工外卖业绩日/月分类统计表' where id =243",
    "update sys SET bb ='16.03' , kernel_ver ='V7.20.01' , jhzd =''",
};

const char* const k1604Untested[] = {
    "update menu set name ='项目综合业绩分析表' where id =244",
    "update sys SET bb ='16.04' , kernel_ver ='V7.20.01' , jhzd =''",
};

const Change k1605[] = {
    {"select count ( item_sms ) from info_item", nullptr,
     "alter table info_item add item_sms char(100) null", "版本升级失败-info_item! 停止升级"},
    {"select count ( ware_sms ) from info_ware", nullptr,
     "alter table info_ware add ware_sms char(100) null", "版本升级失败-info_ware! 停止升级"},
};

}  // namespace

Outcome f_ver9() {
  StepContext s;
  if (!s.read_version()) return s.base_data_lost();

  if (s.below(15.98)) {
    if (!apply(s, kDocColumns)) return Outcome::failed;
    // The reset and the first computation belong to the run that adds the column: one block.
    if (s.missing("select count ( sy_favour ) from mem_info") &&
        !s.block(QString::fromUtf8(kSyFavour.failure), [&] {
          if (!apply(s, kSyFavour)) return false;
          if (f_calc_sy_favour() != 0)
            rt::dialogs().failure(QStringLiteral("错误信息"),
                                  QStringLiteral("计算优惠额使用情况失败,请与供应商联系"));
          return true;
        }))
      return Outcome::failed;
    if (!apply(s, kJcColumns)) return Outcome::failed;
    const QByteArray sy = create_sy().toUtf8();
    const Change create{"select count ( year_month ) from sy", nullptr, sy.constData(),
                        "版本升级失败-sy! 停止升级",
                        "alter table sy add constraint pk_year_month primary key(year_month) "};
    if (!apply(s, create)) return Outcome::failed;
  }
  if (s.below(15.99)) {
    run_all(s, k1599Menus);
    s.commit();
  }
  if (s.below(16.01) && !apply(s, k1601)) return Outcome::failed;
  if (s.below(16.03)) {
    if (!apply(s, k1603)) return Outcome::failed;
    run_all(s, k1603Untested);
    s.commit();
  }
  if (s.below(16.04)) {
    run_all(s, k1604Untested);
    s.commit();
  }
  if (s.below(16.05)) {
    if (!apply(s, k1605)) return Outcome::failed;
    s.run("update sys SET bb ='16.05' , kernel_ver ='V7.30.01' , jhzd =''");
    s.commit();
  }
  return Outcome::done;
}

}  // namespace upgrade
