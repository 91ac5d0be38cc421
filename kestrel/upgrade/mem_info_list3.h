#pragma once
// The rows of the table definition d_mem_info_list3: the members of one store with the
// amounts that their used-bonus amount is derived from.
#include <QString>
#include <vector>

#include "db/value.h"

namespace upgrade {

struct MemberAmounts {
  db::Value mem_id;
  db::Value sum_deposit;
  db::Value card_consume;
  db::Value favour;
};

// Retrieved on sqlca with the store id as its one argument, ordered by member id. A failed
// retrieve gives a negative count and no rows.
struct MemberList {
  long count = 0;
  std::vector<MemberAmounts> rows;
};
MemberList d_mem_info_list3(const QString& store_id);

}  // namespace upgrade
