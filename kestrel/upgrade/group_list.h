#pragma once
// The groups that step 1 gives each new menu entry to.
#include <QtGlobal>
#include <vector>

namespace upgrade {

// The `id` column of the rows that `d_group_list` retrieves on sqlca, in its order; none
// when the retrieve fails.
std::vector<qint64> d_group_list_ids();

}  // namespace upgrade
