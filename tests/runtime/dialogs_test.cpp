#include "runtime/dialogs.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_dialogs.h"

namespace {

TEST(Dialogs, RuntimeFilterBecomesCaseBlindQtFilter) {
  EXPECT_EQ(rt::qt_name_filters("DB Files (*.DB),*.DB"), QStringList{"DB Files (*.[dD][bB])"});
  EXPECT_EQ(rt::qt_name_filters("Pictures,*.bmp;*.jpg,All,*.*"),
            (QStringList{"Pictures (*.[bB][mM][pP] *.[jJ][pP][gG])", "All (*.*)"}));
}

TEST(Dialogs, ScriptRecordsAndAnswers) {
  test::ScriptedDialogs script;
  script.answer(true);
  script.choose_file("/x/y/velmo40.db");
  rt::dialogs().notice("t", "n");
  EXPECT_TRUE(rt::dialogs().question("q", "?", false));
  rt::FileChoice c = rt::dialogs().open_file("请选择数据库路径", "DB", "DB Files (*.DB),*.DB");
  EXPECT_EQ(c.result, 1);
  EXPECT_EQ(c.name, "velmo40.db");
  EXPECT_EQ(rt::dialogs().open_file("a", "b", "c").result, 0);
  ASSERT_EQ(script.shown().size(), 4u);
  EXPECT_FALSE(script.shown()[1].default_yes);
  EXPECT_EQ(script.lines()[0], "t|n");
}

}  // namespace
