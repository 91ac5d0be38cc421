// The embedded server: master and sp_attach_db, connects, transactions, held files.
#include <gtest/gtest.h>

#include <QFile>
#include <ostream>

#include "db/master_catalog.h"
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

}  // namespace
