#include "kestrel/upgrade/change_table.h"
#include "kestrel/upgrade/steps.h"

namespace upgrade {

Outcome f_ver4() {
  StepContext s;
  if (!s.read_version()) return s.base_data_lost();
  if (s.version() > 14.189) return Outcome::returned_early;

  // Every clause is tried and a failing one tells the user; the box of a group that could not
  // be stored is the step's only failure text. The step writes no stamp, but the next one does:
  // a group left incomplete (a clause failed, its column missing) is undone whole and stops
  // the chain, so the next run does it again rather than never.
  bool group_done = true;
  if (s.below(14.189) && s.missing("select count ( photo ) from emp_info")) {
    group_done = s.block("版本升级失败-emp_info!", [&] {
      const bool columns = s.clause_list("emp_info",
                                         "add photo char(100) null/"
                                         "add pzlx char(1) null/"
                                         "add pzxl decimal(16, 0) null/",
                                         ClauseFailure::message, "版本升级失败-emp_info!");
      s.run("update emp_info set item6 =0");
      s.commit();
      s.run("delete from zd where id =31 and lx ='操作类型'");
      s.run("insert zd values ( 31 , '操作类型' , '修改信息' )");
      s.commit();
      return columns;
    });
  }
  if (s.below(14.189)) {
    s.run("update menu set name ='无效卡清除' where id =178");
    s.run("delete from zd where id =25 and lx ='操作类型'");
    s.run("insert zd values ( 25 , '操作类型' , '无效卡清除' )");
  }
  s.commit();
  return group_done ? Outcome::done : Outcome::failed;
}

}  // namespace upgrade
