// Step 3: repair of a lost version row, changes without a gate, and the block below 13.17.
#include "db/transaction.h"
#include "kestrel/upgrade/steps.h"
#include "runtime/dialogs.h"
#include "shared/globals.h"

namespace upgrade {
namespace {

// The default system row, for a sys table with and without its 25th column.
const char* const kRepairRow25 =
    "insert into sys values (1,'鸿雁科技','广东广州','510000',1,200,'王建国','总经办主任',"
    "'13800138000','020123456789','李明华','0','','a3f9c1','鸿雁美业2010-2012','13.00',"
    "'system','2010-01-01','2010-01-01','d:\\zivezi\\data','2010-01-01','V 6.01.01','1000000',"
    "'默认','')";
const char* const kRepairRow24 =
    "insert into sys values (1,'鸿雁科技','广东广州','510000',1,200,'王建国','总经办主任',"
    "'13800138000','020123456789','李明华','0','','a3f9c1','鸿雁美业2010-2012','13.00',"
    "'system','2010-01-01','2010-01-01','d:\\zivezi\\data','2010-01-01','V 6.01.01','1000000',"
    "'默认')";

Outcome repair_version_row() {
  if (!rt::dialogs().question(QStringLiteral("系统提示"),
                              QStringLiteral("系统版本数据丢失,是否启用自动修复程序"), false))
    return Outcome::end_program;
  sqlca.execute(QString::fromUtf8(kRepairRow25));
  if (sqlca.status != 0) {
    sqlca.execute(QString::fromUtf8(kRepairRow24));
    if (sqlca.status != 0) {
      rt::dialogs().notice(QStringLiteral("系统提示"),
                           QStringLiteral("系统数据修复失败! 请联系开发商..."));
      return Outcome::end_program;
    }
  }
  sqlca.commit();
  return Outcome::restart_program;
}

}  // namespace

Outcome f_ver3() {
  StepContext s;
  if (!s.read_version()) return repair_version_row();

  if (s.column_missing("data_tf", "kh_type") &&
      !s.clause_list("data_tf",
                     "add kh_type char(30) null/add kh_tele char(30) null/add kh_zy char(30) null/"
                     "add kh_addr varchar(50) null/add kh_sr char(30) null/"
                     "add kh_photo varchar(100) null/"))
    return Outcome::failed;
  if (s.column_missing("mem_info", "QQ") &&
      !s.clause_list("mem_info", "add QQ char(60) null/add MSN char(60) null/"))
    return Outcome::failed;
  if (s.missing("select count ( sk_mem_id ) from sk_mem_info") &&
      !s.change("create table sk_mem_info (sk_mem_id char(30) not null,"
                "sk_mem_name char(60) null,sk_sex int null,sk_tele_no char(30) null,"
                "sk_address char(60) null,sk_open_date smalldatetime null,"
                "sk_birthday smalldatetime null,sk_cash_consume numeric(16,2) null,"
                "sk_integral numeric(16,2) null,sk_al_integral_c numeric(16,2) null,"
                "sk_foregift numeric(16,2) null,sk_fz char(30) null,"
                "sk_nl_birthday smalldatetime null,sk_jsr char(30) null,sk_email char(60) null,"
                "sk_qq char(60) null,sk_msn char(60) null,mem_id char(30) null,"
                "sk_mem char(100) null,sk_state float null)",
                "版本升级失败-sk_mem_info!"))
    return Outcome::failed;
  if (s.column_missing("mem_fund", "ck_doc_id") &&
      !s.change("alter table mem_fund add ck_doc_id char(30) null", "版本升级失败-mem_fund!"))
    return Outcome::failed;

  if (s.version_text_is_zero() || !s.below(13.17)) return Outcome::returned_early;
  if (!s.change(gi_database_type == 1
                    ? QStringLiteral("alter table sys modify logon_serial char(32) null")
                    : QStringLiteral("alter table sys ALTER COLUMN logon_serial char(32) null"),
                "版本升级失败-sys!"))
    return Outcome::failed;
  return Outcome::done;
}

}  // namespace upgrade
