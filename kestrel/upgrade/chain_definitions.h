#pragma once
// The named table definitions that the upgrade chain loads into data stores.

namespace upgrade {

// Registers d_group_list (the salon's user groups, column `id`) and d_mem_info_list3 (the
// members of one store with the amounts the derived member amount is computed from; one text
// argument, the store id). Safe to call more than once.
void register_chain_definitions();

}  // namespace upgrade
