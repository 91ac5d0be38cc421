#pragma once
// The upgrade chain: the steps in calling order, on `sqlca` as the caller connected it.
#include <vector>

#include "kestrel/upgrade/step_context.h"

namespace upgrade {

using Step = Outcome (*)();

// f_ver, f_ver2, ... in calling order.
const std::vector<Step>& chain_steps();

// Runs the steps in order. A step that fails, or asks to end or restart the program, stops
// the chain and its outcome is returned (the caller ends or restarts); otherwise done.
// `steps_run`, when given, receives how many steps were called, the stopping one included.
Outcome run_chain(int* steps_run = nullptr);

}  // namespace upgrade
