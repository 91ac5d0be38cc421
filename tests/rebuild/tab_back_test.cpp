#include <gtest/gtest.h>

#include <set>

#include "db/table_definitions.h"
#include "kestrel/rebuild/del_b_list.h"
#include "kestrel/rebuild/key_groups.h"
#include "kestrel/rebuild/tab_back_tables.h"
#include "shared/globals.h"
#include "tests/rebuild/upgraded_template.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"

namespace {

using rebuild::KeyGroup;

TEST(TabBack, OneNumberForEachEmptiedTableAndNoneForTwo) {
  std::set<std::string> emptied;
  for (const auto& e : rebuild::del_b_list()) emptied.insert(e.table);
  std::set<std::string> numbered;
  for (int n = 1; n <= gi_tables; ++n) {
    const rebuild::TabBackTable* t = rebuild::tab_back_table(n);
    if (n == 2) {
      EXPECT_EQ(t, nullptr);
      continue;
    }
    ASSERT_NE(t, nullptr) << n;
    EXPECT_TRUE(numbered.insert(t->table).second) << t->table << " twice";
  }
  EXPECT_EQ(numbered, emptied);
}

TEST(TabBack, FirstColumnsFitTheImportKeys) {
  for (const auto& t : rebuild::tab_back_tables()) {
    const auto cols = rebuild::declared_columns(t);
    const db::ColumnType first = rebuild::column_type(cols.front().type);
    switch (rebuild::key_group(t.n)) {
      case KeyGroup::number:
        EXPECT_TRUE(first == db::ColumnType::Integer || first == db::ColumnType::Decimal) << t.n;
        break;
      case KeyGroup::text:
        EXPECT_EQ(first, db::ColumnType::Text) << t.n;
        break;
      case KeyGroup::emp_id_text: {
        const auto it = std::find_if(cols.begin(), cols.end(),
                                     [](const auto& c) { return c.name == "emp_id"; });
        ASSERT_NE(it, cols.end());
        EXPECT_EQ(rebuild::column_type(it->type), db::ColumnType::Text);
        break;
      }
      case KeyGroup::none:
        break;
    }
  }
}

TEST(TabBack, RegisteredDefinitionsStoreIntoTheirOwnTable) {
  rebuild::register_tab_back_definitions();
  for (const auto& t : rebuild::tab_back_tables()) {
    const db::TableDefinition* d =
        db::find_table_definition(QStringLiteral("tab_back_%1").arg(t.n));
    ASSERT_NE(d, nullptr) << t.n;
    EXPECT_EQ(d->update_table, t.table);
    const auto declared = rebuild::declared_columns(t);
    ASSERT_EQ(d->columns.size(), declared.size());
    // An import rounds a decimal to the places its column declares: "decimal(16, 2)" 2.
    for (size_t i = 0; i < declared.size(); ++i) {
      if (d->columns[i].type != db::ColumnType::Decimal) continue;
      const QString places = declared[i].type.section(QLatin1Char(','), 1).chopped(1).trimmed();
      EXPECT_EQ(d->columns[i].scale, places.toInt())
          << t.table << " " << declared[i].type.toStdString();
    }
  }
}

// Both ways: each definition names a table of the upgraded template with exactly its columns,
// in its order, and each table of the upgraded template has a definition, so no table's rows
// are left behind by a rebuild.
TEST(TabBack, DefinitionsAndTheUpgradedTemplateMatch) {
  test::TempProgramFolder dir;
  test::ScriptedDialogs dialogs;
  const auto schema = test::upgraded_template_schema();
  std::set<QString> defined;
  for (const auto& t : rebuild::tab_back_tables()) {
    QStringList ours;
    for (const auto& c : rebuild::declared_columns(t)) ours << c.name + " " + c.type;
    ASSERT_TRUE(schema.count(t.table)) << t.table;
    EXPECT_EQ(ours, schema.at(t.table)) << t.table;
    defined.insert(t.table);
  }
  for (const auto& [table, columns] : schema)
    EXPECT_TRUE(defined.count(table)) << table.toStdString();
  EXPECT_EQ(schema.size(), 93u);
}

}  // namespace
