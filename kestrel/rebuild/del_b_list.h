#pragma once
// The tables f_del_b empties, in its fixed order, with the number its progress text shows.
#include <vector>

namespace rebuild {

struct DelEntry {
  const char* table;
  int shown;  // not the position: a constant of the entry
};

const std::vector<DelEntry>& del_b_list();

}  // namespace rebuild
