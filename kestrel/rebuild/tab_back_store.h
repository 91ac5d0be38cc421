#pragma once
// The data store behind ds_back, with the tab_back_<n> definitions registered.
#include <memory>

#include "kestrel/rebuild/back_store.h"

namespace rebuild {

std::unique_ptr<BackStore> make_tab_back_store();

}  // namespace rebuild
