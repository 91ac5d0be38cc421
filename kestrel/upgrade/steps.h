#pragma once
// The steps of the upgrade chain, one function each, in calling order.
#include "kestrel/upgrade/step_context.h"

namespace upgrade {

Outcome f_ver();   // below 9.691: to 9.691
Outcome f_ver2();  // 9.691 up to 13.1: to 13.109
Outcome f_ver3();  // version row repair, ungated changes, below 13.17

}  // namespace upgrade
