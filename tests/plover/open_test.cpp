// Loading both connection sets when the window opens.
#include <array>

#include "tests/plover/plover_fixture.h"

namespace {

using test::PloverWindow;

struct OpenCase {
  const char* name;
  const char16_t* ini;  // nullptr: no settings file
  // server, database, user, password, confirmation; then the network set
  std::array<const char16_t*, 10> fields;
  bool rb_2;
  int ii_database;
  bool cbx_1;
};

const OpenCase kCases[] = {
    {"NoFile", nullptr, {u"", u"", u"", u"", u"", u"", u"", u"", u"", u""}, false, 1, false},
    {"LocalKeysOnly",
     u"[database]\nserver_name=srv\ndatabase_name=salon\nuser_name=张三\nuser_password=密码\n",
     {u"srv", u"salon", u"张三", u"密码", u"密码", u"srv", u"salon", u"张三", u"密码", u"密码"},
     false,
     1,
     false},
    {"BothSets",
     u"[database]\nserver_name=srv\ndatabase_name=salon\nuser_name=sa\nuser_password=pw\n"
     u"database_type=2\nconnect=2\nserver_name2=net\ndatabase_name2=branch\nuser_name2=u2\n"
     u"user_password2=pw2\n",
     {u"srv", u"salon", u"sa", u"pw", u"pw", u"net", u"branch", u"u2", u"pw2", u"pw2"},
     true,
     2,
     true},
    {"KindOne",
     u"[database]\ndatabase_type=1\nconnect=1\n",
     {u"", u"", u"", u"", u"", u"", u"", u"", u"", u""},
     false,
     1,
     false},
    {"KindOther",
     u"[database]\ndatabase_type=3\nconnect=3\n",
     {u"", u"", u"", u"", u"", u"", u"", u"", u"", u""},
     false,
     1,
     false},
    {"KindNotExactlyTwo",
     u"[database]\ndatabase_type=02\nconnect=02\n",
     {u"", u"", u"", u"", u"", u"", u"", u"", u"", u""},
     false,
     1,
     false},
    // A key that is present but empty is a value: it does not fall back to its local twin.
    {"KeyPresentButEmpty",
     u"[database]\nserver_name=srv\nuser_password=pw\nserver_name2=\nuser_password2=\n"
     u"database_type=\n",
     {u"srv", u"", u"", u"pw", u"pw", u"", u"", u"", u"", u""},
     false,
     1,
     false},
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }

class Open : public PloverWindow, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(Open, FillsBothSetsTheKindAndTheNetworkFlag) {
  const OpenCase& c = GetParam();
  if (c.ini) ini(QString::fromUtf16(c.ini));
  open_window();
  singlelineedit* const fields[] = {
      w->sle_server_name,    w->sle_database_name, w->sle_user_name,      w->sle_user_password,
      w->sle_user_two,       w->sle_server_name2,  w->sle_database_name2, w->sle_user_name2,
      w->sle_user_password2, w->sle_user_two2};
  for (size_t i = 0; i < std::size(fields); ++i)
    EXPECT_EQ(fields[i]->text(), QString::fromUtf16(c.fields[i]))
        << fields[i]->objectName().toStdString() << " #" << i;
  EXPECT_EQ(w->rb_2->isChecked(), c.rb_2);
  EXPECT_EQ(w->rb_1->isChecked(), !c.rb_2);
  EXPECT_EQ(w->ii_database, c.ii_database);
  EXPECT_EQ(w->cbx_1->isChecked(), c.cbx_1);
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_TRUE(seen.isEmpty()) << "nothing connects at start-up";
  EXPECT_EQ(ini_exists(), c.ini != nullptr) << "opening writes nothing";
}

INSTANTIATE_TEST_SUITE_P(Settings, Open, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The hidden flag goes back to the file as it came: "2" stays "2", anything else becomes "1".
TEST_F(PloverWindow, TheHiddenNetworkFlagSurvivesASave) {
  for (const char* connect : {"2", "7"}) {
    ini(QStringLiteral("[database]\nconnect=%1\n").arg(QLatin1String(connect)));
    open_window();
    dialogs.answer(true);
    w->cb_save_clicked();
    EXPECT_EQ(key("connect"), connect == std::string("2") ? "2" : "1");
  }
}

}  // namespace
