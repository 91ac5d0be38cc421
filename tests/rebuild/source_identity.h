#pragma once
// kestrel's real window in a program folder after a first completed rebuild: old database
// velmo40 at 4.00 with rows (and the blank keys the import drops), template at 4.00; and the
// helpers that compare what a Start left with what was there before it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>

#include "db/master_catalog.h"
#include "db/transaction.h"
#include "kestrel/w_main.h"
#include "runtime/codepage.h"
#include "shared/globals.h"
#include "shared/sp_attach_db.h"
#include "tests/rebuild/carried_contents.h"
#include "tests/rebuild/demo_folder.h"
#include "tests/rebuild/server_run.h"
#include "tests/rebuild/sqlite_db.h"
#include "tests/support/child_process.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"
#include "tools/fixture.h"

namespace source_test {

using Lines = std::vector<QString>;
using Sums = std::map<QString, QByteArray>;

inline const QString kDone = QStringLiteral("系统提示|数据库处理完毕!");

// Every file of a folder but the log, by name: what a run that changes nothing leaves as it was.
inline Sums files_of(const QString& folder) {
  Sums out;
  for (const QString& f : QDir(folder).entryList(QDir::Files | QDir::Hidden))
    if (f != QLatin1String("kv_log.txt")) out[f] = test::checksum(folder + f);
  return out;
}

inline QStringList text_files(const QString& folder) {
  return QDir(folder).entryList({"tab_back_*.txt"}, QDir::Files);
}

inline QStringList log_lines(const QString& folder) {
  QFile f(folder + "kv_log.txt");
  if (!f.open(QIODevice::ReadOnly)) return {};
  return rt::from_cp936(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
}

inline void run_on_master(const QString& sql) {
  test::ServerRun::connect("master");
  sqlca.execute_immediate(sql);
  EXPECT_EQ(sqlca.status, 0) << sql.toStdString() << ": " << sqlca.db_error_text.toStdString();
  sqlca.disconnect();
}

// A copy of velmo40 changed by `sql`, attached as `name`.
inline void attach_variant(const QString& name, const char* sql) {
  ASSERT_TRUE(QFile::copy(gs_apppath + "velmo40.mdf", gs_apppath + name + ".mdf"));
  ASSERT_TRUE(QFile::copy(gs_apppath + "velmo40.ldf", gs_apppath + name + ".ldf"));
  test::sqlite_file(gs_apppath + name + ".mdf", sql);
  run_on_master(shared::sp_attach_db(name, gs_apppath + name + ".mdf", gs_apppath + name + ".ldf"));
}

// The old database as a later release of the salon program leaves it: its version, a column
// with values and a table with rows that this program's schema lacks.
inline QByteArray later_release(const char* bb) {
  return QString(
             "update sys set bb = '%1';"
             "alter table mem_info add wx_openid varchar(64) null;"
             "update mem_info set wx_openid = 'wx-' || mem_id;"
             "create table mem_coupon (coupon_id varchar(20) not null primary key, "
             "mem_id varchar(20) null, amount numeric(16,2) null);"
             "with recursive n(i) as (select 1 union all select i + 1 from n where i < 50) "
             "insert into mem_coupon select 'C' || i, (select min(mem_id) from mem_info), "
             "i * 1.5 from n;")
      .arg(bb)
      .toUtf8();
}

class SourceIdentity : public ::testing::Test {
 protected:
  void SetUp() override {
    test::build_demo_folder();
    cols = test::carried_columns("velmo40");
    expected = test::carried_rows("velmo40", cols);
    ASSERT_EQ(test::drop_blank_keys(expected, cols), 5);
    ASSERT_EQ(start(), Lines{kDone});
    ASSERT_EQ(test::first_difference(expected, test::carried_rows("velmo41", cols)), "");
  }
  ~SourceIdentity() override { sqlca.disconnect(); }

  // One press of Start on kestrel's window in the program folder; the boxes it showed.
  Lines start() {
    dialogs.clear();
    kestrel::w_main w;
    w.open();
    w.cb_test->triggerevent_clicked();
    return dialogs.lines();
  }
  // Rewrites every entry of the catalog as `folder` + its file name, as a catalog of an
  // earlier release written in `folder` records it.
  void catalog_written_in(const QString& folder) {
    test::sqlite_file(gs_apppath + "master.sqlite",
                      QString("update sysdatabases set filename = '%1' || filename, "
                              "logname = '%1' || logname")
                          .arg(folder)
                          .toUtf8()
                          .constData());
  }

  test::TempProgramFolder dir;
  test::ScriptedDialogs dialogs;
  test::Columns cols;
  test::Contents expected;
};

}  // namespace source_test
