#pragma once
// A test with its own program folder, scripted boxes and a fixture database on the embedded
// server, plus the reads the upgrade tests compare with.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "kestrel/upgrade/step_context.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"
#include "tests/upgrade/golden_schema.h"
#include "tools/fixture.h"

namespace upgrade {
// Outcomes by name in test messages.
inline void PrintTo(Outcome o, std::ostream* os) { *os << outcome_name(o); }
}  // namespace upgrade

namespace test {

class UpgradeTest : public ::testing::Test {
 protected:
  ~UpgradeTest() override;

  // The base schema at the options' version, connected as the Start action connects.
  void build(const tools::FixtureOptions& options = {});
  // The base schema brought through step 1 from 4.00, then set to `version` (nullopt: null).
  void build_after_step1(const std::optional<QString>& version);
  void set_version(const std::optional<QString>& version);

  // The first column of the first row as text; "<null>" for a null, "<none>" without a row.
  QString value(const QString& sql);
  // Every row, its columns joined by "|" (nulls as "<null>").
  QStringList rows(const QString& sql);
  void exec(const QString& sql);  // expects success

  golden::Schema schema();
  // Every table's rows in a stable order, with the schema: equal snapshots, equal databases.
  QString snapshot();
  // Every object's definition (keys, indexes) and every table's rows.
  QString whole_database();
  // The first line where two texts differ, for a readable failure.
  static std::string first_difference(const QString& a, const QString& b);

  // The chain run once on the connected database, uninterrupted: every statement it issued.
  QStringList traced_chain_run();
  // For tests that run the chain hundreds of times: the temporary folders go to a memory file
  // system, which spares the syncs and proves the same (a killed process loses nothing it has
  // written, whatever the medium).
  static void use_memory_folders();

  // A copy of database `db_name`'s files beside them; its return over whatever a run left
  // (journals included). Both leave sqlca disconnected.
  void keep_pristine(const QString& db_name);
  void restore_pristine(const QString& db_name);

  TempProgramFolder folder_;
  ScriptedDialogs dialogs_;
};

}  // namespace test
