#include "kestrel/rebuild/tab_back_tables.h"

namespace rebuild {

// The columns of each table at version 16.10, "name type" as declared, separated by "|".
const std::vector<TabBackTable>& tab_back_tables() {
  static const std::vector<TabBackTable> tables = {
      {1, "dhfsq", "id INT|mem_id char(30)|phone char(30)|send_time datetime|state INT"},
      {3, "yhrz", "id INT|oper char(30)|log_time datetime|mach_id char(30)|mem char(100)"},
      {4, "zd", "id INT|lx char(30)|mc char(60)"},
      {5, "card_level",
       "level_id char(10)|level_name char(30)|rebate decimal(16,2)|integral_rate "
       "decimal(16,2)|state INT|re_m decimal(16, 2)|rebate_w decimal(16,2)|time_len INT|time_type "
       "INT|jfxs numeric(16,2)|jf_limit numeric(16,2)|jf_limit_u numeric(16,2)|ck_limit "
       "numeric(16,2)|ck_limit_u numeric(16,2)|kj_je numeric(16,2)|kj_xz INT"},
      {6, "dept_info", "dept_id char(10)|dept_name char(30)|mem char(60)"},
      {7, "doc_item",
       "doc_id char(20)|serial_no numeric(8,0)|item_id char(10)|amount numeric(15,2)|price "
       "numeric(15,2)|money numeric(15,2)|emp_id char(20)|rebate numeric(15,2)|r_e "
       "decimal(16,2)|mem char(30)|emp_k char(20)|emp_l char(20)|emp_m char(20)|favour_money "
       "numeric(15,2)"},
      {8, "doc_m",
       "doc_id char(20)|doc_date datetime|mem_id char(30)|pay_type INT|cash decimal(16,2)|card "
       "decimal(16,2)|oper char(30)|state INT|table_id char(30)|people decimal(10,0)|mem "
       "char(60)|fsk INT|people_m decimal(10,0)"},
      {9, "doc_ware",
       "doc_id char(20)|serial_no numeric(8,0)|ware_id char(30)|amount numeric(15,2)|price "
       "numeric(15,2)|money numeric(15,2)|emp_id char(20)|rebate numeric(15,2)|re_m decimal(16, "
       "2)|table_id char(30)|print_state INT|men char(30)|favour_money numeric(15,2)|a_xs "
       "numeric(15,2)|emp_b char(20)|b_xs numeric(15,2)|emp_c char(20)|c_xs numeric(15,2)|rebate_b "
       "numeric(15,2)|rebate_c numeric(15,2)"},
      {10, "group_menu", "group_id INT|menu_id INT|state INT"},
      {11, "incom_tax",
       "id INT|low_money decimal(16,2)|high_money decimal(16,2)|rate decimal(16,4)|deduct "
       "decimal(16,2)"},
      {12, "group_", "id INT|group_name char(30)|mem char(60)"},
      {13, "mem_info",
       "mem_id char(30)|mem_name char(60)|sex INT|tele_no char(30)|address char(60)|open_date "
       "datetime|birthday datetime|nl_birthday datetime|card_id char(30)|level_id char(10)|s_id "
       "char(10)|sum_deposit decimal(16,2)|cash_consume decimal(16,2)|card_consume "
       "decimal(16,2)|balance decimal(16,2)|integral decimal(16,2)|al_integral_c "
       "decimal(16,2)|foregift decimal(16,2)|state INT|sg decimal(16, 2)|fz char(30)|tz "
       "decimal(16, 2)|zy char(30)|item1 INT|item2 INT|item3 INT|item4 INT|item5 INT|item6 "
       "INT|item7 INT|item8 INT|item9 INT|item10 INT|item11 INT|item12 INT|item13 INT|item14 "
       "INT|item15 INT|item16 INT|item17 INT|item18 INT|item19 INT|item20 INT|bz "
       "varchar(1000)|mem_photo char(100)|end_time datetime|favour decimal(15,2)|overdraft "
       "decimal(15,2)|yxq datetime|jsr char(30)|jsjf decimal(16,2)|email char(60)|gj char(60)|dq "
       "char(60)|xx char(60)|post char(60)|QQ char(60)|MSN char(60)|jb_id char(20)|sy_favour "
       "numeric(15,2)|gps char(30)|gd_tel char(30)|cs_dt smalldatetime|zs_dt smalldatetime|bx_dt "
       "smalldatetime"},
      {14, "doc_bom",
       "doc_id char(30)|item_id char(30)|ware_id char(30)|amount decimal(15, 4)|price decimal(15, "
       "4)|mem char(60)"},
      {15, "info_item",
       "item_id char(10)|item_name char(60)|price numeric(15,2)|rebate numeric(15,4)|state INT|tm "
       "char(30)|rebate_k numeric(15, 4)|rebate_l numeric(15, 4)|rebate_m numeric(15, 4)|cyjf "
       "INT|item_jfxs numeric(15, 2)|item_jcxstc numeric(15,4)|item_tx INT|item_sms char(100)"},
      {16, "item_card",
       "level_id char(10)|item_id char(10)|rebate decimal(16,2)|re_m decimal(16, 2)"},
      {17, "ware_card",
       "level_id char(10)|ware_id char(30)|rebate decimal(16,2)|re_m decimal(16, 2)"},
      {18, "info_ware",
       "ware_id char(30)|ware_name char(60)|unit char(10)|price numeric(15,2)|cost_price "
       "numeric(15,2)|rebate numeric(15,4)|state INT|end_time datetime|item4 INT|item5 "
       "decimal(15,4)|item6 char(60)|cyjf INT|ware_jfxs numeric(15, 2)|ware_tx INT|ware_sms "
       "char(100)"},
      {19, "item_bom",
       "item_id char(30)|ware_id char(30)|amount decimal(15, 4)|item1 decimal(15, 4)|item2 "
       "char(30)"},
      {20, "log_card_oper",
       "id INT|mem_id char(30)|log_time datetime|oper_type INT|oper char(30)|mem char(100)"},
      {21, "meal", "meal_id char(10)|meal_name char(30)|price decimal(16,2)"},
      {22, "loss_card", "card_id char(30)|loss_date datetime|mem_id char(30)|new_id char(30)"},
      {23, "mem_item",
       "mem_id char(30)|item_id char(10)|sum_t decimal(16, 0)|pay_t decimal(16, 0)|last_time "
       "datetime|item1 char(30)|item2 char(30)|item3 decimal(16, 2)|item4 decimal(16, 2)|item5 "
       "char(60)|item6 char(60)|mem char(60)"},
      {24, "mem_fund",
       "mem_id char(30)|fund_time datetime|fund_type INT|money decimal(16,2)|favour "
       "decimal(16,2)|oper char(30)|ck_doc_id char(30)"},
      {25, "emp_info",
       "emp_id char(30)|emp_name char(30)|sex INT|emp_class char(30)|tele char(30)|address "
       "char(60)|in_date datetime|state INT|item1 char(30)|item2 char(30)|item3 char(30)|item4 "
       "char(30)|item5 char(30)|item6 decimal(16, 2)|xs1 decimal(16,4)|xs2 decimal(16,4)|photo "
       "char(100)|pzlx char(1)|pzxl decimal(16, 0)|dept_id char(10)|gzyj numeric(16,2)|emp_sr "
       "smalldatetime|emp_sr_type INT"},
      {26, "mend",
       "mend_id char(20)|mend_date datetime|mem_id char(30)|money decimal(16,2)|oper char(30)"},
      {27, "parm", "parm_id char(30)|parm_value char(100)|mem char(60)"},
      {28, "menu", "id INT|name char(60)"},
      {29, "emp_rebate",
       "emp_class char(30)|item_id char(30)|type INT|lp decimal(16,4)|dk decimal(16,4)|lplp "
       "decimal(16,4)"},
      {30, "wage_data", "month_id char(10)|emp_id char(30)|item_id char(10)|money decimal(16,2)"},
      {31, "wage_item",
       "item_id char(10)|item_name char(30)|state INT|type INT|sum_state INT|tax_state INT"},
      {32, "work_info", "emp_id char(30)|work_date datetime|class_id char(10)|mem char(60)"},
      {33, "deduct_data",
       "doc_id char(20)|emp_id char(30)|item_id char(10)|d_date datetime|deduct "
       "decimal(16,2)|state INT|money decimal(16,2)"},
      {34, "ware_deduct", "emp_class char(30)|rebate decimal(16,4)|a_money decimal(16,2)"},
      {35, "account_d",
       "acc_id char(20)|acc_date datetime|acc_name char(60)|money decimal(16,2)|oper char(30)"},
      {36, "attend_end",
       "emp_id char(30)|attend_date datetime|work_days decimal(10,2)|late_times INT|mem char(60)"},
      {37, "attend_mach", "mach_id char(10)|mach_name char(30)|port INT|state INT"},
      {38, "attend_origin", "emp_id char(30)|attend_date datetime|mach_id char(10)|state INT"},
      {39, "attend_state", "state_id INT|state_name char(30)|mem char(60)"},
      {40, "bill_d",
       "doc_id char(20)|ware_id char(30)|amount decimal(16,2)|price decimal(16,2)|money "
       "decimal(16,2)"},
      {41, "bill_m",
       "doc_id char(20)|bill_id char(10)|d_date datetime|in_s char(30)|out_s char(30)|oper "
       "char(30)|mem char(60)"},
      {42, "class_info",
       "class_id char(10)|class_name char(30)|start_time datetime|end_time datetime"},
      {43, "emp_class", "emp_class char(30)|class_name char(30)|base_wage decimal(16,2)"},
      {44, "info_bill", "bill_id char(10)|bill_name char(30)|bill_kind INT|mem char(60)"},
      {45, "info_corp_cg",
       "corp_id char(20)|corp_name char(60)|linkman char(30)|tele char(30)|address char(100)"},
      {46, "info_storage",
       "s_id char(10)|s_name char(60)|s_addr char(100)|tel char(30)|username char(30)|password "
       "char(30)|path char(100)"},
      {47, "info_pay", "pay_id INT|pay_name char(30)|state INT"},
      {48, "mrcs", "mem_id char(30)|item_id char(10)|times INT|last_time datetime"},
      {49, "pay_d", "doc_id char(20)|pay_id INT|money decimal(16,2)"},
      {50, "s_storage",
       "s_id char(10)|ware_id char(30)|amount decimal(16,2)|price decimal(16,2)|fd char(30)"},
      {51, "ie_data",
       "id INT|rq datetime|type_name char(30)|zy char(100)|income decimal(16,2)|expens "
       "decimal(16,2)|oper char(30)|fd char(30)"},
      {52, "data_tf",
       "id char(30)|mem_id char(30)|rq datetime|item1 INT|item2 INT|item3 INT|item4 INT|item5 "
       "INT|item6 INT|item7 INT|item8 INT|item9 INT|item10 INT|item11 INT|item12 INT|item13 "
       "INT|item14 INT|item15 INT|item16 INT|item17 INT|item18 INT|item19 INT|item20 INT|emp_id1 "
       "char(30)|emp_id2 char(30)|emp_id3 char(30)|emp_id4 char(30)|emp_id5 char(30)|data1 "
       "decimal(16, 2)|data2 decimal(16, 2)|data3 decimal(16, 2)|data4 decimal(16, 2)|data5 "
       "decimal(16, 2)|char1 char(60)|char2 char(60)|char3 char(60)|char4 char(60)|char5 "
       "char(60)|vchar1 varchar(100)|vchar2 varchar(1000)|vchar3 varchar(1000)|vchar4 "
       "varchar(1000)|vchar5 varchar(1000)|data_type INT|state INT|char6 char(30)|char7 "
       "char(30)|char8 char(30)|char9 char(30)|char10 char(30)|char11 char(30)|char12 "
       "char(30)|char13 char(30)|char14 char(30)|char15 char(30)|char16 char(30)|char17 "
       "char(30)|char18 char(30)|kh_type char(30)|kh_tele char(30)|kh_zy char(30)|kh_addr "
       "varchar(50)|kh_sr char(30)|kh_photo varchar(100)"},
      {53, "zd_data", "id INT|lx char(30)|lb char(30)|mc char(60)|bz char(60)"},
      {54, "emp_deduct",
       "emp_class char(30)|rebate decimal(14,4)|a_money decimal(16,2)|dk_rebate decimal(14,4)"},
      {55, "bespoke",
       "emp_id char(30)|b_time datetime|mem_id char(30)|item_id char(30)|mem char(100)|state "
       "INT|table_id char(30)"},
      {56, "info_table",
       "table_id char(30)|table_name char(60)|table_addr char(60)|people_no INT|state "
       "INT|table_type INT|money decimal(15,2)|jz datetime|zt char(30)|guest_id char(30)|emp_id "
       "char(30)|in_time datetime|out_time datetime|item_id char(30)|time_gd decimal(16,2)|z_state "
       "INT|z_s_date datetime|z_e_date datetime|ky_time decimal(15,2)"},
      {57, "info_card", "card_id char(30)"},
      {58, "item_time",
       "item_id char(30)|s_time datetime|e_time datetime|dw INT|zjdw INT|price decimal(15,2)"},
      {59, "info_message",
       "id decimal(10,0)|phone char(30)|mess varchar(500)|rq datetime|lx INT|kind INT|mem_id "
       "char(30)|oper char(30)|sc char(30)|modi char(30)|state INT"},
      {60, "card_s",
       "mem_id char(30)|serial_no INT|card_id char(30)|card_name char(30)|rq datetime|state INT"},
      {61, "yy",
       "table_id char(30)|serial_no decimal(15,0)|start_d datetime|end_d datetime|emp_id "
       "char(30)|mem_id char(30)|mem char(100)|state INTEGER"},
      {62, "sys",
       "id INT|corp_name char(60)|corp_city char(60)|post_code char(10)|mach_count INT|mem_limit "
       "INT|linkman char(30)|linkman_title char(30)|mobile char(30)|tele char(30)|linkman2 "
       "char(30)|reg_state char(10)|reg_code char(60)|logon_serial char(32)|soft_name char(60)|bb "
       "varchar(20)|oper char(30)|start_date char(20)|reg_date char(20)|data_path "
       "char(100)|backup_date char(20)|kernel_ver varchar(30)|max_serial char(20)|style "
       "char(30)|jhzd char(30)"},
      {63, "deposit_deduct", "a_money decimal(16,2)|b_money decimal(16,2)|rebate decimal(16,4)"},
      {64, "edit_time",
       "id decimal(10,0)|sm char(60)|type INT|oper char(30)|mach_id char(10)|time_o "
       "datetime|time_n datetime"},
      {65, "sk_mem_info",
       "sk_mem_id char(30)|sk_mem_name char(60)|sk_sex INT|sk_tele_no char(30)|sk_address "
       "char(60)|sk_open_date smalldatetime|sk_birthday smalldatetime|sk_cash_consume "
       "numeric(16,2)|sk_integral numeric(16,2)|sk_al_integral_c numeric(16,2)|sk_foregift "
       "numeric(16,2)|sk_fz char(30)|sk_nl_birthday smalldatetime|sk_jsr char(30)|sk_email "
       "char(60)|sk_qq char(60)|sk_msn char(60)|mem_id char(30)|sk_mem char(100)|sk_state float"},
      {66, "doc_mem_item",
       "doc_id char(20)|serial_no numeric(8,0)|item_id char(10)|amount numeric(15,2)|price "
       "numeric(15,2)|money numeric(15,2)|emp_id char(20)|rebate numeric(15,2)|re_m "
       "decimal(16,2)|table_id char(30)|print_state INT|mem char(30)|item3 decimal(16, 2)"},
      {67, "mem_jc",
       "mem_id char(30)|serial_no numeric(8,0)|ware_id char(20)|start_jcdate "
       "smalldatetime|last_sydate smalldatetime|sy_amount numeric(16,2)|state INT|jcw_id "
       "char(20)|jcq INT|jcqdw char(10)|mem char(60)|bc_amount numeric(16,2)|dw char(10)"},
      {68, "jcw", "jcw_id char(20)|jcw_qu char(20)|jcw_name char(30)|mem char(50)"},
      {69, "storage_qu", "st_qu_id char(20)|st_qu_name char(30)|s_id char(10)|mem char(50)"},
      {70, "emp_mem_qk_rz",
       "emp_id char(30)|mem_id char(30)|cz_time datetime|kczlx INT|mach char(30)|oper "
       "char(30)|qkje numeric(15,2)|cybl numeric(15,2)|hk_time datetime|hk_je "
       "numeric(15,2)|lj_kh_je numeric(15,2)|doc_id char(20)|mem char(50)|state INT"},
      {71, "emp_jk_rz",
       "jk_doc_id char(20)|emp_id char(20)|jk_time datetime|jk_type INT|jk_je numeric(15,2)|jk_mem "
       "char(100)|jk_oper char(20)|jk_sh_oper char(20)|jk_state INT"},
      {72, "mem_fjjr",
       "mem_id char(30)|jr_name char(30)|fjjr smalldatetime|jr_type INT|jr_mem char(50)"},
      {73, "mem_item_bk",
       "mem_id char(30)|item_id char(10)|startdate smalldatetime|enddate smalldatetime|ktje "
       "numeric(15,2)|xfcs INT|mem char(50)|state INT"},
      {74, "mem_jb_info",
       "jb_id char(20)|jb_name char(30)|jb_xf_qs numeric(16,2)|jb_xf_js numeric(16,2)|jb_mem "
       "char(50)"},
      {75, "yywsz",
       "ywsz_id char(20)|rq smalldatetime|zhmc char(30)|type_name char(20)|sz_name char(30)|zy "
       "char(30)|sr_je numeric(16,2)|zc_je numeric(16,2)|sz_type char(20)|dept_id char(10)|emp_id "
       "char(20)|mem char(50)|fz char(30)"},
      {76, "yhj",
       "yhj_id char(10)|yhj_name char(20)|yhj_type char(10)|yhj_start datetime|yhj_end "
       "datetime|yhj_je numeric(16,2)|yhj_state INT|yhj_mem char(20)"},
      {77, "telrcd",
       "telrcd_id char(20)|telno char(20)|tel_startdt datetime|telname char(20)|mem_id "
       "char(30)|telmem char(60)|tel_type INT|tel_enddt datetime|teloper char(20)"},
      {78, "item_ware_tx",
       "tx_id char(20)|mem_id char(30)|telno char(30)|doc_id char(20)|item_id char(10)|ware_id "
       "char(20)|tx_dt datetime|cl_zy char(60)|cl_type INT|cl_emp char(20)"},
      {79, "ware_lp_info",
       "ware_id char(30)|lp_jf numeric(15,2)|start_dt datetime|end_dt datetime|sum_count "
       "numeric(15,2)|pay_count numeric(15,2)|ware_lp_state INT|ware_lp_mem char(50)"},
      {80, "doc_lp",
       "doc_lp_id char(20)|ware_id char(30)|lp_amount numeric(15,2)|lp_jf_count "
       "numeric(15,2)|doc_dt datetime|men_id char(30)|doc_lp_state INT|doc_lp_mem "
       "char(50)|doc_lp_emp char(20)"},
      {81, "sq_card", "sq_id INT|card_id char(30)|level_id INT|fd char(30)|mem char(30)|state INT"},
      {82, "tc_info",
       "tc_id char(10)|tc_name char(20)|level_id INT|tcme numeric(16,2)|mem char(30)|state INT"},
      {83, "tc_item", "tc_id char(10)|item_id char(10)|gd_cs INT|zs_cs INT"},
      {84, "tc_ware",
       "tc_id char(10)|ware_id char(30)|gd_amount numeric(16,2)|zs_amount numeric(16,2)"},
      {85, "doc_pgd",
       "pgd_id char(20)|pgd_type char(16)|mem_id char(30)|cust_sj_addr char(60)|sj_note "
       "char(100)|item_id char(10)|pgd_money numeric(16,2)|fd char(30)|emp_id1 char(30)|emp_id2 "
       "char(30)|emp_id3 char(30)|emp_id4 char(30)|mem char(50)|state INT|pg_date "
       "smalldatetime|cl_date smalldatetime"},
      {86, "emp_team",
       "tm_id INT|tm_name char(30)|tm_emp char(20)|tm_emp1 char(20)|tm_mem char(50)"},
      {87, "emp_tm_detail", "tm_id INT|emp_id char(20)"},
      {88, "emp_tm_yj",
       "tm_id INT|emp_id char(20)|dj_date datetime|item1 numeric(16,2)|item2 numeric(16,2)|item3 "
       "numeric(16,2)|item4 numeric(16,2)|item5 numeric(16,2)|item6 numeric(16,2)|item7 "
       "numeric(16,2)|item8 numeric(16,2)|item9 numeric(16,2)|doc_id char(20)|state INT"},
      // The tables the chain creates after the emptying list was fixed.
      {89, "doc_yd",
       "doc_yd_id char(20)|mem_id char(30)|item_id char(10)|item_amount numeric(15,2)|ware_id "
       "char(30)|ware_state INT|total_je numeric(15,2)|fact_je numeric(15,2)|fkfs INT|yd_dt "
       "datetime|yd_emp char(20)|yd_state INT|yd_cl_dt datetime|yd_mem char(60)|yd_oper char(20)"},
      {90, "emp_rebate_w", "emp_class char(30)|ware_id char(30)|typea INT|rebate decimal(16,4)"},
      {91, "mem_jc_ls",
       "jc_ls_id numeric(10,0)|doc_id char(20)|mem_id char(30)|ware_id char(20)|sydate "
       "smalldatetime|sc_amount numeric(16,2)|bc_amount numeric(16,2)|sy_amount numeric(16,2)|dw "
       "char(10)|oper char(30)"},
      {92, "query_rz", "query_id char(20)|query_rq smalldatetime|query_mem char(100)"},
      {93, "sy",
       "year_month char(15)|a0 numeric(16, 2)|a1 numeric(16, 2)|a2 numeric(16, 2)|a3 numeric(16, "
       "2)|a4 numeric(16, 2)|b0 numeric(16, 2)|b1 numeric(16, 2)|b2 numeric(16, 2)|b3 numeric(16, "
       "2)|c0 numeric(16, 2)|d1 numeric(16, 2)|d2 numeric(16, 2)|d3 numeric(16, 2)|d4 numeric(16, "
       "2)|d5 numeric(16, 2)|d6 numeric(16, 2)|d7 numeric(16, 2)|d8 numeric(16, 2)|d9 numeric(16, "
       "2)|d10 numeric(16, 2)|d11 numeric(16, 2)|d12 numeric(16, 2)|d14 numeric(16, 2)|e0 "
       "numeric(16, 2)|e1 numeric(16, 2)|e2 numeric(16, 2)|e3 numeric(16, 2)|e4 numeric(16, 2)|e5 "
       "numeric(16, 2)|f0 numeric(16, 2)|f1 numeric(16, 2)|f2 numeric(16, 2)|f3 numeric(16, 2)|f4 "
       "numeric(16, 2)|f5 numeric(16, 2)|f6 numeric(16, 2)|f7 numeric(16, 2)|f8 numeric(16, 2)|f9 "
       "numeric(16, 2)|f10 numeric(16, 2)|f11 numeric(16, 2)|f12 numeric(16, 2)|f13 numeric(16, "
       "2)|f14 numeric(16, 2)|f15 numeric(16, 2)|f16 numeric(16, 2)|g0 numeric(16, 2)|g1 "
       "numeric(16, 2)|g2 numeric(16, 2)|g3 numeric(16, 2)|g4 numeric(16, 2)|g5 numeric(16, 2)|g6 "
       "numeric(16, 2)|g7 numeric(16, 2)|g8 numeric(16, 2)|g9 numeric(16, 2)|g10 numeric(16, "
       "2)|g11 numeric(16, 2)|g12 numeric(16, 2)|g13 numeric(16, 2)|h0 numeric(16, 2)|h1 "
       "numeric(16, 2)|h2 numeric(16, 2)|h3 numeric(16, 2)|h4 numeric(16, 2)|i0 numeric(16, 2)|i1 "
       "numeric(16, 2)|i2 numeric(16, 2)|i3 numeric(16, 2)"},
      {94, "week_plan",
       "id INT|month_id char(10)|serial_week char(4)|start_date datetime|end_date "
       "datetime|amount_plan numeric(15,2)|mem char(50)"},
  };
  return tables;
}

}  // namespace rebuild
