#include "kestrel/rebuild/tab_back_store.h"

namespace rebuild {

std::unique_ptr<BackStore> make_tab_back_store() { return nullptr; }

}  // namespace rebuild
