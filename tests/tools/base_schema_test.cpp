// The base schema covers what the upgrade chain and the emptying expect to find.
#include "tools/base_schema.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

// Tables the upgrade chain alters, probes or fills without creating them.
const char* const kChainExpects[] = {
    "bill_m",    "card_level", "deduct_data", "doc_item",  "doc_m",     "doc_ware",
    "emp_info",  "group_menu", "ie_data",     "info_bill", "info_item", "info_storage",
    "info_ware", "item_card",  "mem_fund",    "mem_info",  "menu",      "s_storage",
    "sys",       "wage_item",  "ware_card",   "zd",        "zd_data"};

// The 87 tables that the rebuild empties, in its order.
const char* const kEmptied[] = {"dhfsq",         "yhrz",           "zd",
                                "card_level",    "dept_info",      "doc_item",
                                "doc_m",         "doc_ware",       "emp_info",
                                "doc_bom",       "group_",         "group_menu",
                                "incom_tax",     "info_item",      "item_card",
                                "ware_card",     "info_ware",      "item_bom",
                                "log_card_oper", "meal",           "loss_card",
                                "mem_item",      "mem_fund",       "mem_info",
                                "mend",          "menu",           "parm",
                                "emp_rebate",    "wage_data",      "wage_item",
                                "work_info",     "deduct_data",    "ware_deduct",
                                "account_d",     "attend_end",     "attend_mach",
                                "attend_origin", "attend_state",   "bill_d",
                                "bill_m",        "class_info",     "emp_class",
                                "info_bill",     "info_corp_cg",   "info_pay",
                                "info_storage",  "mrcs",           "pay_d",
                                "s_storage",     "ie_data",        "data_tf",
                                "zd_data",       "emp_deduct",     "bespoke",
                                "info_table",    "info_card",      "item_time",
                                "info_message",  "card_s",         "yy",
                                "sys",           "deposit_deduct", "edit_time",
                                "sk_mem_info",   "doc_mem_item",   "mem_jc",
                                "jcw",           "storage_qu",     "emp_mem_qk_rz",
                                "emp_jk_rz",     "mem_fjjr",       "mem_item_bk",
                                "mem_jb_info",   "yywsz",          "yhj",
                                "telrcd",        "item_ware_tx",   "ware_lp_info",
                                "doc_lp",        "sq_card",        "tc_info",
                                "tc_item",       "tc_ware",        "doc_pgd",
                                "emp_team",      "emp_tm_detail",  "emp_tm_yj"};

// Those of the 87 that some step of the chain creates.
const char* const kChainCreates[] = {
    "mem_item",     "data_tf",     "loss_card",      "emp_deduct",
    "bespoke",      "info_table",  "info_card",      "item_time",
    "info_message", "card_s",      "deposit_deduct", "yy",
    "item_bom",     "doc_bom",     "ware_deduct",    "emp_rebate",
    "edit_time",    "sk_mem_info", "doc_mem_item",   "mem_jc",
    "jcw",          "storage_qu",  "emp_mem_qk_rz",  "emp_jk_rz",
    "mem_fjjr",     "mem_item_bk", "mem_jb_info",    "yywsz",
    "yhj",          "telrcd",      "item_ware_tx",   "ware_lp_info",
    "doc_lp",       "sq_card",     "tc_info",        "tc_item",
    "tc_ware",      "doc_pgd",     "emp_team",       "emp_tm_detail",
    "emp_tm_yj"};

TEST(BaseSchema, HoldsTheTablesTheChainExpects) {
  for (const char* t : kChainExpects) EXPECT_NE(tools::base_table(t), nullptr) << t;
}

TEST(BaseSchema, WithTheChainsTablesMakesUpTheEmptyingList) {
  ASSERT_EQ(std::size(kEmptied), 87u);
  QSet<QString> created;
  for (const char* t : kChainCreates) created.insert(t);
  QSet<QString> emptied;
  for (const char* t : kEmptied) {
    emptied.insert(t);
    EXPECT_TRUE(created.contains(t) != (tools::base_table(t) != nullptr))
        << t << ": either the chain creates it or the base schema has it";
  }
  for (const tools::BaseTable& t : tools::base_tables())
    EXPECT_TRUE(emptied.contains(t.name)) << t.name << " is not emptied by the rebuild";
}

// The chain's inserts without a column list need these widths (info_storage gains four
// columns in step 1 before its insert; sys a 25th in a later step).
TEST(BaseSchema, ColumnCountsOfPositionalInserts) {
  const std::pair<const char*, size_t> widths[] = {
      {"sys", 24}, {"info_storage", 3}, {"menu", 2}, {"group_menu", 3}, {"zd", 3}, {"zd_data", 5}};
  for (const auto& [name, n] : widths) {
    ASSERT_NE(tools::base_table(name), nullptr);
    EXPECT_EQ(tools::base_table(name)->columns.size(), n) << name;
  }
}

}  // namespace
