// The embedded server: master and sp_attach_db, connects, transactions, held files.
#include "db/embedded_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <ostream>

#include "db/master_catalog.h"
#include "db/sqlite_connection.h"
#include "shared/f_copy_file.h"
#include "tests/db/embedded_fixture.h"

namespace {

using test::EmbeddedServer;

struct AttachCase {
  const char* label;
  const char* statement;  // %1 is the program folder
  long code;              // 0: succeeds
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const AttachCase& c, std::ostream* os) { *os << c.label; }

class AttachTest : public ::testing::TestWithParam<AttachCase> {};

TEST_P(AttachTest, RegistersOnlyWhatSqlServerWould) {
  const AttachCase& c = GetParam();
  EmbeddedServer s;
  s.make_files(QStringLiteral("salon"));
  s.make_files(QStringLiteral("other"));
  s.folder.write(QStringLiteral("text.mdf"), "not a database");
  s.connect(QStringLiteral("master"));
  s.run(QStringLiteral("sp_attach_db 'taken','%1other.mdf','%1other.ldf'").arg(s.folder.path()));
  sqlca.execute_immediate(QString::fromUtf8(c.statement).arg(s.folder.path()));
  if (c.code == 0) {
    EXPECT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
  } else {
    EXPECT_EQ(sqlca.status, -1);
    EXPECT_EQ(sqlca.db_error_code, c.code) << sqlca.db_error_text.toStdString();
    EXPECT_FALSE(sqlca.db_error_text.isEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AttachTest,
    ::testing::Values(
        AttachCase{"plain", "sp_attach_db 'salon','%1salon.mdf','%1salon.ldf'", 0},
        AttachCase{"exec", "exec sp_attach_db N'salon', N'%1salon.mdf', N'%1salon.ldf'", 0},
        AttachCase{"bare_file_names", "sp_attach_db 'salon','salon.mdf','salon.ldf'", 0},
        AttachCase{"missing_data", "sp_attach_db 'salon','%1none.mdf','%1salon.ldf'", 5105},
        AttachCase{"missing_log", "sp_attach_db 'salon','%1salon.mdf','%1none.ldf'", 5105},
        AttachCase{"name_taken", "sp_attach_db 'TAKEN','%1salon.mdf','%1salon.ldf'", 1801},
        AttachCase{"file_taken", "sp_attach_db 'second','%1other.mdf','%1other.ldf'", 5120},
        AttachCase{"not_database", "sp_attach_db 'salon','%1text.mdf','%1salon.ldf'", 5172},
        AttachCase{"undoubled_quote", "sp_attach_db 'it's','%1salon.mdf','%1salon.ldf'", 170},
        AttachCase{"two_files_only", "sp_attach_db 'salon','%1salon.mdf'", 201},
        AttachCase{"empty_name", "sp_attach_db '','%1salon.mdf','%1salon.ldf'", 15010},
        // Every server has these; master is the embedded server's catalog itself.
        AttachCase{"master", "sp_attach_db 'master','%1salon.mdf','%1salon.ldf'", 1801},
        AttachCase{"MASTER", "sp_attach_db 'MASTER','%1salon.mdf','%1salon.ldf'", 1801},
        AttachCase{"model", "sp_attach_db 'Model','%1salon.mdf','%1salon.ldf'", 1801},
        AttachCase{"msdb", "sp_attach_db 'msdb','%1salon.mdf','%1salon.ldf'", 1801},
        AttachCase{"tempdb", "exec sp_attach_db N'TempDB','%1salon.mdf','%1salon.ldf'", 1801},
        AttachCase{"master_like", "sp_attach_db 'master2','%1salon.mdf','%1salon.ldf'", 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(EmbeddedServer, SystemDatabaseNamesAreRefusedAsSqlServerDoes) {
  EmbeddedServer s;
  s.make_files(QStringLiteral("salon"));
  s.connect(QStringLiteral("master"));
  sqlca.execute_immediate(
      QStringLiteral("sp_attach_db 'MASTER','%1salon.mdf','%1salon.ldf'").arg(s.folder.path()));
  EXPECT_EQ(sqlca.db_error_text,
            "Database 'MASTER' already exists. Choose a different database name.");
  const QString catalog = db::master_catalog_path(s.folder.path());
  sqlca.disconnect();
  s.connect(QStringLiteral("MASTER"));
  EXPECT_EQ(sqlca.status, 0) << "master is still the catalog";
  EXPECT_FALSE(db::find_database(s.folder.path(), QStringLiteral("master")).has_value());
  EXPECT_TRUE(QFile::exists(catalog));
}

TEST(EmbeddedServer, QuoteDoubledNameIsAttachedAndConnected) {
  EmbeddedServer s;
  s.make_files(QStringLiteral("q"));
  s.connect(QStringLiteral("master"));
  s.run(QStringLiteral("sp_attach_db 'it''s','%1q.mdf','%1q.ldf'").arg(s.folder.path()));
  sqlca.disconnect();
  s.connect(QStringLiteral("it's"));
  EXPECT_EQ(sqlca.status, 0) << sqlca.db_error_text.toStdString();
}

TEST(EmbeddedServer, ConnectsToMasterWithAnyLoginAndToAttachedDatabases) {
  EmbeddedServer s;
  sqlca.login = QStringLiteral("nobody");
  s.create_database(QStringLiteral("velmo41"));
  s.run(QStringLiteral("create table t (a int)"));
  s.run(QStringLiteral("insert into t values (7)"));
  sqlca.disconnect();
  // Names compare without regard to case, as on SQL Server.
  s.connect(QStringLiteral("VELMO41"));
  EXPECT_EQ(s.value(QStringLiteral("select a from t")), QStringLiteral("7"));
}

TEST(EmbeddedServer, UnknownDatabaseFailsWithItsName) {
  EmbeddedServer s;
  s.connect(QStringLiteral("velmo40"));
  EXPECT_EQ(sqlca.status, -1);
  EXPECT_EQ(sqlca.db_error_code, 911);
  EXPECT_TRUE(sqlca.db_error_text.contains(QStringLiteral("velmo40")));
  EXPECT_FALSE(sqlca.is_connected());
}

TEST(EmbeddedServer, VanishedDataFileFailsAndIsNotCreated) {
  EmbeddedServer s;
  s.create_database(QStringLiteral("gone"));
  sqlca.disconnect();
  QFile::remove(s.folder.file(QStringLiteral("gone.mdf")));
  s.connect(QStringLiteral("gone"));
  EXPECT_EQ(sqlca.status, -1);
  EXPECT_FALSE(QFile::exists(s.folder.file(QStringLiteral("gone.mdf"))));
}

TEST(EmbeddedServer, AttachedFilesMayNotBeOverwritten) {
  EmbeddedServer s;
  s.create_database(QStringLiteral("velmo41"));
  sqlca.disconnect();
  s.folder.write(QStringLiteral("base.mdf"), "template");
  const QByteArray before = s.folder.read(QStringLiteral("velmo41.mdf"));
  EXPECT_EQ(f_copy_file(s.folder.file(QStringLiteral("base.mdf")),
                        s.folder.file(QStringLiteral("velmo41.mdf"))),
            -1);
  EXPECT_EQ(f_copy_file(s.folder.file(QStringLiteral("base.mdf")),
                        s.folder.file(QStringLiteral("velmo41.ldf"))),
            -1);
  EXPECT_EQ(s.folder.read(QStringLiteral("velmo41.mdf")), before);
  EXPECT_EQ(f_copy_file(s.folder.file(QStringLiteral("base.mdf")),
                        s.folder.file(QStringLiteral("other.mdf"))),
            0);
}

TEST(EmbeddedServer, AttachedFileThatIsGoneMayBeCopiedAgainButTheNameStaysTaken) {
  EmbeddedServer s;
  s.create_database(QStringLiteral("velmo41"));
  sqlca.disconnect();
  QFile::remove(s.folder.file(QStringLiteral("velmo41.mdf")));
  s.make_files(QStringLiteral("base"));
  EXPECT_EQ(f_copy_file(s.folder.file(QStringLiteral("base.mdf")),
                        s.folder.file(QStringLiteral("velmo41.mdf"))),
            0);
  s.connect(QStringLiteral("master"));
  sqlca.execute_immediate(QStringLiteral("sp_attach_db 'velmo41','%1velmo41.mdf','%1velmo41.ldf'")
                              .arg(s.folder.path()));
  EXPECT_EQ(sqlca.db_error_code, 1801);
  sqlca.disconnect();
  s.connect(QStringLiteral("velmo41"));
  EXPECT_EQ(sqlca.status, 0) << "the registered name now opens the copied file";
}

TEST(EmbeddedServer, AutoCommitOnTakesEffectAtOnce) {
  EmbeddedServer s;
  s.create_database(QStringLiteral("d"), true);
  s.run(QStringLiteral("create table t (a int)"));
  s.run(QStringLiteral("insert into t values (1)"));
  s.run(QStringLiteral("rollback"));
  sqlca.rollback();
  EXPECT_EQ(sqlca.status, 0);
  EXPECT_EQ(s.value(QStringLiteral("select count(*) from t")), QStringLiteral("1"));
}

TEST(EmbeddedServer, AutoCommitOffHoldsWorkUntilCommitOrRollback) {
  EmbeddedServer s;
  s.create_database(QStringLiteral("d"), false);
  s.run(QStringLiteral("create table t (a int)"));
  sqlca.commit();
  s.run(QStringLiteral("insert into t values (1)"));
  db::Transaction other;
  other.interface_id = sqlca.interface_id;
  other.server = sqlca.server;
  other.db_name = QStringLiteral("d");
  other.auto_commit = true;
  other.connect();
  ASSERT_EQ(other.status, 0);
  auto count = [&] {
    const auto row = other.select_row(QStringLiteral("select count(*) from t"));
    return row.empty() ? -1 : row[0].to_integer();
  };
  EXPECT_EQ(count(), 0);
  sqlca.rollback();
  EXPECT_EQ(s.value(QStringLiteral("select count(*) from t")), QStringLiteral("0"));
  s.run(QStringLiteral("insert into t values (2)"));
  s.run(QStringLiteral("commit tran"));
  EXPECT_EQ(count(), 1);
  // Nothing open: both are no-ops that succeed.
  sqlca.commit();
  EXPECT_EQ(sqlca.status, 0);
  sqlca.rollback();
  EXPECT_EQ(sqlca.status, 0);
}

// The catalog belongs to its folder.
class Catalog : public ::testing::Test {
 protected:
  Catalog() { s.create_database(QStringLiteral("salon")); }
  ~Catalog() override { db::set_embedded_server_folder(s.folder.path()); }
  // The catalog's rows as stored: "name|filename|logname".
  QStringList stored() const {
    QStringList out;
    db::SqliteConnection db;
    db.open(db::master_catalog_path(s.folder.path()).toUtf8().constData());
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db.get(),
                       "select name || '|' || filename || '|' || logname from sysdatabases"
                       " order by name",
                       -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
      out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return out;
  }
  void rewrite(const QString& data) const {
    db::SqliteConnection db;
    db.open(db::master_catalog_path(s.folder.path()).toUtf8().constData());
    sqlite3_exec(
        db.get(),
        QStringLiteral("update sysdatabases set filename = '%1'").arg(data).toUtf8().constData(),
        nullptr, nullptr, nullptr);
  }
  QString connects_to(const QString& name) const {
    s.connect(name);
    const QString got = sqlca.status == 0 ? s.value(QStringLiteral("pragma user_version"))
                                          : QString::number(sqlca.db_error_code);
    sqlca.disconnect();
    return got;
  }

  EmbeddedServer s;
};

TEST_F(Catalog, FilesInsideTheFolderAreRecordedRelativeToItOthersAsTheyStand) {
  sqlca.disconnect();
  const QString outside = QDir::cleanPath(s.folder.path() + QStringLiteral("../outside.mdf"));
  QFile::copy(s.folder.file(QStringLiteral("salon.mdf")), outside);
  s.folder.write(QStringLiteral("far.ldf"), "log");
  s.connect(QStringLiteral("master"));
  s.run(QStringLiteral("sp_attach_db 'far','%1','%2'").arg(outside, s.folder.file("far.ldf")));
  sqlca.disconnect();
  EXPECT_EQ(stored(), (QStringList{"far|" + db::comparable_path(outside) + "|far.ldf",
                                   "salon|salon.mdf|salon.ldf"}));
}

TEST_F(Catalog, ACopiedFolderOpensItsOwnFiles) {
  sqlca.disconnect();
  const QString original = QDir::cleanPath(s.folder.path());
  const QString copy = original + QStringLiteral("-copy/");
  ASSERT_EQ(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), original, copy}), 0);
  const QByteArray before = s.folder.read(QStringLiteral("salon.mdf"));
  db::set_embedded_server_folder(copy);
  s.connect(QStringLiteral("salon"));
  s.run(QStringLiteral("pragma user_version = 7"));
  sqlca.disconnect();
  EXPECT_EQ(connects_to(QStringLiteral("salon")), QStringLiteral("7"));
  EXPECT_EQ(db::find_database(copy, QStringLiteral("salon"))->data_file,
            db::comparable_path(copy + QStringLiteral("salon.mdf")));
  EXPECT_TRUE(db::catalog_holds_file(copy, copy + QStringLiteral("salon.ldf")));
  EXPECT_FALSE(db::catalog_holds_file(copy, s.folder.file(QStringLiteral("salon.ldf"))));
  EXPECT_EQ(s.folder.read(QStringLiteral("salon.mdf")), before);
}

// As catalogs of earlier releases wrote every entry.
TEST_F(Catalog, AnAbsoluteEntryNamesItsFileAsItStands) {
  sqlca.disconnect();
  rewrite(db::comparable_path(s.folder.file(QStringLiteral("salon.mdf"))));
  EXPECT_EQ(connects_to(QStringLiteral("salon")), QStringLiteral("1"));
  EXPECT_TRUE(db::catalog_holds_file(s.folder.path(), s.folder.file(QStringLiteral("salon.mdf"))));
  s.folder.write(QStringLiteral("again.ldf"), "log");
  s.connect(QStringLiteral("master"));
  sqlca.execute_immediate(QStringLiteral("sp_attach_db 'again','salon.mdf','again.ldf'"));
  EXPECT_EQ(sqlca.db_error_code, 5120) << "the same file in another form";
}

// A folder moved from where its catalog was written.
TEST_F(Catalog, AnEntryOfAVanishedFolderNamesTheFileOfThatNameHere) {
  sqlca.disconnect();
  rewrite(QStringLiteral("/nonexistent-salon-folder/salon.mdf"));
  EXPECT_EQ(connects_to(QStringLiteral("salon")), QStringLiteral("1"));
  QFile::remove(s.folder.file(QStringLiteral("salon.mdf")));
  EXPECT_EQ(connects_to(QStringLiteral("salon")), QStringLiteral("946"));
  EXPECT_FALSE(QFile::exists(QStringLiteral("/nonexistent-salon-folder/salon.mdf")));
}

// A file missing from a folder that is still there (a drive's folder, a backup) is missing: the
// file of that name here may be another database.
TEST_F(Catalog, AFileMissingFromAFolderStillThereIsNotLookedForHere) {
  sqlca.disconnect();
  const QString elsewhere = s.folder.path() + QStringLiteral("elsewhere");
  ASSERT_TRUE(QDir().mkpath(elsewhere));
  rewrite(elsewhere + QStringLiteral("/salon.mdf"));
  EXPECT_EQ(connects_to(QStringLiteral("salon")), QStringLiteral("946"));
}

TEST_F(Catalog, DetachForgetsTheNameAndKeepsTheFiles) {
  s.connect(QStringLiteral("master"));
  s.run(QStringLiteral("exec sp_detach_db N'SALON'"));
  sqlca.execute_immediate(QStringLiteral("sp_detach_db 'salon'"));
  EXPECT_EQ(sqlca.db_error_code, 15010);
  sqlca.execute_immediate(QStringLiteral("sp_detach_db 'salon','more'"));
  EXPECT_EQ(sqlca.db_error_code, 201);
  sqlca.disconnect();
  EXPECT_EQ(connects_to(QStringLiteral("salon")), QStringLiteral("911"));
  EXPECT_EQ(stored(), QStringList{});
  EXPECT_TRUE(QFile::exists(s.folder.file(QStringLiteral("salon.mdf"))));
  s.connect(QStringLiteral("master"));
  s.run(QStringLiteral("sp_attach_db 'salon','salon.mdf','salon.ldf'"));
}

}  // namespace
