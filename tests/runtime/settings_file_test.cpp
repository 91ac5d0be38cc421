#include "runtime/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <functional>

#include "runtime/codepage.h"
#include "tests/support/temp_program_folder.h"
#include "tests/support/utf16_text.h"

namespace {

const QString kDb = QStringLiteral("database");

TEST(SettingsRead, DefaultOnlyWhenFileSectionOrKeyIsMissing) {
  test::TempProgramFolder dir;
  const QString ini = dir.file("user.ini");
  EXPECT_EQ(rt::profile_string(ini, kDb, "server_name", "def"), "def");  // no file
  dir.write("user.ini", rt::to_cp936(QStringLiteral(
                            "; comment\r\n[Other]\r\nserver_name=x\r\n[DataBase]\r\n"
                            "Server_Name = 服务器 \r\nuser_name=\r\n;user_password=p\r\n")));
  struct Case {
    const char* section;
    const char* key;
    QString want;
  } cases[] = {
      {"database", "server_name", QStringLiteral("服务器")},  // case and blanks
      {"database", "user_name", ""},                          // empty value is no default
      {"database", "user_password", "def"},                   // commented out
      {"database", "database_name", "def"},                   // missing key
      {"nosuch", "server_name", "def"},                       // missing section
      {"Other", "server_name", "x"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(rt::profile_string(ini, c.section, c.key, "def"), c.want) << c.section << c.key;
}

TEST(SettingsWrite, KeepsEveryOtherByte) {
  test::TempProgramFolder dir;
  const QByteArray before = rt::to_cp936(QStringLiteral(
      "; 设置\r\n[database]\r\nserver_name=old\r\n\r\nother=1 ; tail\r\n[x]\r\nk=v"));
  dir.write("user.ini", before);
  const QString ini = dir.file("user.ini");

  ASSERT_EQ(rt::set_profile_string(ini, kDb, "SERVER_NAME", QStringLiteral("新")), 1);
  QByteArray want = before;
  want.replace("server_name=old", rt::to_cp936(QStringLiteral("SERVER_NAME=新")));
  EXPECT_EQ(dir.read("user.ini"), want);

  // A new key goes after the section's last line, a new section at the end.
  ASSERT_EQ(rt::set_profile_string(ini, kDb, "connect", "2"), 1);
  ASSERT_EQ(rt::set_profile_string(ini, "Application", "Path", "/a/"), 1);
  want.replace("other=1 ; tail\r\n", "other=1 ; tail\r\nconnect=2\r\n");
  want += "\r\n[Application]\r\nPath=/a/\r\n";
  EXPECT_EQ(dir.read("user.ini"), want);
  EXPECT_EQ(rt::profile_string(ini, kDb, "server_name", ""), QStringLiteral("新"));
}

TEST(SettingsWrite, CreatesFileAndRoundTripsChinese) {
  test::TempProgramFolder dir;
  const QString ini = dir.file("user.ini");
  const QString value = QStringLiteral("美发沙龙 ；数据库");
  ASSERT_EQ(rt::set_profile_string(ini, kDb, "database_name", value), 1);
  EXPECT_EQ(dir.read("user.ini"), "[database]\r\ndatabase_name=" + rt::to_cp936(value) + "\r\n");
  EXPECT_EQ(rt::profile_string(ini, kDb, "database_name", ""), value);
}

TEST(SettingsWrite, LfFilesStayLf) {
  test::TempProgramFolder dir;
  dir.write("user.ini", "[database]\nk=v\n");
  ASSERT_EQ(rt::set_profile_string(dir.file("user.ini"), kDb, "n", "1"), 1);
  EXPECT_EQ(dir.read("user.ini"), "[database]\nk=v\nn=1\n");
}

TEST(SettingsWrite, FailsWithoutTouchingAnything) {
  test::TempProgramFolder dir;
  dir.write("user.ini", "[database]\r\nk=v\r\n");
  QFile::setPermissions(dir.file("user.ini"), QFileDevice::ReadOwner);
  EXPECT_EQ(rt::set_profile_string(dir.file("user.ini"), kDb, "k", "w"), -1);  // read-only
  EXPECT_EQ(dir.read("user.ini"), "[database]\r\nk=v\r\n");
  EXPECT_EQ(rt::set_profile_string(dir.file("missing/user.ini"), kDb, "k", "w"), -1);
}

// Files as Windows programs and editors leave them.
TEST(SettingsRead, FilesSharedWithWindowsPrograms) {
  const QByteArray bom = "\xEF\xBB\xBF";
  struct Case {
    const char* what;
    QByteArray file;
    const char* key;
    QString want;
  } cases[] = {
      {"UTF-8 with a byte-order mark",
       bom + QStringLiteral("[database]\r\nserver_name=服务器\r\n").toUtf8(), "server_name",
       QStringLiteral("服务器")},
      {"byte-order mark, then the section line", bom + "[database]\ndatabase_type=2\n",
       "database_type", "2"},
      {"CR-only line ends", "[database]\rserver_name=a\rdatabase_type=2\r", "database_type", "2"},
      {"mixed line ends", "[x]\r\nk=1\n[database]\rk=2\r\n", "k", "2"},
      {"full-width space ends the value", "[database]\r\nuser_password=pw\xA1\xA1\r\n",
       "user_password", QStringLiteral("pw\u3000")},
      {"tabs and spaces around it go", "[database]\r\nk = \t v w\t \r\n", "k", "v w"},
      {"0x80 is the euro sign", "[database]\r\nk=\x80\r\n", "k", QStringLiteral("€")},
      {"no mark: code page 936", "[database]\r\nk=\xB7\xFE\r\n", "k", QStringLiteral("服")},
  };
  for (const Case& c : cases) {
    test::TempProgramFolder dir;
    dir.write("user.ini", c.file);
    EXPECT_EQ(rt::profile_string(dir.file("user.ini"), kDb, c.key, "<default>"), c.want) << c.what;
  }
}

// Every value the writer accepts reads back the same; any other is refused and the file stays
// as it was.
TEST(SettingsWrite, ValuesReadBackOrAreRefused) {
  const QByteArray before = "[database]\r\nk=old\r\n";
  struct Case {
    const char* what;
    QString value;
    bool stored;
  } cases[] = {
      {"plain", "velmo41", true},
      {"empty", "", true},
      {"full-width space at the end", QStringLiteral("密码\u3000"), true},
      {"euro sign", QStringLiteral("€5"), true},
      {"equals and semicolon", "a=b;c", true},
      {"inner blanks", "a  b", true},
      {"line feed", "a\nserver_name=x", false},
      {"carriage return", "a\rb", false},
      {"NUL", QString::fromUtf16(u"a\0b", 3), false},
      {"leading blank", " a", false},
      {"trailing tab", "a\t", false},
      {"outside code page 936", QStringLiteral("a😀"), false},
  };
  for (const Case& c : cases) {
    test::TempProgramFolder dir;
    dir.write("user.ini", before);
    const QString ini = dir.file("user.ini");
    EXPECT_EQ(rt::set_profile_string(ini, kDb, "k", c.value), c.stored ? 1 : -1) << c.what;
    if (c.stored)
      EXPECT_EQ(rt::profile_string(ini, kDb, "k", "<default>"), c.value) << c.what;
    else
      EXPECT_EQ(dir.read("user.ini"), before) << c.what;
  }
  // Names that would not read back are refused the same way.
  test::TempProgramFolder dir;
  const QString ini = dir.file("user.ini");
  for (const char* key : {"a=b", "", " k", ";k", "[k]", "k\n"})
    EXPECT_EQ(rt::set_profile_string(ini, kDb, key, "v"), -1) << key;
  for (const char* section : {"a]b", "", "s\r"})
    EXPECT_EQ(rt::set_profile_string(ini, section, "k", "v"), -1) << section;
  EXPECT_FALSE(QFile::exists(ini));
}

TEST(SettingsWrite, KeepsTheFilesEncodingAndLineEnds) {
  test::TempProgramFolder dir;
  const QString ini = dir.file("user.ini");
  const QByteArray bom = "\xEF\xBB\xBF";
  dir.write("user.ini", bom + "[database]\r\nk=v\r\n");
  ASSERT_EQ(rt::set_profile_string(ini, kDb, "server_name", QStringLiteral("服务器😀")), 1);
  EXPECT_EQ(dir.read("user.ini"),
            bom + QStringLiteral("[database]\r\nk=v\r\nserver_name=服务器😀\r\n").toUtf8());
  EXPECT_EQ(rt::profile_string(ini, kDb, "server_name", ""), QStringLiteral("服务器😀"));

  dir.write("user.ini", "[database]\rk=v\r[x]\ry=1");
  ASSERT_EQ(rt::set_profile_string(ini, kDb, "n", "1"), 1);
  ASSERT_EQ(rt::set_profile_string(ini, kDb, "k", "w"), 1);
  EXPECT_EQ(dir.read("user.ini"), "[database]\rk=w\rn=1\r[x]\ry=1");
}

// Every program reads the same values from UTF-16 files of either byte order, and a write keeps
// the file UTF-16 in its byte order and with its line ends.
TEST(SettingsUtf16, ReadAndWrittenBackInTheFilesOwnForm) {
  for (const bool be : {false, true}) {
    for (const QString& eol : {QStringLiteral("\r\n"), QStringLiteral("\n")}) {
      SCOPED_TRACE(std::string(be ? "BE " : "LE ") + (eol.size() == 2 ? "CRLF" : "LF"));
      const QString text = "; 设置" + eol + "[database]" + eol + "server_name = 服务器 " + eol +
                           "database_type=2" + eol + "file_name=D:\\照片\\一.bmp" + eol +
                           "[other]" + eol + "k=v";
      test::TempProgramFolder dir;
      dir.write("user.ini", test::utf16_file(text, be));
      const QString ini = dir.file("user.ini");
      EXPECT_EQ(rt::profile_string(ini, kDb, "server_name", ""), QStringLiteral("服务器"));
      EXPECT_EQ(rt::profile_string(ini, kDb, "database_type", "1"), "2");
      EXPECT_EQ(rt::profile_string(ini, kDb, "file_name", ""), QStringLiteral("D:\\照片\\一.bmp"));
      EXPECT_EQ(rt::profile_string(ini, "other", "k", ""), "v");

      // Characters code page 936 lacks are fine in UTF-16.
      ASSERT_EQ(rt::set_profile_strings(ini, kDb,
                                        {{"server_name", QStringLiteral("새 서버😀")},
                                         {"user_name", QStringLiteral("a\u00A0b")}}),
                1);
      ASSERT_EQ(rt::set_profile_string(ini, "Application", "Path", "/p/"), 1);
      QString want = text;
      want.replace("server_name = 服务器 ", QStringLiteral("server_name=새 서버😀"));
      want.replace("[other]", QStringLiteral("user_name=a\u00A0b") + eol + "[other]");
      want += eol + "[Application]" + eol + "Path=/p/" + eol;
      EXPECT_EQ(dir.read("user.ini"), test::utf16_file(want, be));
      EXPECT_EQ(rt::profile_string(ini, kDb, "server_name", ""), QStringLiteral("새 서버😀"));
    }
  }
}

// A damaged UTF-16 file, or one whose encoding the reader cannot tell: what is sound reads,
// and nothing is written into it.
TEST(SettingsUtf16, DamagedFilesReadWhatIsSoundAndAreNotWritten) {
  const QByteArray good = test::utf16_file("[database]\r\nserver_name=s\r\nuser_name=u\r\n", false);
  QByteArray unpaired = test::utf16_file("[database]\r\nserver_name=s", false);
  unpaired += QByteArray("\x00\xD8", 2) + test::utf16_file("x\r\nuser_name=u\r\n", false).mid(2);
  QByteArray utf32 = QByteArray("\xFF\xFE\x00\x00", 4);
  for (char c : QByteArray("[database]\r\nserver_name=s\r\n"))
    utf32 += QByteArray(1, c) + QByteArray(3, 0);
  struct Case {
    const char* what;
    QByteArray file;
    const char* server_name;
    const char* user_name;
  } cases[] = {
      {"odd byte count", good + "\x41", "s", "u"},
      {"unpaired surrogate", unpaired, "s\xEF\xBF\xBDx", "u"},
      {"UTF-32, whose mark starts like UTF-16's", utf32, "<default>", "<default>"},
      {"UTF-16 without its mark", good.mid(2), "<default>", "<default>"},
  };
  for (const Case& c : cases) {
    test::TempProgramFolder dir;
    dir.write("user.ini", c.file);
    const QString ini = dir.file("user.ini");
    EXPECT_EQ(rt::profile_string(ini, kDb, "server_name", "<default>"),
              QString::fromUtf8(c.server_name))
        << c.what;
    EXPECT_EQ(rt::profile_string(ini, kDb, "user_name", "<default>"), c.user_name) << c.what;
    EXPECT_EQ(rt::set_profile_string(ini, kDb, "server_name", "new"), -1) << c.what;
    EXPECT_EQ(dir.read("user.ini"), c.file) << c.what;
  }
}

// A batch is checked whole before the file is touched: one value that cannot be written, at
// any place, leaves the file byte for byte as it was.
TEST(SettingsWrite, ABatchIsWrittenWholeOrNotAtAll) {
  const QByteArray cp936 = rt::to_cp936(QStringLiteral("[database]\r\na=旧\r\nb=1\r\n"));
  const QByteArray utf16le = test::utf16_file("[database]\r\na=old\r\n", false);
  const QString bad[] = {QStringLiteral("😀"), "a\nb=x", " lead", QString::fromUtf16(u"\xD800")};
  for (const QByteArray& before : {cp936, utf16le}) {
    for (const QString& b : bad) {
      for (int at = 0; at < 3; ++at) {
        if (before == utf16le && b == QStringLiteral("😀")) continue;  // UTF-16 holds it
        std::vector<rt::profile_entry> batch{{"a", "x"}, {"new", "y"}, {"b", "z"}};
        batch[static_cast<size_t>(at)].second = b;
        test::TempProgramFolder dir;
        dir.write("user.ini", before);
        EXPECT_EQ(rt::set_profile_strings(dir.file("user.ini"), kDb, batch), -1) << at;
        EXPECT_EQ(dir.read("user.ini"), before) << at;
      }
    }
  }
  test::TempProgramFolder dir;
  dir.write("user.ini", cp936);
  ASSERT_EQ(
      rt::set_profile_strings(dir.file("user.ini"), kDb, {{"a", "x"}, {"c", "3"}, {"A", "y"}}), 1);
  EXPECT_EQ(dir.read("user.ini"), "[database]\r\nA=y\r\nb=1\r\nc=3\r\n") << "in order, later wins";
}

// Bytes the reader cannot decode read as U+FFFD. Written back, in any encoding, they would
// become other bytes, so a save that would write such a value back (edited or not) is refused
// whole; a save that leaves that key alone keeps its bytes.
TEST(SettingsWrite, AValueThatDoesNotDecodeIsNeverWrittenBack) {
  const QByteArray bom = "\xEF\xBB\xBF";
  struct Case {
    const char* what;
    QByteArray file;
  } cases[] = {
      {"code page 936, a lead byte without its trail", "[database]\r\ndatabase_name=\xC3(\r\n"},
      {"UTF-8, a stray continuation byte", bom + "[database]\r\ndatabase_name=a\x80\xFFz\r\n"},
      {"UTF-8, code page 936 bytes under the mark",
       bom + "[database]\r\ndatabase_name=" + rt::to_cp936(QStringLiteral("美发店")) + "\r\n"},
      {"UTF-8, an overlong form", bom + "[database]\r\ndatabase_name=\xC0\xAF\r\n"},
      {"UTF-8, an encoded surrogate", bom + "[database]\r\ndatabase_name=\xED\xA0\x80\r\n"},
      {"UTF-8, U+FFFD itself (taken as the others)",
       bom + "[database]\r\ndatabase_name=\xEF\xBF\xBD\r\n"},
      {"UTF-16, U+FFFD itself",
       test::utf16_file(QStringLiteral("[database]\r\ndatabase_name=\uFFFD\r\n"), false)},
  };
  for (const Case& c : cases) {
    test::TempProgramFolder dir;
    dir.write("user.ini", c.file);
    const QString ini = dir.file("user.ini");
    const QString name = rt::profile_string(ini, kDb, "database_name", "");
    ASSERT_TRUE(name.contains(QChar::ReplacementCharacter)) << c.what;
    for (const QString& written : {name, name + "x"}) {
      EXPECT_EQ(
          rt::set_profile_strings(ini, kDb, {{"server_name", "new"}, {"database_name", written}}),
          -1)
          << c.what;
      EXPECT_EQ(dir.read("user.ini"), c.file) << c.what;
    }
    ASSERT_EQ(rt::set_profile_string(ini, kDb, "database_name", "clean"), 1) << c.what;
    EXPECT_EQ(rt::profile_string(ini, kDb, "database_name", ""), "clean") << c.what;
  }
  // Left alone, the line keeps its bytes.
  test::TempProgramFolder dir;
  const QByteArray before = bom + "[database]\r\ndatabase_name=a\x80\xFFz\r\n";
  dir.write("user.ini", before);
  ASSERT_EQ(rt::set_profile_string(dir.file("user.ini"), kDb, "server_name", "s"), 1);
  EXPECT_EQ(dir.read("user.ini"), before + "server_name=s\r\n");
}

// Whatever else stands at the settings file's path reads as no file at once, and no save
// goes into it or replaces it.
TEST(SettingsFileKinds, OnlyARegularFileWithinTheBoundIsReadOrReplaced) {
  const qint64 bound = 16 * 1024 * 1024;
  const QByteArray head = "[database]\r\nserver_name=s\r\n;";
  struct Case {
    const char* what;
    std::function<void(const QString&)> make;
  } cases[] = {
      {"FIFO", [](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0644); }},
      {"link to /dev/zero", [](const QString& p) { QFile::link("/dev/zero", p); }},
      {"folder", [](const QString& p) { QDir().mkpath(p); }},
      {"dangling link", [](const QString& p) { QFile::link(p + ".gone", p); }},
      {"one byte past the bound",
       [&](const QString& p) {
         QFile f(p);
         ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         f.write(head + QByteArray(bound - head.size() + 1, ' '));
       }},
  };
  for (const Case& c : cases) {
    test::TempProgramFolder dir;
    const QString ini = dir.file("user.ini");
    c.make(ini);
    const QFileInfo before(ini);
    QString text;
    EXPECT_EQ(rt::profile_string(ini, kDb, "server_name", "def"), "def") << c.what;
    EXPECT_FALSE(rt::read_settings_text(ini, &text)) << c.what;
    EXPECT_EQ(rt::set_profile_string(ini, kDb, "server_name", "new"), -1) << c.what;
    const QFileInfo after(ini);
    EXPECT_EQ(after.isSymLink(), before.isSymLink()) << c.what;
    EXPECT_EQ(after.isDir(), before.isDir()) << c.what;
    EXPECT_EQ(after.size(), before.size()) << c.what;
    EXPECT_FALSE(QFileInfo::exists(ini + ".gone")) << c.what;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
              QStringList{"user.ini"})
        << c.what << ": no file left beside it";
  }

  // A file of the bound itself is still read; one behind a link is read and replaced in its
  // place, the link kept.
  test::TempProgramFolder dir;
  dir.write("user.ini", head + QByteArray(bound - head.size(), ' '));
  EXPECT_EQ(rt::profile_string(dir.file("user.ini"), kDb, "server_name", "def"), "s");
  dir.write("real.ini", head);
  const QString link = dir.file("link.ini");
  ASSERT_TRUE(QFile::link(dir.file("real.ini"), link));
  EXPECT_EQ(rt::profile_string(link, kDb, "server_name", "def"), "s");
  ASSERT_EQ(rt::set_profile_string(link, kDb, "server_name", "new"), 1);
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(rt::profile_string(dir.file("real.ini"), kDb, "server_name", "def"), "new");
}

TEST(SettingsPath, BareNameLivesInConfigFolder) {
  test::TempProgramFolder dir;
  EXPECT_EQ(rt::settings_path("USER.INI"), dir.config_folder() + "USER.INI");
  ASSERT_EQ(rt::set_profile_string("USER.INI", "Application", "Path", "/p/"), 1);
  EXPECT_TRUE(QFile::exists(dir.config_folder() + "USER.INI"));
  EXPECT_EQ(rt::settings_path("/x/user.ini"), "/x/user.ini");
}

}  // namespace
