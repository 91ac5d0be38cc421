// plover and kestrel on one program folder: plover attaches the old database velmo40 and
// saves the settings; kestrel opens on them and its Start builds velmo41 from velmo40.
#include <gtest/gtest.h>

#include <QFile>

#include "db/transaction.h"
#include "kestrel/rebuild/start_action.h"
#include "kestrel/upgrade/chain.h"
#include "kestrel/w_main.h"
#include "plover/w_main.h"
#include "shared/globals.h"
#include "tests/rebuild/fake_store.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"
#include "tools/fixture.h"

namespace {

QString value(const QString& db_name, const QString& sql) {
  tools::connect_fixture(db_name);
  const auto row = sqlca.select_row(sql);
  const bool ok = sqlca.status == 0 && !row.empty();
  sqlca.disconnect();
  return ok ? row[0].to_text() : QStringLiteral("<none>");
}

class AttachThenRebuild : public ::testing::Test {
 protected:
  // plover attaches velmo40 and saves the settings; kestrel's window opens on them.
  void SetUp() override {
    set_program_folder(maker.path());
    ASSERT_EQ(tools::build_fixture({QStringLiteral("velmo40"), QStringLiteral("16.05")}), "");
    ASSERT_EQ(tools::build_fixture({QStringLiteral("base"), QStringLiteral("4.00")}), "");
    for (const char* f : {"velmo40.mdf", "velmo40.ldf", "base.mdf", "base.ldf"})
      ASSERT_TRUE(QFile::copy(maker.file(f), dir.file(f))) << f;
    set_program_folder(dir.path());

    plover.open();
    plover.rb_2->setChecked(true);
    plover.sle_server_name->setText("(embedded)");
    plover.sle_database_name->setText("velmo40");
    plover.sle_user_name->setText("sa");
    dialogs.answer(true);
    plover.uo_1->triggerevent_clicked();
    dialogs.answer(true);
    plover.cb_save->triggerevent_clicked();
    ASSERT_EQ(dialogs.lines(), (std::vector<QString>{"系统提示|您真的要附加velmo40数据库吗？",
                                                     "系统提示|附加数据库成功!",
                                                     "操作提示|真的要保存刚才的修改吗?"}));
    EXPECT_EQ(value("velmo40", "select bb from sys where id = 1"), "16.05");

    dialogs.clear();
    kestrel.open();
    EXPECT_EQ(kestrel.sle_database_name->text(), "velmo40");
    EXPECT_TRUE(kestrel.rb_2->isChecked());
  }
  void TearDown() override { sqlca.disconnect(); }

  // The database files are made in a folder where the server holds them attached, then
  // brought, not attached, into the program folder.
  test::TempProgramFolder maker;
  test::TempProgramFolder dir;
  test::ScriptedDialogs dialogs;
  plover::w_main plover;
  kestrel::w_main kestrel;
};

// kestrel's Start as the program runs it: the tab_back definitions, the chain, f_conect.
TEST_F(AttachThenRebuild, KestrelsStartBuildsVelmo41FromTheAttachedDatabase) {
  kestrel.cb_test_clicked();
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{"系统提示|数据库处理完毕!"});
  EXPECT_EQ(kestrel.st_11->text(), "复制完成!");
  const QString members = QStringLiteral("select count ( * ) from mem_info");
  EXPECT_EQ(value("velmo41", members), value("velmo40", members));
  EXPECT_NE(value("velmo41", members), "0");
  EXPECT_EQ(value("velmo41", "select count ( * ) from sys where jhzd is null"), "1")
      << "velmo41 has the upgraded schema and the old database's version row";
}

// The same with a store double: every exported table comes back through the import.
TEST_F(AttachThenRebuild, WithAStoreDoubleEveryTableComesBack) {
  test::StoreScript store;
  for (int n = 1; n <= gi_tables; ++n)
    if (n != 2) store.old_rows[n] = {QStringLiteral("R%1\tE%1").arg(n)};
  int steps = 0;
  rebuild::StartAction(kestrel, {test::fake_store_factory(store),
                                 [&] {
                                   const upgrade::Outcome o = upgrade::run_chain(&steps);
                                   return o == upgrade::Outcome::done ||
                                          o == upgrade::Outcome::returned_early;
                                 },
                                 nullptr})
      .clicked();

  EXPECT_EQ(dialogs.lines().back(), "系统提示|数据库处理完毕!")
      << dialogs.lines().front().toStdString();
  EXPECT_EQ(steps, 10);
  EXPECT_EQ(store.stored.size(), static_cast<size_t>(gi_tables - 1))
      << "every exported table came back";
  EXPECT_EQ(kestrel.st_11->text(), "复制完成!");
  // The chain gave velmo41 the column its seventh step adds, and the emptying took the rows
  // (the double store stores none back).
  EXPECT_EQ(value("velmo41", "select count ( * ) from sys where jhzd is null"), "0");
  EXPECT_EQ(value("velmo40", "select count ( * ) from sys where jhzd is null"), "<none>");
  EXPECT_EQ(value("velmo40", "select bb from sys where id = 1"), "16.05") << "the old one stays";
}

}  // namespace
