#include "runtime/set_aside.h"

#include <gtest/gtest.h>

#include <QDir>

#include "tests/support/fs_faults.h"
#include "tests/support/temp_program_folder.h"

namespace {

const QDateTime kWhen{QDate(2024, 3, 5), QTime(10, 15, 30)};

QStringList files_in(const test::TempProgramFolder& dir) {
  return QDir(dir.path()).entryList(QDir::Files, QDir::Name);
}

// Two databases of one name set aside in the same second, each with or without its data file
// and its journal: under each suffix stands only what one set-aside moved there, so that no
// journal is ever rolled into another database's file.
TEST(SetAsideNames, TwoInOneSecondKeepTheirPairsApart) {
  struct Group {
    bool data, journal;
  };
  const struct Case {
    Group first, second;
  } cases[] = {
      {{false, true}, {true, false}}, {{true, false}, {false, true}}, {{true, true}, {true, false}},
      {{true, false}, {true, true}},  {{false, true}, {true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.first.data << c.first.journal << " then " << c.second.data
                                    << c.second.journal);
    test::TempProgramFolder dir;
    const QString db = dir.file("s.mdf");
    const rt::AsideFile group{db, {db + "-journal", db + "-wal"}};
    QString suffix[2];
    int i = 0;
    for (const Group& g : {c.first, c.second}) {
      const QByteArray tag = i == 0 ? "first " : "second ";
      if (g.data) dir.write("s.mdf", tag + "data");
      if (g.journal) dir.write("s.mdf-journal", tag + "journal");
      suffix[i] = rt::set_aside({group}, "replaced", kWhen);
      ASSERT_FALSE(suffix[i].isEmpty());
      ++i;
    }
    EXPECT_NE(suffix[0], suffix[1]);
    i = 0;
    for (const Group& g : {c.first, c.second}) {
      const QByteArray tag = i == 0 ? "first " : "second ";
      EXPECT_EQ(QFile::exists(db + suffix[i]), g.data) << i;
      EXPECT_EQ(QFile::exists(db + suffix[i] + "-journal"), g.journal) << i;
      if (g.data) {
        EXPECT_EQ(dir.read("s.mdf" + suffix[i]), tag + "data");
      }
      if (g.journal) {
        EXPECT_EQ(dir.read("s.mdf" + suffix[i] + "-journal"), tag + "journal");
      }
      ++i;
    }
    EXPECT_EQ(files_in(dir).size(),
              size_t(c.first.data + c.first.journal + c.second.data + c.second.journal));
  }
}

// What set_aside says stands renamed is what the folder shows: every rename when it succeeds,
// nothing once a failure was undone, and a file whose rename back failed when the undo failed.
TEST(SetAsideReport, NamesWhatStandsRenamed) {
  const QString suffix = ".replaced-20240305-101530";
  struct Case {
    const char* what;
    QStringList failing;  // names whose rename fails (a set-aside name: the rename back)
    QString result;
    QStringList renamed;  // from the old name to the old name + suffix
    QStringList folder;
  } cases[] = {
      {"all renamed",
       {},
       suffix,
       {"a-journal", "a", "b"},
       {"a" + suffix, "a" + suffix + "-journal", "b" + suffix}},
      {"b refused, undone", {"b"}, "", {}, {"a", "a-journal", "b"}},
      {"b refused, a's journal not renamed back",
       {"b", "a" + suffix + "-journal"},
       "",
       {"a-journal"},
       {"a", "a" + suffix + "-journal", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempProgramFolder dir;
    for (const char* f : {"a", "a-journal", "b"}) dir.write(f, f);
    std::vector<rt::Renamed> renamed{{"stale", "stale"}};
    QString result;
    {
      test::RenameFault fault([&](const QString& from, const QString&) {
        return c.failing.contains(QFileInfo(from).fileName()) ? EBUSY : 0;
      });
      result = rt::set_aside({{dir.file("a"), {dir.file("a-journal")}}, {dir.file("b"), {}}},
                             "replaced", kWhen, &renamed);
    }
    EXPECT_EQ(result, c.result);
    QStringList got;
    for (const rt::Renamed& r : renamed) {
      EXPECT_EQ(r.to, r.from.startsWith(dir.file("a-")) ? dir.file("a" + suffix + "-journal")
                                                        : r.from + suffix);
      got << QFileInfo(r.from).fileName();
    }
    EXPECT_EQ(got, c.renamed);
    EXPECT_EQ(files_in(dir), c.folder);
  }
}

}  // namespace
