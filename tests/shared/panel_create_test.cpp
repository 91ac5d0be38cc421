#include "shared/panel_create.h"

#include <gtest/gtest.h>

#include "db/transaction.h"
#include "shared/globals.h"
#include "shared/sp_attach_db.h"
#include "tests/shared/connect_counter.h"
#include "tests/shared/fake_panel.h"
#include "tests/shared/sqlite_file.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace {

const QString kNotServer =
    QStringLiteral("系统提示|不是SQL Server 7.00 or 2000数据库不能进行创建操作!");
const QString kCopyFailed = QStringLiteral("创建数据库失败|生成数据库文件失败！");
const QString kFailed = QStringLiteral("错误信息|创建数据库失败");
const QString kDone = QStringLiteral("系统提示|创建数据库成功!");

QString ask(const QString& name) {
  return QStringLiteral("系统提示|您真的要创建") + name + QStringLiteral("数据库吗？");
}

class PanelCreate : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::make_sqlite_file(tmp.file("base.mdf")));
    tmp.write("base.ldf", "template log");
    p.rb_2 = true;
    p.local("(embedded)", "salon", "sa", "", "");
  }
  void TearDown() override { sqlca.disconnect(); }

  // Whether the embedded server knows the database: a connection to it opens.
  bool attached(const QString& name) {
    sqlca.interface_id = "MSS Microsoft SQL Server 6.x";
    sqlca.server = "(embedded)";
    sqlca.db_name = name;
    sqlca.connect();
    const bool ok = sqlca.status == 0;
    sqlca.disconnect();
    return ok;
  }

  test::TempProgramFolder tmp;
  test::ScriptedDialogs dlg;
  test::fake_panel p;
};

TEST_F(PanelCreate, CopiesTheTemplatesAndAttachesThem) {
  p.local(" (embedded) ", " salon ", " sa ", " pw ", "");
  tmp.write("salon.mdf", "an old file of that name");
  dlg.answer(true);
  shared::cb_create_clicked(p);

  EXPECT_EQ(dlg.lines(), (std::vector<QString>{ask("salon"), kDone}));
  EXPECT_FALSE(dlg.shown()[0].default_yes);
  EXPECT_EQ(tmp.read("salon.mdf"), tmp.read("base.mdf"));
  EXPECT_EQ(tmp.read("salon.ldf"), "template log");
  EXPECT_EQ(sqlca.interface_id, "MSS Microsoft SQL Server 6.x");
  EXPECT_EQ(sqlca.server, "(embedded)");
  EXPECT_EQ(sqlca.login, "sa");
  EXPECT_EQ(sqlca.password, "pw");
  EXPECT_TRUE(sqlca.auto_commit);
  EXPECT_EQ(sqlca.connect_params, "");
  EXPECT_FALSE(sqlca.is_connected());
  EXPECT_TRUE(attached("salon"));
}

TEST_F(PanelCreate, LocalKindIsRefusedWithoutConnecting) {
  test::connect_counter connects;
  p.rb_2 = false;
  shared::cb_create_clicked(p);
  EXPECT_EQ(dlg.lines(), std::vector<QString>{kNotServer});
  EXPECT_EQ(dlg.shown()[0].kind, test::Shown::Failure);
  EXPECT_EQ(connects.count(), 0);
}

TEST_F(PanelCreate, LoginFailureCopiesNothing) {
  sqlca.set_fault_hook([](const QString& sql) -> std::optional<db::DbError> {
    if (sql.startsWith("CONNECT")) return db::DbError{18456, "Login failed for user 'sa'."};
    return std::nullopt;
  });
  shared::cb_create_clicked(p);
  sqlca.set_fault_hook({});
  EXPECT_EQ(dlg.lines(), std::vector<QString>{"|连接失败"});
  EXPECT_FALSE(QFile::exists(tmp.file("salon.mdf")));
  EXPECT_FALSE(sqlca.is_connected());
}

TEST_F(PanelCreate, AnswerNoLeavesTheFolderAsItWas) {
  dlg.answer(false);
  shared::cb_create_clicked(p);
  EXPECT_EQ(dlg.lines(), std::vector<QString>{ask("salon")});
  EXPECT_FALSE(QFile::exists(tmp.file("salon.mdf")));
  EXPECT_FALSE(QFile::exists(tmp.file("salon.ldf")));
  EXPECT_FALSE(sqlca.is_connected());
}

TEST_F(PanelCreate, MissingLogTemplateLeavesTheDataFileBehind) {
  QFile::remove(tmp.file("base.ldf"));
  dlg.answer(true);
  shared::cb_create_clicked(p);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{ask("salon"), kCopyFailed}));
  EXPECT_TRUE(QFile::exists(tmp.file("salon.mdf")));
  EXPECT_FALSE(QFile::exists(tmp.file("salon.ldf")));
  EXPECT_FALSE(sqlca.is_connected());
}

TEST_F(PanelCreate, NameAlreadyAttachedFailsAfterTheCopies) {
  dlg.answer(true);
  shared::cb_create_clicked(p);
  ASSERT_EQ(dlg.lines().back(), kDone);

  // The same name again: its files are held by the server, so the copy itself fails.
  dlg.clear();
  dlg.answer(true);
  shared::cb_create_clicked(p);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{ask("salon"), kCopyFailed}));

  // Another spelling of an attached name, with files of its own: the attach fails.
  dlg.clear();
  p.local("(embedded)", "SALON", "sa", "", "");
  dlg.answer(true);
  shared::cb_create_clicked(p);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{ask("SALON"), kFailed}));
  EXPECT_TRUE(QFile::exists(tmp.file("SALON.mdf")));
  EXPECT_TRUE(QFile::exists(tmp.file("SALON.ldf")));
}

TEST_F(PanelCreate, QuoteInTheNameStaysInsideItsLiteral) {
  p.local("(embedded)", "o'brien", "sa", "", "");
  dlg.answer(true);
  shared::cb_create_clicked(p);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{ask("o'brien"), kDone}));
  EXPECT_TRUE(attached("o'brien"));
}

TEST_F(PanelCreate, NamesThatCannotBeFileNamesAreRefusedBeforeAnything) {
  for (const char* name : {"", "   ", "../up", "a/b", "a\\b", "a..b", "a:b", "a*b", "a?b", "a\"b",
                           "a<b", "a>b", "a|b", "a\tb"}) {
    test::connect_counter connects;
    dlg.clear();
    p.local("(embedded)", QString::fromUtf8(name), "sa", "", "");
    shared::cb_create_clicked(p);
    EXPECT_EQ(dlg.lines(), std::vector<QString>{kFailed}) << name;
    EXPECT_EQ(connects.count(), 0) << name;
  }
  EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files).size(), 2);  // the two templates
}

TEST(SpAttachDb, DoublesEveryQuote) {
  EXPECT_EQ(shared::sp_attach_db("salon", "/p/salon.mdf", "/p/salon.ldf"),
            "sp_attach_db 'salon','/p/salon.mdf','/p/salon.ldf'");
  EXPECT_EQ(shared::sp_attach_db("o'b", "/it's/o'b.mdf", "/it's/o'b.ldf"),
            "sp_attach_db 'o''b','/it''s/o''b.mdf','/it''s/o''b.ldf'");
}

}  // namespace
