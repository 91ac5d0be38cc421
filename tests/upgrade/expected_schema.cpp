#include "tests/upgrade/golden_schema.h"
#include "tools/base_schema.h"

namespace golden {

QString normalised_type(const QString& type) {
  QString t = type.toLower();
  t.remove(QLatin1Char(' '));
  return t;
}

Schema expected_schema(const std::vector<const std::vector<Table>*>& groups) {
  Schema s;
  for (const tools::BaseTable& t : tools::base_tables()) {
    auto& cols = s[QString::fromLatin1(t.name).toLower()];
    for (const tools::BaseColumn& c : t.columns) {
      int key = 0;
      for (size_t i = 0; i < t.key.size(); ++i)
        if (qstrcmp(t.key[i], c.name) == 0) key = static_cast<int>(i) + 1;
      cols[QString::fromLatin1(c.name).toLower()] = {normalised_type(QString::fromLatin1(c.type)),
                                                     key};
    }
  }
  for (const auto* group : groups)
    for (const Table& t : *group) {
      auto& cols = s[QString::fromLatin1(t.name).toLower()];
      if (t.created) cols.clear();
      for (const Column& c : t.columns)
        cols[QString::fromLatin1(c.name).toLower()] = {normalised_type(QString::fromLatin1(c.type)),
                                                       c.key};
    }
  return s;
}

}  // namespace golden
