// cb_test's clicked in the program: the Start action with the real data store, upgrade chain
// and f_conect.
#include "kestrel/program_end.h"
#include "kestrel/rebuild/start_action.h"
#include "kestrel/rebuild/tab_back_store.h"
#include "kestrel/upgrade/chain.h"
#include "shared/f_conect.h"

namespace rebuild {

namespace {

bool run_upgrade_chain() {
  switch (upgrade::run_chain()) {
    case upgrade::Outcome::end_program:
      kestrel::end_program();
      return false;
    case upgrade::Outcome::restart_program:
      kestrel::restart_program();
      return false;
    case upgrade::Outcome::failed:
      return false;
    default:
      return true;
  }
}

StartServices program_services() { return {make_tab_back_store, run_upgrade_chain, f_conect}; }

}  // namespace

void program_start_action(StartWindow& w_main) {
  StartAction(w_main, program_services()).clicked();
}

}  // namespace rebuild
