// Which blocks of steps 1 to 3 run, by the stored version: one table of boundary cases.
#include <QStringList>

#include "db/transaction.h"
#include "kestrel/upgrade/steps.h"
#include "tests/upgrade/upgrade_test_support.h"

namespace {

using upgrade::Outcome;

enum class Step { f_ver, f_ver2, f_ver3 };

struct GateCase {
  Step step;
  const char* version;  // null: `bb` is null
  Outcome outcome;
  const char* marks;  // what ran, see GateTest::marks()
  const char* bb_after;
};

// Menu entries whose renames show that a block ran.
const int kMarkerMenus[] = {140, 144, 149, 150, 160, 165};

class GateTest : public test::UpgradeTest, public ::testing::WithParamInterface<GateCase> {
 protected:
  void prepare(const GateCase& c) {
    const std::optional<QString> v =
        c.version ? std::optional<QString>(QString::fromUtf8(c.version)) : std::nullopt;
    if (c.step == Step::f_ver) {
      // Step 1 from 7.80 on expects the tables its lower blocks create.
      build_after_step1(v);
      for (int id : kMarkerMenus)
        exec(QStringLiteral("update menu set name ='菜单%1' where id =%1").arg(id));
      exec("update emp_info set state =0");
      exec("update doc_item set r_e =null");
    } else {
      tools::FixtureOptions o;
      o.version = v;
      build(o);
    }
    exec("update mem_info set sum_deposit =null where mem_id ='M001'");
  }

  Outcome run(Step s) {
    switch (s) {
      case Step::f_ver:
        return upgrade::f_ver();
      case Step::f_ver2:
        return upgrade::f_ver2();
      case Step::f_ver3:
        return upgrade::f_ver3();
    }
    return Outcome::failed;
  }

  // R: null repairs; 780, 500, 550, 810, 830, 956: the blocks below those versions; end:
  // step 1 reached its last renames; s2: step 2's renames; sk: step 3's ungated table;
  // wide: step 3's block below 13.17.
  QString marks() {
    QStringList m;
    if (value("select sum_deposit from mem_info where mem_id ='M001'") != "<null>") m << "R";
    auto renamed = [&](int id) {
      return value(QStringLiteral("select name from menu where id =%1").arg(id)) !=
             QStringLiteral("菜单%1").arg(id);
    };
    if (renamed(140)) m << "780";
    if (value("select state from emp_info where emp_id ='E01'") == "1") m << "500";
    if (value("select count ( *) from doc_item where r_e =1") == "1") m << "550";
    if (renamed(144)) m << "810";
    if (renamed(149)) m << "830";
    if (renamed(150)) m << "956";
    if (renamed(160)) m << "end";
    if (renamed(165)) m << "s2";
    sqlca.select_row("select count ( *) from sk_mem_info");
    if (sqlca.status == 0) m << "sk";
    if (schema()["sys"]["logon_serial"].type == "char(32)") m << "wide";
    return m.join(' ');
  }
};

TEST_P(GateTest, RunsTheBlocksItsVersionAdmits) {
  const GateCase& c = GetParam();
  prepare(c);
  EXPECT_EQ(run(c.step), c.outcome);
  EXPECT_EQ(marks(), QString::fromUtf8(c.marks));
  EXPECT_EQ(value("select bb from sys"), QString::fromUtf8(c.bb_after));
  EXPECT_TRUE(dialogs_.lines().empty());
}

// Step 1 at 7.80 and above runs on a database that step 1 has already upgraded, so only the
// renames and data statements of its blocks show; the after-step-1 schema has "wide" absent.
const GateCase kCases[] = {
    {Step::f_ver, "0", Outcome::returned_early, "", "0"},
    {Step::f_ver, nullptr, Outcome::returned_early, "", "<null>"},
    {Step::f_ver, "abc", Outcome::returned_early, "", "abc"},
    {Step::f_ver, "4.99", Outcome::done, "R 780 500 550 810 830 956 end", "9.691"},
    {Step::f_ver, "5.00", Outcome::done, "R 780 550 810 830 956 end", "9.691"},
    {Step::f_ver, "5.49", Outcome::done, "R 780 550 810 830 956 end", "9.691"},
    {Step::f_ver, "5.50", Outcome::done, "R 780 810 830 956 end", "9.691"},
    {Step::f_ver, "7.79", Outcome::done, "R 780 810 830 956 end", "9.691"},
    {Step::f_ver, "7.80", Outcome::done, "R 810 830 956 end", "9.691"},
    {Step::f_ver, "8.10", Outcome::done, "R 830 956 end", "9.691"},
    {Step::f_ver, "9.55", Outcome::done, "R 956 end", "9.691"},
    {Step::f_ver, "9.56", Outcome::done, "R end", "9.691"},
    {Step::f_ver, "9.69", Outcome::done, "R end", "9.691"},
    {Step::f_ver, "9.691", Outcome::returned_early, "", "9.691"},
    {Step::f_ver, "13.09", Outcome::returned_early, "", "13.09"},
    {Step::f_ver2, "0", Outcome::returned_early, "", "0"},
    {Step::f_ver2, nullptr, Outcome::returned_early, "", "<null>"},
    {Step::f_ver2, "9.69", Outcome::returned_early, "", "9.69"},
    {Step::f_ver2, "9.691", Outcome::done, "s2", "13.109"},
    {Step::f_ver2, "13.09", Outcome::done, "s2", "13.109"},
    {Step::f_ver2, "13.1", Outcome::returned_early, "", "13.1"},
    {Step::f_ver2, "13.109", Outcome::returned_early, "", "13.109"},
    {Step::f_ver3, "0", Outcome::returned_early, "sk", "0"},
    {Step::f_ver3, nullptr, Outcome::returned_early, "sk", "<null>"},
    {Step::f_ver3, "13.1", Outcome::done, "sk wide", "13.1"},
    {Step::f_ver3, "13.109", Outcome::done, "sk wide", "13.109"},
    {Step::f_ver3, "13.17", Outcome::returned_early, "sk", "13.17"},
    {Step::f_ver3, "16.10", Outcome::returned_early, "sk", "16.10"},
};

std::string case_name(const ::testing::TestParamInfo<GateCase>& info) {
  static const char* steps[] = {"f_ver", "f_ver2", "f_ver3"};
  std::string v = info.param.version ? info.param.version : "null";
  for (char& ch : v)
    if (ch == '.') ch = '_';
  return std::string(steps[static_cast<int>(info.param.step)]) + "_at_" + v;
}

INSTANTIATE_TEST_SUITE_P(Versions, GateTest, ::testing::ValuesIn(kCases), case_name);

}  // namespace
