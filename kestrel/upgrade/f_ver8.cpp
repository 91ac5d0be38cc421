#include "kestrel/upgrade/change_table.h"
#include "kestrel/upgrade/steps.h"

namespace upgrade {
namespace {

const Change k1540[] = {
    {"select count ( mem_id ) from mem_item_bk", nullptr,
     "create table mem_item_bk ("
     "mem_id char(30) not null,"
     "item_id char(10) not null,"
     "startdate smalldatetime not null,"
     "enddate smalldatetime not null,"
     "ktje numeric(15,2) not null,"
     "xfcs int null,"
     "mem char(50) null,"
     "state int)",
     "版本升级失败-mem_item_bk! 停止升级"},
};

const Change k1550[] = {
    {"select count ( jb_id ) from mem_jb_info", nullptr,
     "create table mem_jb_info ("
     "jb_id char(20) not null,"
     "jb_name char(30) not null,"
     "jb_xf_qs numeric(16,2) null,"
     "jb_xf_js numeric(16,2) null,"
     "jb_mem char(50) null)",
     "版本升级失败-mem_jb_info! 停止升级"},
    {"select count ( jb_id ) from mem_info", nullptr,
     "alter table mem_info add jb_id char(20) null", "版本升级失败-mem_info! 停止升级"},
};

const Change k1560[] = {
    {"select count ( ywsz_id ) from yywsz", nullptr,
     "create table yywsz ("
     "ywsz_id char(20) not null,"
     "rq smalldatetime not null,"
     "zhmc char(30) null,"
     "type_name char(20) null,"
     "sz_name char(30) null,"
     "zy char(30) null,"
     "sr_je numeric(16,2) null,"
     "zc_je numeric(16,2) null,"
     "sz_type char(20) null,"
     "dept_id char(10) null,"
     "emp_id char(20) null,"
     "mem char(50) null,"
     "fz char(30) null)",
     "版本升级失败-yywsz! 停止升级"},
};

const Change k1570[] = {
    {"select count ( query_id ) from query_rz", nullptr,
     "create table query_rz ("
     "query_id char(20) not null,"
     "query_rq smalldatetime null,"
     "query_mem char(100) null)",
     "版本升级失败-query_rz! 停止升级"},
};

const char* const k1590Menus[] = {
    "update menu set name ='会员级别设置' where id =180",
    "update menu set name ='会员优惠设置' where id =181",
    "update menu set name ='员工部门信息设置' where id =182",
    "update menu set name ='仓库区域信息设置' where id =183",
    "update menu set name ='寄存位信息设置' where id =184",
    "update menu set name ='排    钟' where id =185",
    "update menu set name ='会员包卡操作' where id =186",
    "update menu set name ='会员重新分组' where id =187",
    "update menu set name ='会员资料打印' where id =188",
    "update menu set name ='包卡提成计算' where id =189",
    "update menu set name ='员工奖罚管理' where id =190",
    "update menu set name ='员工奖罚审核' where id =191",
    "update menu set name ='营业外收支管理' where id =192",
    "update menu set name ='分店数据上传下载' where id =193",
    "update menu set name ='公共参数设置' where id =194",
    "update menu set name ='近期哪些员工要过生日' where id =195",
    "update menu set name ='收支汇总表' where id =196",
    "update menu set name ='收支分类明细表' where id =197",
    "update menu set name ='收支分类汇总表' where id =198",
    "update menu set name ='月收支图形分析' where id =199",
    "update menu set name ='会员消费报表' where id =200",
    "update menu set name ='会员存款报表' where id =201",
    "update menu set name ='会员积分报表' where id =202",
    "update menu set name ='会员欠款报表' where id =203",
    "update menu set name ='会员取款报表' where id =204",
    "update menu set name ='会员汇总表' where id =205",
    "update menu set name ='会员分析报表' where id =206",
};

const Change k1591[] = {
    {"select count ( ky_time ) from info_table", nullptr,
     "alter table info_table add ky_time decimal(15,2) null", "版本升级失败-info_table! 停止升级"},
};

const Change k1593[] = {
    {"select count ( dk_rebate ) from emp_deduct", nullptr,
     "alter table emp_deduct add dk_rebate decimal(14,4) null",
     "版本升级失败-emp_deduct! 停止升级"},
};

// Only the last of the four is examined.
const char* const k1593Wages[] = {
    "update wage_item set item_name ='点客累进业绩' , state =1 , type =1 , sum_state =3 , "
    "tax_state =1 where item_id ='item_26'",
    "update wage_item set item_name ='轮牌累进业绩' where item_id ='item_19'",
    "update wage_item set item_name ='点客累进提成' , state =1 , type =1 , sum_state =1 , "
    "tax_state =1 where item_id ='item_27'",
    "update wage_item set item_name ='轮牌累进提成' , state =1 , type =1 , sum_state =1 , "
    "tax_state =1 where item_id ='item_28'",
};

const Change k1594Yhj[] = {
    {"select count ( yhj_id ) from yhj", nullptr,
     "create table yhj ("
     "yhj_id char(10) not null,"
     "yhj_name char(20) null,"
     "yhj_type char(10) null,"
     "yhj_start datetime not null,"
     "yhj_end datetime not null,"
     "yhj_je numeric(16,2) not null,"
     "yhj_state int not null,"
     "yhj_mem char(20) null)",
     "版本升级失败-yhj! 停止升级"},
};

const char* const k1594Menus[] = {
    "update menu set name ='优惠卷生成权限' where id =208",
    "update menu set name ='优惠卷修改权限' where id =209",
    "update menu set name ='优惠卷管理权限' where id =210",
};

const Change k1594Telrcd[] = {
    {"select count ( telrcd_id ) from telrcd", nullptr,
     "create table telrcd ("
     "telrcd_id char(20) not null,"
     "telno char(20) not null,"
     "tel_startdt datetime not null,"
     "telname char(20) null,"
     "mem_id char(30) null,"
     "telmem char(60) null,"
     "tel_type int null,"
     "tel_enddt datetime null,"
     "teloper char(20) null)",
     "版本升级失败-telrcd! 停止升级"},
};

const Change k1595[] = {
    {"select count ( item_tx ) from info_item", nullptr,
     "alter table info_item add item_tx int null", "版本升级失败-info_item! 停止升级"},
    {"select count ( ware_tx ) from info_ware", nullptr,
     "alter table info_ware add ware_tx int null", "版本升级失败-info_ware! 停止升级"},
    {"select count ( tx_id ) from item_ware_tx", nullptr,
     "create table item_ware_tx ("
     "tx_id char(20) not null,"
     "mem_id char(30) not null,"
     "telno char(30) null,"
     "doc_id char(20) not null,"
     "item_id char(10) null,"
     "ware_id char(20) null,"
     "tx_dt datetime not null,"
     "cl_zy char(60) null,"
     "cl_type int null,"
     "cl_emp char(20) null)",
     "版本升级失败-item_ware_tx! 停止升级"},
};

const Change k1596[] = {
    {"select count ( ware_id ) from ware_lp_info", nullptr,
     "create table ware_lp_info ("
     "ware_id char(30) not null,"
     "lp_jf numeric(15,2) null,"
     "start_dt datetime null,"
     "end_dt datetime null,"
     "sum_count numeric(15,2) null,"
     "pay_count numeric(15,2) null,"
     "ware_lp_state int null,"
     "ware_lp_mem char(50))",
     "版本升级失败-ware_lp_info! 停止升级"},
    {"select count ( doc_lp_id ) from doc_lp", nullptr,
     "create table doc_lp ("
     "doc_lp_id char(20) not null,"
     "ware_id char(30) not null,"
     "lp_amount numeric(15,2) not null,"
     "lp_jf_count numeric(15,2) not null,"
     "doc_dt datetime not null,"
     "men_id char(30) not null,"
     "doc_lp_state int null,"
     "doc_lp_mem char(50) null,"
     "doc_lp_emp char(20) null)",
     "版本升级失败-doc_lp! 停止升级"},
};

// Menus and the stamp share one commit.
const char* const k1596Untested[] = {
    "update menu set name ='优惠卷删除权限' where id =211",
    "update menu set name ='项目产品回访权限' where id =212",
    "update menu set name ='人工回访权限' where id =213",
    "update menu set name ='删除过期提醒权限' where id =214",
    "update menu set name ='群发短信提醒权限' where id =215",
    "update menu set name ='短信单发提醒权限' where id =216",
    "update sys SET bb ='15.96' , kernel_ver ='V 6.50.01' , jhzd =''",
};

// Each committed on its own, none examined: a key already there, or rows that break it, do
// not stop the step.
const char* const k1597Keys[] = {
    "alter table doc_mem_item add constraint pk_doc_id_serial primary key(doc_id,serial_no)",
    "alter table jcw add constraint pk_jcw_id primary key(jcw_id)",
    "alter table storage_qu add constraint pk_st_qu_id primary key(st_qu_id)",
    "alter table emp_mem_qk_rz add constraint pk_emp_mem_time_id primary "
    "key(emp_id,mem_id,cz_time)",
    "alter table emp_jk_rz add constraint pk_jk_doc_id primary key(jk_doc_id)",
    "alter table mem_item_bk add constraint pk_mem_item_id primary key(mem_id,item_id)",
    "alter table mem_jb_info add constraint pk_jb_id primary key(jb_id)",
    "alter table yywsz add constraint pk_ywsz_id primary key(ywsz_id)",
    "alter table query_rz add constraint pk_query_id primary key(query_id)",
    "alter table yhj add constraint pk_yhj_id primary key(yhj_id)",
    "alter table telrcd add constraint pk_telrcd_id primary key(telrcd_id)",
    "alter table item_ware_tx add constraint pk_tx_id primary key(tx_id)",
    "alter table ware_lp_info add constraint pk_ware_id primary key(ware_id)",
    "alter table doc_lp add constraint pk_doc_lp_id primary key(doc_lp_id)",
};

}  // namespace

Outcome f_ver8() {
  StepContext s;
  if (!s.read_version()) return s.base_data_lost();

  if (s.below(15.40)) {
    if (!apply(s, k1540)) return Outcome::failed;
    if (!s.tested(
            "update wage_item set item_name ='包卡提成' , state =1 , type =1 , sum_state =1 , "
            "tax_state =1 where item_id ='item_25'",
            "版本升级失败-update wage_item!"))
      return Outcome::failed;
  }
  if (s.below(15.50) && !apply(s, k1550)) return Outcome::failed;
  if (s.below(15.60) && !apply(s, k1560)) return Outcome::failed;
  if (s.below(15.70) && !apply(s, k1570)) return Outcome::failed;
  if (s.below(15.90)) {
    run_all(s, k1590Menus);
    s.commit();
  }
  if (s.below(15.91) && !apply(s, k1591)) return Outcome::failed;
  if (s.below(15.92)) {
    s.run("update menu set name ='报表导出EXCEL权限' where id =207");
    s.commit();
  }
  if (s.below(15.93)) {
    if (!apply(s, k1593)) return Outcome::failed;
    run_all(s, k1593Wages);
    if (!s.ok()) {
      s.failure_path("版本升级失败-update wage_item!");
      return Outcome::failed;
    }
    s.commit();
  }
  if (s.below(15.94)) {
    if (!apply(s, k1594Yhj)) return Outcome::failed;
    run_all(s, k1594Menus);
    s.commit();
    if (!apply(s, k1594Telrcd)) return Outcome::failed;
    s.run("update sys SET bb ='15.94' , kernel_ver ='V 6.07.01' , jhzd =''");
    s.commit();
  }
  if (s.below(15.95)) {
    if (!apply(s, k1595)) return Outcome::failed;
    s.run("update sys SET bb ='15.95' , kernel_ver ='V 6.08.01' , jhzd =''");
    s.commit();
  }
  if (s.below(15.96)) {
    if (!apply(s, k1596)) return Outcome::failed;
    run_all(s, k1596Untested);
    s.commit();
  }
  if (s.below(15.97)) {
    for (const char* key : k1597Keys) {
      s.run(key);
      s.commit();
    }
    s.run("update sys SET bb ='15.97' , kernel_ver ='V 6.50.01' , jhzd =''");
    s.commit();
  }
  return Outcome::done;
}

}  // namespace upgrade
