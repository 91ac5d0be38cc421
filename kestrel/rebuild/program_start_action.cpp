// cb_test's clicked in the program: the Start action with the real data store, upgrade chain
// and f_conect.
#include "kestrel/main_view.h"
#include "kestrel/program_end.h"
#include "kestrel/rebuild/main_view_window.h"
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

}  // namespace

StartServices program_services() { return {make_tab_back_store, run_upgrade_chain, f_conect}; }

}  // namespace rebuild

void kestrel::start_action(main_view& w) {
  rebuild::MainViewWindow window(w);
  rebuild::StartAction(window, rebuild::program_services()).clicked();
}
