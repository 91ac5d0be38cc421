#pragma once
// Step 1 is one function in two files; this is the seam between them.
#include "kestrel/upgrade/step_context.h"

namespace upgrade {

// The blocks from 8.00 on and the stamp 9.691, on the version that f_ver read.
Outcome f_ver_from_800(StepContext& s);

}  // namespace upgrade
