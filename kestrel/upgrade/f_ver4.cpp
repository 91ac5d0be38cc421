#include "kestrel/upgrade/change_table.h"
#include "kestrel/upgrade/steps.h"

namespace upgrade {

Outcome f_ver4() {
  StepContext s;
  if (!s.read_version()) return s.base_data_lost();
  if (s.version() > 14.189) return Outcome::returned_early;

  if (s.below(14.189) && s.missing("select count ( photo ) from emp_info")) {
    // Every clause is tried; a failing one only tells the user. The box of a group that could
    // not be stored is the step's only failure text; the step goes on as after a clause.
    s.block("版本升级失败-emp_info!", [&] {
      s.clause_list("emp_info",
                    "add photo char(100) null/"
                    "add pzlx char(1) null/"
                    "add pzxl decimal(16, 0) null/",
                    ClauseFailure::message, "版本升级失败-emp_info!");
      s.run("update emp_info set item6 =0");
      s.commit();
      s.run("delete from zd where id =31 and lx ='操作类型'");
      s.run("insert zd values ( 31 , '操作类型' , '修改信息' )");
      s.commit();
      return true;
    });
  }
  if (s.below(14.189)) {
    s.run("update menu set name ='无效卡清除' where id =178");
    s.run("delete from zd where id =25 and lx ='操作类型'");
    s.run("insert zd values ( 25 , '操作类型' , '无效卡清除' )");
  }
  s.commit();
  return Outcome::done;
}

}  // namespace upgrade
