#pragma once
// Empties the tables of the database sqlca is connected to, one "delete from" each, showing
// its progress in w_main's status line. 0 when every statement succeeded or found no such
// table, else -1 (the statements after a failed one still run). It neither commits nor rolls
// back.
#include "kestrel/rebuild/start_window.h"

namespace rebuild {

int f_del_b(StartWindow& w_main);

}  // namespace rebuild
