#include "shared/panel_create.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

#include "db/transaction.h"
#include "runtime/codepage.h"
#include "shared/globals.h"
#include "shared/sp_attach_db.h"
#include "tests/shared/connect_counter.h"
#include "tests/shared/fake_panel.h"
#include "tests/shared/sqlite_file.h"
#include "tests/support/fake_tds_server.h"
#include "tests/support/fs_faults.h"
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

  // The files set aside in the folder, by name.
  QStringList replaced() const {
    return QDir(tmp.path()).entryList({"*.replaced-*"}, QDir::Files, QDir::Name);
  }
  QStringList log_lines() const {
    return rt::from_cp936(tmp.read("kv_log.txt")).split("\r\n", Qt::SkipEmptyParts);
  }

  test::TempProgramFolder tmp;
  test::ScriptedDialogs dlg;
  test::fake_panel p;
};

const QRegularExpression kStamp(QStringLiteral("^\\d{8}-\\d{6}$"));

TEST_F(PanelCreate, CopiesTheTemplatesAndAttachesThem) {
  p.local(" (embedded) ", " salon ", " sa ", " pw ", "");
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
  EXPECT_TRUE(replaced().isEmpty());
  EXPECT_FALSE(QFile::exists(tmp.file("kv_log.txt")));
}

// Files of the new name that are not the templates (a detached database, a restored backup)
// are set aside under one dated name, never overwritten, and the log names them. A file equal
// to its template is simply copied over.
TEST_F(PanelCreate, WhatTheTargetsHeldIsSetAsideFirst) {
  tmp.write("salon.mdf", "an old file of that name");
  tmp.write("salon.mdf-journal", "its journal");
  tmp.write("salon.ldf", "template log");
  dlg.answer(true);
  shared::cb_create_clicked(p);

  EXPECT_EQ(dlg.lines(), (std::vector<QString>{ask("salon"), kDone}));
  ASSERT_EQ(replaced().size(), 2) << replaced().join(' ').toStdString();
  const QString aside = replaced()[0];
  EXPECT_TRUE(aside.startsWith("salon.mdf.replaced-"));
  EXPECT_TRUE(kStamp.match(aside.mid(QString("salon.mdf.replaced-").size())).hasMatch())
      << aside.toStdString();
  EXPECT_EQ(replaced()[1], aside + "-journal");
  EXPECT_EQ(tmp.read(aside), "an old file of that name");
  EXPECT_EQ(tmp.read(aside + "-journal"), "its journal");
  EXPECT_FALSE(QFile::exists(tmp.file("salon.mdf-journal")));
  EXPECT_EQ(tmp.read("salon.mdf"), tmp.read("base.mdf"));
  EXPECT_EQ(tmp.read("salon.ldf"), "template log");
  EXPECT_TRUE(attached("salon"));
  const QStringList log = log_lines();
  ASSERT_EQ(log.size(), 2);
  EXPECT_TRUE(log[0].startsWith("CREATE: ")) << log[0].toStdString();
  EXPECT_TRUE(log[0].endsWith("-->salon.mdf-journal属于salon.mdf,已改名为" + aside + "-journal"))
      << log[0].toStdString();
  EXPECT_TRUE(log[1].endsWith("-->salon.mdf不是base.mdf的副本,已改名为" + aside))
      << log[1].toStdString();
}

// The log names only what was renamed: nothing when a refused rename was undone; a journal its
// rename back left under the new name, as such; a journal without its data file alone.
TEST_F(PanelCreate, TheLogNamesOnlyWhatWasRenamed) {
  const QRegularExpression aside_journal("salon\\.mdf\\.replaced-\\d{8}-\\d{6}-journal");
  struct Case {
    const char* what;
    bool data_file, refuse_data_rename, refuse_rename_back;
    QString box;
    QStringList log;  // each line after its date, the set-aside name as <aside>
    const QStringList folder;
  } cases[] = {
      {"data file refused, undone",
       true,
       true,
       false,
       kCopyFailed,
       {},
       {"salon.mdf", "salon.mdf-journal"}},
      {"data file refused, journal not renamed back",
       true,
       true,
       true,
       kCopyFailed,
       {"salon.mdf-journal已改名为<aside>,未能改回原名"},
       {"salon.mdf", "<aside>"}},
      {"a journal alone",
       false,
       false,
       false,
       kDone,
       {"salon.mdf-journal属于salon.mdf,已改名为<aside>"},
       {"salon.ldf", "salon.mdf", "<aside>"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QDir folder_now(tmp.path());
    for (const QString& f : folder_now.entryList({"salon*", "kv_log.txt"}, QDir::Files))
      ASSERT_TRUE(folder_now.remove(f));
    if (c.data_file) tmp.write("salon.mdf", "an old file of that name");
    tmp.write("salon.mdf-journal", "its journal");
    dlg.clear();
    dlg.answer(true);
    {
      test::RenameFault fault([&](const QString& from, const QString&) {
        const bool refused = (c.refuse_data_rename && from == tmp.file("salon.mdf")) ||
                             (c.refuse_rename_back && aside_journal.match(from).hasMatch());
        return refused ? EACCES : 0;
      });
      shared::cb_create_clicked(p);
    }
    EXPECT_EQ(dlg.lines(), (std::vector<QString>{ask("salon"), c.box}));
    QStringList log;
    for (const QString& line :
         rt::from_cp936(tmp.read("kv_log.txt")).split("\r\n", Qt::SkipEmptyParts))
      log << line.mid(line.indexOf("-->") + 3).replace(aside_journal, "<aside>");
    EXPECT_EQ(log, c.log);
    QStringList folder = QDir(tmp.path()).entryList({"salon*"}, QDir::Files, QDir::Name);
    EXPECT_EQ(folder.replaceInStrings(aside_journal, "<aside>"), c.folder);
    sqlca.disconnect();
  }
}

// A target that cannot be set aside (its new name would be too long for the file system) is
// left as it was and the create stops.
TEST_F(PanelCreate, ATargetThatCannotBeSetAsideStopsTheCreate) {
  const QString longest(240, 'n');
  tmp.write(longest + ".mdf", "a database of that name");
  p.local("(embedded)", longest, "sa", "", "");
  dlg.answer(true);
  shared::cb_create_clicked(p);
  EXPECT_EQ(dlg.lines(), (std::vector<QString>{ask(longest), kCopyFailed}));
  EXPECT_EQ(tmp.read(longest + ".mdf"), "a database of that name");
  EXPECT_FALSE(QFile::exists(tmp.file(longest + ".ldf")));
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

namespace {

// The create logs in to master with the user and password as typed, on the server named.
TEST_F(PanelCreate, LogsInToMasterWithTheTypedValues) {
  test::IsolatedFreeTds freetds;
  test::FakeTdsServer named, other;
  const QString password = QStringLiteral("x};Port=%1").arg(other.port());
  p.local(QStringLiteral("127.0.0.1,%1").arg(named.port()), "salon", "用户};", password, password);
  shared::cb_create_clicked(p);
  EXPECT_EQ(dlg.lines(), std::vector<QString>{"|连接失败"});
  EXPECT_EQ(named.sole_login(), (QStringList{"用户};", password, "master", ""}));
  EXPECT_EQ(other.connections(), 0);
  EXPECT_FALSE(QFile::exists(tmp.file("salon.mdf")));
}

}  // namespace
