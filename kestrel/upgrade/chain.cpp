#include "kestrel/upgrade/chain.h"

#include "kestrel/upgrade/steps.h"

namespace upgrade {

const std::vector<Step>& chain_steps() {
  static const std::vector<Step> steps = {f_ver, f_ver2, f_ver3};
  return steps;
}

Outcome run_chain() {
  for (Step step : chain_steps()) {
    const Outcome o = step();
    // A failed step leaves its changes half made: no later stamp may claim a higher version.
    if (o == Outcome::failed || o == Outcome::end_program || o == Outcome::restart_program)
      return o;
  }
  return Outcome::done;
}

}  // namespace upgrade
