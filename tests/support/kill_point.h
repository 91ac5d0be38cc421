#pragma once
// Crash tests: a process ends itself with SIGKILL right before a chosen statement, as a power
// cut or a killed program would end it, with nothing flushed or rolled back by the program.
#include <QString>

#include "db/transaction.h"

namespace test {

// A fault hook for sqlca (set_fault_hook) that kills this process just before the `nth`
// statement the hook sees, counting from 1. Statements, "COMMIT", "ROLLBACK", "BEGIN UNIT",
// "END UNIT" and "CONNECT ..." all count. With a prefix, only texts starting with it count.
db::Transaction::FaultHook kill_before(long nth, const QString& prefix = {});

}  // namespace test
