#include <gtest/gtest.h>

#include "kestrel/w_main.h"
#include "runtime/settings_file.h"
#include "shared/globals.h"
#include "tests/support/temp_program_folder.h"

namespace {

struct Expect {
  QStringList local;    // server, database, user, password (also in the confirmation)
  QStringList network;  // the same for the network set
  int kind;
  bool cbx_1;
};

void check(const kestrel::w_main& w, const Expect& e) {
  const singlelineedit* local[] = {w.sle_server_name, w.sle_database_name, w.sle_user_name,
                                   w.sle_user_password, w.sle_user_two};
  const singlelineedit* network[] = {w.sle_server_name2, w.sle_database_name2, w.sle_user_name2,
                                     w.sle_user_password2, w.sle_user_two2};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(local[i]->text(), e.local[std::min(i, 3)]) << "local " << i;
    EXPECT_EQ(network[i]->text(), e.network[std::min(i, 3)]) << "network " << i;
  }
  EXPECT_EQ(w.ii_database, e.kind);
  EXPECT_EQ(w.rb_1->isChecked(), e.kind == 1);
  EXPECT_EQ(w.rb_2->isChecked(), e.kind == 2);
  EXPECT_EQ(w.cbx_1->isChecked(), e.cbx_1);
  EXPECT_EQ(w.hpb_1->value(), 0);
}

void write(const test::TempProgramFolder&, const std::vector<std::pair<QString, QString>>& keys) {
  for (const auto& [k, v] : keys) rt::set_profile_string(gs_inifile, "database", k, v);
}

TEST(WMainOpen, NoSettingsFileGivesEmptyFieldsAndTheLocalKind) {
  test::TempProgramFolder tmp;
  kestrel::w_main w;
  w.open();
  check(w, {{"", "", "", ""}, {"", "", "", ""}, 1, false});
  EXPECT_TRUE(w.cbx_2->isChecked() && w.cbx_3->isChecked() && w.cbx_4->isChecked());
  EXPECT_FALSE(w.cbx_5->isChecked() || w.cbx_6->isChecked());
  EXPECT_EQ(w.em_2->text(), "100.00");
  EXPECT_EQ(w.em_1->displayText(), "    /  /  ") << "an empty mask: its separators only";
  EXPECT_EQ(w.em_1_text(), "");
  EXPECT_EQ(w.hpb_1->maximum(), 100);
}

TEST(WMainOpen, LocalKeysOnlyFillTheNetworkSetToo) {
  test::TempProgramFolder tmp;
  write(tmp, {{"server_name", "srv"},
              {"database_name", "salon"},
              {"user_name", "sa"},
              {"user_password", "p w"}});
  kestrel::w_main w;
  w.open();
  check(w, {{"srv", "salon", "sa", "p w"}, {"srv", "salon", "sa", "p w"}, 1, false});
}

TEST(WMainOpen, BothSetsAreReadAsStored) {
  test::TempProgramFolder tmp;
  write(tmp, {{"server_name", "srv"},
              {"database_name", "salon"},
              {"user_name", "sa"},
              {"user_password", "pw"},
              {"server_name2", "net"},
              {"database_name2", "shop"},
              {"user_name2", "u2"},
              {"user_password2", "pw2"},
              {"database_type", "2"},
              {"connect", "2"}});
  kestrel::w_main w;
  w.open();
  check(w, {{"srv", "salon", "sa", "pw"}, {"net", "shop", "u2", "pw2"}, 2, true});
}

TEST(WMainOpen, DatabaseTypeAndConnectValues) {
  struct Case {
    const char* database_type;  // null: key missing
    const char* connect;
    int kind;
    bool cbx_1;
  };
  const Case cases[] = {{"1", "1", 1, false}, {"2", "2", 2, true},    {"3", nullptr, 1, false},
                        {"", "", 1, false},   {"01", "02", 1, false}, {nullptr, "2", 1, true}};
  for (const Case& c : cases) {
    test::TempProgramFolder tmp;
    write(tmp, {{"server_name", "s"}});
    if (c.database_type) write(tmp, {{"database_type", c.database_type}});
    if (c.connect) write(tmp, {{"connect", c.connect}});
    kestrel::w_main w;
    w.open();
    EXPECT_EQ(w.ii_database, c.kind) << (c.database_type ? c.database_type : "missing");
    EXPECT_EQ(w.rb_2->isChecked(), c.kind == 2);
    EXPECT_EQ(w.rb_1->isChecked(), c.kind == 1);
    EXPECT_EQ(w.cbx_1->isChecked(), c.cbx_1) << (c.connect ? c.connect : "missing");
  }
}

}  // namespace
