// A few rows in each table that the chain fills, renames or copies from, so that its data
// statements have something to act on: members with nulls and zeros, menu rows 140 to 249,
// wage items, zd entries (one under another list with a shared id), groups.
#include "tools/base_schema.h"

namespace tools {
namespace {

QStringList make_seed() {
  QStringList s = {
      "insert into group_ (id, group_name, mem) values (1, '管理员', null)",
      "insert into group_ (id, group_name, mem) values (2, '收银员', null)",
      "insert into mem_info (mem_id, mem_name, post, s_id, sum_deposit, cash_consume, "
      "card_consume, balance, integral, al_integral_c, state) values ('M001', '张三', '100000', "
      "'1001', null, null, null, null, null, null, 1)",
      "insert into mem_info (mem_id, mem_name, post, s_id, sum_deposit, cash_consume, "
      "card_consume, balance, integral, al_integral_c, state) values ('M002', '李四', '200000', "
      "'1001', 0, 0, 0, 0, 0, 0, 1)",
      "insert into mem_info (mem_id, mem_name, post, s_id, sum_deposit, cash_consume, "
      "card_consume, balance, integral, al_integral_c, state) values ('M003', '王五', '300000', "
      "'1001', 1000, 50, 600, 400, 12, 3, 1)",
      "insert into emp_info (emp_id, emp_name, state) values ('E01', '赵六', 0)",
      "insert into emp_info (emp_id, emp_name, state) values ('E02', '钱七', 2)",
      "insert into card_level (level_id, level_name, rebate) values ('01', '金卡', 0.8)",
      "insert into card_level (level_id, level_name, rebate) values ('02', '银卡', 0.9)",
      "insert into item_card (level_id, item_id, rebate) values ('01', 'I01', 0.8)",
      "insert into ware_card (level_id, ware_id, rebate) values ('01', 'W01', 0.9)",
      "insert into info_item (item_id, item_name, price) values ('I01', '洗剪吹', 30)",
      "insert into info_ware (ware_id, ware_name, price, rebate) values ('W01', '洗发水', 50, "
      "0.9)",
      "insert into info_ware (ware_id, ware_name, price, rebate) values ('W02', '护发素', 60, 0)",
      "insert into info_ware (ware_id, ware_name, price, rebate) values ('W03', '发膜', 80, null)",
      "insert into doc_m (doc_id, doc_date, mem_id, pay_type, cash, card) values ('D001', "
      "'2009-05-01 10:00:00.000', 'M003', 1, 30, 0)",
      "insert into doc_item (doc_id, serial_no, item_id, amount, price, money) values ('D001', 1, "
      "'I01', 1, 30, 30)",
      "insert into doc_ware (doc_id, serial_no, ware_id, amount, price, money) values ('D001', 1, "
      "'W01', 1, 50, 50)",
      "insert into ie_data (id, rq, type_name, zy, income, expens) values (1, '2009-05-01 "
      "10:00:00.000', '营业收入', '现金支付', 30, 0)",
      "insert into s_storage (s_id, ware_id, amount, price) values ('1001', 'W01', 10, 50)",
      "insert into bill_m (doc_id, bill_id, d_date, in_s) values ('B001', '00002', '2009-04-01 "
      "09:00:00.000', null)",
      "insert into deduct_data (doc_id, emp_id, item_id, d_date, deduct) values ('D001', 'E01', "
      "'I01', '2009-05-01 10:00:00.000', 3)",
      "insert into mem_fund (mem_id, fund_time, fund_type, money) values ('M003', '2009-03-01 "
      "09:00:00.000', 1, 1000)",
      "insert into info_bill (bill_id, bill_name, bill_kind, mem) values ('00002', '入库单', 1, "
      "null)",
      "insert into info_bill (bill_id, bill_name, bill_kind, mem) values ('00003', '内耗单', 1, "
      "null)",
      "insert into info_bill (bill_id, bill_name, bill_kind, mem) values ('00005', '盘点单', 1, "
      "null)",
      "insert into info_bill (bill_id, bill_name, bill_kind, mem) values ('00006', '退货单', 1, "
      "null)",
      "insert into zd (id, lx, mc) values (1, '卡型', '会员卡')",
      "insert into zd (id, lx, mc) values (3, '卡型', '临时卡')",
      "insert into zd (id, lx, mc) values (7, '操作类型', '旧存款')",
      "insert into zd (id, lx, mc) values (7, '其他类型', '不变')",
      "insert into zd (id, lx, mc) values (12, '资金类型', '旧转帐')",
      "insert into zd_data (id, lx, lb, mc, bz) values (100, '收支类别', '收入类', '其他收入', '')",
  };
  for (int id = 140; id <= 249; ++id)
    s << QStringLiteral("insert into menu (id, name) values (%1, '菜单%1')").arg(id);
  for (int id = 140; id <= 150; ++id)
    s << QStringLiteral("insert into group_menu (group_id, menu_id, state) values (1, %1, 1)")
             .arg(id);
  for (int n = 16; n <= 28; ++n)
    s << QStringLiteral(
             "insert into wage_item (item_id, item_name, state, type, sum_state, tax_state) "
             "values ('item_%1', '工资项%1', 0, 1, 0, 0)")
             .arg(n);
  return s;
}

}  // namespace

const QStringList& base_seed() {
  static const QStringList seed = make_seed();
  return seed;
}

QString sys_row_insert(const QString* bb) {
  const QString v = bb ? QLatin1Char('\'') + *bb + QLatin1Char('\'') : QStringLiteral("null");
  return QStringLiteral(
             "insert into sys (id, corp_name, corp_city, post_code, mach_count, mem_limit, "
             "linkman, linkman_title, mobile, tele, linkman2, reg_state, reg_code, logon_serial, "
             "soft_name, bb, oper, start_date, reg_date, data_path, backup_date, kernel_ver, "
             "max_serial, style) values (1, '美丽发廊', '江苏南京', '210000', 1, 200, '陈一', "
             "'店长', '13900000000', '025000000000', '林二', '0', '', '0f0f0f', '沙龙会员', %1, "
             "'system', '2008-01-01', '2008-01-01', 'd:\\data', '2008-01-01', 'V 4.00.00', "
             "'1000000', '默认')")
      .arg(v);
}

}  // namespace tools
