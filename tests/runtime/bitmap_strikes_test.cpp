// The strike sizes read from a font's 'EBLC' table, and tables that are not sound.
#include "runtime/bitmap_strikes.h"

#include <gtest/gtest.h>

namespace {

// An 'EBLC' table of version 2.0 with a size record per (pixel size, bit depth).
QByteArray eblc(std::initializer_list<std::pair<int, int>> strikes, uint32_t version = 0x00020000,
                int count = -1) {
  QByteArray t;
  auto be32 = [&t](uint32_t v) {
    for (int shift : {24, 16, 8, 0}) t.append(static_cast<char>(v >> shift & 0xff));
  };
  be32(version);
  be32(count < 0 ? static_cast<uint32_t>(strikes.size()) : static_cast<uint32_t>(count));
  for (const auto& [ppem, depth] : strikes) {
    QByteArray record(48, '\0');
    record[44] = static_cast<char>(ppem);  // ppemX
    record[45] = static_cast<char>(ppem);  // ppemY
    record[46] = static_cast<char>(depth);
    t.append(record);
  }
  return t;
}

TEST(BitmapStrikes, OneBitStrikesInTheTablesOrder) {
  EXPECT_EQ(rt::bitmap_strike_sizes(eblc({{12, 1}, {11, 1}, {16, 8}, {13, 1}})),
            (std::vector<int>{12, 11, 13}));
  EXPECT_EQ(rt::bitmap_strike_sizes(eblc({})), std::vector<int>{});
}

TEST(BitmapStrikes, TablesThatAreNotSoundListNone) {
  struct Case {
    const char* what;
    QByteArray table;
  } cases[] = {
      {"no table", QByteArray()},
      {"header cut short", eblc({{12, 1}}).left(6)},
      {"another version", eblc({{12, 1}}, 0x00030000)},
      {"a record cut short", eblc({{12, 1}, {13, 1}}).chopped(1)},
      {"a count beyond the table", eblc({{12, 1}}, 0x00020000, 0x40000000)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(rt::bitmap_strike_sizes(c.table), std::vector<int>{}) << c.what;
}

}  // namespace
