#include "kestrel/upgrade/chain.h"

#include "kestrel/upgrade/steps.h"

namespace upgrade {

const std::vector<Step>& chain_steps() {
  static const std::vector<Step> steps = {f_ver,  f_ver2, f_ver3, f_ver4, f_ver5,
                                          f_ver6, f_ver7, f_ver8, f_ver9, f_ver10};
  return steps;
}

bool above_last_version(const QString& version) {
  const std::optional<double> v = version_number(version);
  return v && *v > *version_number(QString::fromLatin1(kLastVersion));
}

Outcome run_chain(int* steps_run) {
  int n = 0;
  if (steps_run) *steps_run = 0;
  for (Step step : chain_steps()) {
    const Outcome o = step();
    if (steps_run) *steps_run = ++n;
    // A failed step has undone its unfinished block, but a later stamp would claim a version
    // whose changes are missing and keep the next run from doing them: the chain stops.
    if (o == Outcome::failed || o == Outcome::end_program || o == Outcome::restart_program)
      return o;
  }
  return Outcome::done;
}

}  // namespace upgrade
