#include "kestrel/upgrade/group_list.h"

#include "db/data_store.h"
#include "kestrel/upgrade/chain_definitions.h"

namespace upgrade {

std::vector<qint64> d_group_list_ids() {
  register_chain_definitions();
  db::DataStore ds;
  ds.set_dataobject(QStringLiteral("d_group_list"));
  ds.settransobject(sqlca);
  const long n = ds.retrieve();  // negative on failure: no rows
  std::vector<qint64> ids;
  for (long j = 1; j <= n; ++j) {
    // A group without a number could not be stored as a key anyway.
    if (const auto id = ds.getitemnumber(j, QStringLiteral("id")))
      ids.push_back(static_cast<qint64>(*id));
  }
  return ids;
}

}  // namespace upgrade
