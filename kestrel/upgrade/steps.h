#pragma once
// The steps of the upgrade chain, one function each, in calling order.
#include "kestrel/upgrade/step_context.h"

namespace upgrade {

Outcome f_ver();    // below 9.691: to 9.691
Outcome f_ver2();   // 9.691 up to 13.1: to 13.109
Outcome f_ver3();   // version row repair, ungated changes, below 13.17
Outcome f_ver4();   // below 14.189
Outcome f_ver5();   // to 14.50
Outcome f_ver6();   // to 15.11
Outcome f_ver7();   // 15.20 to 15.31
Outcome f_ver8();   // 15.40 to 15.97
Outcome f_ver9();   // 15.98 to 16.05
Outcome f_ver10();  // 16.06 to 16.10

}  // namespace upgrade
